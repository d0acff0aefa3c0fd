#include "engine/services/System.h"

#include <gtest/gtest.h>

#include "engine/services/Browsers.h"
#include "engine/services/Messangers.h"
#include "engine/services/OS.h"
#include "engine/services/cRegistry.h"
#include "tests/support/TestMachine.h"

namespace pgv::engine {
namespace {

void setText(std::int32_t root, const std::string& key, const std::string& name, const std::string& value) {
  cRegistry reg;
  reg.setValueEx(root, key, name, REG_SZ, Variant(), Variant(value));
}

void setVersion(const char* ntVersion, const char* nineX = nullptr) {
  if (ntVersion) setText(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows NT\\CurrentVersion", "CurrentVersion", ntVersion);
  if (nineX) setText(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "VersionNumber", nineX);
}

TEST(OS, MapsVersionsToSystems) {
  struct Case {
    const char* nt;
    const char* nineX;
    Enum_OperatingSystem expected;
  } cases[] = {
      {nullptr, nullptr, System_Windows_XP}, {"5.1", nullptr, System_Windows_XP}, {"5.0", nullptr, System_Windows_2K},
      {"4.0", nullptr, System_Windows_NT},   {"5.2", nullptr, System_Windows_32}, {"6.1", nullptr, System_Windows_32},
      {nullptr, "4.0.950", System_Windows_95}, {nullptr, "4.10.2222", System_Windows_98},
      {nullptr, "4.90.3000", System_Windows_ME},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(std::string(tc.nt ? tc.nt : "-") + " " + (tc.nineX ? tc.nineX : "-"));
    test::TestMachine machine;
    setVersion(tc.nt, tc.nineX);
    OS os;
    EXPECT_EQ(os.OperatingSystem(), tc.expected);
  }
}

TEST(System, FavoritesDependOnTheSystem) {
  constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  {
    test::TestMachine machine;
    setText(HKEY_CURRENT_USER, kShellFolders, "Favorites", "C:\\Documents and Settings\\u\\Favorites");
    System system;
    EXPECT_EQ(system.getFavoritesDirectory(), "C:\\Documents and Settings\\u\\Favorites");
    EXPECT_EQ(system.getWDirectory(), "C:\\WINDOWS");
  }
  {
    test::TestMachine machine;
    setVersion("5.0");
    setText(HKEY_CURRENT_USER, kShellFolders, "Favorites", "C:\\x");
    System system;
    EXPECT_EQ(system.getFavoritesDirectory(), "");
  }
  {
    test::TestMachine machine;
    setVersion(nullptr, "4.10.2222");
    System system;
    EXPECT_EQ(system.getFavoritesDirectory(), "C:\\WINDOWS\\favorites");
  }
}

TEST(System, ListsDrivesStartupEntriesAndUninstallers) {
  test::TestMachine machine;
  System system;
  const std::string drives = system.Enumerate_Drives();
  EXPECT_EQ(drives.size(), 255u);
  EXPECT_EQ(drives.substr(0, 4), std::string("C:\\\0", 4));
  EXPECT_EQ(drives.find_first_not_of('\0', 4), std::string::npos);

  const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\";
  setText(HKEY_LOCAL_MACHINE, run + "RunOnce", "Once", "once.exe");
  setText(HKEY_CURRENT_USER, run + "Run", "Tray", "tray.exe /min");
  setText(HKEY_LOCAL_MACHINE, run + "Run", "Agent", "\"C:\\a b\\agent.exe\"");
  std::string names = "start", commands;
  system.Enumerate_Startup(names, commands);
  EXPECT_EQ(names, "start|Tray|Agent|Once");
  EXPECT_EQ(commands, "|tray.exe /min|\"C:\\a b\\agent.exe\"|once.exe");

  const std::string un = run + "Uninstall\\";
  setText(HKEY_LOCAL_MACHINE, un + "A", "DisplayName", "Editor");
  setText(HKEY_LOCAL_MACHINE, un + "A", "UninstallString", "C:\\Ed\\uninst.exe \"C:\\Ed\\install.log\"");
  setText(HKEY_LOCAL_MACHINE, un + "B", "DisplayName", "Player");
  setText(HKEY_LOCAL_MACHINE, un + "B", "UninstallString", "\"C:\\P q\\unins000.exe\" /silent");
  setText(HKEY_LOCAL_MACHINE, un + "C", "DisplayName", "   ");
  setText(HKEY_LOCAL_MACHINE, un + "C", "UninstallString", "hidden.exe");
  setText(HKEY_LOCAL_MACHINE, un + "D", "UninstallString", "nameless.exe");
  const UnInstall programs = system.Enumerate_Uninstall();
  EXPECT_EQ(programs.program_name, "Editor|Player");
  EXPECT_EQ(programs.uninstall_Path, "C:\\Ed\\uninst.exe|C:\\P q\\unins000.exe /silent");
}

TEST(Detection, FindsBrowsersAndMessengersByTheirKeys) {
  test::TestMachine machine;
  Browsers browsers;
  Messangers messengers;
  for (const char* name : {"ie", "netscape", "opera", "aol", "firefox", "mosaic"}) {
    EXPECT_FALSE(browsers.DoesExist(name)) << name;
  }
  const std::string appPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
  setText(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", "x", "1");
  setText(HKEY_LOCAL_MACHINE, appPaths + "Netscp.exe", "", "n.exe");
  setText(HKEY_LOCAL_MACHINE, appPaths + "FIREFOX.EXE", "", "f.exe");
  setText(HKEY_CURRENT_USER, "Software\\Yahoo\\pager", "x", "1");
  EXPECT_TRUE(browsers.DoesExist("IE"));
  EXPECT_TRUE(browsers.DoesExist("ie"));
  EXPECT_TRUE(browsers.DoesExist("Netscape"));
  EXPECT_TRUE(browsers.DoesExist("firefox"));
  EXPECT_FALSE(browsers.DoesExist("opera"));
  EXPECT_TRUE(messengers.DoesExist("YAHOO"));
  EXPECT_FALSE(messengers.DoesExist("msn"));
  EXPECT_FALSE(messengers.DoesExist("aim"));
}

}  // namespace
}  // namespace pgv::engine
