#pragma once
// A Files decorator for shredder tests: forwards to the machine's real Files, records the
// calls that change the disk in order ("write C:\a.txt 210", "flush C:\a.txt", "delete
// C:\a.txt", "rmdir C:\d"), and can fake the free space of a drive or fail an open.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace pgv::test {

class RecordingFiles : public platform::Files {
 public:
  explicit RecordingFiles(platform::Files& inner) : inner_(inner) {}

  std::vector<std::string> calls;
  // Free space reported for a root ("D:\", any letter case), instead of the real figure.
  std::map<std::string, std::uint64_t> fakeFreeSpace;
  // Whether a drive without fake free space reports its real figure. Off, so that a test
  // can never start filling the disk the machine folder lies on; such a drive then
  // reports no free space at all and the test fails.
  bool realFreeSpace = false;
  // Consulted before every open; a status other than Success fails the open with it.
  std::function<platform::Status(std::string_view path, platform::OpenMode mode)> openHook;
  // Consulted for every file a flush covers; a status other than Success fails the flush
  // (of the whole call, for flushFiles) as a disk that lost the data would.
  std::function<platform::Status(std::string_view path)> flushHook;

  // The recorded calls that start with prefix.
  std::vector<std::string> callsStartingWith(const std::string& prefix) const;

  platform::Status find(std::string_view pattern, std::vector<platform::FindEntry>& entries) override {
    return inner_.find(pattern, entries);
  }
  std::uint32_t attributes(std::string_view path) override { return inner_.attributes(path); }
  platform::Status setAttributes(std::string_view path, std::uint32_t attributes) override {
    return inner_.setAttributes(path, attributes);
  }
  platform::Status createDirectory(std::string_view path) override { return inner_.createDirectory(path); }
  platform::Status removeDirectory(std::string_view path) override;
  platform::Status deleteFile(std::string_view path) override;
  platform::Status moveFile(std::string_view from, std::string_view to, bool replace) override {
    return inner_.moveFile(from, to, replace);
  }
  platform::Status copyFile(std::string_view from, std::string_view to, bool failIfExists) override {
    return inner_.copyFile(from, to, failIfExists);
  }
  platform::Status open(std::string_view path, platform::OpenMode mode,
                        std::unique_ptr<platform::FileHandle>& file) override;
  platform::Status fileInfo(std::string_view path, platform::FindEntry& info) override {
    return inner_.fileInfo(path, info);
  }
  platform::Status flushFiles(std::span<platform::FileHandle* const> files) override;
  platform::Status flushVolume(std::string_view root) override;
  std::vector<std::string> logicalDrives() override { return inner_.logicalDrives(); }
  std::uint32_t driveType(std::string_view root) override { return inner_.driveType(root); }
  platform::Status diskFreeSpace(std::string_view root, platform::DiskSpace& space) override;
  platform::Status lastError() const override { return inner_.lastError(); }
  std::string hostPath(std::string_view path) override { return inner_.hostPath(path); }

 private:
  platform::Files& inner_;
};

// The machine's platform with its Files replaced by a RecordingFiles; it becomes the
// process's current platform while it lives.
class RecordingPlatform : public platform::Platform {
 public:
  explicit RecordingPlatform(platform::Platform& inner);
  ~RecordingPlatform() override;

  RecordingFiles recorder;

  platform::Registry& registry() override { return inner_.registry(); }
  platform::Files& files() override { return recorder; }
  platform::Profile& profile() override { return inner_.profile(); }
  platform::SettingsStore& settings() override { return inner_.settings(); }
  platform::SystemInfo& system() override { return inner_.system(); }
  platform::Clock& clock() override { return inner_.clock(); }
  platform::Environment& environment() override { return inner_.environment(); }

 private:
  platform::Platform& inner_;
};

}  // namespace pgv::test
