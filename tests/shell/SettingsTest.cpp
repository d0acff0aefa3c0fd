// Saving and restoring a profile's settings, the language rules and the options
// command, end to end.

#include "tests/shell/ShellFixture.h"

namespace pgv::test {
namespace {

const std::string kProfile = std::string(ShellTest::kSettings) + "\\P";

TEST_F(ShellTest, CheckBoxesModesAndButtonsRoundTripWithTheirRules) {
  // First run: the skin changes its variables, the exit saves them as profile "P".
  {
    auto session = startAndWait();
    const std::pair<const char*, const char*> skinValues[] = {
        {"_root.WIN_BF", "1"},
        {"_root.IE_TU", "false"},  // off is kept as "0"
        {"_root.NS_MT", "true"},   // any other text is kept as it is
        {"_root.IE_CO", ""},       // an empty text reads as off
        {"_root.ISB_WM_AB", "true"},
        {"_root.ISB_WM_AC", ""},  // a mode button reports "false" where a check box reports "0"
        {"_root.ISB_WizardMode", "_root.ISB_WM_AB"},
        {"_root.SelectedRadioBtn", "radio3"},
        {"_root.syn", "1460"},
        {"_root.TypedUrls_Show", "true"},  // never stored before: stored as "0" anyway
    };
    for (const auto& [name, value] : skinValues) session->setVariable("mainfrm", name, value);
    Events end;
    exitSavingAs(*session, "P", end);
  }
  const std::string boxes = kProfile + "\\CheckBoxes";
  EXPECT_EQ(userValue(boxes, "_root.WIN_BF"), "1");
  EXPECT_EQ(userValue(boxes, "_root.IE_TU"), "0");
  EXPECT_EQ(userValue(boxes, "_root.NS_MT"), "true");
  EXPECT_EQ(userValue(boxes, "_root.IE_CO"), "0");
  EXPECT_EQ(userValue(boxes, "_root.ISB_WM_AB"), "true");
  EXPECT_EQ(userValue(boxes, "_root.ISB_WM_AC"), "false");
  EXPECT_EQ(userValue(boxes, "_root.ISB_WM_AA"), "false");
  EXPECT_EQ(userValue(boxes, "_root.ISB_WizardMode"), "_root.ISB_WM_AB");
  EXPECT_EQ(userValue(boxes, "_root.SelectedRadioBtn"), "radio3");
  EXPECT_EQ(userValue(kProfile + "\\Buttons", "_root.TypedUrls_Show"), "0");
  EXPECT_EQ(userValue(std::string(kPerUser) + "\\ISB", "SYN"), "1460");

  // Second run: the profile's values come back, then the buttons follow the skin.
  {
    Events loaded;
    auto session = startAndWait();
    session->command("profiles", "IDC_FS_PROFILE", "P");
    loaded = session->untilIdle();
    EXPECT_EQ(lastSet(loaded, "mainfrm", "_root.WIN_BF"), "1");
    EXPECT_EQ(lastSet(loaded, "mainfrm", "_root.IE_TU"), "0");
    EXPECT_EQ(lastSet(loaded, "mainfrm", "_root.NS_MT"), "true");
    EXPECT_EQ(lastSet(loaded, "mainfrm", "_root.ISB_WM_AB"), "true");  // only the selected mode is restored
    EXPECT_EQ(lastSet(loaded, "mainfrm", "_root.ISB_WM_AC"), std::nullopt);
    EXPECT_EQ(lastSet(loaded, "mainfrm", "_root.SelectedRadioBtn"), "radio3");
    EXPECT_EQ(lastSet(loaded, "mainfrm", "_root.TypedUrls_Show"), "0");
    EXPECT_EQ(lastSet(loaded, "mainfrm", "_root.TypedUrls_Hide"), "1");

    session->setVariable("mainfrm", "_root.TypedUrls_Show", "true");
    session->setVariable("mainfrm", "_root.Favorites_Show", "false");
    session->setVariable("mainfrm", "_root.Password_Show", "pressed");  // neither true nor false: unchanged
    Events end;
    exitSavingAs(*session, std::nullopt, end);
  }
  const std::string buttons = kProfile + "\\Buttons";
  EXPECT_EQ(userValue(buttons, "_root.TypedUrls_Show"), "1");
  EXPECT_EQ(userValue(buttons, "_root.Favorites_Show"), "0");
  EXPECT_EQ(userValue(buttons, "_root.Password_Show"), "0");
  // The hide button the program switched on reads back as "1", which is neither
  // "true" nor "false": the stored "0" stays.
  EXPECT_EQ(userValue(buttons, "_root.TypedUrls_Hide"), "0");
}

TEST_F(ShellTest, StoredButtonsComeBackAndEachPairKeepsOneUsable) {
  const std::string buttons = kProfile + "\\Buttons";
  setUserValue(buttons, "_root.TypedUrls_Show", "1");
  setUserValue(buttons, "_root.TypedUrls_Hide", "0");
  setUserValue(buttons, "_root.Favorites_Show", "0");
  setUserValue(buttons, "_root.Favorites_Hide", "0");
  auto session = startAndWait();
  session->command("profiles", "IDC_FS_PROFILE", "P");
  Events loaded = session->untilIdle();
  EXPECT_EQ(lastSet(loaded, "mainfrm", "_root.TypedUrls_Show"), "1");
  EXPECT_EQ(lastSet(loaded, "mainfrm", "_root.TypedUrls_Hide"), "0");
  EXPECT_EQ(lastSet(loaded, "mainfrm", "_root.Favorites_Hide"), "1");
  EXPECT_EQ(lastSet(loaded, "mainfrm", "_root.Password_Hide"), "1");
}

TEST_F(ShellTest, LanguageCommandSwitchesTheMessageFileAndIsStored) {
  auto session = startAndWait();
  struct Case {
    const char* language;
    const char* done;  // the completion text of the file the main window's rule picks
  };
  const Case cases[] = {{"Deutsch", "Vorgang abgeschlossen"},
                        {"english", "Operation completed"},
                        {"Francais", "Vorgang abgeschlossen"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    session->command("mainfrm", "IDC_FS_LANGUAGE", c.language);
    Events switched = session->untilIdle();
    EXPECT_EQ(lastSet(switched, "mainfrm", "_root.strCurrentLanguage"), c.language);
    EXPECT_EQ(userValue(std::string(kPerUser) + "\\Lang", "Lang"), c.language);

    // The options command ends with the completion box, in the new language.
    session->command("mainfrm", "IDC_FS_OPT", "0,0,0,0,0,0");
    Events box = session->untilIdle();
    EXPECT_EQ(lastSet(box, "msgboxWindow", "_root.title1"), c.done);
    EXPECT_EQ(lastSet(box, "msgboxWindow", "_root.message"), c.done);
    EXPECT_GE(indexOf(box, {{"ev", "goto"}, {"target", "sign"}, {"frame", 2}}), 0);
    EXPECT_GE(indexOf(box, {{"ev", "goto"}, {"target", "NumberOfButtons"}, {"frame", 0}}), 0);
    const bool german = std::string(c.done) == "Vorgang abgeschlossen";
    session->command("msgboxWindow", c.done, german ? "OK" : en::kOk);
    EXPECT_EQ(lastEvent(session->untilIdle()), Json({{"ev", "idle"}}));
  }
}

TEST_F(ShellTest, ProfileWindowReadsTheStoredLanguageByItsOwnRule) {
  // One profile, so deleting it shows "msg17" in the profile window's language.
  setUserValue(kProfile + "\\lang", "Lang", "English");
  struct Case {
    const char* stored;
    const char* message;
  };
  const Case cases[] = {
      {"deutsch", "Das letzte Profil kann nicht gelöscht werden."},
      {"DUETSCH", "Das letzte Profil kann nicht gelöscht werden."},
      {"Francais", "The last profile cannot be deleted."},  // the main window's rule would pick German
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored);
    setUserValue(std::string(kPerUser) + "\\Lang", "Lang", c.stored);
    auto session = startAndWait();
    session->command("profiles", "IDC_FS_DELETE", "P");
    Events box = session->untilIdle();
    EXPECT_EQ(lastSet(box, "msgboxWindow", "_root.message"), c.message);
    session->closeInput();
    Events end;
    session->untilExit(end);
  }
}

TEST_F(ShellTest, ProfileLanguageDecidesTheMainWindowsTexts) {
  setUserValue(kProfile + "\\lang", "Lang", "deutsch");
  auto session = startAndWait();
  session->command("profiles", "IDC_FS_PROFILE", "P");
  Events loaded = session->untilIdle();
  EXPECT_EQ(lastSet(loaded, "mainfrm", "_root.strCurrentLanguage"), "deutsch");
  session->command("mainfrm", "IDC_FS_CLOSE");
  Events box = session->untilIdle();
  EXPECT_EQ(lastSet(box, "msgboxWindow", "_root.title1"), "Purgavia beenden");
  EXPECT_EQ(lastSet(box, "msgboxWindow", "_root.Left"), "Ja");
}

}  // namespace
}  // namespace pgv::test
