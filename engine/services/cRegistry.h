#pragma once
// cRegistry: the one class through which the program reads, writes, enumerates and
// deletes registry keys and values. The caller sets the address (ClassKey, SectionKey,
// ValueKey, ValueType), then calls an operation on it. Deletions are logged to the day's
// log file and raised as ShowLog. Compiled into both deliverables; each installs where
// its deletion log text comes from (setRegistryLogHooks).
//
// Texts are the program's Unicode (UTF-8); they cross to the registry in code page 1252.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/api/EngineError.h"
#include "engine/api/LogListener.h"
#include "engine/api/Variant.h"

namespace pgv::engine {

// How the registry class of one deliverable gets the text of message "msg15" and writes
// a line to the day's log file. addToLog may throw; its failures are skipped.
struct RegistryLogHooks {
  std::function<std::string(std::string_view key)> messageText;
  std::function<void(const std::string& section, const std::string& txt)> addToLog;
  std::string moduleName = "PGVX";  // source prefix of raised errors
};
void setRegistryLogHooks(RegistryLogHooks hooks);

inline constexpr std::int32_t HKEY_CLASSES_ROOT = static_cast<std::int32_t>(0x80000000u);
inline constexpr std::int32_t HKEY_CURRENT_USER = static_cast<std::int32_t>(0x80000001u);
inline constexpr std::int32_t HKEY_LOCAL_MACHINE = static_cast<std::int32_t>(0x80000002u);
inline constexpr std::int32_t HKEY_USERS = static_cast<std::int32_t>(0x80000003u);

inline constexpr std::int32_t REG_SZ = 1;
inline constexpr std::int32_t REG_EXPAND_SZ = 2;
inline constexpr std::int32_t REG_BINARY = 3;
inline constexpr std::int32_t REG_DWORD = 4;
inline constexpr std::int32_t REG_DWORD_BIG_ENDIAN = 5;
inline constexpr std::int32_t REG_MULTI_SZ = 7;

inline constexpr std::int64_t kRegistryError = 26001;
inline constexpr std::int64_t kEnumerationError = 0x800469AA;

// The name of a root key in log lines and full paths ("" for any other value).
std::string rootKeyName(std::int32_t classKey);

class cRegistry {
 public:
  cRegistry() = default;

  std::int32_t ClassKey() const { return classKey_; }
  void setClassKey(std::int32_t v) { classKey_ = v; }
  const std::string& SectionKey() const { return sectionKey_; }
  void setSectionKey(std::string v) { sectionKey_ = std::move(v); }
  const std::string& ValueKey() const { return valueKey_; }
  void setValueKey(std::string v) { valueKey_ = std::move(v); }
  std::int32_t ValueType() const { return valueType_; }
  void setValueType(std::int32_t v) { valueType_ = v; }
  const Variant& Default() const { return default_; }
  void setDefault(Variant v) { default_ = std::move(v); }
  const std::string& Machine() const { return machine_; }
  void setMachine(std::string name);

  // Reads the addressed value; Default when it cannot be read.
  Variant Value();
  // Writes the addressed value by ValueType. Raises EngineError 26001 when the key
  // cannot be created or a REG_BINARY value is not a byte array.
  void setValue(const Variant& v);

  bool KeyExists();
  bool CreateKey();
  bool DeleteKey();
  bool DeleteValue();
  // Names in the order the registry delivers them; count = names.size(). Always true.
  bool EnumerateValues(std::vector<std::string>& names, std::int32_t& count);
  bool EnumerateSections(std::vector<std::string>& names, std::int32_t& count);
  // Deletes the key at a full path ("HKEY_CURRENT_USER\Software\x") with all below it.
  void del_reg_sub(const std::string& fullPath);

  Variant ValueEx(std::int32_t root, std::string section, std::string valueName, std::int32_t type,
                  Variant defaultValue);
  void setValueEx(std::int32_t root, std::string section, std::string valueName, std::int32_t type,
                  Variant defaultValue, const Variant& v);

  void setListener(LogListener* listener) { listener_ = listener; }

 private:
  void raiseShowLog(const std::string& msg);
  void logDeletion(const std::string& path);
  std::string fullPath() const;

  std::int32_t classKey_ = 0;
  std::string sectionKey_;
  std::string valueKey_;
  std::int32_t valueType_ = 0;
  Variant default_;
  std::string machine_;
  Variant lastWritten_;
  LogListener* listener_ = nullptr;
};

}  // namespace pgv::engine
