#include "engine/services/cRegistry.h"

#include <gtest/gtest.h>

#include "platform/Codepage.h"
#include "tests/support/TestMachine.h"

namespace pgv::engine {
namespace {

namespace pf = pgv::platform;

struct Recorder : LogListener {
  void ShowLog(const std::string& msg) override { events.push_back(msg); }
  std::vector<std::string> events;
};

class cRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegistryLogHooks hooks;
    hooks.messageText = [](std::string_view key) { return "removed(" + std::string(key) + ")"; };
    hooks.addToLog = [this](const std::string& section, const std::string& txt) { logLines.push_back(section + txt); };
    hooks.moduleName = "PGVX";
    setRegistryLogHooks(hooks);
    reg.setListener(&recorder);
  }
  void TearDown() override { setRegistryLogHooks({}); }

  // The raw type and bytes the registry holds for a value (ANSI A-function view).
  std::pair<std::uint32_t, std::vector<std::uint8_t>> raw(const std::string& key, const std::string& value) {
    pf::Registry& r = machine.platform().registry();
    pf::HKEY h = 0;
    if (r.openKey(pf::HKEY_CURRENT_USER, key, pf::regaccess::QueryValue, h) != pf::status::Success) return {0, {}};
    std::uint32_t type = 0, size = 0;
    std::vector<std::uint8_t> data;
    if (r.queryValue(h, value, &type, nullptr, &size) == pf::status::Success) {
      data.resize(size);
      EXPECT_EQ(r.queryValue(h, value, &type, data.data(), &size), pf::status::Success);
    } else {
      type = 0;
    }
    r.closeKey(h);
    return {type, data};
  }
  void setRaw(const std::string& key, const std::string& value, std::uint32_t type, std::vector<std::uint8_t> data) {
    pf::Registry& r = machine.platform().registry();
    pf::HKEY h = 0;
    ASSERT_EQ(r.createKey(pf::HKEY_CURRENT_USER, key, pf::regaccess::AllAccess, h, nullptr), pf::status::Success);
    ASSERT_EQ(r.setValue(h, value, type, data.data(), static_cast<std::uint32_t>(data.size())), pf::status::Success);
    r.closeKey(h);
  }
  void address(const std::string& section, const std::string& value, std::int32_t type) {
    reg.setClassKey(HKEY_CURRENT_USER);
    reg.setSectionKey(section);
    reg.setValueKey(value);
    reg.setValueType(type);
  }

  test::TestMachine machine;
  cRegistry reg;
  Recorder recorder;
  std::vector<std::string> logLines;
};

TEST_F(cRegistryTest, ReadingWhatIsMissingGivesDefault) {
  address("Software\\Missing", "nothing", REG_SZ);
  EXPECT_TRUE(reg.Value().isEmpty());
  EXPECT_EQ(reg.Value().toText(), "");
  EXPECT_EQ(reg.Value().toLong(), 0);
  reg.setDefault(Variant("fallback"));
  EXPECT_EQ(reg.Value(), Variant("fallback"));
  EXPECT_EQ(reg.ValueEx(HKEY_CURRENT_USER, "Software\\Missing", "x", REG_DWORD, Variant(std::int32_t{5})),
            Variant(std::int32_t{5}));
}

TEST_F(cRegistryTest, TextIsStoredAsExpandableOnlyWithTwoSeparatedPercents) {
  struct Case {
    const char* text;
    std::int32_t valueType;
    std::uint32_t stored;
  } cases[] = {
      {"Path=%TEMP%\\x", REG_SZ, pf::regtype::ExpandSz},
      {"%a%", REG_SZ, pf::regtype::ExpandSz},
      {"100%", REG_SZ, pf::regtype::Sz},
      {"a%b", REG_SZ, pf::regtype::Sz},
      {"x%%y", REG_SZ, pf::regtype::Sz},
      {"plain", REG_EXPAND_SZ, pf::regtype::Sz},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.text);
    address("Software\\Test", "v", tc.valueType);
    reg.setValue(Variant(tc.text));
    auto [type, data] = raw("Software\\Test", "v");
    EXPECT_EQ(type, tc.stored);
    std::string expected = tc.text;
    expected += '\0';
    EXPECT_EQ(std::string(data.begin(), data.end()), expected);
  }
}

TEST_F(cRegistryTest, WritesByValueType) {
  address("Software\\Test", "n", REG_DWORD);
  reg.setValue(Variant(std::int32_t{7}));
  EXPECT_EQ(raw("Software\\Test", "n"), (std::pair<std::uint32_t, std::vector<std::uint8_t>>{4, {7, 0, 0, 0}}));
  reg.setValueKey("short");
  reg.setValue(Variant(std::int16_t{-2}));
  EXPECT_EQ(raw("Software\\Test", "short").second, (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
  reg.setValueKey("text7");
  reg.setValue(Variant("7"));  // not an integer: nothing written, nothing raised
  EXPECT_EQ(raw("Software\\Test", "text7").first, 0u);
  reg.setValueKey("big");
  reg.setValueType(REG_DWORD_BIG_ENDIAN);
  reg.setValue(Variant(std::int32_t{258}));  // stored as a plain little-endian dword
  EXPECT_EQ(raw("Software\\Test", "big"), (std::pair<std::uint32_t, std::vector<std::uint8_t>>{4, {2, 1, 0, 0}}));
  reg.setValueKey("bin");
  reg.setValueType(REG_BINARY);
  reg.setValue(Variant(Bytes{1, 2, 0xAB}));
  EXPECT_EQ(raw("Software\\Test", "bin"), (std::pair<std::uint32_t, std::vector<std::uint8_t>>{3, {1, 2, 0xAB}}));
  reg.setValueKey("none");
  reg.setValueType(0);
  reg.setValue(Variant("ignored"));
  EXPECT_EQ(raw("Software\\Test", "none").first, 0u);
}

TEST_F(cRegistryTest, BinaryFromAnythingButBytesRaisesWithoutSource) {
  address("Software\\Test", "bin", REG_BINARY);
  try {
    reg.setValue(Variant("text"));
    FAIL() << "expected an error";
  } catch (const EngineError& e) {
    EXPECT_EQ(e.number(), 26001);
    EXPECT_EQ(e.source(), "");
    EXPECT_EQ(e.description(), "");
  }
}

TEST_F(cRegistryTest, ReadsEveryTypeAsItsVariant) {
  setRaw("Software\\Read", "be", pf::regtype::DwordBigEndian, {0, 0, 1, 2});
  setRaw("Software\\Read", "le", pf::regtype::Dword, {0, 0, 1, 2});
  setRaw("Software\\Read", "multi", pf::regtype::MultiSz, {'a', 0, 'b', 0, 0});
  setRaw("Software\\Read", "qword", pf::regtype::Qword, {1, 2, 3, 4, 5, 6, 7, 8});
  setRaw("Software\\Read", "empty", pf::regtype::Sz, {});
  setRaw("Software\\Read", "latin", pf::regtype::Sz, {'C', 'a', 'f', 0xE9, ' ', 0x80, 0});
  setRaw("Software\\Read", "expand", pf::regtype::ExpandSz,
         {'%', 'S', 'y', 's', 't', 'e', 'm', 'R', 'o', 'o', 't', '%', '\\', 'x', 0});
  address("Software\\Read", "be", REG_SZ);
  EXPECT_EQ(reg.Value(), Variant(std::int32_t{258}));
  EXPECT_EQ(reg.ValueType(), REG_DWORD_BIG_ENDIAN);
  reg.setValueKey("le");
  EXPECT_EQ(reg.Value(), Variant(static_cast<std::int32_t>(0x02010000)));
  reg.setValueKey("multi");
  EXPECT_EQ(reg.Value(), Variant(std::string("a\0b\0", 4)));
  reg.setValueKey("qword");
  EXPECT_EQ(reg.Value(), Variant(Bytes{1, 2, 3, 4, 5, 6, 7, 8}));
  reg.setValueKey("empty");
  EXPECT_EQ(reg.Value(), Variant(""));
  reg.setValueKey("latin");
  EXPECT_EQ(reg.Value(), Variant("Caf\xC3\xA9 \xE2\x82\xAC"));
  reg.setValueKey("expand");
  EXPECT_EQ(reg.Value(), Variant("C:\\WINDOWS\\x"));
}

TEST_F(cRegistryTest, UnicodeTextCrossesInCodePage1252) {
  address("Software\\Caf\xC3\xA9", "Gr\xC3\xBC\xC3\x9F" "e\xE2\x82\xAC", REG_SZ);
  reg.setValue(Variant("\xC3\xA4 \xE2\x82\xAC \xE4\xB8\xAD"));  // ä € and a CJK character cp1252 cannot hold
  EXPECT_EQ(reg.Value(), Variant("\xC3\xA4 \xE2\x82\xAC ?"));
  std::vector<std::string> names;
  std::int32_t count = 0;
  reg.EnumerateValues(names, count);
  EXPECT_EQ(names, (std::vector<std::string>{"Gr\xC3\xBC\xC3\x9F" "e\xE2\x82\xAC"}));
}

TEST_F(cRegistryTest, RaisesWhenTheKeyCannotBeCreated) {
  reg.setClassKey(0);
  reg.setSectionKey("Software\\X");
  reg.setValueKey("v");
  reg.setValueType(REG_SZ);
  try {
    reg.setValue(Variant("abc"));
    FAIL() << "expected an error";
  } catch (const EngineError& e) {
    EXPECT_EQ(e.number(), 26001);
    EXPECT_EQ(e.source(), "PGVX.cRegistry");
    EXPECT_EQ(e.description(), "Failed to set registry value Key: '0',Section: 'Software\\X',Key: 'v' to value: 'abc'");
  }
  try {
    reg.CreateKey();
    FAIL() << "expected an error";
  } catch (const EngineError& e) {
    EXPECT_EQ(e.description(), "Failed to create registry Key: 'Software\\X");
  }
}

TEST_F(cRegistryTest, EnumeratesInRegistryOrder) {
  for (const char* name : {"Zeta", "alpha", "Beta", "_under", "10", "9"}) {
    reg.setValueEx(HKEY_CURRENT_USER, std::string("Software\\Enum\\") + name, name, REG_SZ, Variant(), Variant("x"));
  }
  address("Software\\Enum", "", REG_SZ);
  std::vector<std::string> names;
  std::int32_t count = -1;
  EXPECT_TRUE(reg.EnumerateSections(names, count));
  EXPECT_EQ(names, (std::vector<std::string>{"10", "9", "_under", "alpha", "Beta", "Zeta"}));
  EXPECT_EQ(count, 6);
  reg.setSectionKey("Software\\Enum\\alpha");
  EXPECT_TRUE(reg.EnumerateValues(names, count));
  EXPECT_EQ(names, (std::vector<std::string>{"alpha"}));
  reg.setSectionKey("Software\\Nowhere");
  EXPECT_TRUE(reg.EnumerateSections(names, count));
  EXPECT_EQ(count, 0);
  EXPECT_TRUE(reg.EnumerateValues(names, count));
  EXPECT_EQ(count, 0);
}

TEST_F(cRegistryTest, DeletionsAreLoggedAndRaised) {
  reg.setValueEx(HKEY_CURRENT_USER, "Software\\Del\\Child", "v", REG_SZ, Variant(), Variant("x"));
  address("Software\\Del", "", REG_SZ);
  EXPECT_FALSE(reg.DeleteKey());  // it still has a subkey
  EXPECT_TRUE(logLines.empty());
  EXPECT_TRUE(recorder.events.empty());
  address("Software\\Del\\Child", "v", REG_SZ);
  EXPECT_TRUE(reg.DeleteValue());
  EXPECT_FALSE(reg.DeleteValue());
  EXPECT_TRUE(reg.DeleteKey());
  EXPECT_FALSE(reg.KeyExists());
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\Del\\Child\\v",
                                                       "HKEY_CURRENT_USER\\Software\\Del\\Child"}));
  EXPECT_EQ(logLines, (std::vector<std::string>{"removed(msg15) HKEY_CURRENT_USER\\Software\\Del\\Child\\v",
                                                "removed(msg15) HKEY_CURRENT_USER\\Software\\Del\\Child"}));
}

TEST_F(cRegistryTest, DeletesAWholeTreeDeepestFirst) {
  reg.setValueEx(HKEY_CURRENT_USER, "Software\\Tree", "top", REG_SZ, Variant(), Variant("x"));
  reg.setValueEx(HKEY_CURRENT_USER, "Software\\Tree\\A\\Deep", "d", REG_SZ, Variant(), Variant("x"));
  reg.setValueEx(HKEY_CURRENT_USER, "Software\\Tree\\B", "b", REG_SZ, Variant(), Variant("x"));
  reg.setValueEx(HKEY_CURRENT_USER, "Software\\Keep", "k", REG_SZ, Variant(), Variant("x"));
  reg.del_reg_sub("hkey_current_user\\Software\\Tree");
  const std::string p = "hkey_current_user\\Software\\Tree";
  EXPECT_EQ(recorder.events, (std::vector<std::string>{p + "\\top", p + "\\A\\Deep\\d", p + "\\A\\Deep", p + "\\A",
                                                       p + "\\B\\b", p + "\\B", p}));
  EXPECT_EQ(logLines.size(), 7u);
  address("Software\\Tree", "", REG_SZ);
  EXPECT_FALSE(reg.KeyExists());
  reg.setSectionKey("Software\\Keep");
  EXPECT_TRUE(reg.KeyExists());
}

TEST_F(cRegistryTest, TreeDeletionOfAnUnknownRootOrARootAloneDeletesNothing) {
  reg.setValueEx(HKEY_CURRENT_USER, "Software\\Keep", "k", REG_SZ, Variant(), Variant("x"));
  reg.del_reg_sub("HKEY_NOWHERE\\Software\\Keep");
  EXPECT_EQ(recorder.events, (std::vector<std::string>{"HKEY_NOWHERE\\Software\\Keep"}));
  recorder.events.clear();
  reg.del_reg_sub("HKEY_CURRENT_USER");
  reg.del_reg_sub("HKEY_CURRENT_USER\\");
  EXPECT_TRUE(recorder.events.empty());
  EXPECT_TRUE(logLines.empty());
  address("Software\\Keep", "k", REG_SZ);
  EXPECT_EQ(reg.Value(), Variant("x"));
}

TEST_F(cRegistryTest, ValueExWritesDefaultForEmptyText) {
  reg.setValueEx(HKEY_CURRENT_USER, "Software\\Ex", "v", REG_SZ, Variant("dflt"), Variant(""));
  EXPECT_EQ(reg.ValueEx(HKEY_CURRENT_USER, "Software\\Ex", "v", REG_SZ, Variant()), Variant("dflt"));
  reg.setValueEx(HKEY_CURRENT_USER, "Software\\Ex", "w", REG_EXPAND_SZ, Variant("dflt"), Variant(""));
  EXPECT_EQ(reg.ValueEx(HKEY_CURRENT_USER, "Software\\Ex", "w", REG_SZ, Variant("missing")), Variant(""));
}

TEST_F(cRegistryTest, MachineNamesAreNormalised) {
  struct Case {
    const char* given;
    const char* kept;
  } cases[] = {{"SERVER", "\\\\SERVER"}, {"\\\\HOST", "\\\\HOST"}, {"ab", ""}, {"", ""}};
  for (const Case& tc : cases) {
    reg.setMachine(tc.given);
    EXPECT_EQ(reg.Machine(), tc.kept) << tc.given;
  }
  reg.setMachine("OTHERPC");
  address("Software\\Ex", "v", REG_SZ);
  reg.setDefault(Variant("unreachable"));
  EXPECT_EQ(reg.Value(), Variant("unreachable"));
}

TEST_F(cRegistryTest, ChangesSurviveAReopen) {
  reg.setValueEx(HKEY_LOCAL_MACHINE, "Software\\Persist", "v", REG_SZ, Variant(), Variant("kept"));
  machine.reopen();
  cRegistry again;
  EXPECT_EQ(again.ValueEx(HKEY_LOCAL_MACHINE, "Software\\Persist", "v", REG_SZ, Variant()), Variant("kept"));
}

}  // namespace
}  // namespace pgv::engine
