// The engine's INI class over the portable private-profile functions.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/services/INI.h"
#include "tests/support/FakePlatform.h"

namespace pgv::test {
namespace {

constexpr const char* kIni = "C:\\Program Files\\Purgavia\\skin\\msgs.ini";

// The pieces of a NUL-separated buffer up to the first empty one, as callers split it.
std::vector<std::string> splitAtNul(const std::string& buffer) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (start < buffer.size()) {
    const std::size_t end = buffer.find('\0', start);
    const std::string piece = buffer.substr(start, end - start);
    if (piece.empty()) break;
    pieces.push_back(piece);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return pieces;
}

class INITest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(machine.files().createDirectory("C:\\Program Files\\Purgavia\\skin"), platform::status::Success);
  }
  void writeIni(const std::string& content) { writeHostFile(machine.host(kIni), content); }
  std::string readIni() { return readHostFile(machine.host(kIni)); }

  FakePlatform machine;
  engine::INI ini;
};

TEST_F(INITest, GetFromINIReturnsTheValueOrEmptyText) {
  writeIni("[PGVX]\r\nmsg4=Done\r\nempty=\r\nquoted=\"  x  \"\r\nlong=" + std::string(300, 'v') +
           "\r\nword=Gr\xF6\xDF" "e\r\n");
  const struct {
    const char* file;
    const char* section;
    const char* key;
    std::string expected;
  } cases[] = {
      {kIni, "PGVX", "msg4", "Done"},
      {kIni, "pgvx", "MSG4", "Done"},
      {kIni, "PGVX", "empty", ""},                      // "key=" reads like a missing key
      {kIni, "PGVX", "missing", ""},
      {kIni, "Nope", "msg4", ""},
      {"C:\\Program Files\\Purgavia\\skin\\none.ini", "PGVX", "msg4", ""},
      {kIni, "PGVX", "quoted", "  x  "},
      {kIni, "PGVX", "long", std::string(254, 'v')},    // cut by the 255-character buffer
      {kIni, "PGVX", "word", "Gr\xC3\xB6\xC3\x9F" "e"},  // code page 1252 in the file, UTF-8 out
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_EQ(ini.GetFromINI(c.file, c.section, c.key), c.expected);
  }
}

TEST_F(INITest, WriteToINICreatesFileAndSectionAndWritesCodePage1252) {
  const std::string path = kIni, section = "Backup", key = "File1", value = "C:\\Caf\xC3\xA9\\a.dll";
  EXPECT_TRUE(ini.WriteToINI(path, section, key, value).isEmpty());
  EXPECT_EQ(readIni(), "[Backup]\r\nFile1=C:\\Caf\xE9\\a.dll\r\n");
  EXPECT_EQ(ini.GetFromINI(path, section, key), value);

  ini.WriteToINI(path, "BACKUP", "file1", "second");
  ini.WriteToINI(path, "Other", "k", "v");
  EXPECT_EQ(readIni(), "[Backup]\r\nFile1=second\r\n[Other]\r\nk=v\r\n");
  // Arguments come back unchanged.
  EXPECT_EQ(path, kIni);
  EXPECT_EQ(value, "C:\\Caf\xC3\xA9\\a.dll");
}

TEST_F(INITest, WriteToINIIntoAMissingFolderReportsNothing) {
  EXPECT_NO_THROW(ini.WriteToINI("C:\\missing\\x.ini", "S", "k", "v"));
  EXPECT_EQ(ini.GetFromINI("C:\\missing\\x.ini", "S", "k"), "");
}

TEST_F(INITest, EnumerateSectionsIsAFullNulFilledBuffer) {
  writeIni("[One]\r\na=1\r\n[Tw\xF6]\r\n[Three]\r\n");
  const std::string result = ini.EnumerateSections(kIni);
  EXPECT_EQ(splitAtNul(result), (std::vector<std::string>{"One", "Tw\xC3\xB6", "Three"}));
  const std::string names = std::string("One\0Tw\xC3\xB6\0Three\0", 15);
  EXPECT_EQ(result.substr(0, names.size()), names);
  EXPECT_EQ(result.find_first_not_of('\0', names.size()), std::string::npos);
  EXPECT_EQ(result.size(), engine::INI::kListBuffer + 1);  // 5000 characters, one of them two bytes

  const std::string missing = ini.EnumerateSections("C:\\Program Files\\Purgavia\\skin\\none.ini");
  EXPECT_EQ(missing, std::string(5000, '\0'));
  EXPECT_TRUE(splitAtNul(missing).empty());
}

TEST_F(INITest, EnumeratekeysListsRawEntriesInFileOrder) {
  writeIni("[Plugin]\r\n; note\r\nName=Cleaner\r\nFile1=\"C:\\a b\\c.txt\"\r\nbare\r\n[Next]\r\nx=1\r\n");
  const std::string result = ini.Enumeratekeys(kIni, "PLUGIN");
  EXPECT_EQ(result.size(), 5000u);
  EXPECT_EQ(splitAtNul(result), (std::vector<std::string>{"Name=Cleaner", "File1=\"C:\\a b\\c.txt\"", "bare"}));
  EXPECT_EQ(ini.Enumeratekeys(kIni, "Missing"), std::string(5000, '\0'));
}

TEST_F(INITest, EnumerationsStopAtTheBufferSize) {
  // 300 entries of 20 characters ("key000=0123456789ab" and its NUL): 6000 characters.
  std::string content = "[Big]\r\n";
  std::vector<std::string> entries;
  for (int i = 0; i < 300; ++i) {
    char entry[32];
    std::snprintf(entry, sizeof entry, "key%03d=0123456789ab", i);
    entries.push_back(entry);
    content += std::string(entry) + "\r\n";
  }
  writeIni(content);
  const std::string result = ini.Enumeratekeys(kIni, "Big");
  ASSERT_EQ(result.size(), 5000u);
  EXPECT_EQ(result.substr(4998), std::string(2, '\0'));
  const std::vector<std::string> pieces = splitAtNul(result);
  ASSERT_EQ(pieces.size(), 250u);  // 249 whole entries and the start of the next
  for (std::size_t i = 0; i < 249; ++i) EXPECT_EQ(pieces[i], entries[i]);
  EXPECT_EQ(pieces[249], entries[249].substr(0, 18));
}

}  // namespace
}  // namespace pgv::test
