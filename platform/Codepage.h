#pragma once
// Conversions between the program's Unicode strings (UTF-8 in std::string) and the
// ANSI code page 1252 that the A functions of Win32 take, plus UTF-16 for backends that
// store text the way Windows does. Characters that code page 1252 cannot hold become
// '?', as WideCharToMultiByte does with its default character. Invalid UTF-8 bytes are
// taken as code page 1252 characters, so no input is lost or rejected.

#include <string>
#include <string_view>

namespace pgv::platform {

std::string utf8ToAnsi(std::string_view utf8);
std::string ansiToUtf8(std::string_view ansi);

std::u16string ansiToUtf16(std::string_view ansi);
std::string utf16ToAnsi(std::u16string_view utf16);

std::u16string utf8ToUtf16(std::string_view utf8);
std::string utf16ToUtf8(std::u16string_view utf16);

// The Unicode code point of one code page 1252 byte.
char16_t ansiCharToUnicode(unsigned char c);

// Lower-cases one UTF-16 code unit the way the registry compares names (Latin-1,
// Latin Extended-A, Greek, Cyrillic and the other simple one-to-one mappings).
char16_t foldCase(char16_t c);
// Upper-case counterpart, used where Windows compares by upper-casing (file names).
char16_t upperCase(char16_t c);

// Case-insensitive compare of UTF-16 names by lower-cased code units; <0, 0, >0.
int compareNoCase(std::u16string_view a, std::u16string_view b);
// Case-insensitive compare of ANSI/UTF-8 text the way Windows compares names.
bool equalsNoCase(std::string_view a, std::string_view b);

}  // namespace pgv::platform
