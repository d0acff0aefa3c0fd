#pragma once
// One key of an in-memory registry tree, laid out for a small footprint: a fresh Wine
// machine holds tens of thousands of keys and values, so names and data live in the
// owning hive's arena and a key keeps only sorted vectors of pointers and value records.
//
// Names are UTF-16 code units as Windows keeps them; data is the bytes Windows keeps
// (UTF-16LE for string types). Subkeys and values are sorted by the registry's
// case-insensitive order (lower-cased UTF-16 code units, shorter name first on a tie),
// which is both the enumeration order and the order of Wine's text files.

#include <cstdint>
#include <string_view>
#include <vector>

namespace pgv::platform {

class RegistryHive;

struct RegistryValue {
  const char16_t* name = nullptr;
  const std::uint8_t* data = nullptr;
  std::uint32_t nameLength = 0;  // UTF-16 code units
  std::uint32_t size = 0;        // bytes
  std::uint32_t type = 0;

  std::u16string_view nameView() const { return {name, nameLength}; }
};

namespace keyflag {
inline constexpr std::uint32_t Link = 0x1;      // "#link": the key stands for its SymbolicLinkValue target
inline constexpr std::uint32_t WowShare = 0x2;  // Software\Classes\Wow6432Node of a 64-bit machine
inline constexpr std::uint32_t Deleted = 0x4;   // unlinked from its parent; kept while handles refer to it
inline constexpr std::uint32_t HasClass = 0x8;  // "#class" was given (possibly empty)
}  // namespace keyflag

// Case-insensitive order of registry names; <0, 0, >0.
int compareRegistryNames(std::u16string_view a, std::u16string_view b);

struct RegistryKey {
  RegistryHive* hive = nullptr;  // null for the synthetic nodes above the hives
  RegistryKey* parent = nullptr;
  const char16_t* name = nullptr;
  const char16_t* className = nullptr;
  std::uint32_t nameLength = 0;
  std::uint32_t classLength = 0;
  std::uint32_t flags = 0;
  std::uint32_t handleCount = 0;  // open handles that refer to this key
  std::uint64_t modified = 0;     // last write time, FILETIME ticks (100 ns since 1601)
  std::vector<RegistryKey*> subkeys;
  std::vector<RegistryValue> values;

  std::u16string_view nameView() const { return {name, nameLength}; }
  std::u16string_view classView() const { return {className, classLength}; }
  bool is(std::uint32_t flag) const { return (flags & flag) != 0; }

  // Binary search; index receives the position where the name is or would be inserted.
  RegistryKey* findSubkey(std::u16string_view subkeyName, std::size_t* index = nullptr) const;
  const RegistryValue* findValue(std::u16string_view valueName, std::size_t* index = nullptr) const;
};

}  // namespace pgv::platform
