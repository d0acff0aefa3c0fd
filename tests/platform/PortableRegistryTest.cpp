// The ANSI registry functions over a machine folder's hives, with Windows' (Wine's) rules.

#include "platform/portable/PortableRegistry.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/portable/WineServer.h"
#include "tests/support/TempDir.h"

namespace pgv::platform {
namespace {

constexpr std::uint64_t kTime = 0x1dd89630d668216;  // 1796988641 seconds after 1970

std::string head(const char* root, const char* arch = "win32") {
  return std::string("WINE REGISTRY Version 2\n;; All keys relative to ") + root + "\n\n#arch=" + arch + "\n";
}

// A hex(6) line for a link key's target.
std::string linkValue(const std::string& target) {
  std::string line = "\"SymbolicLinkValue\"=hex(6):";
  char byte[8];
  for (std::size_t i = 0; i < target.size(); ++i) {
    std::snprintf(byte, sizeof byte, "%s%02x,00", i ? "," : "", static_cast<unsigned char>(target[i]));
    line += byte;
  }
  return line + "\n";
}

std::string text(const std::vector<std::uint8_t>& data) { return std::string(data.begin(), data.end()); }

class PortableRegistryTest : public ::testing::Test {
 protected:
  void write(const std::string& file, const std::string& content) { test::writeHostFile(dir_ / file, content); }
  std::string read(const std::string& file) { return test::readHostFile(dir_ / file); }

  void open() {
    registry_.reset();
    std::string error;
    ASSERT_EQ(PortableRegistry::open(dir_.path(), registry_, error), status::Success) << error;
    registry_->setTimeSource([] { return kTime; });
  }
  void reopen() {
    ASSERT_EQ(registry_->flush(), status::Success) << registry_->lastError();
    open();
  }
  PortableRegistry& reg() { return *registry_; }

  HKEY create(HKEY root, std::string_view path, std::uint32_t* disposition = nullptr) {
    HKEY key = 0;
    EXPECT_EQ(reg().createKey(root, path, regaccess::AllAccess, key, disposition), status::Success) << path;
    return key;
  }
  HKEY openKey(HKEY root, std::string_view path, std::uint32_t access = regaccess::AllAccess) {
    HKEY key = 0;
    EXPECT_EQ(reg().openKey(root, path, access, key), status::Success) << path;
    return key;
  }
  void setText(HKEY key, std::string_view name, std::string_view value, std::uint32_t type = regtype::Sz) {
    const std::string data = std::string(value) + '\0';
    ASSERT_EQ(reg().setValue(key, name, type, reinterpret_cast<const std::uint8_t*>(data.data()),
                             static_cast<std::uint32_t>(data.size())),
              status::Success);
  }
  // The value's type and ANSI bytes, or the failing status as type.
  std::pair<std::uint32_t, std::string> value(HKEY key, std::string_view name) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    const Status s = reg().queryValue(key, name, &type, nullptr, &size);
    if (s != status::Success) return {0xFFFF0000u | static_cast<std::uint32_t>(s), ""};
    std::vector<std::uint8_t> data(size + 1);
    EXPECT_EQ(reg().queryValue(key, name, &type, data.data(), &size), status::Success);
    data.resize(size);
    return {type, text(data)};
  }
  std::vector<std::string> subkeys(HKEY key) {
    std::vector<std::string> names;
    char name[300];
    for (std::uint32_t i = 0; reg().enumKey(key, i, name, sizeof name) == status::Success; ++i) names.push_back(name);
    return names;
  }
  std::vector<std::string> valueNames(HKEY key) {
    std::vector<std::string> names;
    char name[300];
    std::uint32_t size = sizeof name;
    for (std::uint32_t i = 0; reg().enumValue(key, i, name, &size, nullptr) == status::Success; ++i) {
      names.emplace_back(name, size);
      size = sizeof name;
    }
    return names;
  }

  test::TempDir dir_;
  std::unique_ptr<PortableRegistry> registry_;
};

TEST_F(PortableRegistryTest, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
  open();
  const HKEY root = create(HKEY_CURRENT_USER, "Software\\SemTest");
  const HKEY mixed = create(root, "MixedCase");
  std::uint32_t disposition = 0;
  create(root, "mixedcase", &disposition);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  openKey(root, "MIXEDcase");
  EXPECT_EQ(subkeys(root), std::vector<std::string>{"MixedCase"});

  setText(mixed, "ValName", "one");
  setText(mixed, "VALNAME", "two");
  EXPECT_EQ(valueNames(mixed), std::vector<std::string>{"ValName"});
  EXPECT_EQ(value(mixed, "valname").second, std::string("two\0", 4));
  // Accented capitals match their small letters too.
  create(root, "\xC9t\xE9");
  openKey(root, "\xE9T\xC9");
}

TEST_F(PortableRegistryTest, EnumerationIsSortedByLowerCasedUtf16) {
  open();
  const HKEY keys = create(HKEY_CURRENT_USER, "Software\\SemTest\\EnumKeys");
  for (const char* name : {"Zeta", "alpha", "Beta", "_under", "10", "9", "aLPha2", "a", "B", "Caf\xE9", "\xC4pfel",
                           "zz", "~tilde", "[br]", "Z"}) {
    create(keys, name);
  }
  EXPECT_EQ(subkeys(keys), (std::vector<std::string>{"10", "9", "[br]", "_under", "a", "alpha", "aLPha2", "B", "Beta",
                                                     "Caf\xE9", "Z", "Zeta", "zz", "~tilde", "\xC4pfel"}));

  const HKEY values = create(HKEY_CURRENT_USER, "Software\\SemTest\\EnumValues");
  for (const char* name : {"zeta", "Alpha", "beta", "", "10", "9", "B", "a", "Caf\xE9", "@at", "[b", "^c", "_u", "Z",
                           "~t", "\xC4pfel"}) {
    setText(values, name, "x");
  }
  // Setting a value again does not move it.
  setText(values, "ALPHA", "y");
  EXPECT_EQ(valueNames(values), (std::vector<std::string>{"", "10", "9", "@at", "[b", "^c", "_u", "a", "Alpha", "B",
                                                          "beta", "Caf\xE9", "Z", "zeta", "~t", "\xC4pfel"}));
}

TEST_F(PortableRegistryTest, PathFormsFollowWindows) {
  open();
  const HKEY root = create(HKEY_CURRENT_USER, "Software\\SemTest");
  struct Case {
    const char* path;
    bool create;
    Status expected;
  };
  const Case cases[] = {
      {"Trail\\", true, status::Success},      {"Trail\\", false, status::Success},
      {"Trail2\\Sub\\", true, status::Success}, {"\\Lead", true, status::BadPathname},
      {"\\Lead", false, status::BadPathname},  {"Dbl\\\\Sub", true, status::Success},
      {"Dbl\\Sub", false, status::Success},    {"Missing", false, status::FileNotFound},
      {"Missing\\Deeper", false, status::FileNotFound},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    HKEY key = 0;
    const Status s = c.create ? reg().createKey(root, c.path, regaccess::AllAccess, key, nullptr)
                              : reg().openKey(root, c.path, regaccess::AllAccess, key);
    EXPECT_EQ(s, c.expected);
  }
  EXPECT_EQ(subkeys(root), (std::vector<std::string>{"Dbl", "Trail", "Trail2"}));
  EXPECT_EQ(subkeys(openKey(root, "Dbl")), std::vector<std::string>{"Sub"});

  HKEY key = 0;
  EXPECT_EQ(reg().openKey(root, std::string(257, 'n'), regaccess::QueryValue, key), status::InvalidParameter);
  EXPECT_EQ(reg().createKey(root, std::string(256, 'n'), regaccess::AllAccess, key, nullptr), status::Success);

  // An empty subkey: a new handle to the same key, and a "created" disposition.
  const HKEY same = openKey(root, "");
  EXPECT_NE(same, root);
  EXPECT_EQ(subkeys(same).size(), 4u);
  std::uint32_t disposition = 0;
  create(root, "", &disposition);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  // The predefined roots come back as themselves.
  EXPECT_EQ(openKey(HKEY_CURRENT_USER, ""), HKEY_CURRENT_USER);
}

TEST_F(PortableRegistryTest, DeletionFollowsWindows) {
  open();
  const HKEY root = create(HKEY_CURRENT_USER, "Software\\SemTest");
  create(root, "Parent\\Child");
  EXPECT_EQ(reg().deleteKey(root, "Parent"), status::AccessDenied);
  EXPECT_EQ(subkeys(root), std::vector<std::string>{"Parent"});
  EXPECT_EQ(reg().deleteKey(root, "Nothing"), status::FileNotFound);
  EXPECT_EQ(reg().deleteKey(root, "Parent\\Child"), status::Success);
  EXPECT_EQ(reg().deleteKey(root, "PARENT"), status::Success);
  EXPECT_TRUE(subkeys(root).empty());

  setText(root, "v", "x");
  EXPECT_EQ(reg().deleteValue(root, "V"), status::Success);
  EXPECT_EQ(reg().deleteValue(root, "v"), status::FileNotFound);

  // A handle to a deleted key reports it; other handles still work.
  const HKEY doomed = create(root, "Doomed");
  EXPECT_EQ(reg().deleteKey(root, "Doomed"), status::Success);
  EXPECT_EQ(reg().setValue(doomed, "v", regtype::Dword, nullptr, 0), status::KeyDeleted);
  EXPECT_EQ(reg().closeKey(doomed), status::Success);
  // Deleting the empty path deletes the handle's own key; hive roots stay.
  const HKEY self = create(root, "Self");
  EXPECT_EQ(reg().deleteKey(self, ""), status::Success);
  EXPECT_EQ(reg().deleteKey(HKEY_CURRENT_USER, ""), status::AccessDenied);
  EXPECT_EQ(reg().deleteKey(HKEY_USERS, ".Default"), status::AccessDenied);
}

TEST_F(PortableRegistryTest, StringReadsFollowTheNulRules) {
  open();
  const HKEY key = create(HKEY_CURRENT_USER, "Software\\SemTest\\Strings");
  auto set = [&](const char* name, std::string data) {
    ASSERT_EQ(reg().setValue(key, name, regtype::Sz, reinterpret_cast<const std::uint8_t*>(data.data()),
                             static_cast<std::uint32_t>(data.size())),
              status::Success);
  };
  set("empty", "");
  set("abc", "abc");
  set("abc0", std::string("abc\0", 4));
  set("multi", std::string("a\0b\0\0", 5));

  struct Case {
    const char* name;
    std::uint32_t buffer;
    Status status;
    std::uint32_t size;
    std::string contents;  // the buffer afterwards, '#' where untouched
  };
  const Case cases[] = {
      {"empty", 4, status::Success, 0, "####"},
      {"abc", 5, status::Success, 3, std::string("abc\0#", 5)},  // a NUL appended when there is room
      {"abc", 3, status::Success, 3, "abc"},
      {"abc", 2, status::MoreData, 3, "##"},
      {"abc0", 3, status::MoreData, 4, "###"},
      {"abc0", 4, status::Success, 4, std::string("abc\0", 4)},
      {"multi", 8, status::Success, 5, std::string("a\0b\0\0###", 8)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " into " + std::to_string(c.buffer));
    std::string buffer(c.buffer, '#');
    std::uint32_t size = c.buffer;
    std::uint32_t type = 0;
    EXPECT_EQ(reg().queryValue(key, c.name, &type, reinterpret_cast<std::uint8_t*>(buffer.data()), &size), c.status);
    EXPECT_EQ(type, regtype::Sz);
    EXPECT_EQ(size, c.size);
    EXPECT_EQ(buffer, c.contents);
  }
  // Size only.
  std::uint32_t size = 99;
  EXPECT_EQ(reg().queryValue(key, "abc0", nullptr, nullptr, &size), status::Success);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(reg().queryValue(key, "missing", nullptr, nullptr, &size), status::FileNotFound);
  std::uint8_t byte = 0;
  EXPECT_EQ(reg().queryValue(key, "abc", nullptr, &byte, nullptr), status::InvalidParameter);
}

TEST_F(PortableRegistryTest, DataCrossesAsCodePage1252AndIsKeptAsUtf16) {
  open();
  const HKEY key = create(HKEY_CURRENT_USER, "Software\\SemTest\\High\xE9\x80\xFF");
  setText(key, "Gr\xFC\xDF" "e\x80", "Caf\xE9 \x80");
  setText(key, "expand", "%PATH%;x", regtype::ExpandSz);
  const std::uint8_t dword[] = {7, 0, 0, 0};
  ASSERT_EQ(reg().setValue(key, "dword", regtype::Dword, dword, 4), status::Success);
  const std::uint8_t binary[] = {0, 0, 1, 2};
  ASSERT_EQ(reg().setValue(key, "be", regtype::DwordBigEndian, binary, 4), status::Success);
  ASSERT_EQ(reg().setValue(key, "multi", regtype::MultiSz, reinterpret_cast<const std::uint8_t*>("a\0b\0\0"), 5),
            status::Success);
  reopen();

  const std::string file = read("user.reg");
  EXPECT_NE(file.find("\n[Software\\\\SemTest\\\\High\\xe9\\x20ac\\xff] 1796988641\n#time=1dd89630d668216\n"),
            std::string::npos)
      << file;
  EXPECT_NE(file.find("\n\"Gr\\xfc\\x00dfe\\x20ac\"=\"Caf\\xe9 \\x20ac\"\n"), std::string::npos) << file;
  EXPECT_NE(file.find("\n\"expand\"=str(2):\"%PATH%;x\"\n"), std::string::npos) << file;
  EXPECT_NE(file.find("\n\"multi\"=str(7):\"a\\0b\\0\"\n"), std::string::npos) << file;
  EXPECT_NE(file.find("\n\"dword\"=dword:00000007\n"), std::string::npos) << file;
  EXPECT_NE(file.find("\n\"be\"=hex(5):00,00,01,02\n"), std::string::npos) << file;

  const HKEY again = openKey(HKEY_CURRENT_USER, "software\\semtest\\HIGH\xC9\x80\xFF");
  EXPECT_EQ(value(again, "GR\xDC\xDF" "E\x80"), std::make_pair(regtype::Sz, std::string("Caf\xE9 \x80\0", 7)));
  EXPECT_EQ(value(again, "multi"), std::make_pair(regtype::MultiSz, std::string("a\0b\0\0", 5)));
  EXPECT_EQ(value(again, "be"), std::make_pair(regtype::DwordBigEndian, std::string("\0\0\1\2", 4)));
  // A character that code page 1252 lacks reads as '?'.
  write("user.reg", head("REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000") + "\n[Greek]\n\"\\x3a9\"=\"\\x3b1\"\n");
  open();
  const HKEY greek = openKey(HKEY_CURRENT_USER, "Greek");
  EXPECT_EQ(valueNames(greek), std::vector<std::string>{"?"});
  EXPECT_EQ(value(greek, "?").first, 0xFFFF0000u | status::FileNotFound);
}

TEST_F(PortableRegistryTest, DefaultValueAndKeyInfo) {
  open();
  const HKEY key = create(HKEY_CURRENT_USER, "Software\\SemTest\\Info");
  EXPECT_EQ(value(key, "").first, 0xFFFF0000u | status::FileNotFound);
  setText(key, "", "dflt");
  EXPECT_EQ(value(key, ""), std::make_pair(regtype::Sz, std::string("dflt\0", 5)));

  setText(key, "12345", "12345678");
  setText(key, "twelve chars", "x");
  setText(key, std::string(13, '\xE9'), "y");
  create(key, "seventeen chars!!");
  RegKeyInfo info;
  ASSERT_EQ(reg().queryInfoKey(key, info), status::Success);
  EXPECT_EQ(info.subKeys, 1u);
  EXPECT_EQ(info.maxSubKeyLen, 17u);
  EXPECT_EQ(info.values, 4u);
  EXPECT_EQ(info.maxValueNameLen, 13u);
  EXPECT_EQ(info.maxValueLen, 18u);  // "12345678\0" as UTF-16 bytes

  // RegEnumValueA needs room for the name and its NUL.
  char name[32];
  std::uint32_t size = 5;
  EXPECT_EQ(reg().enumValue(key, 1, name, &size, nullptr), status::MoreData);
  EXPECT_EQ(std::string(name), "1234");
  size = 6;
  std::uint32_t type = 0;
  EXPECT_EQ(reg().enumValue(key, 1, name, &size, &type), status::Success);
  EXPECT_EQ(std::string(name), "12345");
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(type, regtype::Sz);
  EXPECT_EQ(reg().enumValue(key, 4, name, &size, nullptr), status::NoMoreItems);
  EXPECT_EQ(reg().enumKey(key, 0, name, 17), status::MoreData);
  EXPECT_EQ(reg().enumKey(key, 0, name, 18), status::Success);
  EXPECT_EQ(reg().enumKey(key, 1, name, 18), status::NoMoreItems);
}

TEST_F(PortableRegistryTest, HandlesAndAccess) {
  open();
  const HKEY key = create(HKEY_CURRENT_USER, "Software\\SemTest\\Handles");
  setText(key, "v", "x");
  const HKEY queryOnly = openKey(HKEY_CURRENT_USER, "Software\\SemTest\\Handles", regaccess::QueryValue);
  const HKEY enumOnly = openKey(HKEY_CURRENT_USER, "Software\\SemTest", regaccess::EnumerateSubKeys);
  char name[64];
  std::uint32_t size = sizeof name;
  EXPECT_EQ(reg().enumKey(queryOnly, 0, name, sizeof name), status::AccessDenied);
  EXPECT_EQ(reg().setValue(queryOnly, "w", regtype::Binary, nullptr, 0), status::AccessDenied);
  EXPECT_EQ(reg().deleteValue(queryOnly, "v"), status::AccessDenied);
  EXPECT_EQ(reg().enumValue(enumOnly, 0, name, &size, nullptr), status::AccessDenied);
  EXPECT_EQ(reg().enumKey(enumOnly, 0, name, sizeof name), status::Success);
  EXPECT_EQ(value(queryOnly, "v").first, regtype::Sz);
  // Creating below a read-only handle needs no right on it, as in Windows.
  create(queryOnly, "Child");

  EXPECT_EQ(reg().closeKey(queryOnly), status::Success);
  EXPECT_EQ(reg().closeKey(queryOnly), status::InvalidHandle);
  EXPECT_EQ(value(queryOnly, "v").first, 0xFFFF0000u | status::InvalidHandle);
  EXPECT_EQ(reg().closeKey(HKEY_LOCAL_MACHINE), status::Success);
  EXPECT_EQ(reg().closeKey(12345), status::InvalidHandle);
  HKEY result = 0;
  EXPECT_EQ(reg().openKey(0x80000004u, "x", regaccess::QueryValue, result), status::InvalidHandle);
  // Freed handle numbers are used again.
  EXPECT_EQ(openKey(HKEY_CURRENT_USER, "Software"), queryOnly);
}

TEST_F(PortableRegistryTest, RootsMapToTheHives) {
  write("system.reg", head("REGISTRY\\\\Machine") + "\n[Software\\\\Classes\\\\.txt]\n@=\"txtfile\"\n");
  write("user.reg", head("REGISTRY\\\\User\\\\S-1-5-21-1-2-3-1001") +
                        "\n[Software\\\\Classes\\\\.txt]\n@=\"user\"\n\n[Software\\\\Classes\\\\OnlyUser]\n");
  open();
  // HKEY_CLASSES_ROOT is HKLM\Software\Classes; the user's classes do not show through.
  EXPECT_EQ(value(openKey(HKEY_CLASSES_ROOT, ".txt"), "").second, std::string("txtfile\0", 8));
  HKEY key = 0;
  EXPECT_EQ(reg().openKey(HKEY_CLASSES_ROOT, "OnlyUser", regaccess::QueryValue, key), status::FileNotFound);
  EXPECT_EQ(value(openKey(HKEY_CLASSES_ROOT, "\\.txt"), "").second, std::string("txtfile\0", 8));
  EXPECT_EQ(subkeys(HKEY_USERS), (std::vector<std::string>{".Default", "S-1-5-21-1-2-3-1001"}));
  EXPECT_EQ(value(openKey(HKEY_USERS, "S-1-5-21-1-2-3-1001\\Software\\Classes\\.txt"), "").second,
            std::string("user\0", 5));
  EXPECT_EQ(reg().createKey(HKEY_USERS, "NewUser", regaccess::AllAccess, key, nullptr), status::AccessDenied);

  create(HKEY_USERS, ".Default\\Control Panel");
  create(HKEY_CLASSES_ROOT, ".pgv");
  reopen();
  EXPECT_NE(read("userdef.reg").find(";; All keys relative to REGISTRY\\\\User\\\\.Default\n\n#arch=win32\n"
                                     "\n[Control Panel] 1796988641\n"),
            std::string::npos)
      << read("userdef.reg");
  EXPECT_NE(read("system.reg").find("\n[Software\\\\Classes\\\\.pgv] 1796988641\n"), std::string::npos);
  EXPECT_NE(read("user.reg").find(";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-1-2-3-1001\n"),
            std::string::npos);
}

// A small 64-bit machine laid out as Wine lays out its prefixes.
std::string machine64(const char* arch) {
  return head("REGISTRY\\\\Machine", arch) +
         "\n[Software\\\\Classes\\\\.txt]\n@=\"txtfile\"\n"
         "\n[Software\\\\Classes\\\\AppID]\n"
         "\n[Software\\\\Classes\\\\CLSID]\n"
         "\n[Software\\\\Classes\\\\Wow6432Node\\\\AppID]\n#link\n" +
         linkValue("\\Registry\\Machine\\Software\\Classes\\AppID") +
         "\n[Software\\\\Classes\\\\Wow6432Node\\\\CLSID]\n"
         "\n[Software\\\\Classes\\\\Wow6432Node\\\\Interface]\n"
         "\n[Software\\\\Vendor]\n\"Where\"=\"64\"\n"
         "\n[Software\\\\Wow6432Node\\\\Classes]\n#link\n" +
         linkValue("\\Registry\\Machine\\Software\\Classes\\Wow6432Node") +
         "\n[Software\\\\Wow6432Node\\\\Vendor]\n\"Where\"=\"32\"\n"
         "\n[System\\\\ControlSet001\\\\Services]\n"
         "\n[System\\\\CurrentControlSet]\n#link\n" +
         linkValue("\\Registry\\Machine\\System\\ControlSet001");
}

TEST_F(PortableRegistryTest, A64BitMachineIsSeenAsA32BitProcessSeesIt) {
  write("system.reg", machine64("win64"));
  open();
  EXPECT_TRUE(reg().is64BitMachine());
  EXPECT_EQ(value(openKey(HKEY_LOCAL_MACHINE, "Software\\Vendor"), "Where").second, std::string("32\0", 3));
  EXPECT_EQ(value(openKey(HKEY_LOCAL_MACHINE, "Software\\Wow6432Node\\Vendor"), "Where").second,
            std::string("32\0", 3));
  EXPECT_EQ(subkeys(openKey(HKEY_LOCAL_MACHINE, "Software")), (std::vector<std::string>{"Classes", "Vendor"}));
  EXPECT_EQ(value(openKey(HKEY_CLASSES_ROOT, ".txt"), "").second, std::string("txtfile\0", 8));
  EXPECT_EQ(value(openKey(HKEY_LOCAL_MACHINE, "Software\\Classes\\.txt"), "").second, std::string("txtfile\0", 8));

  struct Case {
    HKEY root;
    const char* path;
    const char* savedAs;
  };
  const Case cases[] = {
      {HKEY_LOCAL_MACHINE, "Software\\NewCo\\App", "Software\\\\Wow6432Node\\\\NewCo\\\\App"},
      {HKEY_LOCAL_MACHINE, "Software\\Vendor\\Sub", "Software\\\\Wow6432Node\\\\Vendor\\\\Sub"},
      {HKEY_CLASSES_ROOT, "CLSID\\{1234}", "Software\\\\Classes\\\\Wow6432Node\\\\CLSID\\\\{1234}"},
      {HKEY_CLASSES_ROOT, "Interface\\{5678}", "Software\\\\Classes\\\\Wow6432Node\\\\Interface\\\\{5678}"},
      {HKEY_CLASSES_ROOT, ".pgv", "Software\\\\Classes\\\\.pgv"},
      {HKEY_CLASSES_ROOT, "AppID\\{9abc}", "Software\\\\Classes\\\\AppID\\\\{9abc}"},
      {HKEY_CLASSES_ROOT, "TypeLib\\{def0}", "Software\\\\Classes\\\\TypeLib\\\\{def0}"},
      {HKEY_LOCAL_MACHINE, "Software\\Classes\\CLSID\\{4321}", "Software\\\\Classes\\\\Wow6432Node\\\\CLSID\\\\{4321}"},
      {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Pgv", "System\\\\ControlSet001\\\\Services\\\\Pgv"},
      {HKEY_CURRENT_USER, "Software\\Pgv", "Software\\\\Pgv"},
  };
  for (const Case& c : cases) setText(create(c.root, c.path), "v", c.path);
  reopen();
  const std::string system = read("system.reg") + read("user.reg");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_NE(system.find(std::string("\n[") + c.savedAs + "] "), std::string::npos);
    EXPECT_EQ(value(openKey(c.root, c.path), "v").second, std::string(c.path) + '\0');
  }
}

TEST_F(PortableRegistryTest, A32BitMachineRedirectsNothing) {
  write("system.reg", machine64("win32"));
  open();
  EXPECT_FALSE(reg().is64BitMachine());
  EXPECT_EQ(value(openKey(HKEY_LOCAL_MACHINE, "Software\\Vendor"), "Where").second, std::string("64\0", 3));
  create(HKEY_LOCAL_MACHINE, "Software\\NewCo");
  create(HKEY_CLASSES_ROOT, "CLSID\\{1234}");
  create(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Pgv");  // links work on any machine
  reopen();
  const std::string system = read("system.reg");
  EXPECT_NE(system.find("\n[Software\\\\NewCo] "), std::string::npos);
  EXPECT_NE(system.find("\n[Software\\\\Classes\\\\CLSID\\\\{1234}] "), std::string::npos);
  EXPECT_NE(system.find("\n[System\\\\ControlSet001\\\\Services\\\\Pgv] "), std::string::npos);
}

TEST_F(PortableRegistryTest, FlushWritesOnlyChangedHives) {
  write("system.reg", machine64("win64"));
  const std::string userText = head("REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000", "win64") +
                               "\n[Software\\\\Pgv] 1690473301\n#time=1d9c0a2b3c4d5e6\n\"v\"=\"x\"\n";
  write("user.reg", userText);
  open();
  EXPECT_FALSE(reg().dirty());
  const HKEY key = openKey(HKEY_CURRENT_USER, "Software\\Pgv");
  setText(key, "v", "x");  // the same data: no change
  create(HKEY_CURRENT_USER, "Software\\Pgv");
  openKey(HKEY_CLASSES_ROOT, "CLSID");
  EXPECT_FALSE(reg().dirty());
  ASSERT_EQ(reg().flush(), status::Success);
  EXPECT_FALSE(test::hostFileExists(dir_ / "userdef.reg"));

  struct stat before {};
  ::stat((dir_ / "system.reg").c_str(), &before);
  setText(key, "v", "y");
  EXPECT_TRUE(reg().dirty());
  ASSERT_EQ(reg().flush(), status::Success);
  EXPECT_FALSE(reg().dirty());
  struct stat after {};
  ::stat((dir_ / "system.reg").c_str(), &after);
  EXPECT_EQ(before.st_ino, after.st_ino);  // not replaced
  EXPECT_EQ(read("system.reg"), machine64("win64"));
  // The changed key got the current time.
  EXPECT_EQ(read("user.reg"), head("REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000", "win64") +
                                  "\n[Software\\\\Pgv] 1796988641\n#time=1dd89630d668216\n\"v\"=\"y\"\n");
  EXPECT_FALSE(test::hostFileExists(dir_ / "user.reg.tmp"));
}

TEST_F(PortableRegistryTest, ConnectRegistryKnowsOnlyThisMachine) {
  write("system.reg", head("REGISTRY\\\\Machine") +
                          "\n[System\\\\CurrentControlSet\\\\Control\\\\ComputerName\\\\ComputerName]\n"
                          "\"ComputerName\"=\"PGVBOX\"\n");
  open();
  HKEY result = 0;
  EXPECT_EQ(reg().connectRegistry("", HKEY_LOCAL_MACHINE, result), status::Success);
  EXPECT_EQ(result, HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reg().connectRegistry("\\\\pgvbox", HKEY_CURRENT_USER, result), status::Success);
  EXPECT_EQ(result, HKEY_CURRENT_USER);
  EXPECT_EQ(reg().connectRegistry("\\\\OTHER", HKEY_LOCAL_MACHINE, result), status::BadNetPath);
}

TEST_F(PortableRegistryTest, ADamagedHiveRefusesTheMachineAndStaysUntouched) {
  const std::string damaged = head("REGISTRY\\\\Machine") + "\n[Key]\n\"v\"=hex:01,0g\n";
  write("system.reg", damaged);
  std::unique_ptr<PortableRegistry> registry;
  std::string error;
  EXPECT_EQ(PortableRegistry::open(dir_.path(), registry, error), status::BadDbFormat);
  EXPECT_EQ(error, "cannot read registry file " + (dir_ / "system.reg") + ", line 7: bad hex data");
  EXPECT_EQ(read("system.reg"), damaged);

  write("system.reg", head("REGISTRY\\\\Machine", "win64"));
  write("user.reg", head("REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000", "win32"));
  EXPECT_EQ(PortableRegistry::open(dir_.path(), registry, error), status::BadDbFormat);
  EXPECT_EQ(error, "cannot read registry file " + (dir_ / "user.reg") +
                       ", line 4: architecture win32 does not match the machine's win64");
  EXPECT_EQ(PortableRegistry::open(dir_ / "absent", registry, error), status::PathNotFound);
}

// A process that holds the lock a running wineserver holds.
class FakeWineServer {
 public:
  explicit FakeWineServer(const std::string& lockFile) {
    int ready[2];
    EXPECT_EQ(::pipe(ready), 0);
    EXPECT_EQ(::pipe(stop_), 0);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(stop_[1]);  // so that the parent closing its end ends the read below
      const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT, 0600);
      struct flock lock {};
      lock.l_type = F_WRLCK;
      lock.l_whence = SEEK_SET;
      const char ok = (fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0) ? 'y' : 'n';
      (void)!::write(ready[1], &ok, 1);
      char c;
      (void)!::read(stop_[0], &c, 1);
      ::_exit(0);
    }
    char ok = 'n';
    EXPECT_EQ(::read(ready[0], &ok, 1), 1);
    EXPECT_EQ(ok, 'y');
    ::close(ready[0]);
    ::close(ready[1]);
  }
  ~FakeWineServer() {
    ::close(stop_[1]);
    ::close(stop_[0]);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }

 private:
  pid_t pid_ = -1;
  int stop_[2] = {-1, -1};
};

TEST_F(PortableRegistryTest, ARunningWineServerRefusesTheMachine) {
  struct stat st {};
  ASSERT_EQ(::stat(dir_.path().c_str(), &st), 0);
  char server[64];
  std::snprintf(server, sizeof server, "server-%llx-%llx", static_cast<unsigned long long>(st.st_dev),
                static_cast<unsigned long long>(st.st_ino));

  // Debian's wineserver records its temporary folder's name in the prefix.
  test::TempDir temporary;
  const std::string name = temporary.path().substr(temporary.path().rfind('/') + 1);
  const std::string folder = temporary.path().substr(0, temporary.path().rfind('/'));
  if (folder != "/tmp") ::setenv("TMPDIR", folder.c_str(), 1);
  write("wineserver", name + "\n");
  ::mkdir((temporary / server).c_str(), 0700);
  {
    FakeWineServer wine(temporary / server + "/lock");
    EXPECT_TRUE(wineServerRunning(dir_.path()));
    std::unique_ptr<PortableRegistry> registry;
    std::string error;
    EXPECT_EQ(PortableRegistry::open(dir_.path(), registry, error), status::SharingViolation);
    EXPECT_NE(error.find("Wine server is running"), std::string::npos) << error;
  }
  EXPECT_FALSE(wineServerRunning(dir_.path()));  // the lock file remains, its lock is gone
  open();

  // Upstream Wine's fixed place.
  const std::string upstream = "/tmp/.wine-" + std::to_string(::getuid());
  const bool madeUpstream = ::mkdir(upstream.c_str(), 0700) == 0;
  const std::string serverDir = upstream + "/" + server;
  ::mkdir(serverDir.c_str(), 0700);
  {
    FakeWineServer wine(serverDir + "/lock");
    EXPECT_TRUE(wineServerRunning(dir_.path()));
  }
  ::unlink((serverDir + "/lock").c_str());
  ::rmdir(serverDir.c_str());
  if (madeUpstream) ::rmdir(upstream.c_str());
  EXPECT_FALSE(wineServerRunning(dir_.path()));
}

}  // namespace
}  // namespace pgv::platform
