// `purgavia init-machine`: a fresh Windows XP machine folder.

#include "shell/InitMachine.h"

#include <string_view>
#include <vector>

#include "engine/services/cRegistry.h"
#include "platform/Platform.h"
#include "platform/MachineSetup.h"
#include "shell/DemoTraces.h"

namespace pgv::shell {
namespace {

using engine::cRegistry;
using engine::HKEY_CURRENT_USER;
using engine::HKEY_LOCAL_MACHINE;
using engine::REG_DWORD;
using engine::REG_SZ;

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

struct Folder {
  const char* name;      // value name under Shell Folders
  const char* relative;  // below the profile folder
};

// The per-user folders of Windows XP.
constexpr Folder kUserFolders[] = {
    {"AppData", "Application Data"},
    {"Cache", "Local Settings\\Temporary Internet Files"},
    {"Cookies", "Cookies"},
    {"Desktop", "Desktop"},
    {"Favorites", "Favorites"},
    {"History", "Local Settings\\History"},
    {"Local AppData", "Local Settings\\Application Data"},
    {"Local Settings", "Local Settings"},
    {"My Music", "My Documents\\My Music"},
    {"My Pictures", "My Documents\\My Pictures"},
    {"My Video", "My Documents\\My Videos"},
    {"NetHood", "NetHood"},
    {"Personal", "My Documents"},
    {"PrintHood", "PrintHood"},
    {"Programs", "Start Menu\\Programs"},
    {"Recent", "Recent"},
    {"SendTo", "SendTo"},
    {"Start Menu", "Start Menu"},
    {"Startup", "Start Menu\\Programs\\Startup"},
    {"Templates", "Templates"},
};

// The folders of all users, under HKLM's Shell Folders.
constexpr Folder kCommonFolders[] = {
    {"Common AppData", "Application Data"},      {"Common Desktop", "Desktop"},
    {"Common Documents", "Documents"},           {"Common Favorites", "Favorites"},
    {"Common Programs", "Start Menu\\Programs"}, {"Common Start Menu", "Start Menu"},
    {"Common Startup", "Start Menu\\Programs\\Startup"}, {"Common Templates", "Templates"},
};

void setString(std::int32_t root, const std::string& key, const std::string& name, const std::string& value) {
  cRegistry reg;
  reg.setValueEx(root, key, name, REG_SZ, Variant(), Variant(value));
}

void setDword(std::int32_t root, const std::string& key, const std::string& name, std::int32_t value) {
  cRegistry reg;
  reg.setValueEx(root, key, name, REG_DWORD, Variant(), Variant(value));
}

bool createFolders(platform::Files& files, const std::string& path) {
  if (files.attributes(path) != platform::attr::Invalid) return true;
  const auto cut = path.rfind('\\');
  if (cut != std::string::npos && cut > 2 && !createFolders(files, path.substr(0, cut))) return false;
  const platform::Status s = files.createDirectory(path);
  return s == platform::status::Success || s == platform::status::AlreadyExists;
}

void writeWindowsVersion() {
  const std::string nt = "Software\\Microsoft\\Windows NT\\CurrentVersion";
  setString(HKEY_LOCAL_MACHINE, nt, "ProductName", "Microsoft Windows XP");
  setString(HKEY_LOCAL_MACHINE, nt, "CurrentVersion", "5.1");
  setString(HKEY_LOCAL_MACHINE, nt, "CurrentBuildNumber", "2600");
  setString(HKEY_LOCAL_MACHINE, nt, "CSDVersion", "Service Pack 3");
  setString(HKEY_LOCAL_MACHINE, nt, "SystemRoot", "C:\\WINDOWS");
  setString(HKEY_LOCAL_MACHINE, nt, "RegisteredOwner", "Purgavia User");
  const std::string windows = "Software\\Microsoft\\Windows\\CurrentVersion";
  setString(HKEY_LOCAL_MACHINE, windows, "ProgramFilesDir", "C:\\Program Files");
  setString(HKEY_LOCAL_MACHINE, windows, "CommonFilesDir", "C:\\Program Files\\Common Files");
}

void writeRegionalSettings() {
  const std::string intl = "Control Panel\\International";
  setString(HKEY_CURRENT_USER, intl, "Locale", "00000409");
  setString(HKEY_CURRENT_USER, intl, "sCountry", "United States");
  setString(HKEY_CURRENT_USER, intl, "sShortDate", "M/d/yyyy");
  setString(HKEY_CURRENT_USER, intl, "sTimeFormat", "h:mm:ss tt");
  setString(HKEY_CURRENT_USER, intl, "s1159", "AM");
  setString(HKEY_CURRENT_USER, intl, "s2359", "PM");
}

std::vector<std::string> writeUserFolders(const std::string& user) {
  const std::string profile = "C:\\Documents and Settings\\" + user;
  const std::string allUsers = "C:\\Documents and Settings\\All Users";
  std::vector<std::string> folders = {profile, profile + "\\Local Settings\\Temp", allUsers};
  for (const Folder& f : kUserFolders) {
    setString(HKEY_CURRENT_USER, kShellFolders, f.name, profile + "\\" + f.relative);
    setString(HKEY_CURRENT_USER, kUserShellFolders, f.name, std::string("%USERPROFILE%\\") + f.relative);
    folders.push_back(profile + "\\" + f.relative);
  }
  setString(HKEY_CURRENT_USER, kShellFolders, "Fonts", "C:\\WINDOWS\\Fonts");
  setString(HKEY_CURRENT_USER, kUserShellFolders, "Fonts", "%SystemRoot%\\Fonts");
  for (const Folder& f : kCommonFolders) {
    setString(HKEY_LOCAL_MACHINE, kShellFolders, f.name, allUsers + "\\" + f.relative);
    folders.push_back(allUsers + "\\" + f.relative);
  }
  setString(HKEY_LOCAL_MACHINE,
            "Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-0-0-0-1000",
            "ProfileImagePath", "%SystemDrive%\\Documents and Settings\\" + user);
  setString(HKEY_CURRENT_USER, "Environment", "TEMP", "%USERPROFILE%\\Local Settings\\Temp");
  setString(HKEY_CURRENT_USER, "Environment", "TMP", "%USERPROFILE%\\Local Settings\\Temp");
  setDword(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", "ShellState", 36);
  return folders;
}

}  // namespace

int initMachine(const std::string& dir, bool demo, std::string& error) {
  // A folder that already holds a machine (a Wine prefix, say) is never re-initialised:
  // its own settings would be overwritten.
  if (platform::holdsMachine(dir)) {
    error = "'" + dir + "' already holds a machine (it has registry files)";
    return 2;
  }
  if (platform::createMachineLayout(dir, error) != platform::status::Success) return 2;
  platform::PlatformOptions options;
  options.machineFolder = dir;
  std::unique_ptr<platform::Platform> p = platform::openPlatform(options, error);
  if (!p) return 2;
  platform::setCurrent(p.get());
  try {
    writeWindowsVersion();
    writeRegionalSettings();
    std::vector<std::string> folders = writeUserFolders(p->system().userName());
    for (const char* f : {"C:\\WINDOWS\\system32", "C:\\WINDOWS\\Fonts", "C:\\WINDOWS\\Temp",
                          "C:\\Program Files\\Common Files", "C:\\Program Files\\Purgavia\\Logs"}) {
      folders.emplace_back(f);
    }
    for (const std::string& folder : folders) {
      if (!createFolders(p->files(), folder)) {
        error = "cannot create the folder " + folder + " in " + dir;
        platform::setCurrent(nullptr);
        return 2;
      }
    }
    if (demo) seedDemoTraces(*p);
  } catch (const EngineError& e) {
    error = "cannot write the registry of " + dir + ": " + e.description();
    platform::setCurrent(nullptr);
    return 2;
  }
  if (p->registry().flush() != platform::status::Success) {
    error = "cannot save the registry files of " + dir;
    platform::setCurrent(nullptr);
    return 2;
  }
  platform::setCurrent(nullptr);
  return 0;
}

}  // namespace pgv::shell
