#pragma once
// Win32 backend only: the SystemInfo interface.

#include "platform/SystemInfo.h"

namespace pgv::platform::win32 {

class Win32SystemInfo : public SystemInfo {
 public:
  std::string windowsDirectory() override;
  std::string systemDirectory() override;
  bool version(OsVersion& out) override;
  Status specialFolder(int csidlWithFlags, std::string& path) override;
  std::string programFolder() override;
  std::string userName() override;
  std::string computerName() override;
};

}  // namespace pgv::platform::win32
