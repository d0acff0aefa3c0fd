// Environment variables of a machine folder (portable backend).

#include "platform/portable/PortableEnvironment.h"

#include <cstring>

#include "platform/Codepage.h"
#include "platform/portable/PortableSystemInfo.h"

namespace pgv::platform::portable {
namespace {

constexpr const char* kSystemEnvironment = "System\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr int kMaxDepth = 8;  // variables that refer to each other in a loop stop here

std::string parentFolder(const std::string& path) {
  const auto cut = path.rfind('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

}  // namespace

PortableEnvironment::PortableEnvironment(Registry& registry, SystemInfo& system)
    : registry_(registry), system_(system) {}

std::string PortableEnvironment::derived(std::string_view name) {
  auto is = [&](const char* n) { return equalsNoCase(name, n); };
  auto shellFolder = [&](const char* value) {
    return utf8ToAnsi(ansiToUtf8(readRegistryText(registry_, HKEY_CURRENT_USER, kShellFolders, value)));
  };
  if (is("SystemRoot") || is("windir")) return utf8ToAnsi(system_.windowsDirectory());
  if (is("SystemDrive") || is("HOMEDRIVE")) return utf8ToAnsi(system_.windowsDirectory().substr(0, 2));
  if (is("USERPROFILE")) return parentFolder(shellFolder("Desktop"));
  if (is("HOMEPATH")) {
    const std::string profile = parentFolder(shellFolder("Desktop"));
    return profile.size() > 2 ? profile.substr(2) : std::string();
  }
  if (is("APPDATA")) return shellFolder("AppData");
  if (is("LOCALAPPDATA")) return shellFolder("Local AppData");
  if (is("ProgramFiles")) {
    std::string dir;
    return system_.specialFolder(0x26, dir) == status::Success ? utf8ToAnsi(dir) : "C:\\Program Files";
  }
  if (is("CommonProgramFiles")) return lookup("ProgramFiles", kMaxDepth) + "\\Common Files";
  if (is("ALLUSERSPROFILE")) return parentFolder(parentFolder(shellFolder("Desktop"))) + "\\All Users";
  if (is("TEMP") || is("TMP")) return lookup("USERPROFILE", kMaxDepth) + "\\Local Settings\\Temp";
  if (is("USERNAME")) return utf8ToAnsi(system_.userName());
  if (is("COMPUTERNAME")) return utf8ToAnsi(system_.computerName());
  if (is("OS")) return "Windows_NT";
  return {};
}

std::string PortableEnvironment::lookup(std::string_view name, int depth) {
  for (const auto& [root, key] : {std::pair{HKEY_CURRENT_USER, "Environment"},
                                  std::pair{HKEY_LOCAL_MACHINE, kSystemEnvironment}}) {
    std::string value = readRegistryText(registry_, root, key, name);
    if (!value.empty()) return depth < kMaxDepth ? expand(value, depth + 1) : value;
  }
  return derived(name);
}

std::string PortableEnvironment::expand(std::string_view text, int depth) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '%') {
      out += text[i++];
      continue;
    }
    const auto close = text.find('%', i + 1);
    if (close == std::string_view::npos) {
      out.append(text.substr(i));
      break;
    }
    const std::string_view name = text.substr(i + 1, close - i - 1);
    const std::string value = name.empty() ? std::string() : lookup(name, depth);
    if (name.empty() || value.empty()) {
      // Unknown names stay as written; the closing % may open the next reference.
      out.append(text.substr(i, close - i));
      i = close;
      continue;
    }
    out += value;
    i = close + 1;
  }
  return out;
}

std::uint32_t PortableEnvironment::expandEnvironmentStrings(std::string_view src, char* dst, std::uint32_t size) {
  const std::string result = expand(src, 0);
  const auto needed = static_cast<std::uint32_t>(result.size() + 1);
  if (dst && size >= needed) std::memcpy(dst, result.c_str(), needed);
  return needed;
}

std::string PortableEnvironment::variable(std::string_view name) {
  return ansiToUtf8(lookup(utf8ToAnsi(name), 0));
}

}  // namespace pgv::platform::portable
