// Win32 backend only: the registry through advapi32's ANSI functions.
//
// Registry handles of the platform interface are small numbers; this file maps them to
// the real HKEYs (which are pointers, 64 bits wide in a 64-bit build).

#include "platform/win32/Win32Registry.h"

namespace pgv::platform::win32 {
namespace {

bool isPredefined(HKEY key) { return key >= 0x80000000u && key <= 0x80000006u; }

}  // namespace

::HKEY Win32Registry::native(HKEY key) const {
  if (isPredefined(key)) return reinterpret_cast<::HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(key)));
  const auto it = handles_.find(key);
  return it == handles_.end() ? nullptr : it->second;
}

HKEY Win32Registry::adopt(::HKEY key) {
  const HKEY id = next_;
  next_ += 4;
  handles_[id] = key;
  return id;
}

Status Win32Registry::openKey(HKEY parent, std::string_view subKey, std::uint32_t access, HKEY& result) {
  ::HKEY key = nullptr;
  const LONG r = ::RegOpenKeyExA(native(parent), std::string(subKey).c_str(), 0, access, &key);
  if (r == ERROR_SUCCESS) result = adopt(key);
  return r;
}

Status Win32Registry::createKey(HKEY parent, std::string_view subKey, std::uint32_t access, HKEY& result,
                                std::uint32_t* disposition) {
  ::HKEY key = nullptr;
  DWORD created = 0;
  char emptyClass[] = "";
  const LONG r = ::RegCreateKeyExA(native(parent), std::string(subKey).c_str(), 0, emptyClass, REG_OPTION_NON_VOLATILE,
                                   access, nullptr, &key, &created);
  if (r == ERROR_SUCCESS) {
    result = adopt(key);
    if (disposition) *disposition = created;
  }
  return r;
}

Status Win32Registry::queryValue(HKEY key, std::string_view valueName, std::uint32_t* type, std::uint8_t* data,
                                 std::uint32_t* size) {
  DWORD t = 0;
  DWORD s = size ? *size : 0;
  const LONG r = ::RegQueryValueExA(native(key), std::string(valueName).c_str(), nullptr, &t, data, size ? &s : nullptr);
  if (type) *type = t;
  if (size) *size = s;
  return r;
}

Status Win32Registry::setValue(HKEY key, std::string_view valueName, std::uint32_t type, const std::uint8_t* data,
                               std::uint32_t size) {
  return ::RegSetValueExA(native(key), std::string(valueName).c_str(), 0, type, data, size);
}

Status Win32Registry::deleteKey(HKEY parent, std::string_view subKey) {
  return ::RegDeleteKeyA(native(parent), std::string(subKey).c_str());
}

Status Win32Registry::deleteValue(HKEY key, std::string_view valueName) {
  return ::RegDeleteValueA(native(key), std::string(valueName).c_str());
}

Status Win32Registry::enumKey(HKEY key, std::uint32_t index, char* name, std::uint32_t nameSize) {
  return ::RegEnumKeyA(native(key), index, name, nameSize);
}

Status Win32Registry::enumValue(HKEY key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                                std::uint32_t* type) {
  DWORD length = *nameSize;
  DWORD t = 0;
  const LONG r = ::RegEnumValueA(native(key), index, name, &length, nullptr, &t, nullptr, nullptr);
  *nameSize = length;
  if (type) *type = t;
  return r;
}

Status Win32Registry::queryInfoKey(HKEY key, RegKeyInfo& info) {
  DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueNameLen = 0, maxValueLen = 0;
  const LONG r = ::RegQueryInfoKeyA(native(key), nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLen, nullptr, &values,
                                    &maxValueNameLen, &maxValueLen, nullptr, nullptr);
  if (r == ERROR_SUCCESS) info = RegKeyInfo{subKeys, maxSubKeyLen, values, maxValueNameLen, maxValueLen};
  return r;
}

Status Win32Registry::closeKey(HKEY key) {
  if (isPredefined(key)) return ERROR_SUCCESS;
  const auto it = handles_.find(key);
  if (it == handles_.end()) return ERROR_INVALID_HANDLE;
  const LONG r = ::RegCloseKey(it->second);
  handles_.erase(it);
  return r;
}

Status Win32Registry::connectRegistry(std::string_view machineName, HKEY root, HKEY& result) {
  ::HKEY key = nullptr;
  const std::string name(machineName);
  const LONG r = ::RegConnectRegistryA(name.empty() ? nullptr : name.c_str(), native(root), &key);
  if (r == ERROR_SUCCESS) result = adopt(key);
  return r;
}

}  // namespace pgv::platform::win32
