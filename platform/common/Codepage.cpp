// Code page 1252, UTF-8 and UTF-16 conversions and the registry's case folding.
// Pure computation: no operating-system calls.

#include "platform/Codepage.h"

#include <array>
#include <cstdint>

namespace pgv::platform {
namespace {

// Code points of the bytes 0x80..0x9F; Windows maps the five undefined ones to the C1
// control with the same number.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The code page 1252 byte of a code point, or '?' when it has none.
char unicodeToAnsiChar(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (std::size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == cp) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// Decodes one UTF-8 sequence at s[i]; an invalid byte is taken as a code page 1252
// character so that text in the wrong encoding still round-trips to the registry.
char32_t decodeUtf8(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  auto cont = [&](std::size_t k) {
    return i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80;
  };
  auto byte = [&](std::size_t k) { return static_cast<char32_t>(static_cast<unsigned char>(s[i + k]) & 0x3F); };
  if (b0 < 0x80) { ++i; return b0; }
  if (b0 >= 0xC2 && b0 < 0xE0 && cont(1)) {
    char32_t cp = ((b0 & 0x1F) << 6) | byte(1);
    i += 2;
    return cp;
  }
  if (b0 >= 0xE0 && b0 < 0xF0 && cont(1) && cont(2)) {
    char32_t cp = ((b0 & 0x0F) << 12) | (byte(1) << 6) | byte(2);
    if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) { i += 3; return cp; }
  }
  if (b0 >= 0xF0 && b0 < 0xF5 && cont(1) && cont(2) && cont(3)) {
    char32_t cp = ((b0 & 0x07) << 18) | (byte(1) << 12) | (byte(2) << 6) | byte(3);
    if (cp >= 0x10000 && cp <= 0x10FFFF) { i += 4; return cp; }
  }
  ++i;
  return ansiCharToUnicode(b0);
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void appendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 | (cp >> 10));
    out += static_cast<char16_t>(0xDC00 | (cp & 0x3FF));
  }
}

}  // namespace

char16_t ansiCharToUnicode(unsigned char c) {
  if (c >= 0x80 && c < 0xA0) return kHighControls[c - 0x80];
  return c;
}

std::string utf8ToAnsi(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) out += unicodeToAnsiChar(decodeUtf8(utf8, i));
  return out;
}

std::string ansiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (unsigned char c : ansi) appendUtf8(out, ansiCharToUnicode(c));
  return out;
}

std::u16string ansiToUtf16(std::string_view ansi) {
  std::u16string out;
  out.reserve(ansi.size());
  for (unsigned char c : ansi) out += ansiCharToUnicode(c);
  return out;
}

std::string utf16ToAnsi(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char16_t c = utf16[i];
    // A surrogate pair is one character that code page 1252 cannot hold: one '?'.
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] < 0xE000) ++i;
    out += unicodeToAnsiChar(c);
  }
  return out;
}

std::u16string utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) appendUtf16(out, decodeUtf8(utf8, i));
  return out;
}

std::string utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    char32_t c = utf16[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 && utf16[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;  // a lone surrogate has no UTF-8 form
    }
    appendUtf8(out, c);
  }
  return out;
}

char16_t foldCase(char16_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? static_cast<char16_t>(c + 32) : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  if (c >= 0x100 && c <= 0x137) return (c & 1) ? c : static_cast<char16_t>(c + 1);
  if (c == 0x130) return u'i';
  if (c >= 0x139 && c <= 0x148) return (c & 1) ? static_cast<char16_t>(c + 1) : c;
  if (c >= 0x14A && c <= 0x177) return (c & 1) ? c : static_cast<char16_t>(c + 1);
  if (c == 0x178) return 0xFF;
  if (c >= 0x179 && c <= 0x17E) return (c & 1) ? static_cast<char16_t>(c + 1) : c;
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<char16_t>(c + 32);
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  return c;
}

char16_t upperCase(char16_t c) {
  if (c < 0x80) return (c >= 'a' && c <= 'z') ? static_cast<char16_t>(c - 32) : c;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  if (c == 0xFF) return 0x178;
  if (c >= 0x100 && c <= 0x137) return (c & 1) ? static_cast<char16_t>(c - 1) : c;
  if (c >= 0x139 && c <= 0x148) return (c & 1) ? c : static_cast<char16_t>(c - 1);
  if (c >= 0x14A && c <= 0x177) return (c & 1) ? static_cast<char16_t>(c - 1) : c;
  if (c >= 0x179 && c <= 0x17E) return (c & 1) ? c : static_cast<char16_t>(c - 1);
  if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) return static_cast<char16_t>(c - 32);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 32);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 80);
  return c;
}

int compareNoCase(std::u16string_view a, std::u16string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = foldCase(a[i]);
    const char16_t y = foldCase(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
  return compareNoCase(utf8ToUtf16(a), utf8ToUtf16(b)) == 0;
}

}  // namespace pgv::platform
