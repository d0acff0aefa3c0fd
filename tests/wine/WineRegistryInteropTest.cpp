// The portable registry against real Wine: a prefix made by wineboot is a machine
// folder whose hives this backend reads and writes without Wine noticing a difference.
// One prefix serves the whole suite (booting one takes tens of seconds).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Codepage.h"
#include "platform/portable/PortableRegistry.h"
#include "platform/portable/RegistryHive.h"
#include "tests/support/TempDir.h"

namespace pgv::platform {
namespace {

struct Captured {
  int status = -1;
  std::string output;
};

Captured run(const std::string& command) {
  Captured result;
  FILE* pipe = ::popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return result;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  result.status = ::pclose(pipe);
  return result;
}

std::string shellQuoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

std::vector<std::uint8_t> utf16Bytes(std::u16string_view text) {
  std::vector<std::uint8_t> out;
  for (char16_t c : text) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return out;
}

struct ExportedValue {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  bool operator==(const ExportedValue& other) const { return type == other.type && data == other.data; }
};

// The values of the first key of a "Windows Registry Editor Version 5.00" export
// (which goes on with the key's subkeys), by name.
std::map<std::u16string, ExportedValue> parseExport(const std::string& fileBytes) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < fileBytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<unsigned char>(fileBytes[i]) |
                                  (static_cast<unsigned char>(fileBytes[i + 1]) << 8));
  }
  // Join continuation lines.
  for (std::size_t at; (at = text.find(u"\\\r\n  ")) != std::u16string::npos;) text.erase(at, 5);
  std::map<std::u16string, ExportedValue> values;
  std::size_t pos = 0;
  int sections = 0;
  while (pos < text.size()) {
    std::size_t end = text.find(u"\r\n", pos);
    if (end == std::u16string::npos) end = text.size();
    std::u16string_view line(text.data() + pos, end - pos);
    pos = end + 2;
    if (!line.empty() && line[0] == u'[' && ++sections > 1) break;
    if (line.empty() || (line[0] != u'"' && line[0] != u'@')) continue;
    std::u16string name;
    std::size_t i = 1;
    if (line[0] == u'"') {
      for (; i < line.size() && line[i] != u'"'; ++i) {
        if (line[i] == u'\\') ++i;
        name += line[i];
      }
      ++i;
    }
    ++i;  // '='
    std::u16string_view data = line.substr(i);
    ExportedValue value;
    if (!data.empty() && data[0] == u'"') {
      std::u16string s;
      for (std::size_t k = 1; k + 1 < data.size(); ++k) {
        if (data[k] == u'\\') ++k;
        s += data[k];
      }
      value.type = regtype::Sz;
      value.data = utf16Bytes(s + u'\0');
    } else if (data.substr(0, 6) == u"dword:") {
      const auto number = std::stoul(utf16ToUtf8(data.substr(6)), nullptr, 16);
      value.type = regtype::Dword;
      for (int b = 0; b < 4; ++b) value.data.push_back(static_cast<std::uint8_t>(number >> (8 * b)));
    } else {
      value.type = regtype::Binary;
      std::size_t colon = data.find(u':');
      if (data.substr(0, 4) == u"hex(") value.type = std::stoul(utf16ToUtf8(data.substr(4, colon - 5)), nullptr, 16);
      const std::string hex = utf16ToUtf8(data.substr(colon + 1));
      for (std::size_t k = 0; k + 1 < hex.size() + 1; k += 3) {
        value.data.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(k, 2), nullptr, 16)));
      }
    }
    values[name] = value;
  }
  return values;
}

// The suite's prefix is made once and kept in the build folder: every test of the suite
// uses it (ctest runs each test in a process of its own), and a lock file keeps two
// processes from using it at the same time. Delete the folder for a fresh boot.
class WineRegistryInteropTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!findWine()) {
      skipReason_ = "wine is not on PATH (or cannot run programs here): skipping the Wine interoperability tests";
      return;
    }
    const char* binary = std::getenv("PGV_BINARY_DIR");
    const std::string build = binary && *binary ? binary : PGV_BINARY_DIR;
    prefix_ = build + "/wine-registry-prefix";
    pristine_ = build + "/wine-registry-pristine";
    ::setenv("WINEPREFIX", prefix_.c_str(), 1);
    ::setenv("WINEDEBUG", "-all", 1);
    ::setenv("LC_ALL", "C.UTF-8", 1);  // command-line arguments reach Wine as UTF-8
    ::unsetenv("DISPLAY");
    lock_ = ::open((build + "/wine-registry-prefix.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lock_ >= 0) ::flock(lock_, LOCK_EX);
    if (!test::hostFileExists(pristine_ + "/userdef.reg")) bootPrefix();
    if (!test::hostFileExists(prefix_ + "/system.reg")) {
      skipReason_ = "wineboot did not create a prefix in " + prefix_;
    }
  }
  static void TearDownTestSuite() {
    if (!prefix_.empty()) run("wineserver -k");
    if (lock_ >= 0) ::close(lock_);
    lock_ = -1;
  }
  static void bootPrefix() {
    run("wineserver -k");
    run("rm -rf " + shellQuoted(prefix_) + " " + shellQuoted(pristine_));
    run(wine_ + " wineboot -i");
    waitForServer();
    // Wine's own files as wineboot left them, for the round-trip test.
    run("mkdir -p " + shellQuoted(pristine_) + " && cp " + shellQuoted(prefix_) + "/system.reg " +
        shellQuoted(prefix_) + "/user.reg " + shellQuoted(prefix_) + "/userdef.reg " + shellQuoted(pristine_));
  }
  void SetUp() override {
    if (!skipReason_.empty()) GTEST_SKIP() << skipReason_;
  }

  // The first Wine loader that runs: `wine` needs 32-bit support, wine64 does not.
  static bool findWine() {
    for (const char* candidate : {"wine", "wine64", "/usr/lib/wine/wine64"}) {
      if (run(std::string("WINEDEBUG=-all ") + candidate + " --version").status == 0) {
        wine_ = candidate;
        return true;
      }
    }
    return false;
  }
  static void waitForServer() { run("wineserver -w"); }
  static Captured wine(const std::string& arguments) { return run(wine_ + " " + arguments); }

  std::unique_ptr<PortableRegistry> openMachine() {
    std::unique_ptr<PortableRegistry> registry;
    std::string error;
    EXPECT_EQ(PortableRegistry::open(prefix_, registry, error), status::Success) << error;
    return registry;
  }
  std::map<std::u16string, ExportedValue> exported(const std::string& key) {
    test::TempDir dir;
    wine("reg export " + shellQuoted(key) + " " + shellQuoted(dir / "out.reg") + " /y");
    return parseExport(test::readHostFile(dir / "out.reg"));
  }
  std::string read(const std::string& file) { return test::readHostFile(prefix_ + "/" + file); }

  static std::string wine_;
  static std::string prefix_;
  static std::string pristine_;
  static std::string skipReason_;
  static int lock_;
};

std::string WineRegistryInteropTest::wine_;
std::string WineRegistryInteropTest::prefix_;
std::string WineRegistryInteropTest::pristine_;
std::string WineRegistryInteropTest::skipReason_;
int WineRegistryInteropTest::lock_ = -1;

std::string firstDifference(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  const std::size_t from = a.rfind('\n', i) == std::string::npos ? 0 : a.rfind('\n', i) + 1;
  return "first difference at byte " + std::to_string(i) + ": \"" + a.substr(from, 120) + "\" vs \"" +
         b.substr(from, 120) + "\"";
}

TEST_F(WineRegistryInteropTest, HivesOfAFreshPrefixSurviveALoadAndSaveUnchanged) {
  // Wine's files, loaded and saved, come out byte for byte the same.
  test::TempDir out;
  for (const char* file : {"system.reg", "user.reg", "userdef.reg"}) {
    SCOPED_TRACE(file);
    const std::string original = test::readHostFile(pristine_ + "/" + file);
    RegistryHive hive("X", u"Root");
    bool missing = true;
    std::string error;
    ASSERT_TRUE(RegistryHive::loadFile(pristine_ + "/" + file, hive, currentFileTime(), missing, error)) << error;
    ASSERT_FALSE(missing);
    ASSERT_EQ(hive.saveFile(out / file, error), status::Success) << error;
    const std::string saved = test::readHostFile(out / file);
    EXPECT_TRUE(saved == original) << firstDifference(original, saved);
  }

  // The machine's own hives rewritten by this backend read the same in Wine.
  const auto before = exported("HKCU\\Control Panel\\Desktop");
  waitForServer();
  for (const char* file : {"system.reg", "user.reg", "userdef.reg"}) {
    RegistryHive hive("X", u"Root");
    bool missing = true;
    std::string error;
    ASSERT_TRUE(RegistryHive::loadFile(prefix_ + "/" + file, hive, currentFileTime(), missing, error)) << error;
    ASSERT_EQ(hive.saveFile(prefix_ + "/" + file, error), status::Success) << error;
  }
  auto registry = openMachine();
  ASSERT_TRUE(registry);
  EXPECT_TRUE(registry->is64BitMachine());
  EXPECT_FALSE(registry->dirty());
  EXPECT_FALSE(before.empty());
  EXPECT_TRUE(exported("HKCU\\Control Panel\\Desktop") == before);
  waitForServer();
}

TEST_F(WineRegistryInteropTest, ValuesWrittenByTheBackendReadTheSameInWine) {
  struct Written {
    std::string name;  // code page 1252
    std::uint32_t type;
    std::string data;  // ANSI bytes as passed to RegSetValueExA
  };
  std::string binary;
  for (int i = 0; i < 100; ++i) binary += static_cast<char>(i * 7);
  const Written values[] = {
      {"", regtype::Sz, std::string("dflt\0", 5)},
      {"sz", regtype::Sz, std::string("plain text\\with \"quotes\"") + '\0'},
      {"Gr\xFC\xDF" "e\x80", regtype::Sz, std::string("Caf\xE9 \x80uro\0", 10)},
      {"expand", regtype::ExpandSz, std::string("%SystemRoot%\\system32\0", 22)},
      {"multi", regtype::MultiSz, std::string("one\0two\0\0", 9)},
      {"dword", regtype::Dword, std::string("\x78\x56\x34\x12", 4)},
      {"qword", regtype::Qword, std::string("\x88\x77\x66\x55\x44\x33\x22\x11", 8)},
      {"binary", regtype::Binary, binary},
      {"none", regtype::None, std::string("\x01\x02", 2)},
      {"bigendian", regtype::DwordBigEndian, std::string("\0\0\1\2", 4)},
  };
  {
    auto registry = openMachine();
    ASSERT_TRUE(registry);
    HKEY key = 0;
    ASSERT_EQ(registry->createKey(HKEY_CURRENT_USER, "Software\\PgvInterop", regaccess::AllAccess, key, nullptr),
              status::Success);
    for (const Written& v : values) {
      ASSERT_EQ(registry->setValue(key, v.name, v.type, reinterpret_cast<const std::uint8_t*>(v.data.data()),
                                   static_cast<std::uint32_t>(v.data.size())),
                status::Success);
    }
    ASSERT_EQ(registry->setValue(key, "nonul", regtype::Sz, reinterpret_cast<const std::uint8_t*>("abc"), 3),
              status::Success);
    struct Placed {
      HKEY root;
      const char* path;
      const char* value;
    };
    const Placed placed[] = {
        {HKEY_CURRENT_USER, "Software\\PgvInterop\\High\xE9\x80\xFF", "high"},
        {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\PgvInterop", "service"},
        {HKEY_LOCAL_MACHINE, "Software\\PgvInterop", "wow64"},
        {HKEY_CLASSES_ROOT, "CLSID\\{0F2D6E4E-6C43-4F3B-9D4E-5A1B2C3D4E5F}", "clsid32"},
        {HKEY_CLASSES_ROOT, ".pgvinterop", "shared"},
    };
    for (const Placed& p : placed) {
      HKEY sub = 0;
      ASSERT_EQ(registry->createKey(p.root, p.path, regaccess::AllAccess, sub, nullptr), status::Success) << p.path;
      const std::string data = std::string(p.value) + '\0';
      ASSERT_EQ(registry->setValue(sub, "", regtype::Sz, reinterpret_cast<const std::uint8_t*>(data.data()),
                                   static_cast<std::uint32_t>(data.size())),
                status::Success);
    }
    ASSERT_EQ(registry->flush(), status::Success) << registry->lastError();
  }

  const auto seen = exported("HKCU\\Software\\PgvInterop");
  for (const Written& v : values) {
    SCOPED_TRACE(v.name);
    ExportedValue expected;
    expected.type = v.type;
    const bool isString = v.type == regtype::Sz || v.type == regtype::ExpandSz || v.type == regtype::MultiSz;
    expected.data = isString ? utf16Bytes(ansiToUtf16(v.data))
                             : std::vector<std::uint8_t>(v.data.begin(), v.data.end());
    const auto found = seen.find(ansiToUtf16(v.name));
    ASSERT_NE(found, seen.end());
    EXPECT_TRUE(found->second == expected);
  }
  // reg export drops the last character of a string stored without its NUL; reg query shows it whole.
  EXPECT_NE(wine("reg query 'HKCU\\Software\\PgvInterop' /v nonul").output.find("nonul    REG_SZ    abc\r\n"),
            std::string::npos);
  EXPECT_EQ(exported("HKCU\\Software\\PgvInterop\\High\xC3\xA9\xE2\x82\xAC\xC3\xBF")[u""].data,
            utf16Bytes(std::u16string(u"high") + u'\0'));

  struct Query {
    const char* key;
    const char* view;
    const char* expected;  // "" when the key must not be found
  };
  const Query queries[] = {
      {"HKLM\\System\\CurrentControlSet\\Services\\PgvInterop", "/reg:64", "service"},
      {"HKLM\\Software\\PgvInterop", "/reg:32", "wow64"},
      {"HKLM\\Software\\PgvInterop", "/reg:64", ""},
      {"HKCR\\CLSID\\{0F2D6E4E-6C43-4F3B-9D4E-5A1B2C3D4E5F}", "/reg:32", "clsid32"},
      {"HKCR\\CLSID\\{0F2D6E4E-6C43-4F3B-9D4E-5A1B2C3D4E5F}", "/reg:64", ""},
      {"HKCR\\.pgvinterop", "/reg:64", "shared"},  // shared keys are placed in the 64-bit classes
  };
  for (const Query& q : queries) {
    SCOPED_TRACE(std::string(q.key) + " " + q.view);
    const Captured result = wine("reg query " + shellQuoted(q.key) + " /ve " + q.view);
    if (*q.expected) {
      EXPECT_EQ(result.status, 0);
      EXPECT_NE(result.output.find(std::string("REG_SZ    ") + q.expected + "\r\n"), std::string::npos)
          << result.output;
    } else {
      EXPECT_NE(result.status, 0) << result.output;
    }
  }
  waitForServer();
}

TEST_F(WineRegistryInteropTest, ValuesWrittenByWineReadTheSameInTheBackend) {
  struct Added {
    const char* name;  // UTF-8 on the command line
    const char* type;
    const char* data;
    std::uint32_t expectedType;
    std::string expected;  // what RegQueryValueExA returns
  };
  const Added added[] = {
      {"sz", "REG_SZ", "plain text", regtype::Sz, std::string("plain text\0", 11)},
      {"Gr\xC3\xBC\xC3\x9F" "e\xE2\x82\xAC", "REG_SZ", "Caf\xC3\xA9 \xE2\x82\xACuro", regtype::Sz,
       std::string("Caf\xE9 \x80uro\0", 10)},
      {"expand", "REG_EXPAND_SZ", "%SystemRoot%\\x", regtype::ExpandSz, std::string("%SystemRoot%\\x\0", 15)},
      {"multi", "REG_MULTI_SZ", "one\\0two", regtype::MultiSz, std::string("one\0two\0\0", 9)},
      {"dword", "REG_DWORD", "0x12345678", regtype::Dword, std::string("\x78\x56\x34\x12", 4)},
      {"qword", "REG_QWORD", "0x1122334455667788", regtype::Qword, std::string("\x88\x77\x66\x55\x44\x33\x22\x11", 8)},
      {"binary", "REG_BINARY", "0102abff", regtype::Binary, std::string("\x01\x02\xab\xff", 4)},
  };
  std::string commands;
  for (const Added& a : added) {
    if (!commands.empty()) commands += " && ";
    commands += wine_ + " reg add 'HKCU\\Software\\PgvFromWine' /v " + shellQuoted(a.name) + " /t " + a.type + " /d " +
                shellQuoted(a.data) + " /f >/dev/null";
  }
  commands += " && " + wine_ + " reg add 'HKLM\\Software\\PgvFromWine' /ve /d wow /f /reg:32 >/dev/null";
  ASSERT_EQ(run(commands).status, 0);
  waitForServer();

  auto registry = openMachine();
  ASSERT_TRUE(registry);
  HKEY key = 0;
  ASSERT_EQ(registry->openKey(HKEY_CURRENT_USER, "Software\\PgvFromWine", regaccess::QueryValue, key),
            status::Success);
  for (const Added& a : added) {
    SCOPED_TRACE(a.name);
    const std::string name = utf8ToAnsi(a.name);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    ASSERT_EQ(registry->queryValue(key, name, &type, nullptr, &size), status::Success);
    std::string data(size, '\0');
    ASSERT_EQ(registry->queryValue(key, name, &type, reinterpret_cast<std::uint8_t*>(data.data()), &size),
              status::Success);
    EXPECT_EQ(type, a.expectedType);
    EXPECT_EQ(data, a.expected);
  }
  HKEY wow = 0;
  ASSERT_EQ(registry->openKey(HKEY_LOCAL_MACHINE, "Software\\PgvFromWine", regaccess::QueryValue, wow),
            status::Success);
  char text[16] = {};
  std::uint32_t size = sizeof text;
  EXPECT_EQ(registry->queryValue(wow, "", nullptr, reinterpret_cast<std::uint8_t*>(text), &size), status::Success);
  EXPECT_EQ(std::string(text), "wow");
}

TEST_F(WineRegistryInteropTest, ARunningWineServerKeepsTheMachineClosed) {
  ASSERT_EQ(run("wineserver -p >/dev/null").status, 0);
  std::unique_ptr<PortableRegistry> registry;
  std::string error;
  EXPECT_EQ(PortableRegistry::open(prefix_, registry, error), status::SharingViolation);
  EXPECT_NE(error.find("Wine server is running"), std::string::npos) << error;
  run("wineserver -k");
  waitForServer();
  EXPECT_EQ(PortableRegistry::open(prefix_, registry, error), status::Success) << error;
}

}  // namespace
}  // namespace pgv::platform
