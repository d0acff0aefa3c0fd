#pragma once
// The Windows registry, as the ANSI registry functions of advapi32 offer it.
//
// Each method is one Win32 call (named in its comment) with the same arguments and
// results. Names and string data are in the ANSI code page (1252), exactly the bytes an
// A function takes and returns; callers convert from and to the program's Unicode
// strings (see Codepage.h). Errors are the Win32 codes of Status.h.
//
// Behaviour every backend shares (the Win32 backend gets it from Windows, the portable
// backend from its own implementation of Wine's rules):
//  - key and value names match without regard to case; a name keeps the case it was
//    first created with;
//  - enumeration is sorted by the lower-cased UTF-16 code units of the names;
//  - deleting a key that has subkeys fails with AccessDenied and deletes nothing;
//  - a leading backslash in a subkey path is BadPathname; a trailing one is ignored;
//  - the predefined roots are HKEY_CLASSES_ROOT .. HKEY_USERS below; the program is a
//    32-bit program, so on a 64-bit machine it sees the 32-bit view of HKLM\Software
//    and of the class registrations.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Status.h"

namespace pgv::platform {

using HKEY = std::uint32_t;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;

namespace regtype {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t Sz = 1;
inline constexpr std::uint32_t ExpandSz = 2;
inline constexpr std::uint32_t Binary = 3;
inline constexpr std::uint32_t Dword = 4;
inline constexpr std::uint32_t DwordBigEndian = 5;
inline constexpr std::uint32_t Link = 6;
inline constexpr std::uint32_t MultiSz = 7;
inline constexpr std::uint32_t Qword = 11;
}  // namespace regtype

namespace regaccess {
inline constexpr std::uint32_t QueryValue = 0x0001;
inline constexpr std::uint32_t SetValue = 0x0002;
inline constexpr std::uint32_t CreateSubKey = 0x0004;
inline constexpr std::uint32_t EnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t Notify = 0x0010;
inline constexpr std::uint32_t CreateLink = 0x0020;
inline constexpr std::uint32_t AllAccess = 0x3F;
}  // namespace regaccess

inline constexpr std::uint32_t REG_CREATED_NEW_KEY = 1;
inline constexpr std::uint32_t REG_OPENED_EXISTING_KEY = 2;

// RegQueryInfoKeyA's counts; lengths are in characters without the terminating NUL.
struct RegKeyInfo {
  std::uint32_t subKeys = 0;
  std::uint32_t maxSubKeyLen = 0;
  std::uint32_t values = 0;
  std::uint32_t maxValueNameLen = 0;
  std::uint32_t maxValueLen = 0;  // bytes, as the backend stores the data (UTF-16 for strings)
};

class Registry {
 public:
  virtual ~Registry() = default;

  // RegOpenKeyExA. An empty subKey opens a new handle to the same key.
  [[nodiscard]] virtual Status openKey(HKEY parent, std::string_view subKey, std::uint32_t access,
                                       HKEY& result) = 0;
  // RegCreateKeyExA, non-volatile, empty class, no security descriptor. Creates the
  // missing keys of the path. disposition may be null.
  [[nodiscard]] virtual Status createKey(HKEY parent, std::string_view subKey, std::uint32_t access,
                                         HKEY& result, std::uint32_t* disposition) = 0;
  // RegQueryValueExA. data may be null to ask for type and size only; size is in and
  // out. With a too small buffer: MoreData and the needed size, buffer untouched.
  [[nodiscard]] virtual Status queryValue(HKEY key, std::string_view valueName, std::uint32_t* type,
                                          std::uint8_t* data, std::uint32_t* size) = 0;
  // RegSetValueExA.
  [[nodiscard]] virtual Status setValue(HKEY key, std::string_view valueName, std::uint32_t type,
                                        const std::uint8_t* data, std::uint32_t size) = 0;
  // RegDeleteKeyA: only a key without subkeys.
  [[nodiscard]] virtual Status deleteKey(HKEY parent, std::string_view subKey) = 0;
  // RegDeleteValueA.
  [[nodiscard]] virtual Status deleteValue(HKEY key, std::string_view valueName) = 0;
  // RegEnumKeyA: the subkey name at index into a buffer of nameSize bytes (NUL included).
  // NoMoreItems past the end; MoreData when the name does not fit.
  [[nodiscard]] virtual Status enumKey(HKEY key, std::uint32_t index, char* name,
                                       std::uint32_t nameSize) = 0;
  // RegEnumValueA without the data: nameSize is in characters, in and out (without NUL
  // on return). type may be null.
  [[nodiscard]] virtual Status enumValue(HKEY key, std::uint32_t index, char* name,
                                         std::uint32_t* nameSize, std::uint32_t* type) = 0;
  // RegQueryInfoKeyA.
  [[nodiscard]] virtual Status queryInfoKey(HKEY key, RegKeyInfo& info) = 0;
  // RegCloseKey. Closing a predefined root is a no-op that succeeds.
  virtual Status closeKey(HKEY key) = 0;
  // RegConnectRegistryA: the root of another computer's registry. machineName is
  // "\\NAME"; an empty name means this machine.
  [[nodiscard]] virtual Status connectRegistry(std::string_view machineName, HKEY root,
                                               HKEY& result) = 0;

  // Writes what changed to durable storage. The Win32 backend has nothing to do;
  // the portable backend saves the changed hive files (atomic replace).
  [[nodiscard]] virtual Status flush() = 0;
  // True when something was written since the last flush.
  [[nodiscard]] virtual bool dirty() const = 0;
};

}  // namespace pgv::platform
