// The shred pattern: the fixed head and the pseudo-random fill.

#include "engine/shredder/OverwritePattern.h"

#include <algorithm>
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

OverwritePattern::OverwritePattern()
    : random_((static_cast<std::uint64_t>(std::random_device{}()) << 32) ^ std::random_device{}()) {
  bytes_.reserve(kHeadSize);
  for (std::uint8_t step : kSteps) bytes_.insert(bytes_.end(), kStepRepeat, step);
}

const std::uint8_t* OverwritePattern::headBlock(std::size_t size) {
  reserveFill(size);
  return bytes_.data();
}

const std::uint8_t* OverwritePattern::fillBlock(std::size_t size) {
  reserveFill(size);
  return bytes_.data() + kHeadSize;
}

void OverwritePattern::reserveFill(std::size_t size) {
  const std::size_t have = bytes_.size() - kHeadSize;
  if (size <= have) return;
  // Growing by doubling keeps the number of refills small for a run of growing files.
  std::size_t want = std::min(std::max(size, 2 * have), kBlockSize);
  want = (want + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t) * sizeof(std::uint64_t);
  bytes_.resize(kHeadSize + want);
  for (std::size_t i = have; i < want; i += sizeof(std::uint64_t)) {
    const std::uint64_t word = nextRandom(random_);
    std::memcpy(bytes_.data() + kHeadSize + i, &word, sizeof word);
  }
}

}  // namespace pgv::engine
