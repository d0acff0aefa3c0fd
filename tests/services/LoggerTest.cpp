// The day's log file: its name, the exact bytes of its lines, and its failures.

#include <gtest/gtest.h>

#include <string>

#include "engine/api/EngineError.h"
#include "engine/services/Logger.h"
#include "tests/support/FakePlatform.h"

namespace pgv::test {
namespace {

constexpr const char* kLogs = "C:\\Program Files\\Purgavia\\Logs";

class LoggerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(machine.files().createDirectory(kLogs), platform::status::Success); }
  std::string logFile(const std::string& name) { return readHostFile(machine.host(std::string(kLogs) + "\\" + name)); }

  // Sunday 1 January 2006, 09:05:07.
  FakePlatform machine;
  engine::Logger logger;
};

TEST(LoggerFileNameTest, DayMonthAndYearWithoutLeadingZeros) {
  const struct {
    platform::LocalTime day;
    const char* expected;
  } cases[] = {
      {{2005, 12, 9}, "9-12-2005_Log.txt"},
      {{2006, 3, 25}, "25-3-2006_Log.txt"},
      {{2006, 1, 1}, "1-1-2006_Log.txt"},
      {{2010, 10, 31}, "31-10-2010_Log.txt"},
  };
  for (const auto& c : cases) EXPECT_EQ(engine::Logger::dayLogFileName(c.day), c.expected);
}

TEST_F(LoggerTest, LinesAreQuotedDateAndTimeTabSectionAndText) {
  logger.AddToLog("Deleted registry item: ", "HKEY_CURRENT_USER\\Software\\Old");
  logger.AddToLog("", "");                             // still the quoted date and time and a TAB
  logger.AddToLog("Shredded file ", "C:\\Caf\xC3\xA9.txt");  // written in code page 1252
  EXPECT_EQ(logFile("1-1-2006_Log.txt"),
            "\"1/1/2006     9:05:07 AM\"\tDeleted registry item: HKEY_CURRENT_USER\\Software\\Old\r\n"
            "\"1/1/2006     9:05:07 AM\"\t\r\n"
            "\"1/1/2006     9:05:07 AM\"\tShredded file C:\\Caf\xE9.txt\r\n");
}

TEST_F(LoggerTest, EachLineGoesToTheFileOfItsOwnDateAndTime) {
  logger.AddToLog("a ", "1");
  ASSERT_TRUE(machine.fakeClock().setLocalTime(platform::LocalTime{2006, 1, 1, 0, 23, 59, 59, 0}));
  logger.AddToLog("b ", "2");
  ASSERT_TRUE(machine.fakeClock().setLocalTime(platform::LocalTime{2006, 1, 2, 0, 0, 0, 1, 0}));
  logger.AddToLog("c ", "3");
  EXPECT_EQ(logFile("1-1-2006_Log.txt"),
            "\"1/1/2006     9:05:07 AM\"\ta 1\r\n"
            "\"1/1/2006     11:59:59 PM\"\tb 2\r\n");
  EXPECT_EQ(logFile("2-1-2006_Log.txt"), "\"1/2/2006     12:00:01 AM\"\tc 3\r\n");
}

TEST_F(LoggerTest, DateAndTimeFollowTheRegionalSettings) {
  auto& registry = machine.memoryRegistry();
  registry.setText(platform::HKEY_CURRENT_USER, "Control Panel\\International", "sShortDate", "dd.MM.yyyy");
  registry.setText(platform::HKEY_CURRENT_USER, "Control Panel\\International", "sTimeFormat", "HH:mm:ss");
  logger.AddToLog("x", "y");
  EXPECT_EQ(logFile("1-1-2006_Log.txt"), "\"01.01.2006     09:05:07\"\txy\r\n");
}

TEST_F(LoggerTest, PathsComeFromTheProgramFolder) {
  EXPECT_EQ(logger.getLogPath(), "C:\\Program Files\\Purgavia");
  EXPECT_EQ(engine::Logger::todaysLogFile(), "C:\\Program Files\\Purgavia\\Logs\\1-1-2006_Log.txt");
}

TEST_F(LoggerTest, AMissingLogsFolderRaisesAndCreatesNothing) {
  ASSERT_EQ(machine.files().removeDirectory(kLogs), platform::status::Success);
  try {
    logger.AddToLog("a ", "b");
    FAIL() << "AddToLog did not raise";
  } catch (const EngineError& e) {
    EXPECT_EQ(e.number(), 76);
    EXPECT_EQ(e.source(), "PGVX.Logger");
    EXPECT_NE(e.description().find("1-1-2006_Log.txt"), std::string::npos);
  }
  EXPECT_EQ(machine.files().attributes(kLogs), platform::attr::Invalid);
}

TEST_F(LoggerTest, ALogFileThatCannotBeOpenedRaises) {
  // A folder in the file's place cannot be opened for appending, whoever runs the test.
  ASSERT_EQ(machine.files().createDirectory(std::string(kLogs) + "\\1-1-2006_Log.txt"), platform::status::Success);
  try {
    logger.AddToLog("a ", "b");
    FAIL() << "AddToLog did not raise";
  } catch (const EngineError& e) {
    EXPECT_TRUE(e.number() == 70 || e.number() == 75) << e.number();
    EXPECT_EQ(e.source(), "PGVX.Logger");
  }
}

}  // namespace
}  // namespace pgv::test
