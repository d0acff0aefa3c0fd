// Overwritten files waiting for one flush.

#include "engine/shredder/ShredBatch.h"

namespace pgv::engine {

void ShredBatch::add(std::string path, std::unique_ptr<platform::FileHandle> file, std::uint64_t bytesWritten) {
  entries_.push_back(Entry{std::move(path), std::move(file)});
  bytes_ += bytesWritten;
}

std::vector<std::string> ShredBatch::flushAndClose(platform::Files& files) {
  std::vector<platform::FileHandle*> handles;
  handles.reserve(entries_.size());
  for (const Entry& entry : entries_) handles.push_back(entry.file.get());
  const bool allOnDisk = handles.empty() || files.flushFiles(handles) == platform::status::Success;

  std::vector<std::string> onDisk;
  onDisk.reserve(entries_.size());
  for (Entry& entry : entries_) {
    // After a failed batch flush each file is flushed alone to learn which ones made it.
    if (allOnDisk || entry.file->flush() == platform::status::Success) onDisk.push_back(std::move(entry.path));
    entry.file.reset();
  }
  entries_.clear();
  bytes_ = 0;
  return onDisk;
}

}  // namespace pgv::engine
