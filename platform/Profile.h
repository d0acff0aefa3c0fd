#pragma once
// The private-profile (INI file) functions of kernel32, ANSI forms.
//
// Paths are Windows paths in the program's Unicode (UTF-8); section, key and value
// texts are ANSI (code page 1252) bytes as the A functions take them. A bare file name
// means a file in the Windows directory. The behaviour (trimming, quotes, case,
// truncation, buffer layouts) is Windows', as Wine implements it.
//
// A null pointer argument stands for the NULL the Win32 function accepts; sizes are in
// characters including the terminating NUL, and each function returns what Win32 returns.

#include <cstdint>
#include <string_view>

namespace pgv::platform {

class Profile {
 public:
  virtual ~Profile() = default;

  // GetPrivateProfileStringA. section null: the section names; key null: the key names
  // of the section (both as NUL-separated lists ending in an extra NUL).
  virtual std::uint32_t getString(const char* section, const char* key, const char* defaultValue,
                                  char* buffer, std::uint32_t size, std::string_view fileName) = 0;
  // WritePrivateProfileStringA. value null deletes the key; key null deletes the section.
  virtual bool writeString(const char* section, const char* key, const char* value,
                           std::string_view fileName) = 0;
  // GetPrivateProfileSectionNamesA.
  virtual std::uint32_t getSectionNames(char* buffer, std::uint32_t size, std::string_view fileName) = 0;
  // GetPrivateProfileSectionA: the section's lines ("key=value", raw) NUL-separated.
  virtual std::uint32_t getSection(const char* section, char* buffer, std::uint32_t size,
                                   std::string_view fileName) = 0;
  // GetLastError() after the last call of this interface (FileNotFound for a missing file).
  virtual long lastError() const = 0;
};

}  // namespace pgv::platform
