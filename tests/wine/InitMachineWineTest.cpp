// A machine made by `purgavia init-machine` read by real Wine.
//
// The machine is a 32-bit Windows XP prefix (#arch=win32); Wine here can run 64-bit
// programs only, so Wine reads a copy whose hives say win64. Nothing that init-machine
// writes lies under a key that the two layouts place differently, so the copy shows
// exactly what a 32-bit Wine would read.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/TempDir.h"

namespace pgv::test {
namespace {

namespace fs = std::filesystem;

std::string capture(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r")) {
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    ::pclose(pipe);
  }
  return out;
}

std::string wineLoader() {
  for (const char* candidate : {"wine", "wine64", "/usr/lib/wine/wine64"}) {
    if (std::system((std::string("WINEDEBUG=-all ") + candidate + " --version >/dev/null 2>&1").c_str()) == 0) {
      return candidate;
    }
  }
  return {};
}

void setArch(const std::string& file, const std::string& from, const std::string& to) {
  std::string text = readHostFile(file);
  const auto at = text.find("#arch=" + from);
  if (at != std::string::npos) text.replace(at, from.size() + 6, "#arch=" + to);
  writeHostFile(file, text);
}

TEST(InitMachineUnderWine, WineReadsWhatInitMachineWrote) {
  const std::string wine = wineLoader();
  if (wine.empty()) GTEST_SKIP() << "no Wine loader that runs here";
  TempDir dir;
  const std::string machine = dir / "xp";
  ASSERT_EQ(std::system(("'" + std::string(PGV_BINARY_DIR) + "/purgavia' init-machine '" + machine + "' --demo").c_str()),
            0);
  for (const char* hive : {"system.reg", "user.reg"}) setArch(machine + "/" + hive, "win32", "win64");

  const std::string env = "WINEPREFIX='" + machine + "' WINEDEBUG=-all DISPLAY= ";
  auto query = [&](const std::string& key, const std::string& value) {
    return capture(env + wine + " reg query '" + key + "' /v '" + value + "'");
  };
  const std::string icq = query("HKCU\\Software\\Mirabilis\\ICQ", "InstallPath");
  EXPECT_NE(icq.find("C:\\Program Files\\ICQ"), std::string::npos) << icq;
  const std::string shellState = query("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", "ShellState");
  EXPECT_NE(shellState.find("REG_DWORD"), std::string::npos) << shellState;
  EXPECT_NE(shellState.find("0x24"), std::string::npos) << shellState;
  const std::string editor =
      query("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DemoEditor", "DisplayName");
  EXPECT_NE(editor.find("Demo Text Editor 2.1"), std::string::npos) << editor;
  const std::string temp = query("HKCU\\Environment", "TEMP");
  EXPECT_NE(temp.find("REG_EXPAND_SZ"), std::string::npos) << temp;
  std::system(("WINEPREFIX='" + machine + "' wineserver -w").c_str());

  // Wine completed the prefix with its own files and kept ours.
  EXPECT_TRUE(fs::exists(machine + "/drive_c/windows/system32") || fs::exists(machine + "/drive_c/WINDOWS/system32"));
  EXPECT_TRUE(fs::exists(machine + "/drive_c/Program Files/Purgavia/Logs"));
  EXPECT_NE(readHostFile(machine + "/user.reg").find("Yahoo! User ID"), std::string::npos);
}

}  // namespace
}  // namespace pgv::test
