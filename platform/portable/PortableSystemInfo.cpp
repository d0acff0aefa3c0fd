// System facts of a machine folder (portable backend).

#include "platform/portable/PortableSystemInfo.h"

#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/Codepage.h"

namespace pgv::platform::portable {
namespace {

constexpr const char* kNtCurrentVersion = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kWindowsCurrentVersion = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kUserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::uint32_t parseNumber(const std::string& text, std::size_t& pos) {
  std::uint32_t n = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') n = n * 10 + static_cast<std::uint32_t>(text[pos++] - '0');
  return n;
}

struct CommonFolder {
  int csidl;
  const char* value;
};

// Folders of all users, kept under HKLM's Shell Folders.
constexpr CommonFolder kCommonFolders[] = {
    {0x16, "Common Start Menu"}, {0x17, "Common Programs"},   {0x18, "Common Startup"},
    {0x19, "Common Desktop"},    {0x1F, "Common Favorites"},  {0x23, "Common AppData"},
    {0x2D, "Common Templates"},  {0x2E, "Common Documents"},
};

}  // namespace

std::string readRegistryText(Registry& registry, HKEY root, std::string_view key, std::string_view value) {
  HKEY handle = 0;
  if (registry.openKey(root, key, regaccess::QueryValue, handle) != status::Success) return {};
  std::uint32_t type = 0, size = 0;
  std::string text;
  if (registry.queryValue(handle, value, &type, nullptr, &size) == status::Success &&
      (type == regtype::Sz || type == regtype::ExpandSz) && size > 0) {
    std::vector<std::uint8_t> data(size + 1, 0);
    if (registry.queryValue(handle, value, &type, data.data(), &size) == status::Success) {
      text.assign(reinterpret_cast<const char*>(data.data()), size);
      if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    }
  }
  registry.closeKey(handle);
  return text;
}

PortableSystemInfo::PortableSystemInfo(Registry& registry, Files& files) : registry_(registry), files_(files) {}

std::string PortableSystemInfo::readString(HKEY root, const char* key, const char* value) {
  return ansiToUtf8(readRegistryText(registry_, root, key, value));
}

std::string PortableSystemInfo::windowsDirectory() {
  std::string dir = readString(HKEY_LOCAL_MACHINE, kNtCurrentVersion, "SystemRoot");
  while (dir.size() > 3 && dir.back() == '\\') dir.pop_back();
  return dir.empty() ? "C:\\WINDOWS" : dir;
}

std::string PortableSystemInfo::systemDirectory() { return windowsDirectory() + "\\system32"; }

bool PortableSystemInfo::version(OsVersion& out) {
  out = OsVersion{};
  const std::string ntVersion = readString(HKEY_LOCAL_MACHINE, kNtCurrentVersion, "CurrentVersion");
  if (!ntVersion.empty()) {
    std::size_t pos = 0;
    out.major = parseNumber(ntVersion, pos);
    if (pos < ntVersion.size() && ntVersion[pos] == '.') ++pos;
    out.minor = parseNumber(ntVersion, pos);
    const std::string build = readString(HKEY_LOCAL_MACHINE, kNtCurrentVersion, "CurrentBuildNumber");
    pos = 0;
    out.build = build.empty() ? 0 : parseNumber(build, pos);
    out.platformId = 2;
    out.csdVersion = readString(HKEY_LOCAL_MACHINE, kNtCurrentVersion, "CSDVersion");
    return true;
  }
  // A Windows 9x machine keeps "4.10.2222" style numbers under Windows\CurrentVersion.
  const std::string nineX = readString(HKEY_LOCAL_MACHINE, kWindowsCurrentVersion, "VersionNumber");
  if (!nineX.empty()) {
    std::size_t pos = 0;
    out.major = parseNumber(nineX, pos);
    if (pos < nineX.size() && nineX[pos] == '.') ++pos;
    out.minor = parseNumber(nineX, pos);
    if (pos < nineX.size() && nineX[pos] == '.') ++pos;
    out.build = parseNumber(nineX, pos);
    out.platformId = 1;
    out.csdVersion = readString(HKEY_LOCAL_MACHINE, kWindowsCurrentVersion, "SubVersionNumber");
  }
  return true;
}

const char* PortableSystemInfo::shellFolderValue(int csidl) {
  switch (csidl) {
    case 0x02: return "Programs";
    case 0x05: return "Personal";
    case 0x06: return "Favorites";
    case 0x07: return "Startup";
    case 0x08: return "Recent";
    case 0x09: return "SendTo";
    case 0x0B: return "Start Menu";
    case 0x0D: return "My Music";
    case 0x0E: return "My Videos";
    case 0x10: return "Desktop";
    case 0x13: return "NetHood";
    case 0x14: return "Fonts";
    case 0x15: return "Templates";
    case 0x1A: return "AppData";
    case 0x1B: return "PrintHood";
    case 0x1C: return "Local AppData";
    case 0x20: return "Cache";
    case 0x21: return "Cookies";
    case 0x22: return "History";
    case 0x27: return "My Pictures";
    default: return "";
  }
}

Status PortableSystemInfo::createFolderTree(const std::string& path) {
  if (files_.attributes(path) != attr::Invalid) return status::Success;
  const auto cut = path.rfind('\\');
  if (cut != std::string::npos && cut > 2) {
    if (Status s = createFolderTree(path.substr(0, cut)); s != status::Success) return s;
  }
  const Status s = files_.createDirectory(path);
  return s == status::AlreadyExists ? status::Success : s;
}

Status PortableSystemInfo::specialFolder(int csidlWithFlags, std::string& path) {
  const int csidl = csidlWithFlags & 0xFF;
  const bool create = (csidlWithFlags & csidl::FlagCreate) != 0;
  std::string folder;
  if (const char* value = shellFolderValue(csidl); *value) {
    folder = readString(HKEY_CURRENT_USER, kUserShellFolders, value);
  } else if (csidl == 0x24) {
    folder = windowsDirectory();
  } else if (csidl == 0x25) {
    folder = systemDirectory();
  } else if (csidl == 0x26) {
    folder = readString(HKEY_LOCAL_MACHINE, kWindowsCurrentVersion, "ProgramFilesDir");
    if (folder.empty()) folder = "C:\\Program Files";
  } else {
    for (const CommonFolder& common : kCommonFolders) {
      if (common.csidl == csidl) {
        folder = readString(HKEY_LOCAL_MACHINE, kUserShellFolders, common.value);
      }
    }
  }
  if (folder.empty()) return status::FileNotFound;
  if (files_.attributes(folder) == attr::Invalid) {
    if (!create) return status::FileNotFound;
    if (Status s = createFolderTree(folder); s != status::Success) return s;
  }
  path = folder;
  return status::Success;
}

std::string PortableSystemInfo::programFolder() { return "C:\\Program Files\\Purgavia"; }

std::string PortableSystemInfo::userName() {
  // The user's profile folder name, as the machine's own registry records it.
  const std::string personal = readString(HKEY_CURRENT_USER, kUserShellFolders, "AppData");
  for (const std::string prefix : {"C:\\Documents and Settings\\", "C:\\users\\"}) {
    if (personal.size() > prefix.size() && equalsNoCase(personal.substr(0, prefix.size()), prefix)) {
      const std::string rest = personal.substr(prefix.size());
      return rest.substr(0, rest.find('\\'));
    }
  }
  const char* user = std::getenv("USER");
  return user && *user ? user : "user";
}

std::string PortableSystemInfo::computerName() {
  std::string name = readString(HKEY_LOCAL_MACHINE,
                                "System\\CurrentControlSet\\Control\\ComputerName\\ComputerName", "ComputerName");
  if (!name.empty()) return name;
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) == 0 && *host) return host;
  return "PURGAVIA";
}

}  // namespace pgv::platform::portable
