#pragma once
// Overwritten files that wait, still open, until their data is on the disk. A folder
// shred overwrites a run of files and then puts all of them on the disk with one flush,
// which costs far less than a flush per file; only then are they deleted, so every
// file's new data reaches the disk before its name goes.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace pgv::engine {

class ShredBatch {
 public:
  // The most files and bytes one batch holds before it must be flushed.
  static constexpr std::size_t kMaxFiles = 256;
  static constexpr std::uint64_t kMaxBytes = 256ull << 20;

  void add(std::string path, std::unique_ptr<platform::FileHandle> file, std::uint64_t bytesWritten);
  bool full() const { return entries_.size() >= kMaxFiles || bytes_ >= kMaxBytes; }
  bool empty() const { return entries_.empty(); }

  // Flushes and closes every file of the batch and empties it. Returns the paths, in the
  // order they were added, of the files whose data is on the disk; a file whose flush
  // failed is left out (and so is not deleted).
  std::vector<std::string> flushAndClose(platform::Files& files);

 private:
  struct Entry {
    std::string path;
    std::unique_ptr<platform::FileHandle> file;
  };
  std::vector<Entry> entries_;
  std::uint64_t bytes_ = 0;
};

}  // namespace pgv::engine
