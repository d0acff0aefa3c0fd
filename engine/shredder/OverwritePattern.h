#pragma once
// The bytes a shred writes over a file: the fixed 210-byte head (21 steps of one byte
// written 10 times: 0x55 x10, 0xAA x10, ... 0x00 x10) followed by pseudo-random fill for
// the rest of the file. The fill is made once per pattern object, only as long as the
// largest write so far needs, and reused for every file, so a shred costs little more
// than its writes; random rather than constant bytes, so that a compressing or
// de-duplicating store cannot keep them in less room than the data they replace.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pgv::engine {

class OverwritePattern {
 public:
  static constexpr std::size_t kStepRepeat = 10;
  static constexpr std::array<std::uint8_t, 21> kSteps = {0x55, 0xAA, 0x4A, 0x63, 0x47, 0x5C, 0x65,
                                                          0x70, 0x01, 0x3D, 0x61, 0x77, 0x56, 0x4F,
                                                          0x6D, 0x48, 0x5A, 0x00, 0xFF, 0xD4, 0x00};
  static constexpr std::size_t kHeadSize = kSteps.size() * kStepRepeat;  // 210
  // The most one write call carries; files are overwritten in blocks of this size.
  static constexpr std::size_t kBlockSize = 8u << 20;

  OverwritePattern();

  // size bytes (at most kBlockSize) of what belongs at file offset 0: the head, then fill.
  // Valid until the next call.
  const std::uint8_t* headBlock(std::size_t size);
  // size bytes (at most kBlockSize) of fill, for any later block. Valid until the next call.
  const std::uint8_t* fillBlock(std::size_t size);

 private:
  // Makes the fill at least size bytes long.
  void reserveFill(std::size_t size);

  std::vector<std::uint8_t> bytes_;  // the head, then the fill
  std::uint64_t random_;
};

}  // namespace pgv::engine
