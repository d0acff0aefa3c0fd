#include "platform/portable/MachineFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "tests/support/TempDir.h"

namespace pgv::platform::portable {
namespace {

class MachineFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_EQ(MachineFolder::createLayout(dir.path(), error), status::Success) << error;
    test::writeHostFile(dir / "drive_c/Windows/System32/kernel32.dll", "x");
    test::writeHostFile(dir / "drive_c/Program Files/App/readme.txt", "x");
  }
  test::TempDir dir;
};

TEST_F(MachineFolderTest, ResolvesPathsWithoutRegardToCase) {
  MachineFolder machine(dir.path());
  const std::string c = machine.driveFolder('c');
  struct Case {
    const char* windows;
    std::string host;
  } cases[] = {
      {"C:\\Windows\\System32\\kernel32.dll", c + "/Windows/System32/kernel32.dll"},
      {"c:\\WINDOWS\\system32\\KERNEL32.DLL", c + "/Windows/System32/kernel32.dll"},
      {"C:/windows/system32", c + "/Windows/System32"},
      {"C:\\Windows\\..\\Program Files\\.\\app\\", c + "/Program Files/App"},
      {"C:\\Windows\\NewFile.TXT", c + "/Windows/NewFile.TXT"},
      {"C:\\Windows\\trailing.dll.", c + "/Windows/trailing.dll"},
      {"C:\\", c},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.windows);
    std::string host;
    ASSERT_EQ(machine.resolve(tc.windows, host), status::Success);
    EXPECT_EQ(host, tc.host);
  }
}

TEST_F(MachineFolderTest, RefusesWhatDoesNotResolve) {
  MachineFolder machine(dir.path());
  struct Case {
    const char* windows;
    Status expected;
  } cases[] = {
      {"C:\\Missing\\file.txt", status::PathNotFound},
      {"C:\\Windows\\System32\\kernel32.dll\\x", status::PathNotFound},
      {"Z:\\etc\\passwd", status::PathNotFound},  // the host's root folder is no drive
      {"Q:\\file", status::PathNotFound},
      {"relative\\path", status::InvalidName},
      {"", status::InvalidName},
      {"\\\\server\\share\\x", status::BadNetPath},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.windows);
    std::string host;
    EXPECT_EQ(machine.resolve(tc.windows, host), tc.expected);
  }
}

TEST_F(MachineFolderTest, ListsDrivesWithoutTheHostRoot) {
  ASSERT_EQ(::symlink(dir.path().c_str(), (dir / "dosdevices/d:").c_str()), 0);
  MachineFolder machine(dir.path());
  EXPECT_EQ(machine.driveLetters(), (std::vector<char>{'C', 'D'}));
  EXPECT_EQ(machine.driveFolder('z'), "");
}

TEST(MachineFolderLayout, RefusesAFileOrAnUnwritablePlace) {
  test::TempDir dir;
  test::writeHostFile(dir / "plain", "x");
  std::string error;
  EXPECT_NE(MachineFolder::createLayout(dir / "plain", error), status::Success);
  EXPECT_NE(error.find("not a folder"), std::string::npos);
  EXPECT_NE(MachineFolder::createLayout(dir / "missing/deeper", error), status::Success);
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace pgv::platform::portable
