// Start-up through the profile window and the exit sequence, end to end.

#include <filesystem>

#include "tests/shell/ShellFixture.h"

namespace pgv::test {
namespace {

TEST_F(ShellTest, FirstStartWithoutProfilesGoesStraightToTheMainWindow) {
  Events events;
  auto session = startAndWait(&events);

  // The profile window loads, finds no profile and hides itself; the main window loads
  // and is shown, then the (empty) list is sent; start-up ends with a plain idle.
  const int profilesLoad = indexOf(events, {{"ev", "load"}, {"win", "profiles"}, {"movie", "\\skin\\Profile.swf"}});
  const int profilesHide = indexOf(events, {{"ev", "hide"}, {"win", "profiles"}});
  const int mainLoad = indexOf(events, {{"ev", "load"}, {"win", "mainfrm"}, {"movie", "\\skin\\PGVX.swf"}});
  const int mainShow = indexOf(events, {{"ev", "show"}, {"win", "mainfrm"}, {"modal", false}});
  ASSERT_GE(profilesLoad, 0);
  EXPECT_LT(profilesLoad, profilesHide);
  EXPECT_LT(profilesHide, mainLoad);
  EXPECT_LT(mainLoad, mainShow);
  EXPECT_EQ(indexOf(events, {{"ev", "show"}, {"win", "profiles"}}), -1);
  EXPECT_EQ(lastSet(events, "profiles", "_root.NumberOfTheListItems"), "0");
  EXPECT_EQ(lastEvent(events), Json({{"ev", "idle"}}));

  // Every check box starts as "0", the language as the load rule's default.
  for (const char* box : {"_root.WIN_BF", "_root.IE_CO", "_root.SH_SFSO", "_root.EnablePingerCB_E"}) {
    EXPECT_EQ(lastSet(events, "mainfrm", box), "0") << box;
  }
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.strCurrentLanguage"), "ENGLISH");
  EXPECT_EQ(lastSet(events, "profiles", "_root.strCurrentLanguage"), "English");
  // Start values: the version shows the minor number twice.
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.Version"), "0.1.1.0");
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.HNIP"), "1");
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.minStepper"), "0");
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.PingInput"), "www.example.com");
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.DLL_BBD"), "1");
  // Button states: of each pair the hide button is usable.
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.TypedUrls_Hide"), "1");
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.TypedUrls_Show"), "0");
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.Password_Hide"), "1");

  // First use installed the program into the machine, and the registry was saved
  // before the idle (the profile window stored the language).
  namespace fs = std::filesystem;
  EXPECT_TRUE(fs::exists(programFolderHost() + "/skin/msgs.ini"));
  EXPECT_TRUE(fs::exists(programFolderHost() + "/skin/msgsg.ini"));
  EXPECT_TRUE(fs::is_directory(programFolderHost() + "/Logs"));
  EXPECT_TRUE(fs::is_directory(programFolderHost() + "/BackUp_dll"));
  EXPECT_EQ(userValue(std::string(kPerUser) + "\\Lang", "Lang"), "English");
}

TEST_F(ShellTest, DetectionDisablesThePagesOfApplicationsThatAreNotInstalled) {
  const std::string appPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
  setValue(platform::HKEY_LOCAL_MACHINE, appPaths + "Netscape.exe", "", "C:\\Netscape\\netscape.exe");
  setValue(platform::HKEY_CURRENT_USER, "Software\\Opera Software", "Last Directory", "C:\\");
  setValue(platform::HKEY_CURRENT_USER, "SOFTWARE\\Mirabilis\\ICQ", "Version", "5");
  Events events;
  auto session = startAndWait(&events);
  // Installed: nothing is written, the skin's own default stands.
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.NS_Enabled"), std::nullopt);
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.OP_Enabled"), std::nullopt);
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.ICQ_Enabled"), std::nullopt);
  // Not installed: "0".
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.AOL_Enabled"), "0");
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.FF_Enabled"), "0");
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.MSN_Enabled"), "0");
  EXPECT_EQ(lastSet(events, "mainfrm", "_root.YAHOO_Enabled"), "0");
  // In the order of the detection, after the settings and before the window shows.
  const int ns = indexOf(events, {{"ev", "set"}, {"name", "_root.AOL_Enabled"}});
  const int yahoo = indexOf(events, {{"ev", "set"}, {"name", "_root.YAHOO_Enabled"}});
  const int msn = indexOf(events, {{"ev", "set"}, {"name", "_root.MSN_Enabled"}});
  EXPECT_GT(ns, indexOf(events, {{"ev", "set"}, {"name", "_root.Password_Hide"}}));
  EXPECT_LT(msn, yahoo);
  EXPECT_LT(yahoo, indexOf(events, {{"ev", "show"}, {"win", "mainfrm"}}));
}

TEST_F(ShellTest, ExitWithYesOnFirstStartAsksForANameAndCreatesTheProfile) {
  auto session = startAndWait();
  session->command("mainfrm", "IDC_FS_CLOSE");
  Events box = session->untilIdle();
  EXPECT_EQ(lastEvent(box), Json({{"ev", "idle"}, {"waiting", "msgboxWindow"}}));
  EXPECT_EQ(lastSet(box, "msgboxWindow", "_root.title1"), en::kExitTitle);
  EXPECT_EQ(lastSet(box, "msgboxWindow", "_root.Left"), en::kYes);
  EXPECT_EQ(lastSet(box, "msgboxWindow", "_root.Middle"), en::kNo);
  EXPECT_EQ(lastSet(box, "msgboxWindow", "_root.Right"), en::kCancel);
  EXPECT_GE(indexOf(box, {{"ev", "goto"}, {"target", "sign"}, {"frame", 3}}), 0);
  EXPECT_GE(indexOf(box, {{"ev", "goto"}, {"target", "NumberOfButtons"}, {"frame", 2}}), 0);

  // No profile is chosen, so even "yes" asks for a name.
  session->command("msgboxWindow", en::kExitTitle, en::kYes);
  Events ask = session->untilIdle();
  EXPECT_GE(indexOf(ask, {{"ev", "ask"}, {"kind", "input"}, {"prompt", en::kNamePrompt}}), 0);
  EXPECT_EQ(lastEvent(ask), Json({{"ev", "idle"}, {"waiting", "ask"}}));
  session->answer("Home");
  Events end;
  EXPECT_EQ(session->untilExit(end), 0);
  EXPECT_EQ(lastEvent(end), Json({{"ev", "exit"}, {"code", 0}}));

  EXPECT_EQ(userSubkeys(kSettings), std::vector<std::string>{"Home"});
  const std::string profile = std::string(kSettings) + "\\Home";
  EXPECT_EQ(userValue(profile + "\\CheckBoxes", "_root.WIN_BF"), "0");
  EXPECT_EQ(userValue(profile + "\\CheckBoxes", "_root.ISB_WM_AA"), "false");
  EXPECT_EQ(userValue(profile + "\\Buttons", "_root.TypedUrls_Hide"), "0");
  EXPECT_EQ(userValue(profile + "\\lang", "Lang"), "ENGLISH");
}

TEST_F(ShellTest, ExitStaysOpenWhenNoUsableNameIsGiven) {
  struct Case {
    const char* label;
    std::optional<std::string> name;  // the input box's answer (nullopt: cancelled)
    bool refused;                     // the name is refused with a message box
  };
  const Case cases[] = {
      {"empty name", std::string(), false},
      {"cancelled input box", std::nullopt, false},
      {"backslash in the name", std::string("a\\b"), true},
      {"name too long for a key", std::string(256, 'x'), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    auto session = startAndWait();
    session->command("mainfrm", "IDC_FS_CLOSE");
    session->untilIdle();
    session->command("msgboxWindow", en::kExitTitle, en::kYes);
    session->untilIdle();
    session->answer(c.name);
    Events after = session->untilIdle();
    if (c.refused) {
      EXPECT_EQ(lastSet(after, "msgboxWindow", "_root.title1"), en::kProfilesTitle);
      EXPECT_EQ(lastEvent(after), Json({{"ev", "idle"}, {"waiting", "msgboxWindow"}}));
      session->command("msgboxWindow", en::kProfilesTitle, en::kOk);
      after = session->untilIdle();
    }
    // The program is still running and nothing was saved.
    EXPECT_EQ(lastEvent(after), Json({{"ev", "idle"}}));
    EXPECT_EQ(indexOf(after, {{"ev", "exit"}}), -1);
    session->closeInput();
    Events end;
    EXPECT_EQ(session->untilExit(end), 0);
    EXPECT_TRUE(userSubkeys(kSettings).empty());
  }
}

TEST_F(ShellTest, CancelWithoutProfileKeepsTheEnteredNameAndStaysOpen) {
  auto session = startAndWait();
  session->command("mainfrm", "IDC_FS_CLOSE");
  session->untilIdle();
  session->command("msgboxWindow", en::kExitTitle, en::kCancel);
  Events ask = session->untilIdle();
  ASSERT_GE(indexOf(ask, {{"ev", "ask"}, {"kind", "input"}}), 0);
  session->answer("Kept");
  EXPECT_EQ(lastEvent(session->untilIdle()), Json({{"ev", "idle"}}));

  // The next exit with "yes" saves into the kept name without asking again.
  Events end;
  exitSavingAs(*session, std::nullopt, end);
  EXPECT_EQ(indexOf(end, {{"ev", "ask"}}), -1);
  EXPECT_EQ(userSubkeys(kSettings), std::vector<std::string>{"Kept"});
}

TEST_F(ShellTest, ExitWithNoSavesUnderANewName) {
  setUserValue(std::string(kSettings) + "\\Old\\CheckBoxes", "_root.WIN_BF", "1");
  auto session = startAndWait();
  session->command("profiles", "IDC_FS_PROFILE", "Old");
  Events loaded = session->untilIdle();
  EXPECT_EQ(lastSet(loaded, "mainfrm", "_root.WIN_BF"), "1");

  session->command("mainfrm", "IDC_FS_CLOSE");
  session->untilIdle();
  session->command("msgboxWindow", en::kExitTitle, en::kNo);
  session->untilIdle();
  session->answer("New");
  Events end;
  EXPECT_EQ(session->untilExit(end), 0);
  EXPECT_EQ(userSubkeys(kSettings), (std::vector<std::string>{"New", "Old"}));
  EXPECT_EQ(userValue(std::string(kSettings) + "\\New\\CheckBoxes", "_root.WIN_BF"), "1");
}

TEST_F(ShellTest, ExitLabelAndEndOfInputEndWithoutSaving) {
  {
    auto session = startAndWait();
    session->command("mainfrm", "IDC_FS_CLOSE");
    session->untilIdle();
    session->command("msgboxWindow", en::kExitTitle, en::kExit);
    Events end;
    EXPECT_EQ(session->untilExit(end), 0);
    EXPECT_EQ(lastEvent(end), Json({{"ev", "exit"}, {"code", 0}}));
  }
  {
    auto session = startAndWait();
    session->command("mainfrm", "IDC_FS_CLOSE");
    session->untilIdle();
    session->closeInput();  // the skin goes away while the exit box waits
    Events end;
    EXPECT_EQ(session->untilExit(end), 0);
    EXPECT_EQ(lastEvent(end), Json({{"ev", "exit"}, {"code", 0}}));
  }
  EXPECT_TRUE(userSubkeys(kSettings).empty());
}

TEST_F(ShellTest, ProfileWindowListsChoosesAndDeletesProfiles) {
  setUserValue(std::string(kSettings) + "\\Alpha\\CheckBoxes", "_root.WIN_BF", "1");
  setUserValue(std::string(kSettings) + "\\Beta\\Foreign\\Deep", "x", "y");  // not written by the program
  Events startup;
  auto session = startAndWait(&startup, {"--clock", "2026-12-11T08:30:00"});
  EXPECT_GE(indexOf(startup, {{"ev", "show"}, {"win", "profiles"}}), 0);
  EXPECT_EQ(indexOf(startup, {{"ev", "load"}, {"win", "mainfrm"}}), -1);
  EXPECT_EQ(lastSet(startup, "profiles", "_root.NumberOfTheListItems"), "2");
  EXPECT_EQ(lastSet(startup, "profiles", "_root.ItemNo0"), "Alpha");
  EXPECT_EQ(lastSet(startup, "profiles", "_root.ItemNo1"), "Beta");

  // "undefined" and an empty name are ignored; the window stays.
  for (const char* name : {"undefined", ""}) {
    session->command("profiles", "idc_fs_profile", name);
    EXPECT_EQ(session->untilIdle(), Events{Json({{"ev", "idle"}})}) << name;
  }

  // Deleting asks first; "no" keeps the profile.
  session->command("profiles", "IDC_FS_DELETE", "Beta");
  Events ask = session->untilIdle();
  EXPECT_EQ(lastSet(ask, "msgboxWindow", "_root.title1"), en::kProfilesTitle);
  EXPECT_GE(indexOf(ask, {{"ev", "goto"}, {"target", "NumberOfButtons"}, {"frame", 1}}), 0);
  EXPECT_EQ(lastSet(ask, "msgboxWindow", "_root.Middle"), std::nullopt);  // two buttons: left and right only
  session->command("msgboxWindow", en::kProfilesTitle, en::kNo);
  Events kept = session->untilIdle();
  EXPECT_EQ(lastSet(kept, "profiles", "_root.RemoveProfile"), std::nullopt);

  // "yes" removes the whole subtree and resends the list.
  session->command("profiles", "IDC_FS_DELETE", "Beta");
  session->untilIdle();
  session->command("msgboxWindow", en::kProfilesTitle, en::kYes);
  Events removed = session->untilIdle();
  EXPECT_EQ(lastSet(removed, "profiles", "_root.RemoveProfile"), "1");
  EXPECT_EQ(lastSet(removed, "profiles", "_root.NumberOfTheListItems"), "1");
  EXPECT_EQ(userSubkeys(kSettings), std::vector<std::string>{"Alpha"});

  // The last profile cannot be deleted: one OK button, nothing removed.
  session->command("profiles", "IDC_FS_DELETE", "Alpha");
  Events last = session->untilIdle();
  EXPECT_EQ(lastSet(last, "msgboxWindow", "_root.message"), "The last profile cannot be deleted.");
  EXPECT_EQ(lastSet(last, "msgboxWindow", "_root.Middle"), en::kOk);
  session->command("msgboxWindow", en::kProfilesTitle, en::kOk);
  session->untilIdle();
  EXPECT_EQ(userSubkeys(kSettings), std::vector<std::string>{"Alpha"});

  // Choosing a profile opens the main window with its settings.
  session->command("profiles", "IDC_FS_PROFILE", "Alpha");
  Events chosen = session->untilIdle();
  EXPECT_GE(indexOf(chosen, {{"ev", "hide"}, {"win", "profiles"}}), 0);
  EXPECT_EQ(lastSet(chosen, "mainfrm", "_root.WIN_BF"), "1");

  // Deleting wrote one line per removed value and key to the day's log file.
  session->closeInput();
  Events end;
  session->untilExit(end);
  const std::string log = readHostFile(programFolderHost() + "/Logs/11-12-2026_Log.txt");
  EXPECT_NE(log.find("\tRemoved registry entry: HKEY_CURRENT_USER\\Software\\vuzaz2\\settings\\Beta\\Foreign\\Deep\\x\r\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("\tRemoved registry entry: HKEY_CURRENT_USER\\Software\\vuzaz2\\settings\\Beta\r\n"),
            std::string::npos)
      << log;
}

TEST_F(ShellTest, ProfileWindowRefusesNamesThatAreNotOneKey) {
  setUserValue(std::string(kSettings) + "\\A\\CheckBoxes", "_root.WIN_BF", "1");
  setUserValue(std::string(kSettings) + "\\B\\CheckBoxes", "_root.WIN_BF", "1");
  auto session = startAndWait();
  struct Case {
    const char* command;
    std::string name;
  };
  const Case cases[] = {
      {"IDC_FS_DELETE", ""},  // would be the settings root with every profile
      {"IDC_FS_DELETE", "A\\CheckBoxes"},
      {"IDC_FS_DELETE", "..\\..\\Settings"},
      {"IDC_FS_PROFILE", "a\\b"},
      {"IDC_FS_PROFILE", std::string(256, 'p')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.command) + " " + c.name);
    session->command("profiles", c.command, c.name);
    Events refused = session->untilIdle();
    EXPECT_EQ(lastSet(refused, "msgboxWindow", "_root.title1"), en::kProfilesTitle);
    EXPECT_EQ(lastSet(refused, "msgboxWindow", "_root.Middle"), en::kOk);
    EXPECT_EQ(lastSet(refused, "msgboxWindow", "_root.Left"), std::nullopt);  // one button: the middle label only
    session->command("msgboxWindow", en::kProfilesTitle, en::kOk);
    Events after = session->untilIdle();
    EXPECT_EQ(indexOf(after, {{"ev", "load"}, {"win", "mainfrm"}}), -1);
  }
  session->closeInput();
  Events end;
  session->untilExit(end);
  EXPECT_EQ(userSubkeys(kSettings), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(userValue(std::string(kSettings) + "\\A\\CheckBoxes", "_root.WIN_BF"), "1");
}

TEST_F(ShellTest, ARememberedAnswerStaysUntilABoxOfItsTitleIsAnsweredAgain) {
  for (const char* name : {"A", "B", "C"}) setUserValue(std::string(kSettings) + "\\" + name + "\\lang", "Lang", "English");
  auto session = startAndWait();
  session->command("profiles", "IDC_FS_DELETE", "A");
  session->untilIdle();
  session->command("msgboxWindow", en::kProfilesTitle, en::kYes);
  session->untilIdle();
  // A button of the same title that records nothing leaves the earlier "yes" in force.
  session->command("profiles", "IDC_FS_DELETE", "B");
  session->untilIdle();
  session->command("msgboxWindow", en::kProfilesTitle, en::kOk);
  session->untilIdle();
  session->closeInput();
  Events end;
  session->untilExit(end);
  EXPECT_EQ(userSubkeys(kSettings), std::vector<std::string>{"C"});
}

TEST_F(ShellTest, ProfileWindowExitEndsAtOnce) {
  setUserValue(std::string(kSettings) + "\\A\\CheckBoxes", "_root.WIN_BF", "1");
  auto session = startAndWait();
  session->command("profiles", "exit");
  Events end;
  EXPECT_EQ(session->untilExit(end), 0);
  EXPECT_EQ(lastEvent(end), Json({{"ev", "exit"}, {"code", 0}}));
}

TEST_F(ShellTest, ASecondInstanceOnTheSameMachineEndsSilently) {
  auto first = startAndWait();
  auto second = start();
  Events events;
  EXPECT_EQ(second->untilExit(events), 0);
  EXPECT_EQ(events, Events{Json({{"ev", "exit"}, {"code", 0}})});
  // The first one is unaffected.
  first->command("mainfrm", "IDC_FS_LANGUAGE", "English");
  EXPECT_EQ(lastEvent(first->untilIdle()), Json({{"ev", "idle"}}));
}

}  // namespace
}  // namespace pgv::test
