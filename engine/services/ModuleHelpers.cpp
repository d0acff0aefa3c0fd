// Helpers of the engine library outside any class.

#include "engine/services/ModuleHelpers.h"

#include "engine/services/INI.h"
#include "platform/Codepage.h"
#include "platform/Platform.h"

namespace pgv::engine {
namespace {

std::string trimBlanks(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(' ');
  return std::string(s.substr(first, last - first + 1));
}

}  // namespace

std::string StripBars(std::string_view s) {
  if (!s.empty() && s.front() == '|') s.remove_prefix(1);
  if (!s.empty() && s.back() == '|') s.remove_suffix(1);
  return std::string(s);
}

std::string TextBeforeNul(std::string_view s) { return std::string(s.substr(0, s.find('\0'))); }

std::string EngineMessageFile() {
  platform::Platform& p = platform::current();
  const std::string language = p.settings().get("QMR", "Lang", "Lang", "Deutsch");
  const bool english = platform::equalsNoCase(language, "ENGLISH");
  return p.system().programFolder() + (english ? "\\skin\\msgs.ini" : "\\skin\\msgsg.ini");
}

std::string EngineMessage(std::string_view key) {
  INI ini;
  return ini.GetFromINI(EngineMessageFile(), "QMR", std::string(key));
}

std::string SpecialFolder(int csidl) {
  std::string path;
  if (platform::current().system().specialFolder(csidl | platform::csidl::FlagCreate, path) !=
      platform::status::Success) {
    return {};
  }
  path = TextBeforeNul(path);
  if (const std::string trimmed = trimBlanks(path); !trimmed.empty() && trimmed.back() == '\\') {
    path = trimmed.substr(0, trimmed.size() - 1);
  }
  return path;
}

std::string WindowsFolder() {
  const std::string dir = trimBlanks(TextBeforeNul(platform::current().system().windowsDirectory()));
  return dir.empty() ? "C:\\WINDOWS" : dir;
}

int PlatformFamily() {
  platform::OsVersion version;
  if (!platform::current().system().version(version)) return -1;
  switch (version.platformId) {
    case 1: return 0;
    case 2: return 1;
    case 3: return 2;
    default: return -1;
  }
}

}  // namespace pgv::engine
