#pragma once
// Win32 backend only: the Registry interface over advapi32.

#include <unordered_map>

#include "platform/Registry.h"
// windows.h last: its macros (HKEY_CLASSES_ROOT, ...) must not reach the portable headers.
#include <windows.h>

namespace pgv::platform::win32 {

class Win32Registry : public Registry {
 public:
  Status openKey(HKEY parent, std::string_view subKey, std::uint32_t access, HKEY& result) override;
  Status createKey(HKEY parent, std::string_view subKey, std::uint32_t access, HKEY& result,
                   std::uint32_t* disposition) override;
  Status queryValue(HKEY key, std::string_view valueName, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override;
  Status setValue(HKEY key, std::string_view valueName, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override;
  Status deleteKey(HKEY parent, std::string_view subKey) override;
  Status deleteValue(HKEY key, std::string_view valueName) override;
  Status enumKey(HKEY key, std::uint32_t index, char* name, std::uint32_t nameSize) override;
  Status enumValue(HKEY key, std::uint32_t index, char* name, std::uint32_t* nameSize, std::uint32_t* type) override;
  Status queryInfoKey(HKEY key, RegKeyInfo& info) override;
  Status closeKey(HKEY key) override;
  Status connectRegistry(std::string_view machineName, HKEY root, HKEY& result) override;
  // Windows writes its registry itself.
  Status flush() override { return ERROR_SUCCESS; }
  bool dirty() const override { return false; }

 private:
  ::HKEY native(HKEY key) const;
  HKEY adopt(::HKEY key);

  std::unordered_map<HKEY, ::HKEY> handles_;
  HKEY next_ = 0x100;
};

}  // namespace pgv::platform::win32
