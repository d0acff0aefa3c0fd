#include "engine/services/ModuleHelpers.h"

#include <gtest/gtest.h>

#include "tests/support/TestMachine.h"

namespace pgv::engine {
namespace {

TEST(ModuleHelpers, StripBarsRemovesOneBarAtEachEnd) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {{"|a|b|", "a|b"}, {"||", ""}, {"|", ""}, {"a|b", "a|b"}, {"", ""}, {"||a||", "|a|"}};
  for (const Case& tc : cases) EXPECT_EQ(StripBars(tc.in), tc.out) << tc.in;
  EXPECT_EQ(TextBeforeNul(std::string("abc\0def", 7)), "abc");
  EXPECT_EQ(TextBeforeNul("plain"), "plain");
}

TEST(ModuleHelpers, EngineMessagesComeFromTheChosenLanguage) {
  test::TestMachine machine;
  test::writeHostFile(machine.hostC("Program Files/Purgavia/skin/msgs.ini"), "[QMR]\r\nmsg15=Deleted\r\n");
  test::writeHostFile(machine.hostC("Program Files/Purgavia/skin/msgsg.ini"), "[QMR]\r\nmsg15=Entfernt\r\n");
  platform::SettingsStore& settings = machine.platform().settings();
  EXPECT_EQ(EngineMessage("msg15"), "Entfernt");  // no setting: German
  struct Case {
    const char* setting;
    const char* text;
  } cases[] = {{"english", "Deleted"}, {"ENGLISH", "Deleted"}, {"Deutsch", "Entfernt"}, {"Francais", "Entfernt"}};
  for (const Case& tc : cases) {
    ASSERT_TRUE(settings.save("QMR", "Lang", "Lang", tc.setting));
    EXPECT_EQ(EngineMessage("msg15"), tc.text) << tc.setting;
  }
  EXPECT_EQ(EngineMessage("msg99"), "");
}

}  // namespace
}  // namespace pgv::engine
