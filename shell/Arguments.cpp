// Text helpers of the skin protocol.

#include "shell/Arguments.h"

#include "platform/Codepage.h"

namespace pgv::shell {

std::string upperText(std::string_view text) {
  bool ascii = true;
  for (const char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) {
    std::string out(text);
    for (char& c : out) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    }
    return out;
  }
  std::u16string wide = platform::utf8ToUtf16(text);
  for (char16_t& c : wide) c = platform::upperCase(c);
  return platform::utf16ToUtf8(wide);
}

std::string trimBlanks(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string stripBars(std::string_view text) {
  if (!text.empty() && text.front() == '|') text.remove_prefix(1);
  if (!text.empty() && text.back() == '|') text.remove_suffix(1);
  return std::string(text);
}

std::vector<std::string> splitText(std::string_view text, char separator) {
  std::vector<std::string> items;
  std::size_t start = 0;
  for (;;) {
    const auto at = text.find(separator, start);
    if (at == std::string_view::npos) {
      items.emplace_back(text.substr(start));
      return items;
    }
    items.emplace_back(text.substr(start, at - start));
    start = at + 1;
  }
}

}  // namespace pgv::shell
