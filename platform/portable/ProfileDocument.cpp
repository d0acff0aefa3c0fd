// Parsing and writing INI files. Pure text processing: no operating-system calls.

#include "platform/portable/ProfileDocument.h"

#include "platform/Codepage.h"

namespace pgv::platform::portable {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

std::u16string decodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    text += static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  }
  return text;
}

std::string encodeUtf16(std::u16string_view text, bool bigEndian) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    const char high = static_cast<char>(c >> 8);
    const char low = static_cast<char>(c & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

std::u16string decodeText(std::string_view bytes, ProfileEncoding& encoding) {
  if (bytes.starts_with(kUtf8Bom)) {
    encoding = ProfileEncoding::Utf8;
    return utf8ToUtf16(bytes.substr(kUtf8Bom.size()));
  }
  if (bytes.starts_with(kUtf16LeBom)) {
    encoding = ProfileEncoding::Utf16LittleEndian;
    return decodeUtf16(bytes.substr(kUtf16LeBom.size()), false);
  }
  if (bytes.starts_with(kUtf16BeBom)) {
    encoding = ProfileEncoding::Utf16BigEndian;
    return decodeUtf16(bytes.substr(kUtf16BeBom.size()), true);
  }
  encoding = ProfileEncoding::Ansi;
  return ansiToUtf16(bytes);
}

std::string encodeText(std::u16string_view text, ProfileEncoding encoding) {
  switch (encoding) {
    case ProfileEncoding::Utf8:
      return std::string(kUtf8Bom) + utf16ToUtf8(text);
    case ProfileEncoding::Utf16LittleEndian:
      return std::string(kUtf16LeBom) + encodeUtf16(text, false);
    case ProfileEncoding::Utf16BigEndian:
      return std::string(kUtf16BeBom) + encodeUtf16(text, true);
    case ProfileEncoding::Ansi:
      break;
  }
  return utf16ToAnsi(text);
}

// "[name]" with text up to the last ']'; nullopt when the line is not a header.
std::optional<std::u16string> sectionHeaderName(std::u16string_view line) {
  if (line.empty() || line.front() != u'[') return std::nullopt;
  const std::size_t close = line.rfind(u']');
  if (close == std::u16string_view::npos || close == 0) return std::nullopt;
  return std::u16string(trimProfileBlanks(line.substr(1, close - 1)));
}

ProfileLine parseLine(std::u16string_view line) {
  const std::size_t equals = line.find(u'=');
  if (equals == std::u16string_view::npos) return ProfileLine{std::u16string(line), std::nullopt};
  return ProfileLine{std::u16string(trimProfileBlanks(line.substr(0, equals))),
                     std::u16string(trimProfileBlanks(line.substr(equals + 1)))};
}

bool isLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

}  // namespace

bool isProfileBlank(char16_t c) { return c == u' ' || (c >= 0x09 && c <= 0x0D) || c == 0x1A; }

std::u16string_view trimProfileBlanks(std::u16string_view text) {
  while (!text.empty() && isProfileBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isProfileBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool sameProfileName(std::u16string_view a, std::u16string_view b) { return compareNoCase(a, b) == 0; }

ProfileSection* ProfileDocument::findSection(std::u16string_view name) {
  const std::u16string_view wanted = trimProfileBlanks(name);
  for (ProfileSection& section : sections) {
    if (sameProfileName(section.name, wanted)) return &section;
  }
  return nullptr;
}

const ProfileSection* ProfileDocument::findSection(std::u16string_view name) const {
  return const_cast<ProfileDocument*>(this)->findSection(name);
}

ProfileLine* findLine(ProfileSection& section, std::u16string_view name) {
  const std::u16string_view wanted = trimProfileBlanks(name);
  for (ProfileLine& line : section.lines) {
    if (sameProfileName(line.name, wanted)) return &line;
  }
  return nullptr;
}

const ProfileLine* findLine(const ProfileSection& section, std::u16string_view name) {
  return findLine(const_cast<ProfileSection&>(section), name);
}

ProfileDocument parseProfile(std::string_view fileBytes) {
  ProfileDocument document;
  const std::u16string text = decodeText(fileBytes, document.encoding);
  const std::u16string_view all(text);
  std::size_t start = 0;
  while (start < all.size()) {
    std::size_t end = start;
    while (end < all.size() && !isLineBreak(all[end])) ++end;
    const std::u16string_view line = trimProfileBlanks(all.substr(start, end - start));
    while (end < all.size() && isLineBreak(all[end])) ++end;
    start = end;
    if (line.empty()) continue;
    if (auto name = sectionHeaderName(line)) {
      document.sections.push_back(ProfileSection{std::move(*name), {}});
    } else {
      document.sections.back().lines.push_back(parseLine(line));
    }
  }
  return document;
}

std::string serializeProfile(const ProfileDocument& document) {
  std::u16string text;
  for (std::size_t i = 0; i < document.sections.size(); ++i) {
    const ProfileSection& section = document.sections[i];
    // The nameless first section has no header. A later section always gets one, even
    // an empty "[]", so that its lines do not join the section before it.
    if (i > 0) text += u"[" + section.name + u"]\r\n";
    for (const ProfileLine& line : section.lines) {
      text += line.name;
      if (line.value) text += u"=" + *line.value;
      text += u"\r\n";
    }
  }
  return encodeText(text, document.encoding);
}

}  // namespace pgv::platform::portable
