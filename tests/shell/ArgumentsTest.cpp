// The text rules of the skin protocol, the command line, the language rules and the
// profile names, as tables.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "shell/Arguments.h"
#include "shell/CommandLine.h"
#include "shell/Dispatcher.h"
#include "shell/ProfileNames.h"
#include "shell/Texts.h"

namespace pgv::shell {
namespace {

TEST(ArgumentsTest, StripBarsRemovesAtMostOneBarAtEachEnd) {
  const std::pair<const char*, const char*> cases[] = {
      {"|a|b|", "a|b"}, {"||a||", "|a|"}, {"||", ""}, {"|", ""}, {"", ""}, {"a|b", "a|b"}, {"|a", "a"}, {"a|", "a"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(stripBars(in), out) << in;
}

TEST(ArgumentsTest, SplitKeepsEmptyItems) {
  EXPECT_EQ(splitText("1,,0", ','), (std::vector<std::string>{"1", "", "0"}));
  EXPECT_EQ(splitText(",", ','), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(splitText("a|b", '|'), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(splitText("", ','), (std::vector<std::string>{""}));
}

TEST(ArgumentsTest, CommandNamesAreTrimmedOfBlanksAndUpperCased) {
  const std::pair<const char*, const char*> cases[] = {
      {"  idc_fs_help ", "IDC_FS_HELP"},
      {"IDC_FS_INTERNET  SETTINGS", "IDC_FS_INTERNET  SETTINGS"},  // inner blanks stay
      {"\tIDC_FS_HELP", "\tIDC_FS_HELP"},                          // only blanks are trimmed
      {"automatic-a", "AUTOMATIC-A"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(normaliseCommand(in), out) << in;
  EXPECT_NE(findMainWindowCommand("IDC_FS_INTERNET SETTINGS"), nullptr);
  EXPECT_EQ(findMainWindowCommand("IDC_FS_INTERNET  SETTINGS"), nullptr);
  EXPECT_EQ(upperText("zurück"), "ZURÜCK");
}

TEST(ArgumentsTest, EveryCommandOfTheTableIsThereOnce) {
  std::set<std::string_view> names;
  for (const Command& command : mainWindowCommands()) {
    EXPECT_EQ(normaliseCommand(command.name), command.name);
    EXPECT_TRUE(names.insert(command.name).second) << command.name;
  }
  for (const char* name : {"IDC_FS_DRAG", "IDC_FS_SCROLL", "WINDOWS DEFAULT", "AUTOMATIC-G", "ID_FS_MINSTEPPER",
                           "IDC_FS_NETWORK SETTINGS", "IDC_FS_UNISTALLPROGRAMS", "IDC_FS_RESTORREGLIST"}) {
    EXPECT_TRUE(names.count(name)) << name;
  }
}

TEST(TextsTest, TheTwoRulesAgreeOnTheTwoLanguagesOnly) {
  struct Case {
    const char* language;
    const char* mainWindow;
    const char* otherWindows;
  };
  const Case cases[] = {
      {"English", "msgs.ini", "msgs.ini"},   {"ENGLISH", "msgs.ini", "msgs.ini"},
      {"english", "msgs.ini", "msgs.ini"},   {"Deutsch", "msgsg.ini", "msgsg.ini"},
      {"deutsch", "msgsg.ini", "msgsg.ini"}, {"Duetsch", "msgsg.ini", "msgsg.ini"},
      {"Francais", "msgsg.ini", "msgs.ini"}, {"", "msgsg.ini", "msgs.ini"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Texts::mainWindowFile(c.language), c.mainWindow) << c.language;
    EXPECT_EQ(Texts::otherWindowsFile(c.language), c.otherWindows) << c.language;
  }
}

TEST(ProfileNamesTest, OnlyNamesThatAreOneKeyAreUsable) {
  const std::pair<std::string, bool> cases[] = {
      {"Home", true},
      {"My profile", true},
      {"Büro", true},
      {std::string(255, 'x'), true},
      {"", false},
      {"a\\b", false},
      {"\\", false},
      {std::string("a\0b", 3), false},
      {std::string(256, 'x'), false},
  };
  for (const auto& [name, usable] : cases) EXPECT_EQ(isUsableProfileName(name), usable) << name;
}

TEST(CommandLineTest, ParsesEveryOptionInBothForms) {
  std::string error;
  const auto options = parseCommandLine({"--machine", "/m", "--skin=stdio", "--port", "8080", "--no-browser",
                                         "--timers=manual", "--clock", "2026-12-11T08:30:00"},
                                        error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->machine, "/m");
  EXPECT_EQ(options->skin, CommandLine::Skin::Stdio);
  EXPECT_EQ(options->port, 8080);
  EXPECT_TRUE(options->noBrowser);
  EXPECT_TRUE(options->manualTimers);
  ASSERT_TRUE(options->clock);
  EXPECT_EQ(options->clock->year, 2026);
  EXPECT_EQ(options->clock->hour, 8);
  EXPECT_EQ(options->clock->dayOfWeek, 5);  // a Friday

  const auto defaults = parseCommandLine({}, error);
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->skin, CommandLine::Skin::Web);
  EXPECT_FALSE(defaults->manualTimers);
  EXPECT_FALSE(defaults->clock);
}

TEST(CommandLineTest, RefusesWrongArguments) {
  const std::vector<std::vector<std::string>> cases = {
      {"--machine"},          {"--machine="},           {"--skin", "gui"},      {"--port", "x"},
      {"--port", "65536"},    {"--timers", "fast"},     {"--clock", "2026-13-01T00:00:00"},
      {"--clock", "2026-12-11 08:30:00"},               {"--no-browser=yes"},   {"extra"},
  };
  for (const auto& args : cases) {
    std::string error;
    EXPECT_FALSE(parseCommandLine(args, error)) << args[0];
    EXPECT_FALSE(error.empty());
  }
}

TEST(CommandLineTest, DefaultMachineFolderFollowsTheEnvironment) {
  auto env = [](std::map<std::string, std::string> values) {
    return [values](const char* name) {
      const auto it = values.find(name);
      return it == values.end() ? std::string() : it->second;
    };
  };
  EXPECT_EQ(defaultMachineFolder(env({{"PURGAVIA_MACHINE", "/p"}, {"XDG_DATA_HOME", "/x"}})), "/p");
  EXPECT_EQ(defaultMachineFolder(env({{"XDG_DATA_HOME", "/x"}, {"HOME", "/h"}})), "/x/purgavia/machine");
  EXPECT_EQ(defaultMachineFolder(env({{"HOME", "/h"}})), "/h/.local/share/purgavia/machine");
}

}  // namespace
}  // namespace pgv::shell
