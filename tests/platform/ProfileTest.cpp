// The portable private-profile functions against the behaviour Windows shows under Wine.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/portable/PortableProfile.h"
#include "tests/support/FakePlatform.h"

namespace pgv::test {
namespace {

namespace st = platform::status;

constexpr const char* kIni = "C:\\data\\test.ini";

// One file with every kind of line the functions treat specially.
const std::string kFixture =
    "; just a comment\r\n"
    "[General]\r\n"
    "Key1=Value1\r\n"
    "  SpacedKey  =   spaced value   \r\n"
    "Quoted=\"quoted value\"\r\n"
    "Single='single'\r\n"
    "Half=\"half\r\n"
    "Inner=a \"b\" c\r\n"
    "Padded=  \"  padded  \"  \r\n"
    "\tk5\t=\tv5\t\r\n"
    "Tabbed=a\tb\r\n"
    "\r\n"
    ";commentkey=should not match\r\n"
    "# hashkey=hash\r\n"
    "k1=v1 ; inline\r\n"
    "NoEquals\r\n"
    "=emptykey\r\n"
    "Dup=first\r\n"
    "dup=second\r\n"
    "Empty=\r\n"
    "[general]\r\n"
    "OnlyInSecond=x\r\n"
    "[Other Section]\r\n"
    "a=b\r\n"
    "  [  Spaced Section  ]  \r\n"
    "c=d\r\n"
    "[Last]\r\n"
    "z=1\r\n";

class ProfileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(machine.files().createDirectory("C:\\data"), st::Success);
    writeIni(kFixture);
  }

  void writeIni(const std::string& content, const char* path = kIni) { writeHostFile(machine.host(path), content); }
  std::string readIni(const char* path = kIni) { return readHostFile(machine.host(path)); }

  // The bytes of a result buffer, sentinel bytes included.
  static std::string bytes(const std::vector<char>& buffer) { return std::string(buffer.begin(), buffer.end()); }

  FakePlatform machine;
  platform::Profile& profile = machine.profile();
};

// --- GetPrivateProfileStringA: one value ---------------------------------------------------

struct LookupCase {
  const char* section;
  const char* key;
  const char* defaultValue;
  std::string expected;
};

TEST_F(ProfileTest, LookupFollowsWindowsTrimmingQuotingCaseAndCommentRules) {
  const std::vector<LookupCase> cases = {
      {"General", "Key1", "", "Value1"},
      {"GENERAL", "KEY1", "", "Value1"},                     // case-insensitive section and key
      {"  general  ", " spacedkey ", "", "spaced value"},    // arguments trimmed, blanks around '=' ignored
      {"General", "Quoted", "", "quoted value"},             // one pair of quotes removed
      {"General", "Single", "", "single"},
      {"General", "Half", "", "\"half"},                     // unmatched quote kept
      {"General", "Inner", "", "a \"b\" c"},                 // inner quotes kept
      {"General", "Padded", "", "  padded  "},               // trimmed first, then unquoted
      {"General", "k5", "", "v5"},                           // tabs are blanks too
      {"General", "Tabbed", "", "a\tb"},                     // an inner tab is kept
      {"General", ";commentkey", "", "should not match"},    // a comment line still matches by name
      {"General", "# hashkey", "", "hash"},                  // '#' is not a comment character
      {"General", "k1", "", "v1 ; inline"},                  // no inline comments
      {"General", "NoEquals", "dflt", "dflt"},               // a line without '=' has no value
      {"General", "", "dflt", "emptykey"},                   // "=emptykey" is the empty key
      {"General", "Dup", "", "first"},                       // first duplicate wins
      {"General", "Empty", "dflt", ""},                      // an empty value is a value
      {"General", "OnlyInSecond", "dflt", "dflt"},           // a repeated section is never read
      {"Spaced Section", "c", "", "d"},
      {"General", "Missing", "def  ", "def"},                // default loses trailing blanks
      {"General", "Missing", "  def", "  def"},              // ... but keeps leading ones
      {"General", "Missing", "\"qdef\"", "qdef"},            // ... and its quotes
      {"General", "Missing", nullptr, ""},
      {"No Such Section", "Key1", "dflt", "dflt"},
  };
  for (const LookupCase& c : cases) {
    SCOPED_TRACE(std::string(c.section) + " / " + c.key);
    char buffer[256];
    const std::uint32_t n = profile.getString(c.section, c.key, c.defaultValue, buffer, sizeof buffer, kIni);
    EXPECT_EQ(std::string(buffer), c.expected);
    EXPECT_EQ(n, c.expected.size());
    EXPECT_EQ(profile.lastError(), st::Success);
  }
}

TEST_F(ProfileTest, LineEndingsDoNotChangeWhatIsRead) {
  const std::vector<std::string> files = {
      "[S]\r\na=1\r\nb = 2\r\n",
      "[S]\na=1\nb = 2\n",
      "[S]\na=1\nb = 2",   // no final newline
      "[S]\ra=1\rb = 2\r",
  };
  for (const std::string& content : files) {
    SCOPED_TRACE(::testing::PrintToString(content));
    writeIni(content);
    char buffer[16];
    EXPECT_EQ(profile.getString("S", "a", "", buffer, sizeof buffer, kIni), 1u);
    EXPECT_STREQ(buffer, "1");
    EXPECT_EQ(profile.getString("S", "b", "", buffer, sizeof buffer, kIni), 1u);
    EXPECT_STREQ(buffer, "2");
  }
}

TEST_F(ProfileTest, LongValuesAreCutToTheBufferWithoutAnError) {
  writeIni("[S]\r\nLong=" + std::string(300, 'x') + "\r\nKey1=Value1\r\n");
  const struct {
    const char* key;
    std::uint32_t size;
    std::uint32_t expected;
  } cases[] = {{"Long", 255, 254}, {"Long", 300, 299}, {"Long", 301, 300}, {"Long", 400, 300}, {"Key1", 5, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.key << " size " << c.size);
    std::vector<char> buffer(c.size + 1, '#');
    const std::uint32_t n = profile.getString("S", c.key, "", buffer.data(), c.size, kIni);
    EXPECT_EQ(n, c.expected);
    EXPECT_EQ(buffer[n], '\0');
    EXPECT_EQ(buffer[c.size], '#') << "wrote past the buffer";
    EXPECT_EQ(profile.lastError(), st::Success);
  }
  char small[5];
  profile.getString("S", "Key1", "", small, sizeof small, kIni);
  EXPECT_STREQ(small, "Valu");
}

TEST_F(ProfileTest, MissingFileOrFolderGivesTheDefaultAndTheError) {
  char buffer[16];
  EXPECT_EQ(profile.getString("S", "k", "dflt", buffer, sizeof buffer, "C:\\data\\none.ini"), 4u);
  EXPECT_STREQ(buffer, "dflt");
  EXPECT_EQ(profile.lastError(), st::FileNotFound);

  EXPECT_EQ(profile.getString("S", "k", "dflt", buffer, sizeof buffer, "C:\\nowhere\\none.ini"), 4u);
  EXPECT_STREQ(buffer, "dflt");
  EXPECT_EQ(profile.lastError(), st::PathNotFound);

  // The error does not stick to the next successful call.
  profile.getString("General", "Key1", "", buffer, sizeof buffer, kIni);
  EXPECT_EQ(profile.lastError(), st::Success);
}

// --- Lists: section names, key names, section lines ----------------------------------------

const std::string kAllSectionNames = std::string("General\0general\0Other Section\0Spaced Section\0Last\0\0", 51);

TEST_F(ProfileTest, SectionNamesListEverySectionInFileOrder) {
  std::vector<char> buffer(100, '#');
  EXPECT_EQ(profile.getSectionNames(buffer.data(), 100, kIni), 50u);
  EXPECT_EQ(bytes(buffer).substr(0, 51), kAllSectionNames);

  // GetPrivateProfileStringA without a section is the same list.
  std::vector<char> viaString(100, '#');
  EXPECT_EQ(profile.getString(nullptr, nullptr, "", viaString.data(), 100, kIni), 50u);
  EXPECT_EQ(bytes(viaString).substr(0, 51), kAllSectionNames);
}

struct ListCutCase {
  std::uint32_t size;
  std::string expected;  // the whole buffer afterwards, '#' = untouched
  std::uint32_t result;
};

TEST_F(ProfileTest, SectionNamesThatDoNotFitAreCutWithOneNul) {
  const std::vector<ListCutCase> cases = {
      {52, kAllSectionNames + "#", 50},                      // fits with room to spare
      {51, kAllSectionNames, 50},                            // fits exactly
      {12, std::string("General\0ge\0#", 12), 10},
      {3, std::string("G\0#", 3), 1},
      {2, std::string("\0#", 2), 0},
      {1, std::string("\0", 1), 0},
  };
  for (const ListCutCase& c : cases) {
    SCOPED_TRACE(c.size);
    std::vector<char> buffer(c.size, '#');
    EXPECT_EQ(profile.getSectionNames(buffer.data(), c.size, kIni), c.result);
    EXPECT_EQ(bytes(buffer), c.expected);
  }
}

TEST_F(ProfileTest, KeyNamesLeaveOutCommentsAndLinesWithoutEquals) {
  const std::string keys("Key1\0SpacedKey\0Quoted\0Single\0Half\0Inner\0Padded\0k5\0Tabbed\0# hashkey\0k1\0"
                         "\0Dup\0dup\0Empty\0\0",
                         86);
  std::vector<char> buffer(200, '#');
  EXPECT_EQ(profile.getString("general", nullptr, "", buffer.data(), 200, kIni), 85u);
  EXPECT_EQ(bytes(buffer).substr(0, 86), keys);

  std::vector<char> cut(20, '#');
  EXPECT_EQ(profile.getString("General", nullptr, "", cut.data(), 20, kIni), 18u);
  EXPECT_EQ(bytes(cut), std::string("Key1\0SpacedKey\0Quo\0#", 20));
}

const std::string kGeneralLines("Key1=Value1\0SpacedKey=spaced value\0Quoted=\"quoted value\"\0Single='single'\0"
                                "Half=\"half\0Inner=a \"b\" c\0Padded=\"  padded  \"\0k5=v5\0Tabbed=a\tb\0"
                                "# hashkey=hash\0k1=v1 ; inline\0NoEquals\0=emptykey\0Dup=first\0dup=second\0"
                                "Empty=\0\0",
                                213);

TEST_F(ProfileTest, SectionLinesAreRawWithQuotesAndBareLines) {
  std::vector<char> buffer(300, '#');
  EXPECT_EQ(profile.getSection("GENERAL", buffer.data(), 300, kIni), 212u);
  EXPECT_EQ(bytes(buffer).substr(0, 213), kGeneralLines);
}

TEST_F(ProfileTest, SectionLinesThatDoNotFitEndWithTwoNulsInsideTheBuffer) {
  const std::vector<ListCutCase> cases = {
      {213, kGeneralLines, 212},
      {20, std::string("Key1=Value1\0Spaced\0\0", 20), 18},
      {12, std::string("Key1=Value\0\0", 12), 10},
      {3, std::string("K\0\0", 3), 1},
      {2, std::string("\0\0", 2), 0},
      {1, std::string("\0", 1), 0},  // never a byte past the buffer
  };
  for (const ListCutCase& c : cases) {
    SCOPED_TRACE(c.size);
    std::vector<char> buffer(c.size + 1, '#');
    EXPECT_EQ(profile.getSection("General", buffer.data(), c.size, kIni), c.result);
    EXPECT_EQ(bytes(buffer), c.expected + "#");
  }
}

TEST_F(ProfileTest, MissingSectionsAndFilesGiveEmptyLists) {
  std::vector<char> buffer(8, '#');
  EXPECT_EQ(profile.getSection("Nope", buffer.data(), 8, kIni), 0u);
  EXPECT_EQ(bytes(buffer).substr(0, 3), std::string("\0\0#", 3));

  std::vector<char> names(8, '#');
  EXPECT_EQ(profile.getSectionNames(names.data(), 8, "C:\\data\\none.ini"), 0u);
  EXPECT_EQ(names[0], '\0');
  EXPECT_EQ(profile.lastError(), st::FileNotFound);

  // A key list of a missing section falls back to the default, as a value would.
  char keys[16];
  EXPECT_EQ(profile.getString("Nope", nullptr, "\"d\"", keys, sizeof keys, kIni), 1u);
  EXPECT_STREQ(keys, "d");

  EXPECT_EQ(profile.getSection(nullptr, buffer.data(), 8, kIni), 0u);
  EXPECT_EQ(profile.lastError(), st::InvalidParameter);
}

// --- WritePrivateProfileStringA --------------------------------------------------------------

TEST_F(ProfileTest, WriteCreatesAMissingFile) {
  EXPECT_TRUE(profile.writeString("Sec", "Key", "Val", "C:\\data\\new.ini"));
  EXPECT_EQ(readIni("C:\\data\\new.ini"), "[Sec]\r\nKey=Val\r\n");
  EXPECT_EQ(profile.lastError(), st::Success);
}

TEST_F(ProfileTest, WriteIntoAMissingFolderFailsWithPathNotFound) {
  EXPECT_FALSE(profile.writeString("Sec", "Key", "Val", "C:\\nowhere\\new.ini"));
  EXPECT_EQ(profile.lastError(), st::PathNotFound);
  EXPECT_EQ(machine.files().attributes("C:\\nowhere"), platform::attr::Invalid);
}

TEST_F(ProfileTest, BareFileNamesLiveInTheWindowsDirectory) {
  EXPECT_TRUE(profile.writeString("S", "k", "v", "bare.ini"));
  EXPECT_EQ(readHostFile(machine.host("C:\\WINDOWS\\bare.ini")), "[S]\r\nk=v\r\n");
  char buffer[8];
  EXPECT_EQ(profile.getString("S", "k", "", buffer, sizeof buffer, "bare.ini"), 1u);
  EXPECT_STREQ(buffer, "v");
}

TEST_F(ProfileTest, WriteRewritesTheWholeFileFromItsParsedForm) {
  writeIni("; head comment\n[General]\n  Key1  =  old  \n\n; inner comment\nNoEquals\n  [ Other ]  \nx = 1");
  EXPECT_TRUE(profile.writeString("GENERAL", "KEY1", "new", kIni));
  EXPECT_EQ(readIni(),
            "; head comment\r\n"
            "[General]\r\n"
            "Key1=new\r\n"
            "; inner comment\r\n"
            "NoEquals\r\n"
            "[Other]\r\n"
            "x=1\r\n");
}

TEST_F(ProfileTest, WritePlacesNewKeysAndSectionsAndTrimsWhatItWrites) {
  writeIni("[A]\r\na=1\r\n; end of A\r\n[Last]\r\n");
  EXPECT_TRUE(profile.writeString("a", "b", "2", kIni));                          // after the last line of [A]
  EXPECT_TRUE(profile.writeString("Brand New", "k", "v", kIni));                  // at the end, no blank line
  EXPECT_TRUE(profile.writeString("  Padded Sec  ", "  padkey  ", "  padded value  ", kIni));
  EXPECT_EQ(readIni(),
            "[A]\r\na=1\r\n; end of A\r\nb=2\r\n"
            "[Last]\r\n"
            "[Brand New]\r\nk=v\r\n"
            "[Padded Sec]\r\npadkey=padded value\r\n");
}

TEST_F(ProfileTest, WriteUpdatesTheFirstOfDuplicateKeys) {
  writeIni("[S]\r\nDup=first\r\ndup=second\r\n");
  EXPECT_TRUE(profile.writeString("S", "DUP", "changed", kIni));
  EXPECT_EQ(readIni(), "[S]\r\nDup=changed\r\ndup=second\r\n");
}

TEST_F(ProfileTest, NullValueDeletesTheKeyAndNullKeyDeletesTheSection) {
  writeIni("[Keep]\r\nk=1\r\n[Gone]\r\ng=1\r\nh=2\r\n[Last]\r\nz=1\r\n");
  EXPECT_TRUE(profile.writeString("last", "Z", nullptr, kIni));
  EXPECT_EQ(readIni(), "[Keep]\r\nk=1\r\n[Gone]\r\ng=1\r\nh=2\r\n[Last]\r\n");  // the empty header stays
  EXPECT_TRUE(profile.writeString("gone", nullptr, nullptr, kIni));
  EXPECT_EQ(readIni(), "[Keep]\r\nk=1\r\n[Last]\r\n");
  // Deleting what is not there succeeds and creates nothing.
  EXPECT_TRUE(profile.writeString("S", "k", nullptr, "C:\\data\\absent.ini"));
  EXPECT_EQ(machine.files().attributes("C:\\data\\absent.ini"), platform::attr::Invalid);
}

TEST_F(ProfileTest, WriteOfAnUnchangedValueLeavesTheFileAlone) {
  const std::string untidy = "[S]\n  k  =  v  \n\n";
  writeIni(untidy);
  EXPECT_TRUE(profile.writeString("s", "K", "v", kIni));
  EXPECT_EQ(readIni(), untidy);
}

TEST_F(ProfileTest, WriteRefusesReadOnlyFilesAndLeavesNoTemporaryFile) {
  ASSERT_EQ(machine.files().setAttributes(kIni, platform::attr::ReadOnly), st::Success);
  EXPECT_FALSE(profile.writeString("General", "Key1", "x", kIni));
  EXPECT_EQ(profile.lastError(), st::AccessDenied);
  ASSERT_EQ(machine.files().setAttributes(kIni, platform::attr::Normal), st::Success);
  EXPECT_EQ(readIni(), kFixture);

  EXPECT_TRUE(profile.writeString("General", "Key1", "x", kIni));
  std::vector<platform::FindEntry> entries;
  ASSERT_EQ(machine.files().find("C:\\data\\*", entries), st::Success);
  std::vector<std::string> names;
  for (const auto& e : entries) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "test.ini"}));
}

TEST_F(ProfileTest, NamesAndValuesCrossAsCodePage1252) {
  EXPECT_TRUE(profile.writeString("Caf\xE9", "Cl\xE9", "\x80 5", kIni));
  EXPECT_NE(readIni().find("[Caf\xE9]\r\nCl\xE9=\x80 5\r\n"), std::string::npos);
  char buffer[16];
  EXPECT_EQ(profile.getString("CAF\xC9", "CL\xC9", "", buffer, sizeof buffer, kIni), 3u);  // é/É fold
  EXPECT_STREQ(buffer, "\x80 5");
}

TEST_F(ProfileTest, UnicodeFilesKeepTheirEncodingAndTheirText) {
  // UTF-8 with a byte-order mark: "é" reads as its code page 1252 byte, and a character
  // code page 1252 cannot hold (Greek alpha) survives a rewrite.
  writeIni("\xEF\xBB\xBF[S]\r\nfr=\xC3\xA9t\xC3\xA9\r\ngr=\xCE\xB1\r\n");
  char buffer[16];
  EXPECT_EQ(profile.getString("S", "fr", "", buffer, sizeof buffer, kIni), 3u);
  EXPECT_STREQ(buffer, "\xE9t\xE9");
  EXPECT_TRUE(profile.writeString("S", "new", "\xE9", kIni));
  EXPECT_EQ(readIni(), "\xEF\xBB\xBF[S]\r\nfr=\xC3\xA9t\xC3\xA9\r\ngr=\xCE\xB1\r\nnew=\xC3\xA9\r\n");

  // UTF-16 little-endian with its mark.
  writeIni(std::string("\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0", 22));
  EXPECT_EQ(profile.getString("S", "k", "", buffer, sizeof buffer, kIni), 1u);
  EXPECT_STREQ(buffer, "\xE9");
}

}  // namespace
}  // namespace pgv::test
