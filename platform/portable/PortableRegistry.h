#pragma once
// The registry of a machine folder: Wine's hive files system.reg (HKEY_LOCAL_MACHINE),
// user.reg (HKEY_CURRENT_USER) and userdef.reg (HKEY_USERS\.Default), loaded when the
// machine is opened and written back by flush().
//
// The ANSI functions behave as advapi32 behaves under Wine for a 32-bit program:
// names and string data cross as code page 1252 and are kept as UTF-16; string values
// report their size in ANSI bytes and get a NUL appended when the buffer has room;
// RegQueryInfoKey reports data sizes as stored (UTF-16 bytes). Handles are small
// integers; the predefined roots are always valid. HKEY_CLASSES_ROOT is
// HKLM\Software\Classes (HKCU\Software\Classes does not show through, as in Wine).
//
// RegSetValueExA under Windows quietly counts a string's terminating NUL when the byte
// just past the given size happens to be one; this backend never reads past size.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Registry.h"
#include "platform/portable/RegistryHive.h"
#include "platform/portable/RegistryNamespace.h"

namespace pgv::platform {

class PortableRegistry : public Registry {
 public:
  // Loads the hives of a machine folder. A missing hive file is an empty hive. Fails
  // with a one-line error when a file cannot be read (naming the file and line) or
  // when a Wine server is running for the folder.
  static Status open(const std::string& machineFolder, std::unique_ptr<PortableRegistry>& out, std::string& error);
  ~PortableRegistry() override;

  [[nodiscard]] Status openKey(HKEY parent, std::string_view subKey, std::uint32_t access, HKEY& result) override;
  [[nodiscard]] Status createKey(HKEY parent, std::string_view subKey, std::uint32_t access, HKEY& result,
                                 std::uint32_t* disposition) override;
  [[nodiscard]] Status queryValue(HKEY key, std::string_view valueName, std::uint32_t* type, std::uint8_t* data,
                                  std::uint32_t* size) override;
  [[nodiscard]] Status setValue(HKEY key, std::string_view valueName, std::uint32_t type, const std::uint8_t* data,
                                std::uint32_t size) override;
  [[nodiscard]] Status deleteKey(HKEY parent, std::string_view subKey) override;
  [[nodiscard]] Status deleteValue(HKEY key, std::string_view valueName) override;
  [[nodiscard]] Status enumKey(HKEY key, std::uint32_t index, char* name, std::uint32_t nameSize) override;
  [[nodiscard]] Status enumValue(HKEY key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                                 std::uint32_t* type) override;
  [[nodiscard]] Status queryInfoKey(HKEY key, RegKeyInfo& info) override;
  Status closeKey(HKEY key) override;
  [[nodiscard]] Status connectRegistry(std::string_view machineName, HKEY root, HKEY& result) override;
  // Saves each changed hive by atomic replace; an unchanged hive file is not touched.
  [[nodiscard]] Status flush() override;
  [[nodiscard]] bool dirty() const override;

  // The machine is 64-bit ("#arch=win64" in system.reg) and this program sees it as a
  // 32-bit process sees it.
  bool is64BitMachine() const { return win64_; }
  // The time changed keys get, as a FILETIME; the system clock unless a test sets one.
  void setTimeSource(std::function<std::uint64_t()> now) { now_ = std::move(now); }
  // The last flush error, one line ("" after a successful flush).
  const std::string& lastError() const { return lastError_; }

 private:
  explicit PortableRegistry(std::string folder);
  struct Handle {
    RegistryKey* key = nullptr;
    std::uint32_t access = 0;
  };
  struct HiveFile {
    std::string path;
    std::unique_ptr<RegistryHive> hive;
  };

  Status loadHives(std::string& error);
  Status keyOf(HKEY handle, std::uint32_t access, RegistryKey*& key);
  Status rootKey(HKEY root, RegistryKey*& key);
  HKEY newHandle(RegistryKey& key, std::uint32_t access);
  std::string computerName();
  std::uint64_t now() const { return now_ ? now_() : currentFileTime(); }

  std::string folder_;
  HiveFile machine_;
  HiveFile userDefault_;
  HiveFile user_;
  bool win64_ = false;
  std::unique_ptr<RegistryNamespace> namespace_;
  std::vector<Handle> handles_;
  std::vector<std::size_t> freeHandles_;
  std::function<std::uint64_t()> now_;
  std::string lastError_;
};

}  // namespace pgv::platform
