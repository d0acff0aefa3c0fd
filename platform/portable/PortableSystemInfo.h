#pragma once
// Facts about the Windows installation of a machine folder, read from its registry the
// way Wine reports them; a machine without that information is Windows XP with
// C:\WINDOWS.

#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"

namespace pgv::platform::portable {

class PortableSystemInfo : public SystemInfo {
 public:
  PortableSystemInfo(Registry& registry, Files& files);

  std::string windowsDirectory() override;
  std::string systemDirectory() override;
  bool version(OsVersion& out) override;
  Status specialFolder(int csidlWithFlags, std::string& path) override;
  std::string programFolder() override;
  std::string userName() override;
  std::string computerName() override;

  // The value name under ...\Explorer\Shell Folders of a CSIDL, or "" when unknown.
  static const char* shellFolderValue(int csidl);

 private:
  std::string readString(HKEY root, const char* key, const char* value);
  Status createFolderTree(const std::string& path);

  Registry& registry_;
  Files& files_;
};

// Reads a REG_SZ / REG_EXPAND_SZ value as ANSI text without expanding it; "" when missing.
std::string readRegistryText(Registry& registry, HKEY root, std::string_view key, std::string_view value);

}  // namespace pgv::platform::portable
