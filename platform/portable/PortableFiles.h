#pragma once
// Files over a machine folder.

#include <memory>

#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/portable/MachineFolder.h"

namespace pgv::platform::portable {

class PortableFiles : public Files {
 public:
  // registry gives the drive types (HKLM\Software\Wine\Drives); it may be null.
  PortableFiles(const MachineFolder& machine, Registry* registry);

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
  Status flushVolume(std::string_view root) override;
  std::vector<std::string> logicalDrives() override;
  std::uint32_t driveType(std::string_view root) override;
  Status diskFreeSpace(std::string_view root, DiskSpace& space) override;
  Status lastError() const override { return lastError_; }
  std::string hostPath(std::string_view path) override;

  // Wine's 8.3 alias of a long name ("B~~~~Q0J.DLL"); "" when the name is a valid 8.3 name.
  static std::string shortName(const std::string& longName);
  // Windows wildcard matching (* and ?, trailing '.' and '*' of the mask ignored).
  static bool matchMask(std::u16string_view name, std::u16string_view mask);

 private:
  const MachineFolder& machine_;
  Registry* registry_;
  Status lastError_ = status::Success;
};

}  // namespace pgv::platform::portable
