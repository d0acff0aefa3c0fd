// The System class.

#include "engine/services/System.h"

#include "engine/services/OS.h"
#include "engine/services/cRegistry.h"
#include "platform/Platform.h"

namespace pgv::engine {
namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

struct RunKey {
  std::int32_t root;
  const char* path;
};

// The places Windows starts programs from at log-on, in the order they are listed.
constexpr RunKey kRunKeys[] = {
    {HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Run"},
    {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"},
    {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnceEx"},
    {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices"},
};

std::string trimBlanks(const std::string& s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

std::string stripBars(std::string s) {
  if (!s.empty() && s.front() == '|') s.erase(0, 1);
  if (!s.empty() && s.back() == '|') s.pop_back();
  return s;
}

// An unquoted program path followed by quoted arguments keeps the program path alone.
std::string uninstallCommand(std::string command) {
  const auto quote = command.find('"');
  if (quote != std::string::npos && quote != 0) command = trimBlanks(command.substr(0, quote));
  return command;
}

}  // namespace

void showPlainMessage(const std::string& text) {
  if (platform::Shell* shell = platform::current().shell()) shell->messageBox(text);
}

System::System() {
  cRegistry reg;
  favorites_ = reg.ValueEx(HKEY_CURRENT_USER, kShellFolders, "Favorites", REG_SZ, Variant()).toText();
}

std::string System::getWDirectory() {
  std::string dir = platform::current().system().windowsDirectory();
  if (dir.size() > 200) dir.resize(200);
  return dir;
}

std::string System::getFavoritesDirectory() {
  OS os;
  switch (os.OperatingSystem()) {
    case System_Windows_98:
    case System_Windows_ME: return getWDirectory() + "\\favorites";
    case System_Windows_XP: return favorites_;
    default: return {};
  }
}

std::string System::Enumerate_Drives() {
  constexpr std::size_t kBuffer = 255;
  std::string buffer;
  for (const std::string& root : platform::current().files().logicalDrives()) {
    if (buffer.size() + root.size() + 1 > kBuffer) break;
    buffer += root;
    buffer += '\0';
  }
  buffer.resize(kBuffer, '\0');
  return buffer;
}

Variant System::Enumerate_Startup(std::string& result, std::string& P) {
  try {
    for (const RunKey& run : kRunKeys) {
      cRegistry reg;
      reg.setClassKey(run.root);
      reg.setSectionKey(run.path);
      std::vector<std::string> names;
      std::int32_t count = 0;
      reg.EnumerateValues(names, count);
      for (const std::string& name : names) {
        reg.setValueKey(name);
        result += "|" + name;
        P += "|" + reg.Value().toText();
      }
    }
  } catch (const EngineError& e) {
    showPlainMessage(e.description());
  }
  return {};
}

UnInstall System::Enumerate_Uninstall() {
  std::string names, commands;
  try {
    cRegistry reg;
    reg.setClassKey(HKEY_LOCAL_MACHINE);
    reg.setSectionKey(kUninstall);
    std::vector<std::string> subKeys;
    std::int32_t count = 0;
    reg.EnumerateSections(subKeys, count);
    for (const std::string& subKey : subKeys) {
      cRegistry entry;
      const std::string displayName =
          entry.ValueEx(HKEY_LOCAL_MACHINE, kUninstall + subKey, "DisplayName", REG_SZ, Variant()).toText();
      if (trimBlanks(displayName).empty()) continue;
      names += "|" + displayName;
      entry.setValueKey("UninstallString");
      commands += "|" + uninstallCommand(entry.Value().toText());
    }
  } catch (const EngineError& e) {
    showPlainMessage(e.description());
    return {};
  }
  commands = stripBars(commands);
  std::erase(commands, '"');
  return UnInstall{stripBars(names), commands};
}

}  // namespace pgv::engine
