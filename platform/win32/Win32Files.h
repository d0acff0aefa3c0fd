#pragma once
// Win32 backend only: the Files interface over kernel32.

#include "platform/Files.h"

namespace pgv::platform::win32 {

class Win32Files : public Files {
 public:
  Status find(std::string_view pattern, std::vector<FindEntry>& entries) override;
  std::uint32_t attributes(std::string_view path) override;
  Status setAttributes(std::string_view path, std::uint32_t attributes) override;
  Status createDirectory(std::string_view path) override;
  Status removeDirectory(std::string_view path) override;
  Status deleteFile(std::string_view path) override;
  Status moveFile(std::string_view from, std::string_view to, bool replace) override;
  Status copyFile(std::string_view from, std::string_view to, bool failIfExists) override;
  Status open(std::string_view path, OpenMode mode, std::unique_ptr<FileHandle>& file) override;
  Status fileInfo(std::string_view path, FindEntry& info) override;
  Status flushFiles(std::span<FileHandle* const> files) override;
  std::vector<std::string> logicalDrives() override;
  std::uint32_t driveType(std::string_view root) override;
  Status diskFreeSpace(std::string_view root, DiskSpace& space) override;
  Status lastError() const override { return lastError_; }
  std::string hostPath(std::string_view path) override;

 private:
  Status lastError_ = status::Success;
};

}  // namespace pgv::platform::win32
