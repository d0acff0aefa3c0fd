// The shred pattern: the fixed head and the pseudo-random fill.

#include "engine/shredder/OverwritePattern.h"

#include <cstring>
#include <random>

namespace pgv::engine {
namespace {

// splitmix64: fast, and good enough to leave nothing a compressor could shrink. The fill
// is not a secret; it only has to replace the data.
std::uint64_t nextRandom(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace

OverwritePattern::OverwritePattern() : bytes_(new std::uint8_t[kHeadSize + kBlockSize]) {
  std::uint8_t* out = bytes_.get();
  for (std::uint8_t step : kSteps) {
    std::memset(out, step, kStepRepeat);
    out += kStepRepeat;
  }
  std::uint64_t state = (static_cast<std::uint64_t>(std::random_device{}()) << 32) ^ std::random_device{}();
  for (std::size_t i = 0; i < kBlockSize; i += sizeof(std::uint64_t)) {
    const std::uint64_t word = nextRandom(state);
    std::memcpy(out + i, &word, sizeof word);
  }
}

}  // namespace pgv::engine
