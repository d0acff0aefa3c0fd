// The stdio skin host and the main window's dispatcher, end to end: bad input, modal
// waits, command names, the shell's own commands, the log view's reveal and the tray.

#include <algorithm>
#include <filesystem>
#include <sys/wait.h>

#include "tests/shell/ShellFixture.h"

namespace pgv::test {
namespace {

int countLines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

TEST_F(ShellTest, BadInputGivesOneDiagnosticEachAndIsOtherwiseIgnored) {
  auto session = startAndWait();
  const std::string before = session->errors();
  struct Case {
    const char* label;
    std::string line;
  };
  const Case cases[] = {
      {"not JSON", "this is not json"},
      {"not an object", "[1,2,3]"},
      {"unknown window", R"({"win":"nowhere","cmd":"IDC_FS_HELP","args":""})"},
      {"missing window", R"({"cmd":"IDC_FS_HELP","args":""})"},
      {"args of the wrong type", R"({"win":"mainfrm","cmd":"IDC_FS_HELP","args":5})"},
      {"variable without value", R"({"win":"mainfrm","var":"_root.WIN_BF"})"},
      {"unknown message", R"({"hello":"world"})"},
      {"answer without a question", R"({"answer":"x"})"},
      {"invalid UTF-8", std::string("{\"win\":\"mainfrm\",\"cmd\":\"IDC_FS_HELP\",\"args\":\"\xff\xfe\"}")},
      {"huge line", std::string(2 * 1024 * 1024, 'x')},
      {"clock without --clock", R"({"clock":"2026-01-01T00:00:00"})"},
      {"tray while not in the tray", R"({"tray":"restore"})"},
  };
  int expectedLines = countLines(before);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    session->sendLine(c.line);
    Events events = session->untilIdle();
    // Nothing but the idle: no handler ran.
    EXPECT_EQ(events, Events{Json({{"ev", "idle"}})});
    expectedLines += 1;
    EXPECT_EQ(countLines(session->errors()), expectedLines) << session->errors();
  }
  // The program goes on as before.
  session->command("mainfrm", "IDC_FS_LANGUAGE", "English");
  EXPECT_EQ(lastSet(session->untilIdle(), "mainfrm", "_root.strCurrentLanguage"), "English");
}

TEST_F(ShellTest, CommandNamesAreTrimmedAndUpperCasedOnly) {
  auto session = startAndWait();
  session->command("mainfrm", "  idc_fs_help ");
  Events help = session->untilIdle();
  EXPECT_GE(indexOf(help, {{"ev", "shell"},
                           {"verb", "Open"},
                           {"target", "C:\\Program Files\\Purgavia\\PGVX.chm"},
                           {"show", 3}}),
            0);
  // Two blanks inside the name make it another, unknown, command.
  session->command("mainfrm", "IDC_FS_INTERNET  SETTINGS");
  EXPECT_EQ(session->untilIdle(), Events{Json({{"ev", "idle"}})});
}

TEST_F(ShellTest, ShellCommandsReachTheSkinHost) {
  auto session = startAndWait();
  session->command("mainfrm", "IDC_FS_WEBSITE");
  Events web = session->untilIdle();
  EXPECT_GE(indexOf(web, {{"ev", "shell"}, {"verb", "Open"}, {"show", 0}}), 0);

  // No updater window exists, so each check starts the updater.
  session->command("mainfrm", "IDC_FS_CHECKUPDATES");
  Events update = session->untilIdle();
  EXPECT_GE(indexOf(update, {{"ev", "shell"},
                             {"verb", "Open"},
                             {"target", "C:\\Program Files\\Purgavia\\update.exe"},
                             {"show", 0}}),
            0);

  // The folder picker: an answer goes to "_root.PathValue", a cancel changes nothing.
  session->command("mainfrm", "IDC_FS_HD_BROWSE");
  Events ask = session->untilIdle();
  EXPECT_GE(indexOf(ask, {{"ev", "ask"}, {"kind", "folder"}}), 0);
  EXPECT_EQ(lastEvent(ask), Json({{"ev", "idle"}, {"waiting", "ask"}}));
  session->answer("C:\\Data");
  EXPECT_EQ(lastSet(session->untilIdle(), "mainfrm", "_root.PathValue"), "C:\\Data");
  session->command("mainfrm", "IDC_FS_HD_BROWSE");
  session->untilIdle();
  session->answer(std::nullopt);
  EXPECT_EQ(lastSet(session->untilIdle(), "mainfrm", "_root.PathValue"), std::nullopt);

  session->command("mainfrm", "IDC_FS_DRAG");
  EXPECT_EQ(session->untilIdle(), Events{Json({{"ev", "idle"}})});
}

TEST_F(ShellTest, InputForOtherWindowsWaitsUntilTheModalBoxIsAnswered) {
  auto session = startAndWait();
  session->command("mainfrm", "IDC_FS_OPT", "");
  session->untilIdle();
  // While the completion box waits, a main-window command is held back...
  session->command("mainfrm", "IDC_FS_LANGUAGE", "Deutsch");
  Events held = session->untilIdle();
  EXPECT_EQ(held, Events{Json({{"ev", "idle"}, {"waiting", "msgboxWindow"}})});
  // ...and so is a label that matches no button: the box stays open.
  session->command("msgboxWindow", en::kDone, "Maybe");
  EXPECT_EQ(session->untilIdle(), Events{Json({{"ev", "idle"}, {"waiting", "msgboxWindow"}})});
  // The button's text matches in any letter case; the held command runs afterwards.
  session->command("msgboxWindow", "operation COMPLETED", "ok");
  Events after = session->untilIdle();
  const int hide = indexOf(after, {{"ev", "hide"}, {"win", "msgboxWindow"}});
  const int language = indexOf(after, {{"ev", "set"}, {"win", "mainfrm"}, {"name", "_root.strCurrentLanguage"}});
  EXPECT_GE(hide, 0);
  EXPECT_GT(language, hide);
  EXPECT_EQ(lastEvent(after), Json({{"ev", "idle"}}));
}

TEST_F(ShellTest, LogViewIsRevealedWhenTheDaysLogGrewDuringACommand) {
  const std::string logFile = programFolderHost() + "/Logs/11-12-2026_Log.txt";
  auto session = startAndWait(nullptr, {"--clock", "2026-12-11T08:30:00"});

  // The log does not change: no log view.
  session->command("mainfrm", "IDC_FS_HD_BROWSE");
  session->untilIdle();
  session->answer(std::nullopt);
  EXPECT_EQ(indexOf(session->untilIdle(), {{"win", "LogForm"}}), -1);

  // The log grows while the command waits for its folder: revealed with the button.
  session->command("mainfrm", "IDC_FS_HD_BROWSE");
  session->untilIdle();
  writeHostFile(logFile, "\"12/11/2026     8:30:00 AM\"\tRemoved registry entry: HKEY_CURRENT_USER\\x\r\n");
  session->answer(std::nullopt);
  Events revealed = session->untilIdle();
  const int load = indexOf(revealed, {{"ev", "load"}, {"win", "LogForm"}, {"movie", "\\skin\\LogFile2.swf"}});
  const int place = indexOf(revealed, {{"ev", "move"}, {"win", "LogForm"}, {"topmost", true}});
  const int firstShow = indexOf(revealed, {{"ev", "show"}, {"win", "LogForm"}, {"activate", false}});
  ASSERT_GE(load, 0);
  EXPECT_GT(place, load);
  EXPECT_GT(firstShow, place);
  const Json& move = revealed[place];
  EXPECT_EQ(move["left"], 1024 - 313);
  EXPECT_EQ(move["top"], 738 - 90);
  EXPECT_EQ(lastSet(revealed, "LogForm", "_root.LogFile"), en::kDone);
  EXPECT_EQ(lastSet(revealed, "LogForm", "_root.ViewLogBtn"), "1");
  // The view loads with the per-user language (stored as English at the first start).
  EXPECT_EQ(lastSet(revealed, "LogForm", "_root.strCurrentLanguage"), "English");

  // Its view-log button opens today's file and hides the view.
  session->command("LogForm", "idc_fs_viewlog");
  Events view = session->untilIdle();
  EXPECT_GE(indexOf(view, {{"ev", "shell"},
                           {"verb", "Open"},
                           {"target", "C:\\Program Files\\Purgavia\\Logs\\11-12-2026_Log.txt"},
                           {"show", 3}}),
            0);
  EXPECT_GE(indexOf(view, {{"ev", "hide"}, {"win", "LogForm"}}), 0);

  // A command that runs past midnight compares with the new day's file, which does not
  // exist yet: the old file was not empty, so the view comes back.
  session->command("mainfrm", "IDC_FS_HD_BROWSE");
  session->untilIdle();
  session->sendLines({Json{{"clock", "2026-12-12T00:00:05"}}.dump(), Json{{"answer", nullptr}}.dump()});
  Events midnight = session->untilIdle();
  EXPECT_GE(indexOf(midnight, {{"ev", "show"}, {"win", "LogForm"}}), 0);
  EXPECT_EQ(lastSet(midnight, "LogForm", "_root.LogFile"), en::kDone);
}

TEST_F(ShellTest, TrayHidesTheWindowAndItsMenuExits) {
  auto session = startAndWait();
  session->command("mainfrm", "IDC_FS_MINIMIZE");
  Events minimized = session->untilIdle();
  const int tray = indexOf(minimized, {{"ev", "tray"}, {"intray", true}, {"tip", "PGVX"}});
  const int hide = indexOf(minimized, {{"ev", "hide"}, {"win", "mainfrm"}});
  EXPECT_GE(tray, 0);
  EXPECT_GT(hide, tray);

  // The hidden window takes no commands; the tray does.
  session->command("mainfrm", "IDC_FS_LANGUAGE", "Deutsch");
  EXPECT_EQ(session->untilIdle(), Events{Json({{"ev", "idle"}})});
  session->send(Json{{"tray", "click"}, {"button", 1}});
  EXPECT_EQ(session->untilIdle(), Events{Json({{"ev", "idle"}})});
  session->send(Json{{"tray", "click"}, {"button", 2}});
  Events menu = session->untilIdle();
  EXPECT_GE(indexOf(menu, {{"ev", "menu"},
                           {"items", Json::array({Json{{"item", "smenu"}, {"caption", "Restore Purgavia"}},
                                                  Json{{"item", "emenu"}, {"caption", en::kExit}}})}}),
            0);

  // Exit from the menu asks the exit question; cancelling leaves the icon in the tray.
  session->send(Json{{"tray", "menu"}, {"item", "emenu"}});
  session->untilIdle();
  session->command("msgboxWindow", en::kExitTitle, en::kCancel);
  session->untilIdle();  // no profile: the name is asked for
  session->answer(std::nullopt);
  Events refused = session->untilIdle();
  EXPECT_EQ(indexOf(refused, {{"ev", "tray"}}), -1);
  EXPECT_EQ(indexOf(refused, {{"ev", "show"}, {"win", "mainfrm"}}), -1);

  session->send(Json{{"tray", "restore"}});
  Events restored = session->untilIdle();
  EXPECT_GE(indexOf(restored, {{"ev", "show"}, {"win", "mainfrm"}}), 0);
  EXPECT_GE(indexOf(restored, {{"ev", "tray"}, {"intray", false}}), 0);
}

TEST_F(ShellTest, TrayMenuKeepsTheCaptionsOfTheStartLanguage) {
  auto session = startAndWait();
  session->command("mainfrm", "IDC_FS_LANGUAGE", "Deutsch");
  session->untilIdle();
  session->command("mainfrm", "IDC_FS_MINIMIZE");
  session->untilIdle();
  session->send(Json{{"tray", "click"}, {"button", 2}});
  Events menu = session->untilIdle();
  const auto menus = eventsOf(menu, "menu");
  ASSERT_EQ(menus.size(), 1u);
  EXPECT_EQ(menus[0]["items"][1]["caption"], en::kExit);
}

TEST_F(ShellTest, TimersTickOnlyOnceTheMainWindowRuns) {
  setUserValue(std::string(kSettings) + "\\A\\CheckBoxes", "_root.WIN_BF", "1");
  auto session = startAndWait();
  const int before = countLines(session->errors());
  session->send(Json{{"tick", "Timer1"}});
  EXPECT_EQ(session->untilIdle(), Events{Json({{"ev", "idle"}})});
  EXPECT_EQ(countLines(session->errors()), before + 1);  // no timer runs yet
  session->command("profiles", "IDC_FS_PROFILE", "A");
  session->untilIdle();
  // Sent together, handled together: one idle.
  session->sendLines({Json{{"tick", "Timer1"}}.dump(), Json{{"tick", "Timer2"}}.dump()});
  EXPECT_EQ(session->untilIdle(), Events{Json({{"ev", "idle"}})});
  EXPECT_EQ(countLines(session->errors()), before + 1);
}

TEST_F(ShellTest, CommandLineErrorsExitWithStatusTwo) {
  struct Case {
    const char* label;
    std::string arguments;
  };
  const Case cases[] = {
      {"unknown option", "--frobnicate"},
      {"skin without value", "--skin"},
      {"unknown skin", "--skin gui"},
      {"web skin on a bad port", "--skin web --port 70000 --machine " + machine()},
      {"bad port", "--skin stdio --port 70000"},
      {"bad timers", "--skin stdio --timers sometimes"},
      {"bad clock", "--skin stdio --clock 2026-02-30T00:00:00"},
      {"missing machine folder", "--skin stdio --machine " + machine() + "/nothing-here"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string command = kBinaryDir + "/purgavia " + c.arguments + " </dev/null >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 2);
  }
}

TEST_F(ShellTest, AHiveThatCannotBeReadIsNeverOverwritten) {
  const std::string user = machine() + "/user.reg";
  writeHostFile(user, "WINE REGISTRY Version 2\n[Software\\\\Broken] 0\n\"a\"=hex:zz\n");
  auto session = start();
  Events events;
  EXPECT_EQ(session->untilExit(events), 2);
  EXPECT_TRUE(events.empty());
  EXPECT_NE(session->errors().find("user.reg"), std::string::npos) << session->errors();
  EXPECT_EQ(readHostFile(user), "WINE REGISTRY Version 2\n[Software\\\\Broken] 0\n\"a\"=hex:zz\n");
}

}  // namespace
}  // namespace pgv::test
