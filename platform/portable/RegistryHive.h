#pragma once
// One registry hive: the key tree that one Wine registry file holds (system.reg,
// user.reg or userdef.reg), its storage, and its text form "WINE REGISTRY Version 2".
//
// The tree is edited through the hive so that every change marks the hive dirty and
// gives the changed key the caller's time, as Wine's server does. Keys live in a pool
// with stable addresses: a deleted key stays allocated while a handle refers to it.
// Names and data are copied into an arena that only grows; a replaced value's old
// bytes are reclaimed when the hive is loaded again.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"
#include "platform/portable/RegistryKey.h"

namespace pgv::platform {

class LineSource;
class TextSink;

// "#arch=" of a registry file: which processes the Wine prefix runs natively.
enum class HiveArch { Unknown, Win32, Win64 };

// Why and where a registry file could not be read. line is 1-based; 0 when the
// failure concerns the file as a whole (it cannot be opened or read).
struct HiveParseError {
  std::size_t line = 0;
  std::string message;
};

// Bump allocator for names and data.
class HiveArena {
 public:
  HiveArena() = default;
  HiveArena(const HiveArena&) = delete;
  HiveArena& operator=(const HiveArena&) = delete;

  // size bytes aligned for char16_t.
  void* allocate(std::size_t size);
  const char16_t* copy(std::u16string_view text);
  const std::uint8_t* copy(const std::uint8_t* data, std::size_t size);

 private:
  std::vector<std::unique_ptr<std::byte[]>> blocks_;
  std::byte* next_ = nullptr;
  std::size_t left_ = 0;
};

class RegistryHive {
 public:
  // rootPath: the header's "All keys relative to" text as Wine writes it, escapes
  // included (for example REGISTRY\\Machine); rootName: the name of the hive's root key.
  RegistryHive(std::string rootPath, std::u16string_view rootName);
  RegistryHive(const RegistryHive&) = delete;
  RegistryHive& operator=(const RegistryHive&) = delete;

  RegistryKey& root() { return *root_; }
  const RegistryKey& root() const { return *root_; }
  const std::string& rootPath() const { return rootPath_; }
  void setRootName(std::u16string_view name);
  HiveArch arch() const { return arch_; }
  void setArch(HiveArch arch) { arch_ = arch; }
  // The line of the file's "#arch=" option (0 when it had none).
  std::size_t archLine() const { return archLine_; }

  // Edits. `now` is the FILETIME the changed key gets.
  // A new subkey that the caller has checked does not exist; its parent is touched.
  RegistryKey& addSubkey(RegistryKey& parent, std::u16string_view name, std::uint64_t now);
  // False when the value already holds exactly this type and data (nothing changes).
  bool setValue(RegistryKey& key, std::u16string_view name, std::uint32_t type, const std::uint8_t* data,
                std::uint32_t size, std::uint64_t now);
  // False when there is no such value.
  bool deleteValue(RegistryKey& key, std::u16string_view name, std::uint64_t now);
  // Unlinks a key without subkeys from its parent and touches the parent. The key is
  // freed at once, or by release() when the last handle to it closes.
  void deleteKey(RegistryKey& key, std::uint64_t now);
  void release(RegistryKey& key);
  void setClass(RegistryKey& key, std::u16string_view className);
  // Sets the key's time and marks the hive changed.
  void touch(RegistryKey& key, std::uint64_t now);

  bool dirty() const { return dirty_; }
  void markDirty() { dirty_ = true; }
  void markClean() { dirty_ = false; }

  // Reads a registry file's text into this (empty) hive. Keys are placed by path, so
  // blocks in any order and repeated blocks merge as Wine merges them. now is the time
  // of keys whose line carries none.
  bool parse(LineSource& lines, std::uint64_t now, HiveParseError& error);
  bool parseText(std::string_view text, std::uint64_t now, HiveParseError& error);
  // Writes the hive the way wineserver saves it. An unknown architecture is written as
  // win32, as Wine does.
  bool write(TextSink& sink) const;
  std::string toText() const;

  // Loads a hive file. A missing file is an empty hive (missing = true). On failure the
  // one-line error names the file and, for text errors, the line.
  static bool loadFile(const std::string& path, RegistryHive& hive, std::uint64_t now, bool& missing,
                       std::string& error);
  // Replaces the file atomically: writes "<file>.tmp" beside it, flushes it to disk and
  // renames it over the file. A symbolic link is followed, so its target is replaced.
  Status saveFile(const std::string& path, std::string& error) const;

 private:
  friend class HiveParser;
  RegistryKey& newKey();
  void freeKey(RegistryKey& key);

  std::string rootPath_;
  HiveArch arch_ = HiveArch::Unknown;
  std::size_t archLine_ = 0;
  bool dirty_ = false;
  HiveArena arena_;
  std::deque<RegistryKey> keys_;
  std::vector<RegistryKey*> freeKeys_;
  RegistryKey* root_ = nullptr;
};

// Maximum length of one line of a registry file. Longer lines are taken as a damaged file.
inline constexpr std::size_t kMaxRegistryLine = 16u << 20;

// FILETIME ticks of the Unix epoch, and conversions.
inline constexpr std::uint64_t kTicksPerSecond = 10'000'000;
inline constexpr std::uint64_t kTicks1601To1970 = 116'444'736'000'000'000ull;
std::uint64_t currentFileTime();

}  // namespace pgv::platform
