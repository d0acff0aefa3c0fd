// Wine's text registry format: reading, writing and round trips of one hive.

#include "platform/portable/RegistryHive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "tests/support/TempDir.h"

namespace pgv::platform {
namespace {

constexpr std::uint64_t kNow = 0x1dd89630d668216;  // 1796988641 seconds after 1970
constexpr char kHead[] =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to REGISTRY\\\\Machine\n"
    "\n"
    "#arch=win64\n";

std::vector<std::uint8_t> bytes(std::initializer_list<int> list) {
  std::vector<std::uint8_t> out;
  for (int b : list) out.push_back(static_cast<std::uint8_t>(b));
  return out;
}

std::vector<std::uint8_t> utf16(std::u16string_view text) {
  std::vector<std::uint8_t> out;
  for (char16_t c : text) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return out;
}

std::vector<std::uint8_t> dataOf(const RegistryValue& value) {
  return std::vector<std::uint8_t>(value.data, value.data + value.size);
}

RegistryKey* keyAt(RegistryHive& hive, std::u16string_view path) {
  RegistryKey* key = &hive.root();
  std::size_t i = 0;
  while (key && i <= path.size()) {
    std::size_t end = path.find(u'\\', i);
    if (end == std::u16string_view::npos) end = path.size();
    key = key->findSubkey(path.substr(i, end - i));
    i = end + 1;
  }
  return key;
}

// Every value form of a Wine file, in the order wineserver writes them.
std::string everyValueForm() {
  std::string text = kHead;
  text +=
      "\n[Software\\\\SemTest\\\\Key\"Quote] 1796988641\n#time=1dd89630d668216\n"
      "\n[Software\\\\SemTest\\\\Key\\[Br\\]Eq=Sp ace] 1796988641\n#time=1dd89630d668216\n"
      "#class=\"My\\\"Class\"\n"
      "\n[Software\\\\SemTest\\\\Values] 1796988641\n#time=1dd89630d668216\n"
      "@=\"default value\"\n"
      "\"bin\"=hex:01,02,ab\n"
      "\"binlong\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,\\\n"
      "  15,16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,\\\n"
      "  2e,2f,30,31,32,33,34,35,36,37,38,39,3a,3b,3c,3d,3e,3f,40,41,42,43,44,45,46,\\\n"
      "  47,48,49,4a,4b,4c,4d,4e,4f,50,51,52,53,54,55,56,57,58,59,5a,5b,5c,5d,5e,5f,\\\n"
      "  60,61,62,63\n"
      "\"ctl2\"=\"a\\1b\\bc\\vd\\fe\\37f\\32g\x7fh\\x20ac0\"\n"
      "\"custom\"=hex(1234):aa,bb\n"
      "\"dw3\"=hex(4):01,02,03\n"
      "\"dwbe\"=hex(5):12,34,56,78\n"
      "\"dword\"=dword:12345678\n"
      "\"emptysz\"=\"\"\n"
      "\"escapes\"=\"q\\\"uote b\\\\slash nl\\nline cr\\rtab\\tend\"\n"
      "\"expand\"=str(2):\"%SystemRoot%\\\\system32\"\n"
      "\"expand_hex2\"=hex(2):61,00,62,00\n"
      "\"multi\"=str(7):\"one\\0two\\0three\\0\"\n"
      "\"multi_empty\"=str(7):\"\"\n"
      "\"multi_hex7\"=hex(7):61,00,00,00,62,00\n"
      "\"name with \\\"quote\\\" and \\\\ and =\"=\"v\"\n"
      "\"nonascii\"=\"Caf\\xe9 \\x20acuro \\x00e9a \\x00ff0 \\xe9 z\"\n"
      "\"none\"=hex(0):01,02\n"
      "\"nonul\"=hex(1):61,00,62,00,63,00\n"
      "\"qword\"=hex(b):01,02,03,04,05,06,07,08\n"
      "\"surrogate\"=\"x\\xd83d\\xde00y\"\n"
      "\"sz\"=\"plain text\"\n"
      "\"sz0\"=hex(1):\n"
      "\"sz_embedded_nul\"=\"ab\\0cd\"\n"
      "\n[Software\\\\SemTest\\\\Values\\\\EmptyLeaf] 1796988641\n#time=1dd89630d668216\n"
      "\n[System\\\\CurrentControlSet] 1796988641\n#time=1dd89630d668216\n#link\n"
      "\"SymbolicLinkValue\"=hex(6):5c,00,52,00\n";
  return text;
}

TEST(RegistryHiveTest, WineFileRoundTripsByteForByte) {
  const std::string text = everyValueForm();
  RegistryHive hive("X", u"Machine");
  HiveParseError error;
  ASSERT_TRUE(hive.parseText(text, kNow, error)) << error.line << ": " << error.message;
  EXPECT_EQ(hive.arch(), HiveArch::Win64);
  EXPECT_EQ(hive.rootPath(), "REGISTRY\\\\Machine");
  EXPECT_EQ(hive.toText(), text);
}

TEST(RegistryHiveTest, ValuesReadAsWineStoresThem) {
  RegistryHive hive("X", u"Machine");
  HiveParseError error;
  ASSERT_TRUE(hive.parseText(everyValueForm(), kNow, error)) << error.message;
  RegistryKey* key = keyAt(hive, u"Software\\SemTest\\Values");
  ASSERT_NE(key, nullptr);

  struct Case {
    std::u16string name;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  };
  std::vector<std::uint8_t> binlong;
  for (int i = 0; i < 100; ++i) binlong.push_back(static_cast<std::uint8_t>(i));
  const Case cases[] = {
      {u"", regtype::Sz, utf16(std::u16string(u"default value") + u'\0')},
      {u"bin", regtype::Binary, bytes({1, 2, 0xab})},
      {u"binlong", regtype::Binary, binlong},
      {u"ctl2", regtype::Sz, utf16(std::u16string(u"a\x01" u"b\bc\vd\fe\x1f" u"f\x1a" u"g\x7fh\x20ac" u"0") + u'\0')},
      {u"custom", 0x1234, bytes({0xaa, 0xbb})},
      {u"dw3", regtype::Dword, bytes({1, 2, 3})},
      {u"dword", regtype::Dword, bytes({0x78, 0x56, 0x34, 0x12})},
      {u"emptysz", regtype::Sz, bytes({0, 0})},
      {u"escapes", regtype::Sz, utf16(std::u16string(u"q\"uote b\\slash nl\nline cr\rtab\tend") + u'\0')},
      {u"expand", regtype::ExpandSz, utf16(std::u16string(u"%SystemRoot%\\system32") + u'\0')},
      {u"multi", regtype::MultiSz, utf16(std::u16string(u"one\0two\0three\0\0", 15))},
      {u"multi_empty", regtype::MultiSz, bytes({0, 0})},
      {u"name with \"quote\" and \\ and =", regtype::Sz, utf16(std::u16string(u"v") + u'\0')},
      {u"nonascii", regtype::Sz, utf16(std::u16string(u"Caf\xe9 \x20acuro \xe9" u"a \xff" u"0 \xe9 z") + u'\0')},
      {u"NONE", regtype::None, bytes({1, 2})},
      {u"nonul", regtype::Sz, utf16(u"abc")},
      {u"qword", regtype::Qword, bytes({1, 2, 3, 4, 5, 6, 7, 8})},
      {u"surrogate", regtype::Sz, utf16(std::u16string(u"x\xd83d\xde00y") + u'\0')},
      {u"sz0", regtype::Sz, {}},
      {u"sz_embedded_nul", regtype::Sz, utf16(std::u16string(u"ab\0cd\0", 6))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
    const RegistryValue* value = key->findValue(c.name);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, c.type);
    EXPECT_EQ(dataOf(*value), c.data);
  }
  RegistryKey* link = keyAt(hive, u"System\\CurrentControlSet");
  ASSERT_NE(link, nullptr);
  EXPECT_TRUE(link->is(keyflag::Link));
  RegistryKey* classed = keyAt(hive, u"Software\\SemTest\\Key[Br]Eq=Sp ace");
  ASSERT_NE(classed, nullptr);
  EXPECT_EQ(classed->classView(), u"My\"Class");
}

// The writer alone: how each kind of data is written.
TEST(RegistryHiveTest, DataIsWrittenInWinesForms) {
  struct Case {
    const char* what;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
    std::string line;
  };
  const Case cases[] = {
      {"terminated string", regtype::Sz, utf16(std::u16string(u"ab") + u'\0'), "\"v\"=\"ab\""},
      {"expand string", regtype::ExpandSz, utf16(std::u16string(u"%a%") + u'\0'), "\"v\"=str(2):\"%a%\""},
      {"multi string", regtype::MultiSz, utf16(std::u16string(u"a\0b\0\0", 5)), "\"v\"=str(7):\"a\\0b\\0\""},
      {"string without NUL", regtype::Sz, utf16(u"ab"), "\"v\"=hex(1):61,00,62,00"},
      {"odd-sized string", regtype::ExpandSz, bytes({0x61, 0, 0}), "\"v\"=hex(2):61,00,00"},
      {"empty string data", regtype::MultiSz, {}, "\"v\"=hex(7):"},
      {"dword", regtype::Dword, bytes({0x2a, 0, 0, 0}), "\"v\"=dword:0000002a"},
      {"short dword", regtype::Dword, bytes({1, 2}), "\"v\"=hex(4):01,02"},
      {"binary", regtype::Binary, bytes({0xff}), "\"v\"=hex:ff"},
      {"big-endian dword", regtype::DwordBigEndian, bytes({0, 0, 1, 2}), "\"v\"=hex(5):00,00,01,02"},
      {"qword", regtype::Qword, bytes({1, 0, 0, 0, 0, 0, 0, 0}), "\"v\"=hex(b):01,00,00,00,00,00,00,00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RegistryHive hive("REGISTRY\\\\Machine", u"Machine");
    RegistryKey& key = hive.addSubkey(hive.root(), u"K", kNow);
    hive.setValue(key, u"v", c.type, c.data.data(), static_cast<std::uint32_t>(c.data.size()), kNow);
    const std::string text = hive.toText();
    EXPECT_NE(text.find("\n" + c.line + "\n"), std::string::npos) << text;

    RegistryHive again("X", u"Machine");
    HiveParseError error;
    ASSERT_TRUE(again.parseText(text, kNow, error)) << error.message;
    const RegistryValue* value = again.root().findSubkey(u"K")->findValue(u"v");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, c.type);
    EXPECT_EQ(dataOf(*value), c.data);
  }
}

TEST(RegistryHiveTest, EscapesFollowWinesRules) {
  struct Case {
    std::u16string text;
    std::string written;
  };
  const Case cases[] = {
      {u"a\x7f" u"b", "a\x7f" "b"},                 // DEL stays raw
      {u"\x1b\a\b\t\n\v\f\r", "\\e\\a\\b\\t\\n\\v\\f\\r"},
      {u"\x01" u"8", "\\18"},                        // next is not an octal digit
      {u"\x01" u"7", "\\0017"},                      // padded before an octal digit
      {u"\x1f", "\\37"},
      {u"\xe9z", "\\xe9z"},                          // minimal hex digits
      {u"\xe9" u"f", "\\x00e9f"},                    // padded before a hex digit
      {u"\xe9" u"F", "\\x00e9F"},
      {u"\x20ac", "\\x20ac"},
      {u"\xd83d\xde00", "\\xd83d\\xde00"},           // a surrogate pair is two escapes
      {u"q\"b\\s[]", "q\\\"b\\\\s[]"},               // brackets need no escape in values
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.written);
    RegistryHive hive("X", u"Machine");
    RegistryKey& key = hive.addSubkey(hive.root(), u"K", kNow);
    const auto data = utf16(c.text + u'\0');
    hive.setValue(key, u"v", regtype::Sz, data.data(), static_cast<std::uint32_t>(data.size()), kNow);
    const std::string text = hive.toText();
    EXPECT_NE(text.find("\n\"v\"=\"" + c.written + "\"\n"), std::string::npos) << text;

    RegistryHive again("X", u"Machine");
    HiveParseError error;
    ASSERT_TRUE(again.parseText(text, kNow, error)) << error.message;
    EXPECT_EQ(dataOf(*again.root().findSubkey(u"K")->findValue(u"v")), data);
  }
}

TEST(RegistryHiveTest, HexWrapsAt78ColumnsWhateverTheNameLength) {
  // Wine counts the name's written characters, so the first line's byte count depends on it.
  for (const std::u16string name : {u"", u"n", u"a much longer value name \"with\" escapes"}) {
    RegistryHive hive("X", u"Machine");
    RegistryKey& key = hive.addSubkey(hive.root(), u"K", kNow);
    const std::vector<std::uint8_t> data(200, 0xcd);
    hive.setValue(key, name, regtype::Binary, data.data(), 200, kNow);
    const std::string text = hive.toText();
    std::size_t pos = text.find("=hex:");
    ASSERT_NE(pos, std::string::npos);
    pos = text.rfind('\n', pos) + 1;
    std::size_t lines = 0;
    std::size_t bytesSeen = 0;
    for (;;) {
      const std::string line = text.substr(pos, text.find('\n', pos) - pos);
      for (std::size_t at = line.find("cd"); at != std::string::npos; at = line.find("cd", at + 2)) ++bytesSeen;
      ++lines;
      if (line.back() != '\\') break;
      if (lines == 1) {
        // Wine breaks after the first comma that takes the line past 76 characters.
        EXPECT_GT(line.size() - 1, 76u) << line;
        EXPECT_LE(line.size() - 1 - 3, 76u) << line;
      } else {
        EXPECT_EQ(line.size(), 78u) << line;
        EXPECT_EQ(line.substr(0, 2), "  ");
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 25);
      }
      pos += line.size() + 1;
    }
    EXPECT_EQ(bytesSeen, 200u) << text;
    EXPECT_GE(lines, 8u);
  }
}

TEST(RegistryHiveTest, KeysAreSortedAndOnlyNeededOnesWritten) {
  RegistryHive hive("REGISTRY\\\\Machine", u"Machine");
  const std::uint8_t one[] = {1, 0, 0, 0};
  for (std::u16string_view name : {u"Zeta", u"alpha", u"_under", u"10", u"9", u"[br]", u"Caf\xe9", u"~t"}) {
    RegistryKey& key = hive.addSubkey(hive.root(), name, kNow);
    hive.setValue(key, u"v", regtype::Dword, one, 4, kNow);
  }
  RegistryKey& parent = hive.addSubkey(hive.root(), u"OnlyParent", kNow);  // no values, has a subkey
  hive.addSubkey(parent, u"EmptyLeaf", kNow);
  const std::string text = hive.toText();
  std::vector<std::string> written;
  for (std::size_t pos = text.find("\n["); pos != std::string::npos; pos = text.find("\n[", pos + 1)) {
    const std::string line = text.substr(pos + 1, text.find('\n', pos + 1) - pos - 1);
    written.push_back(line.substr(1, line.rfind("] ") - 1));
  }
  const std::vector<std::string> expected = {"10",     "9",      "\\[br\\]", "_under", "alpha", "Caf\\xe9",
                                             "OnlyParent\\\\EmptyLeaf", "Zeta", "~t"};
  EXPECT_EQ(written, expected) << text;
}

TEST(RegistryHiveTest, KeyTimesComeFromTheFile) {
  const std::string text = std::string(kHead) +
                           "\n[A\\\\B] 1796988641\n#time=1dd89630d668216\n"
                           "\n[C] 1690473301\n"
                           "\n[D]\n";
  RegistryHive hive("X", u"Machine");
  HiveParseError error;
  ASSERT_TRUE(hive.parseText(text, 12345, error)) << error.message;
  EXPECT_EQ(keyAt(hive, u"A\\B")->modified, 0x1dd89630d668216u);
  // A key that the file only implies takes the time of its first subkey.
  EXPECT_EQ(keyAt(hive, u"A")->modified, 0x1dd89630d668216u);
  EXPECT_EQ(keyAt(hive, u"C")->modified, 1690473301ull * kTicksPerSecond + kTicks1601To1970);
  EXPECT_EQ(keyAt(hive, u"D")->modified, 12345u);
}

TEST(RegistryHiveTest, RepeatedBlocksAndNamesMergeKeepingTheFirstSpelling) {
  const std::string text = std::string(kHead) +
                           "\n[Key]\n\"Name\"=\"one\"\n"
                           "\n[KEY\\\\\\\\Sub\\\\]\n"
                           "\n[key]\n\"NAME\"=\"two\"\n";
  RegistryHive hive("X", u"Machine");
  HiveParseError error;
  ASSERT_TRUE(hive.parseText(text, kNow, error)) << error.message;
  ASSERT_EQ(hive.root().subkeys.size(), 1u);
  RegistryKey* key = hive.root().subkeys[0];
  EXPECT_EQ(key->nameView(), u"Key");
  ASSERT_EQ(key->subkeys.size(), 1u);
  EXPECT_EQ(key->subkeys[0]->nameView(), u"Sub");
  ASSERT_EQ(key->values.size(), 1u);
  EXPECT_EQ(key->values[0].nameView(), u"Name");
  EXPECT_EQ(dataOf(key->values[0]), utf16(std::u16string(u"two") + u'\0'));
}

TEST(RegistryHiveTest, DamagedFilesAreRefusedWithTheirLine) {
  struct Case {
    const char* what;
    std::string text;
    std::size_t line;
    std::string message;
  };
  const std::string head = std::string(kHead) + "\n[Key] 1796988641\n";  // lines 1-6
  const Case cases[] = {
      {"empty file", "", 1, "missing the header"},
      {"other header", "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software]\n", 1, "missing the header"},
      {"unknown architecture", "WINE REGISTRY Version 2\n#arch=win16\n", 2, "unknown architecture"},
      {"unrecognized line", head + "garbage\n", 7, "unrecognized line"},
      {"value outside a key", std::string(kHead) + "\"a\"=\"b\"\n", 5, "value outside of any key"},
      {"key without ]", head + "[Software\\\\A 12\n", 7, "unterminated string"},
      {"junk after key time", head + "[A] 12x\n", 7, "malformed key line"},
      {"truncated string", head + "\"a\"=\"abc\n", 7, "unterminated string"},
      {"truncated name", head + "\"abc\n", 7, "unterminated string"},
      {"missing =", head + "\"a\" \"b\"\n", 7, "missing '='"},
      {"backslash at the end", head + "\"a\"=\"abc\\\n", 7, "backslash at the end"},
      {"bad escape", head + "\"a\"=\"a\\qb\"\n", 7, "bad escape \\q"},
      {"\\x without digits", head + "\"a\"=\"\\xg\"\n", 7, "bad escape \\x"},
      {"text after the string", head + "\"a\"=\"b\" c\n", 7, "text after the closing quote"},
      {"unknown type tag", head + "\"a\"=foo:12\n", 7, "unknown value type"},
      {"bad hex(N) tag", head + "\"a\"=hex(zz):01\n", 7, "unknown value type"},
      {"bad dword", head + "\"a\"=dword:xyz\n", 7, "bad dword data"},
      {"bad hex", head + "\"a\"=hex:01,zz\n", 7, "bad hex data"},
      {"hex byte too large", head + "\"a\"=hex:100\n", 7, "bad hex data"},
      {"bad continuation line", head + "\"a\"=hex:01,\\\n  02,zz\n", 8, "bad hex data"},
      {"file ends inside hex", head + "\"a\"=hex:01,\\\n", 7, "file ends inside hex data"},
      {"bad #time", head + "#time=zz\n", 7, "malformed #time"},
      {"bad #class", head + "#class=x\n", 7, "malformed #class"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RegistryHive hive("X", u"Machine");
    HiveParseError error;
    EXPECT_FALSE(hive.parseText(c.text, kNow, error));
    EXPECT_EQ(error.line, c.line);
    EXPECT_NE(error.message.find(c.message), std::string::npos) << error.message;
  }
}

TEST(RegistryHiveTest, AHugeLineIsRefused) {
  test::TempDir dir;
  std::string text = std::string(kHead) + "\n[Key]\n\"a\"=\"";
  text.append(kMaxRegistryLine, 'x');
  text += "\"\n";
  test::writeHostFile(dir / "system.reg", text);
  RegistryHive hive("X", u"Machine");
  bool missing = true;
  std::string error;
  EXPECT_FALSE(RegistryHive::loadFile(dir / "system.reg", hive, kNow, missing, error));
  EXPECT_EQ(error, "cannot read registry file " + (dir / "system.reg") + ", line 7: line longer than " +
                       std::to_string(kMaxRegistryLine) + " bytes");
}

TEST(RegistryHiveTest, FilesLoadAndSaveAtomically) {
  test::TempDir dir;
  const std::string path = dir / "system.reg";
  RegistryHive empty("REGISTRY\\\\Machine", u"Machine");
  bool missing = false;
  std::string error;
  ASSERT_TRUE(RegistryHive::loadFile(path, empty, kNow, missing, error)) << error;
  EXPECT_TRUE(missing);

  // A file read in small pieces: lines cross the reader's buffer.
  std::string text = std::string(kHead);
  for (int i = 0; i < 3000; ++i) {
    text += "\n[Key" + std::to_string(100000 + i) + "] 1796988641\n#time=1dd89630d668216\n\"v\"=\"" +
            std::string(static_cast<std::size_t>(i % 97), 'x') + "\"\n";
  }
  test::writeHostFile(path, text);
  RegistryHive hive("X", u"Machine");
  ASSERT_TRUE(RegistryHive::loadFile(path, hive, kNow, missing, error)) << error;
  EXPECT_FALSE(missing);
  EXPECT_EQ(hive.root().subkeys.size(), 3000u);

  // Saving through a symbolic link replaces the link's target and leaves no temporary file.
  ::mkdir((dir / "real").c_str(), 0755);
  ASSERT_EQ(::symlink((dir / "real/system.reg").c_str(), (dir / "link.reg").c_str()), 0);
  ASSERT_EQ(hive.saveFile(dir / "link.reg", error), status::Success) << error;
  EXPECT_TRUE(test::readHostFile(dir / "real/system.reg") == text);
  EXPECT_FALSE(test::hostFileExists(dir / "real/system.reg.tmp"));
  struct stat st {};
  ASSERT_EQ(::lstat((dir / "link.reg").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));

  ASSERT_EQ(hive.saveFile(dir / "missing-folder/system.reg", error), status::PathNotFound);
  EXPECT_NE(error.find("missing-folder"), std::string::npos);
}

TEST(RegistryHiveTest, ParseErrorNamesTheFileAndLine) {
  test::TempDir dir;
  test::writeHostFile(dir / "user.reg", std::string(kHead) + "\n[Key]\n\"a\"=hex:zz\n");
  RegistryHive hive("X", u"User");
  bool missing = false;
  std::string error;
  EXPECT_FALSE(RegistryHive::loadFile(dir / "user.reg", hive, kNow, missing, error));
  EXPECT_EQ(error, "cannot read registry file " + (dir / "user.reg") + ", line 7: bad hex data");
}

}  // namespace
}  // namespace pgv::platform
