#include <gtest/gtest.h>

#include "engine/services/ModuleHelpers.h"
#include "engine/services/cRegistry.h"
#include "tests/support/TestMachine.h"

namespace pgv::platform {
namespace {

using engine::cRegistry;

void setText(std::int32_t root, const std::string& key, const std::string& name, const std::string& value) {
  cRegistry reg;
  reg.setValueEx(root, key, name, engine::REG_SZ, Variant(), Variant(value));
}

constexpr const char* kNt = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

TEST(PortableSystemInfo, AnEmptyMachineIsWindowsXp) {
  test::TestMachine machine;
  SystemInfo& system = machine.platform().system();
  OsVersion v;
  ASSERT_TRUE(system.version(v));
  EXPECT_EQ(v.major, 5u);
  EXPECT_EQ(v.minor, 1u);
  EXPECT_EQ(v.build, 2600u);
  EXPECT_EQ(v.platformId, 2u);
  EXPECT_EQ(system.windowsDirectory(), "C:\\WINDOWS");
  EXPECT_EQ(engine::WindowsFolder(), "C:\\WINDOWS");
  EXPECT_EQ(engine::PlatformFamily(), 1);
  EXPECT_EQ(system.programFolder(), "C:\\Program Files\\Purgavia");
}

TEST(PortableSystemInfo, ReadsVersionAndFoldersFromTheRegistry) {
  test::TestMachine machine;
  setText(engine::HKEY_LOCAL_MACHINE, kNt, "CurrentVersion", "6.1");
  setText(engine::HKEY_LOCAL_MACHINE, kNt, "CurrentBuildNumber", "7601");
  setText(engine::HKEY_LOCAL_MACHINE, kNt, "CSDVersion", "Service Pack 1");
  setText(engine::HKEY_LOCAL_MACHINE, kNt, "SystemRoot", "C:\\windows");
  setText(engine::HKEY_CURRENT_USER, kShellFolders, "Personal", "C:\\users\\root\\Documents");
  setText(engine::HKEY_CURRENT_USER, kShellFolders, "AppData", "C:\\users\\root\\AppData\\Roaming");
  setText(engine::HKEY_CURRENT_USER, kShellFolders, "Desktop", "C:\\users\\root\\Desktop");
  SystemInfo& system = machine.platform().system();
  OsVersion v;
  ASSERT_TRUE(system.version(v));
  EXPECT_EQ(v.major, 6u);
  EXPECT_EQ(v.minor, 1u);
  EXPECT_EQ(v.build, 7601u);
  EXPECT_EQ(v.csdVersion, "Service Pack 1");
  EXPECT_EQ(engine::WindowsFolder(), "C:\\windows");

  // Special folders: created on demand with the create flag, "" when unknown.
  std::string path;
  EXPECT_EQ(system.specialFolder(csidl::Personal, path), status::FileNotFound);
  EXPECT_EQ(engine::SpecialFolder(csidl::Personal), "C:\\users\\root\\Documents");
  EXPECT_TRUE(test::hostFileExists(machine.hostC("users/root/Documents")));
  EXPECT_EQ(engine::SpecialFolder(csidl::AppData), "C:\\users\\root\\AppData\\Roaming");
  EXPECT_EQ(engine::SpecialFolder(0x7F), "");
  EXPECT_EQ(system.userName(), "root");

  Environment& env = machine.platform().environment();
  EXPECT_EQ(env.variable("USERPROFILE"), "C:\\users\\root");
  EXPECT_EQ(env.variable("windir"), "C:\\windows");
  char buffer[128];
  const std::uint32_t n = env.expandEnvironmentStrings("%APPDATA%\\x %unknown% 100% %%", buffer, sizeof buffer);
  EXPECT_EQ(std::string(buffer), "C:\\users\\root\\AppData\\Roaming\\x %unknown% 100% %%");
  EXPECT_EQ(n, std::string(buffer).size() + 1);
  EXPECT_EQ(env.expandEnvironmentStrings("%windir%", nullptr, 0), 11u);
}

TEST(PortableSystemInfo, SpecialFolderAtADriveRootLosesItsBackslash) {
  test::TestMachine machine;
  setText(engine::HKEY_CURRENT_USER, kShellFolders, "Personal", "C:\\");
  EXPECT_EQ(engine::SpecialFolder(csidl::Personal), "C:");
}

TEST(PortableSystemInfo, NineXMachinesReportTheirFamily) {
  test::TestMachine machine;
  setText(engine::HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "VersionNumber", "4.10.2222");
  OsVersion v;
  ASSERT_TRUE(machine.platform().system().version(v));
  EXPECT_EQ(v.platformId, 1u);
  EXPECT_EQ(v.minor, 10u);
  EXPECT_EQ(engine::PlatformFamily(), 0);
}

}  // namespace
}  // namespace pgv::platform
