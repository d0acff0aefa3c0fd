// Win32 backend only: the Windows installation through kernel32, advapi32 and shell32.

#include "platform/SystemInfo.h"

#include "platform/Library.h"
#include "platform/win32/Win32SystemInfo.h"
#include "platform/win32/Win32Text.h"
#include <shlobj.h>

namespace pgv::platform::win32 {

std::string Win32SystemInfo::windowsDirectory() {
  char buffer[MAX_PATH + 1] = {};
  const UINT n = ::GetWindowsDirectoryA(buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? unicode(buffer) : "C:\\WINDOWS";
}

std::string Win32SystemInfo::systemDirectory() {
  char buffer[MAX_PATH + 1] = {};
  const UINT n = ::GetSystemDirectoryA(buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? unicode(buffer) : windowsDirectory() + "\\system32";
}

bool Win32SystemInfo::version(OsVersion& out) {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExA(&info)) return false;
#pragma GCC diagnostic pop
  out.major = info.dwMajorVersion;
  out.minor = info.dwMinorVersion;
  out.build = info.dwBuildNumber;
  out.platformId = info.dwPlatformId;
  out.csdVersion = unicode(info.szCSDVersion);
  return true;
}

Status Win32SystemInfo::specialFolder(int csidlWithFlags, std::string& path) {
  char buffer[MAX_PATH + 1] = {};
  const HRESULT hr = ::SHGetFolderPathA(nullptr, csidlWithFlags, nullptr, SHGFP_TYPE_CURRENT, buffer);
  if (FAILED(hr)) return (hr & 0xFFFF0000) == 0x80070000 ? static_cast<Status>(hr & 0xFFFF) : status::FileNotFound;
  path = unicode(buffer);
  return status::Success;
}

std::string Win32SystemInfo::programFolder() { return executableFolder(); }

std::string Win32SystemInfo::userName() {
  char buffer[257] = {};
  DWORD size = sizeof buffer;
  return ::GetUserNameA(buffer, &size) ? unicode(buffer) : std::string();
}

std::string Win32SystemInfo::computerName() {
  char buffer[MAX_COMPUTERNAME_LENGTH + 2] = {};
  DWORD size = sizeof buffer;
  return ::GetComputerNameA(buffer, &size) ? unicode(buffer) : std::string();
}

}  // namespace pgv::platform::win32
