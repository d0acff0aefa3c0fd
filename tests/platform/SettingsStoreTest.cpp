// The per-user application settings store over the registry.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/common/RegistrySettingsStore.h"
#include "tests/support/MemoryRegistry.h"

namespace pgv::test {
namespace {

namespace st = platform::status;

// The raw REG_SZ data of a value, or "<missing>".
std::string rawValue(MemoryRegistry& registry, const std::string& keyPath, const std::string& name) {
  platform::HKEY key = 0;
  if (registry.openKey(platform::HKEY_CURRENT_USER, keyPath, platform::regaccess::QueryValue, key) != st::Success) {
    return "<missing>";
  }
  std::uint8_t data[256] = {};
  std::uint32_t size = sizeof data;
  std::uint32_t type = 0;
  const platform::Status s = registry.queryValue(key, name, &type, data, &size);
  registry.closeKey(key);
  if (s != st::Success) return "<missing>";
  EXPECT_EQ(type, platform::regtype::Sz);
  return std::string(reinterpret_cast<const char*>(data), size);
}

TEST(SettingsStoreTest, SettingsLiveUnderVbAndVbaProgramSettingsInCodePage1252) {
  MemoryRegistry registry;
  platform::RegistrySettingsStore store(registry);
  EXPECT_EQ(store.get("PGVX", "Lang", "Lang", "Deutsch"), "Deutsch");  // not set yet

  EXPECT_TRUE(store.save("PGVX", "Lang", "Lang", "Fran\xC3\xA7" "ais"));
  EXPECT_EQ(rawValue(registry, "Software\\VB and VBA Program Settings\\PGVX\\Lang", "Lang"),
            std::string("Fran\xE7" "ais\0", 9));
  EXPECT_EQ(store.get("pgvx", "LANG", "lang"), "Fran\xC3\xA7" "ais");  // names ignore case

  EXPECT_TRUE(store.save("PGVX", "Lang", "Lang", ""));
  EXPECT_EQ(store.get("PGVX", "Lang", "Lang", "Deutsch"), "");  // an empty text is a value

  EXPECT_TRUE(store.remove("PGVX", "Lang", "Lang"));
  EXPECT_EQ(store.get("PGVX", "Lang", "Lang", "Deutsch"), "Deutsch");
  EXPECT_FALSE(store.remove("PGVX", "Lang", "Lang"));
  EXPECT_FALSE(store.remove("PGVX", "NoSection", "Lang"));
  EXPECT_EQ(registry.openHandles(), 0u);
}

TEST(SettingsStoreTest, EmptyApplicationOrSectionAddressesNothing) {
  MemoryRegistry registry;
  platform::RegistrySettingsStore store(registry);
  EXPECT_FALSE(store.save("", "Lang", "Lang", "x"));
  EXPECT_FALSE(store.save("PGVX", "", "Lang", "x"));
  EXPECT_EQ(rawValue(registry, "Software\\VB and VBA Program Settings\\PGVX", "Lang"), "<missing>");
  EXPECT_EQ(store.get("", "Lang", "Lang", "d"), "d");
}

TEST(SettingsStoreTest, ValuesOfOtherTypesReadAsTheDefault) {
  MemoryRegistry registry;
  platform::RegistrySettingsStore store(registry);
  platform::HKEY key = 0;
  ASSERT_EQ(registry.createKey(platform::HKEY_CURRENT_USER, "Software\\VB and VBA Program Settings\\PGVX\\Ping",
                               platform::regaccess::AllAccess, key, nullptr),
            st::Success);
  const std::uint32_t number = 5;
  ASSERT_EQ(registry.setValue(key, "Count", platform::regtype::Dword, reinterpret_cast<const std::uint8_t*>(&number),
                              sizeof number),
            st::Success);
  registry.closeKey(key);
  EXPECT_EQ(store.get("PGVX", "Ping", "Count", "3"), "3");
}

}  // namespace
}  // namespace pgv::test
