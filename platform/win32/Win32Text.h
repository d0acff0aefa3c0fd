#pragma once
// Win32 backend only: conversions between the program's Unicode paths and the ANSI
// strings the A functions take, and Win32 time forms.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Codepage.h"
// windows.h last: its macros must not reach the portable headers.
#include <windows.h>

namespace pgv::platform::win32 {

// The ANSI form of a UTF-8 text, NUL-terminated for the A functions.
inline std::string ansi(std::string_view utf8) { return utf8ToAnsi(utf8); }
inline std::string unicode(const char* ansiText) { return ansiToUtf8(ansiText ? ansiText : ""); }

inline std::int64_t fileTimeToUnix(const FILETIME& ft) {
  const std::uint64_t ticks = (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
  return static_cast<std::int64_t>(ticks / 10000000ULL) - 11644473600LL;
}

}  // namespace pgv::platform::win32
