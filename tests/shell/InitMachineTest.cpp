// `purgavia init-machine` as a user runs it.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "engine/services/System.h"
#include "engine/services/cRegistry.h"
#include "platform/Platform.h"
#include "tests/support/TempDir.h"

namespace pgv {
namespace {

struct RunResult {
  int status;
  std::string err;
};

RunResult runPurgavia(const std::string& args) {
  const std::string errFile = std::string(PGV_BINARY_DIR) + "/init-machine-stderr.txt";
  const std::string command = std::string(PGV_BINARY_DIR) + "/purgavia " + args + " 2>" + errFile + " >/dev/null";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, test::readHostFile(errFile)};
}

TEST(InitMachine, CreatesAWindowsXpMachine) {
  test::TempDir dir;
  const std::string machine = dir / "xp";
  ASSERT_EQ(runPurgavia("init-machine '" + machine + "'").status, 0);
  EXPECT_NE(test::readHostFile(machine + "/system.reg").find("#arch=win32"), std::string::npos);

  platform::PlatformOptions options;
  options.machineFolder = machine;
  std::string error;
  auto p = platform::openPlatform(options, error);
  ASSERT_TRUE(p) << error;
  platform::setCurrent(p.get());
  platform::OsVersion v;
  ASSERT_TRUE(p->system().version(v));
  EXPECT_EQ(v.major, 5u);
  EXPECT_EQ(v.minor, 1u);
  EXPECT_EQ(p->system().windowsDirectory(), "C:\\WINDOWS");
  std::string personal;
  ASSERT_EQ(p->system().specialFolder(platform::csidl::Personal, personal), platform::status::Success);
  EXPECT_EQ(personal.rfind("C:\\Documents and Settings\\", 0), 0u);
  EXPECT_EQ(p->files().attributes(personal), platform::attr::Directory);
  EXPECT_EQ(p->files().attributes("C:\\Program Files\\Purgavia\\Logs"), platform::attr::Directory);
  EXPECT_EQ(p->clock().shortDate(platform::LocalTime{2006, 3, 25, 6, 14, 5, 9, 0}), "3/25/2006");
  platform::setCurrent(nullptr);
}

TEST(InitMachine, DemoSeedsTracesTheDetectionFinds) {
  test::TempDir dir;
  ASSERT_EQ(runPurgavia("init-machine '" + (dir / "demo") + "' --demo").status, 0);
  platform::PlatformOptions options;
  options.machineFolder = dir / "demo";
  std::string error;
  auto p = platform::openPlatform(options, error);
  ASSERT_TRUE(p) << error;
  platform::setCurrent(p.get());
  engine::System system;
  std::string names, commands;
  system.Enumerate_Startup(names, commands);
  EXPECT_FALSE(names.empty());
  EXPECT_FALSE(system.Enumerate_Uninstall().program_name.empty());
  platform::setCurrent(nullptr);
}

TEST(InitMachine, RefusesBadFoldersWithOneLineAndStatus2) {
  test::TempDir dir;
  test::writeHostFile(dir / "file", "x");
  ASSERT_EQ(runPurgavia("init-machine '" + (dir / "ok") + "'").status, 0);
  const std::string cases[] = {
      "init-machine '" + (dir / "file") + "'",          // not a folder
      "init-machine '" + (dir / "no/such/parent") + "'",  // cannot be created
      "init-machine '" + (dir / "ok") + "'",            // already a machine
  };
  for (const std::string& args : cases) {
    SCOPED_TRACE(args);
    const RunResult r = runPurgavia(args);
    EXPECT_EQ(r.status, 2);
    ASSERT_FALSE(r.err.empty());
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
  }
  EXPECT_EQ(runPurgavia("init-machine").status, 2);
}

}  // namespace
}  // namespace pgv
