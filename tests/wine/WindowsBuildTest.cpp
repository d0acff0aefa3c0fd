// The Windows build under Wine: the program driven through its stdio skin host, and what
// it leaves in the prefix compared with what the Linux build leaves in a machine folder
// after the same skin session.
//
// Wine here runs 64-bit Windows programs only, so the tests drive the x86-64 build of the
// Windows deliverables (build-win64); the i686 deliverables are compiled from the same
// sources.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <vector>

#include "engine/api/ClassIds.h"
#include "platform/portable/PortableRegistry.h"
#include "tests/support/SkinSession.h"
#include "tests/support/TempDir.h"

namespace pgv::test {
namespace {

namespace fs = std::filesystem;
using platform::PortableRegistry;

int shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

std::string shellQuote(const std::string& s) { return "'" + s + "'"; }

// Every value below a key of HKCU, by path, as type and raw bytes.
using Dump = std::map<std::string, std::pair<std::uint32_t, std::vector<std::uint8_t>>>;

void dumpKey(platform::Registry& registry, platform::HKEY parent, const std::string& path, Dump& out) {
  platform::HKEY key = 0;
  if (registry.openKey(parent, path, platform::regaccess::QueryValue | platform::regaccess::EnumerateSubKeys, key) !=
      platform::status::Success) {
    return;
  }
  char name[1024];
  for (std::uint32_t i = 0;; ++i) {
    std::uint32_t length = sizeof name;
    std::uint32_t type = 0;
    if (registry.enumValue(key, i, name, &length, &type) != platform::status::Success) break;
    const std::string valueName(name, length);
    std::uint32_t size = 0;
    (void)registry.queryValue(key, valueName, &type, nullptr, &size);
    std::vector<std::uint8_t> data(size);
    (void)registry.queryValue(key, valueName, &type, data.data(), &size);
    out[path + "\\" + valueName] = {type, data};
  }
  std::vector<std::string> subKeys;
  for (std::uint32_t i = 0; registry.enumKey(key, i, name, sizeof name) == platform::status::Success; ++i) {
    subKeys.emplace_back(name);
  }
  registry.closeKey(key);
  for (const std::string& sub : subKeys) dumpKey(registry, parent, path + "\\" + sub, out);
}

Dump programData(const std::string& machine) {
  std::unique_ptr<PortableRegistry> registry;
  std::string error;
  EXPECT_EQ(PortableRegistry::open(machine, registry, error), platform::status::Success) << error;
  Dump dump;
  if (registry) {
    dumpKey(*registry, platform::HKEY_CURRENT_USER, "Software\\vuzaz2", dump);
    dumpKey(*registry, platform::HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings", dump);
  }
  return dump;
}

// True when the key exists in the machine's registry.
bool keyExists(const std::string& machine, platform::HKEY root, const std::string& path) {
  std::unique_ptr<PortableRegistry> registry;
  std::string error;
  if (PortableRegistry::open(machine, registry, error) != platform::status::Success) return false;
  platform::HKEY key = 0;
  if (registry->openKey(root, path, platform::regaccess::QueryValue, key) != platform::status::Success) return false;
  registry->closeKey(key);
  return true;
}

std::string logsOf(const std::string& machine) {
  std::string text;
  const fs::path logs = fs::path(machine) / "drive_c/Program Files/Purgavia/Logs";
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(logs, ec)) {
    text += entry.path().filename().string() + ":\n" + readHostFile(entry.path().string());
  }
  return text;
}

class WindowsBuildTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const char* source = std::getenv("PGV_WINDOWS_BUILD");
    windowsBuild_ = source && *source ? source : std::string(PGV_SOURCE_DIR) + "/build-win64";
    if (!fs::exists(windowsBuild_ + "/Purgavia.exe")) {
      skip_ = "no Windows build in " + windowsBuild_ + " (make test builds it with the win64 preset)";
      return;
    }
    for (const char* candidate : {"wine", "wine64", "/usr/lib/wine/wine64"}) {
      if (shell(std::string("WINEDEBUG=-all ") + candidate + " --version") == 0) {
        wine_ = candidate;
        break;
      }
    }
    if (wine_.empty()) {
      skip_ = "no Wine loader that runs 64-bit programs here";
      return;
    }
    const std::string build = PGV_BINARY_DIR;
    pristine_ = build + "/wine-program-pristine";
    lock_ = ::open((build + "/wine-program-pristine.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lock_ >= 0) ::flock(lock_, LOCK_EX);
    if (!fs::exists(pristine_ + "/userdef.reg")) {
      shell("rm -rf " + shellQuote(pristine_));
      shell("WINEPREFIX=" + shellQuote(pristine_) + " WINEDEBUG=-all DISPLAY= " + wine_ + " wineboot -i");
      shell("WINEPREFIX=" + shellQuote(pristine_) + " wineserver -w");
    }
    if (!fs::exists(pristine_ + "/userdef.reg")) skip_ = "wineboot did not make a prefix in " + pristine_;
  }
  static void TearDownTestSuite() {
    if (lock_ >= 0) ::close(lock_);
    lock_ = -1;
  }
  void SetUp() override {
    if (!skip_.empty()) GTEST_SKIP() << skip_;
  }

  // A fresh prefix for one test: the pristine one with its files linked (Wine replaces,
  // never rewrites them in place) and its registry files copied.
  std::string freshPrefix() {
    const std::string prefix = dir_ / "prefix";
    EXPECT_EQ(shell("cp -al " + shellQuote(pristine_) + " " + shellQuote(prefix)), 0);
    for (const char* hive : {"system.reg", "user.reg", "userdef.reg"}) {
      shell("cp --remove-destination " + shellQuote(pristine_ + "/" + hive) + " " + shellQuote(prefix + "/" + hive));
    }
    // The program installed where Windows programs live.
    const std::string folder = prefix + "/drive_c/Program Files/Purgavia";
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(windowsBuild_)) {
      const std::string name = entry.path().filename().string();
      if (name.ends_with(".exe") || name.ends_with(".dll")) fs::copy_file(entry.path(), folder + "/" + name);
    }
    fs::copy(windowsBuild_ + "/skin", folder + "/skin", fs::copy_options::recursive);
    return prefix;
  }

  // A machine folder with the same registry as the pristine prefix and an empty drive C:.
  std::string twinMachine() {
    const std::string machine = dir_ / "machine";
    fs::create_directories(machine + "/drive_c");
    fs::create_directories(machine + "/dosdevices");
    fs::create_symlink("../drive_c", machine + "/dosdevices/c:");
    for (const char* hive : {"system.reg", "user.reg", "userdef.reg"}) {
      fs::copy_file(pristine_ + "/" + hive, machine + "/" + hive);
    }
    return machine;
  }

  std::unique_ptr<SkinSession> startWindows(const std::string& prefix) {
    return std::make_unique<SkinSession>(
        std::vector<std::string>{wine_, "C:\\Program Files\\Purgavia\\Purgavia.exe", "--skin", "stdio", "--timers",
                                 "manual", "--clock", kClock},
        std::vector<std::string>{"WINEPREFIX=" + prefix, "WINEDEBUG=-all", "DISPLAY="});
  }
  std::unique_ptr<SkinSession> startLinux(const std::string& machine) {
    return std::make_unique<SkinSession>(PGV_BINARY_DIR, machine, std::vector<std::string>{"--clock", kClock});
  }
  void waitForWine(const std::string& prefix) { shell("WINEPREFIX=" + shellQuote(prefix) + " wineserver -w"); }

  static constexpr const char* kClock = "2026-12-11T08:30:00";
  static std::string windowsBuild_;
  static std::string wine_;
  static std::string pristine_;
  static std::string skip_;
  static int lock_;
  TempDir dir_;
};

std::string WindowsBuildTest::windowsBuild_;
std::string WindowsBuildTest::wine_;
std::string WindowsBuildTest::pristine_;
std::string WindowsBuildTest::skip_;
int WindowsBuildTest::lock_ = -1;

// One skin session: tick a box, shred a file (saying yes), leave with "yes" and save the
// profile "Home". Returns the program's exit status.
int runSession(SkinSession& session) {
  const Events startup = session.untilIdle(std::chrono::seconds(60));
  EXPECT_GE(indexOf(startup, {{"ev", "load"}, {"win", "mainfrm"}}), 0) << session.errors();
  session.setVariable("mainfrm", "_root.WIN_BF", "1");
  session.command("mainfrm", "IDC_FS_SHREDFILES", "|C:\\docs\\a.txt|");
  const Events box = session.untilIdle(std::chrono::seconds(60));
  EXPECT_EQ(lastEvent(box), Json({{"ev", "idle"}, {"waiting", "msgboxWindow"}}));
  const std::string title = lastSet(box, "msgboxWindow", "_root.title1").value_or("");
  session.command("msgboxWindow", title, "Yes");
  session.untilIdle(std::chrono::seconds(60));
  session.command("mainfrm", "IDC_FS_CLOSE");
  session.untilIdle(std::chrono::seconds(60));
  session.command("msgboxWindow", "Exit Purgavia", "Yes");
  const Events ask = session.untilIdle(std::chrono::seconds(60));
  EXPECT_EQ(lastEvent(ask), Json({{"ev", "idle"}, {"waiting", "ask"}}));
  session.answer("Home");
  Events end;
  return session.untilExit(end, std::chrono::seconds(60));
}

TEST_F(WindowsBuildTest, TheWindowsProgramLeavesWhatTheLinuxProgramLeaves) {
  const std::string prefix = freshPrefix();
  const std::string machine = twinMachine();
  for (const std::string& root : {prefix, machine}) writeHostFile(root + "/drive_c/docs/a.txt", "secret data");

  auto windows = startWindows(prefix);
  EXPECT_EQ(runSession(*windows), 0) << windows->errors();
  waitForWine(prefix);
  auto linux = startLinux(machine);
  EXPECT_EQ(runSession(*linux), 0) << linux->errors();

  EXPECT_FALSE(hostFileExists(prefix + "/drive_c/docs/a.txt"));
  EXPECT_FALSE(hostFileExists(machine + "/drive_c/docs/a.txt"));
  const Dump windowsData = programData(prefix);
  const Dump linuxData = programData(machine);
  EXPECT_TRUE(windowsData.count("Software\\vuzaz2\\Settings\\Home\\CheckBoxes\\_root.WIN_BF"));
  EXPECT_EQ(windowsData, linuxData);
  const std::string windowsLogs = logsOf(prefix);
  EXPECT_NE(windowsLogs.find("C:\\docs\\a.txt"), std::string::npos);
  EXPECT_EQ(windowsLogs, logsOf(machine));

  // The engine library registered itself for the user, where no administrator rights are needed.
  const std::string inproc = std::string("CLSID\\") + classid::INI.clsid + "\\InprocServer32";
  EXPECT_TRUE(keyExists(prefix, platform::HKEY_CURRENT_USER, "Software\\Classes\\" + inproc));
  EXPECT_TRUE(keyExists(machine, platform::HKEY_CLASSES_ROOT, inproc));
}

TEST_F(WindowsBuildTest, TheWindowsProgramEndsWhenItsSkinGoes) {
  const std::string prefix = freshPrefix();
  auto session = startWindows(prefix);
  session->untilIdle(std::chrono::seconds(60));
  session->sendLine("this is not JSON");
  session->command("mainfrm", "IDC_FS_LANGUAGE", "Deutsch");
  // The bad line may be read on its own and answered with an idle of its own first.
  Events german = session->untilIdle(std::chrono::seconds(60));
  if (!lastSet(german, "mainfrm", "_root.strCurrentLanguage")) {
    const Events more = session->untilIdle(std::chrono::seconds(60));
    german.insert(german.end(), more.begin(), more.end());
  }
  EXPECT_EQ(lastSet(german, "mainfrm", "_root.strCurrentLanguage"), "Deutsch");
  session->closeInput();
  Events end;
  EXPECT_EQ(session->untilExit(end, std::chrono::seconds(60)), 0);
  EXPECT_NE(session->errors().find("JSON"), std::string::npos) << session->errors();
}

}  // namespace
}  // namespace pgv::test
