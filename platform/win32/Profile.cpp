// Win32 backend only: INI files through kernel32's private-profile functions.

#include "platform/Profile.h"

#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Text.h"

namespace pgv::platform::win32 {

std::uint32_t Win32Profile::getString(const char* section, const char* key, const char* defaultValue, char* buffer,
                                      std::uint32_t size, std::string_view fileName) {
  ::SetLastError(0);
  const DWORD n = ::GetPrivateProfileStringA(section, key, defaultValue, buffer, size, ansi(fileName).c_str());
  lastError_ = static_cast<long>(::GetLastError());
  return n;
}

bool Win32Profile::writeString(const char* section, const char* key, const char* value, std::string_view fileName) {
  const BOOL ok = ::WritePrivateProfileStringA(section, key, value, ansi(fileName).c_str());
  lastError_ = ok ? 0 : static_cast<long>(::GetLastError());
  return ok != FALSE;
}

std::uint32_t Win32Profile::getSectionNames(char* buffer, std::uint32_t size, std::string_view fileName) {
  ::SetLastError(0);
  const DWORD n = ::GetPrivateProfileSectionNamesA(buffer, size, ansi(fileName).c_str());
  lastError_ = static_cast<long>(::GetLastError());
  return n;
}

std::uint32_t Win32Profile::getSection(const char* section, char* buffer, std::uint32_t size,
                                       std::string_view fileName) {
  ::SetLastError(0);
  // Windows writes a second NUL past a one-character buffer; never hand it one.
  if (size < 2) {
    if (size == 1) buffer[0] = '\0';
    return 0;
  }
  const DWORD n = ::GetPrivateProfileSectionA(section, buffer, size, ansi(fileName).c_str());
  lastError_ = static_cast<long>(::GetLastError());
  return n;
}

}  // namespace pgv::platform::win32
