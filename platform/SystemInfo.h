#pragma once
// Facts about the Windows installation: its directory, version and special folders.
// Paths are Windows paths in the program's Unicode (UTF-8).

#include <cstdint>
#include <string>

#include "platform/Status.h"

namespace pgv::platform {

// OSVERSIONINFOA as GetVersionExA fills it.
struct OsVersion {
  std::uint32_t major = 5;
  std::uint32_t minor = 1;
  std::uint32_t build = 2600;
  std::uint32_t platformId = 2;  // 0 Win32s, 1 Windows 9x, 2 NT, 3 CE
  std::string csdVersion = "Service Pack 2";
};

namespace csidl {
inline constexpr int Personal = 5;
inline constexpr int Favorites = 6;
inline constexpr int Recent = 8;
inline constexpr int Desktop = 0x10;
inline constexpr int Templates = 0x15;
inline constexpr int AppData = 26;
inline constexpr int LocalAppData = 28;
inline constexpr int InternetCache = 32;
inline constexpr int Cookies = 33;
inline constexpr int History = 34;
inline constexpr int FlagCreate = 0x8000;
}  // namespace csidl

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  // GetWindowsDirectoryA: "C:\WINDOWS" style, no trailing backslash.
  virtual std::string windowsDirectory() = 0;
  // GetSystemDirectoryA.
  virtual std::string systemDirectory() = 0;
  // GetVersionExA. Returns false when the version cannot be had.
  virtual bool version(OsVersion& out) = 0;
  // SHGetFolderPathA(NULL, csidl [| CSIDL_FLAG_CREATE], NULL, SHGFP_TYPE_CURRENT).
  // Success and the path, or the failure (FileNotFound for an unknown folder).
  [[nodiscard]] virtual Status specialFolder(int csidlWithFlags, std::string& path) = 0;
  // The folder that holds the program (and the engine library), no trailing backslash.
  virtual std::string programFolder() = 0;
  // GetUserNameA / GetComputerNameA.
  virtual std::string userName() = 0;
  virtual std::string computerName() = 0;
};

}  // namespace pgv::platform
