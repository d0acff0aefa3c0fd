// The web skin's files as the program serves them from the machine.

#include "shell/WebPages.h"

#include <gtest/gtest.h>

#include <string>

#include "shell/Installation.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestMachine.h"

namespace pgv::test {
namespace {

std::string bodyOf(const platform::skin::WebContent& content, const std::string& path) {
  const auto file = content.find(path);
  return file ? file->body : "<missing>";
}

TEST(WebPagesTest, ANewerProgramReplacesThePagesButNotTheMachinesMessageTexts) {
  TestMachine machine;
  TempDir bundled;
  writeHostFile(bundled / "msgs.ini", "[PGVX]\nmsg4=Done\n");
  writeHostFile(bundled / "web/index.html", "<!doctype html>");
  writeHostFile(bundled / "web/app.js", "version 1");
  writeHostFile(bundled / "web/parts/look.css", "body {}");

  std::string error;
  ASSERT_TRUE(shell::installProgramFiles(machine.platform(), bundled.path(), error)) << error;
  platform::skin::WebContent first;
  ASSERT_TRUE(shell::loadWebPages(machine.platform(), bundled.path(), first, error)) << error;
  EXPECT_EQ(bodyOf(first, ""), "<!doctype html>");
  EXPECT_EQ(bodyOf(first, "app.js"), "version 1");
  EXPECT_EQ(bodyOf(first, "parts/look.css"), "body {}");
  EXPECT_EQ(first.find("parts/look.css")->contentType, "text/css; charset=utf-8");
  EXPECT_EQ(bodyOf(first, "msgs.ini"), "<missing>");  // only the pages are served

  // The next program brings new pages and new texts; the machine keeps its texts.
  writeHostFile(bundled / "web/app.js", "version 2");
  writeHostFile(bundled / "msgs.ini", "[PGVX]\nmsg4=Finished\n");
  ASSERT_TRUE(shell::installProgramFiles(machine.platform(), bundled.path(), error)) << error;
  platform::skin::WebContent second;
  ASSERT_TRUE(shell::loadWebPages(machine.platform(), bundled.path(), second, error)) << error;
  EXPECT_EQ(bodyOf(second, "app.js"), "version 2");
  EXPECT_EQ(readHostFile(machine.hostC("Program Files/Purgavia/skin/web/app.js")), "version 2");
  EXPECT_EQ(readHostFile(machine.hostC("Program Files/Purgavia/skin/msgs.ini")), "[PGVX]\nmsg4=Done\n");
}

TEST(WebPagesTest, WithoutAStartPageTheWebSkinCannotStart) {
  TestMachine machine;
  TempDir bundled;
  writeHostFile(bundled / "web/app.js", "x");
  std::string error;
  ASSERT_TRUE(shell::installProgramFiles(machine.platform(), bundled.path(), error)) << error;
  platform::skin::WebContent content;
  EXPECT_FALSE(shell::loadWebPages(machine.platform(), bundled.path(), content, error));
  EXPECT_NE(error.find("skin\\web"), std::string::npos) << error;
}

TEST(WebPagesTest, ADocumentIsTheFileAsItLiesWithItsNameAndType) {
  TestMachine machine;
  writeHostFile(machine.hostC("Program Files/Purgavia/Logs/11-12-2026_Log.txt"), "\"11.12.2026\"\tline\r\n");
  const auto log = shell::readDocument(machine.platform(), "C:\\Program Files\\Purgavia\\Logs\\11-12-2026_Log.txt");
  ASSERT_TRUE(log.has_value());
  EXPECT_EQ(log->body, "\"11.12.2026\"\tline\r\n");
  EXPECT_EQ(log->fileName, "11-12-2026_Log.txt");
  EXPECT_EQ(log->contentType, "text/plain; charset=windows-1252");
  EXPECT_FALSE(shell::readDocument(machine.platform(), "C:\\Program Files\\Purgavia\\PGVX.chm").has_value());
}

}  // namespace
}  // namespace pgv::test
