#pragma once
// Shredder: overwrites and deletes files, folder trees and the free space of a drive.
// See engine/api/Shredder.h for what each operation promises.
//
// The one object the main window keeps serves nested calls too: a command delivered at a
// yield point may start another shred on the same object while the first waits.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/api/Shredder.h"
#include "platform/Files.h"

namespace pgv::engine {

class OverwritePattern;
class ShredBatch;
class FileFilter;

class Shredder : public pgv::Shredder {
 public:
  Shredder();
  ~Shredder() override;

  void setListener(ShredderListener* listener) override { listener_ = listener; }
  void setYieldHook(std::function<void()> hook) override { yield_ = std::move(hook); }
  void setCursorHook(std::function<void(bool busy)> hook) override { cursor_ = std::move(hook); }

  Variant TotalBytes() override { return Variant(std::int32_t{0}); }
  std::int32_t FileShred(const std::string& file) override;
  std::int32_t FolderShred(const std::string& fname, bool DeleteContentsOnly = false,
                           const std::string& File_Extension = "", bool SubDirectoriesIncluded = false,
                           double Max_fsize = 0, double Min_fsize = 0) override;
  Variant ShredFreeSpace(const std::string& drive) override;
  double toByte(double m) override { return m * 1024; }
  Variant StopShred(bool bSet) override;

  // The free space in bytes measured by the last ShredFreeSpace.
  std::uint64_t lastFreeSpace() const { return freeSpace_; }

 private:
  class Operation;

  bool yieldStopped();
  // Overwrites one file and adds it to batch, or removes a shortcut or link at once.
  // The result is FileShred's.
  std::int32_t shredInto(ShredBatch& batch, const std::string& file, const platform::FindEntry& info);
  bool overwrite(platform::FileHandle& file, std::uint64_t length);
  // Flushes the batch, then deletes, logs and reports each of its files.
  void finish(ShredBatch& batch);
  void deleteShredded(const std::string& path);
  void shredFolder(const std::string& folder, bool contentsOnly, const FileFilter& filter, bool subFolders);
  void shredFiles(const std::string& folder, const std::vector<platform::FindEntry>& entries, const FileFilter& filter);
  void removeTree(const std::string& folder);
  const std::string& logSection();

  platform::Files& files();
  OverwritePattern& pattern();

  ShredderListener* listener_ = nullptr;
  std::function<void()> yield_;
  std::function<void(bool)> cursor_;
  bool stop_ = false;
  int depth_ = 0;                          // operations running, nested ones included
  std::optional<std::string> logSection_;  // looked up once per outermost operation
  std::unique_ptr<OverwritePattern> pattern_;
  std::uint64_t freeSpace_ = 0;
};

}  // namespace pgv::engine
