// Wine's text registry format, "WINE REGISTRY Version 2": the parser and the writer.
//
// The writer reproduces wineserver's output byte for byte (escapes, hex wrapping, key
// order, which keys are written), so a file that is loaded and saved unchanged stays
// the same. The parser reads everything wineserver writes and also what it accepts
// from hand-edited files, but it rejects damage that Wine would silently drop (a bad
// escape, bad hex, an unknown type tag, a truncated value): a hive is only ever saved
// from a complete reading.
//
// Pure computation over lines and sinks; no operating-system calls.

#include <cstring>
#include <string>

#include "platform/Registry.h"
#include "platform/portable/RegistryHive.h"
#include "platform/portable/RegistryText.h"

namespace pgv::platform {
namespace {

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";
constexpr std::string_view kRootComment = ";; All keys relative to ";
constexpr std::size_t kFlushAt = 60 * 1024;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
unsigned hexValue(char c) {
  if (c <= '9') return static_cast<unsigned>(c - '0');
  return static_cast<unsigned>((c | 0x20) - 'a' + 10);
}

void skipSpaces(std::string_view& text) {
  std::size_t i = 0;
  while (i < text.size() && isSpace(text[i])) ++i;
  text.remove_prefix(i);
}

bool onlySpaces(std::string_view text) {
  skipSpaces(text);
  return text.empty();
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// A string value is written in text form only when it is what a string write stores:
// whole UTF-16 units ending in a NUL unit.
bool isTerminatedString(const RegistryValue& value) {
  if (value.type != regtype::Sz && value.type != regtype::ExpandSz && value.type != regtype::MultiSz) return false;
  if (value.size < 2 || value.size % 2 != 0) return false;
  return value.data[value.size - 2] == 0 && value.data[value.size - 1] == 0;
}

}  // namespace

// ---- parser ----

class HiveParser {
 public:
  HiveParser(RegistryHive& hive, LineSource& lines, std::uint64_t now, HiveParseError& error)
      : hive_(hive), lines_(lines), now_(now), error_(error) {}

  bool run() {
    hive_.root().modified = 0;  // takes the time of the first key block, as in Wine
    if (!parseHeader()) return false;
    for (;;) {
      const Read r = readLine();
      if (r == Read::Failed) return false;
      if (r == Read::End) break;
      if (!parseLine(line_)) return false;
    }
    finishKey();
    if (hive_.root().modified == 0) hive_.root().modified = now_;
    return true;
  }

 private:
  enum class Read { Line, End, Failed };

  Read readLine() {
    std::string_view line;
    switch (lines_.next(line)) {
      case LineSource::Result::Line: break;
      case LineSource::Result::End: return Read::End;
      case LineSource::Result::TooLong:
        ++lineNumber_;
        fail("line longer than " + std::to_string(kMaxRegistryLine) + " bytes");
        return Read::Failed;
      case LineSource::Result::ReadError:
        error_.line = 0;
        error_.message = "read error";
        return Read::Failed;
    }
    ++lineNumber_;
    // Like the C reader of Wine, a line ends at a NUL byte and a trailing CR is dropped.
    if (const void* nul = std::memchr(line.data(), 0, line.size())) {
      line = line.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - line.data()));
    }
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    line_ = line;
    return Read::Line;
  }

  bool fail(std::string message) {
    error_.line = lineNumber_;
    error_.message = std::move(message);
    return false;
  }

  bool parseHeader() {
    const Read r = readLine();
    if (r == Read::Failed) return false;
    if (r == Read::End) {
      lineNumber_ = 1;
      return fail("empty file, missing the header \"WINE REGISTRY Version 2\"");
    }
    if (line_ != kHeader) return fail("missing the header \"WINE REGISTRY Version 2\"");
    return true;
  }

  bool parseLine(std::string_view text) {
    skipSpaces(text);
    if (text.empty()) return true;
    switch (text.front()) {
      case '[': return parseKeyLine(text.substr(1));
      case '@':
      case '"': return parseValueLine(text);
      case '#': return key_ ? parseKeyOption(text) : parseGlobalOption(text);
      case ';':
        if (!key_ && !sawRootComment_ && startsWith(text, kRootComment)) {
          hive_.rootPath_ = std::string(text.substr(kRootComment.size()));
          sawRootComment_ = true;
        }
        return true;
      default: return fail("unrecognized line");
    }
  }

  // ---- keys ----

  bool parseKeyLine(std::string_view text) {
    finishKey();
    if (!parseString(text, ']', text_)) return false;
    std::uint64_t time = now_;
    skipSpaces(text);
    if (!text.empty()) {
      std::uint64_t seconds = 0;
      std::size_t digits = 0;
      while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9' && digits < 20) {
        seconds = seconds * 10 + static_cast<std::uint64_t>(text[digits] - '0');
        ++digits;
      }
      if (digits == 0 || !onlySpaces(text.substr(digits))) return fail("malformed key line");
      time = static_cast<std::uint32_t>(seconds) * kTicksPerSecond + kTicks1601To1970;
    }
    keyLineTime_ = time;
    key_ = &locateKey(text_);
    return true;
  }

  // The key at a path relative to the hive root, created as needed. Consecutive blocks
  // share most of their path, so the previous path's keys are reused element by element.
  RegistryKey& locateKey(std::u16string_view path) {
    RegistryKey* key = &hive_.root();
    std::size_t depth = 0;
    std::size_t i = 0;
    while (i < path.size()) {
      std::size_t end = path.find(u'\\', i);
      if (end == std::u16string_view::npos) end = path.size();
      const std::u16string_view element = path.substr(i, end - i);
      i = end + 1;
      if (element.empty()) continue;  // doubled separators name no key of their own
      if (depth < path_.size() && compareRegistryNames(path_[depth]->nameView(), element) == 0) {
        key = path_[depth];
      } else {
        path_.resize(depth);
        key = &childFor(*key, element);
        path_.push_back(key);
      }
      ++depth;
    }
    path_.resize(depth);
    return *key;
  }

  RegistryKey& childFor(RegistryKey& parent, std::u16string_view name) {
    std::size_t index = 0;
    if (RegistryKey* existing = parent.findSubkey(name, &index)) return *existing;
    RegistryKey& key = hive_.newKey();
    key.parent = &parent;
    key.name = hive_.arena_.copy(name);
    key.nameLength = static_cast<std::uint32_t>(name.size());
    key.modified = 0;  // set by the block's time, or by the first descendant's
    parent.subkeys.insert(parent.subkeys.begin() + static_cast<std::ptrdiff_t>(index), &key);
    return key;
  }

  // Gives the finished block's key, and the keys created above it, their time.
  void finishKey() {
    if (key_) setTimeIfUnset(key_, keyLineTime_);
    key_ = nullptr;
  }

  static void setTimeIfUnset(RegistryKey* key, std::uint64_t time) {
    while (key && key->modified == 0) {
      key->modified = time;
      key = key->parent;
    }
  }

  bool parseKeyOption(std::string_view text) {
    if (startsWith(text, "#time=")) {
      std::string_view digits = text.substr(6);
      std::uint64_t time = 0;
      std::size_t n = 0;
      while (n < digits.size() && isHexDigit(digits[n]) && n < 16) time = (time << 4) | hexValue(digits[n++]);
      if (n == 0 || !onlySpaces(digits.substr(n))) return fail("malformed #time option");
      setTimeIfUnset(key_, time);
    } else if (startsWith(text, "#class=")) {
      std::string_view rest = text.substr(7);
      if (rest.empty() || rest.front() != '"') return fail("malformed #class option");
      rest.remove_prefix(1);
      if (!parseString(rest, '"', text_)) return false;
      hive_.setClass(*key_, text_);
    } else if (startsWith(text, "#link")) {
      key_->flags |= keyflag::Link;
    }
    return true;  // other options are ignored, as Wine does
  }

  bool parseGlobalOption(std::string_view text) {
    if (!startsWith(text, "#arch=")) return true;
    const std::string_view arch = text.substr(6);
    if (arch == "win32") hive_.arch_ = HiveArch::Win32;
    else if (arch == "win64") hive_.arch_ = HiveArch::Win64;
    else return fail("unknown architecture \"" + std::string(arch) + "\"");
    hive_.archLine_ = lineNumber_;
    return true;
  }

  // ---- values ----

  bool parseValueLine(std::string_view text) {
    if (!key_) return fail("value outside of any key");
    if (text.front() == '@') {
      name_.clear();
      text.remove_prefix(1);
    } else {
      text.remove_prefix(1);
      if (!parseString(text, '"', name_)) return false;
    }
    skipSpaces(text);
    if (text.empty() || text.front() != '=') return fail("malformed value line: missing '='");
    text.remove_prefix(1);
    skipSpaces(text);

    std::uint32_t type = 0;
    if (startsWith(text, "\"")) return parseStringValue(text.substr(1), regtype::Sz);
    if (startsWith(text, "str:\"")) return parseStringValue(text.substr(5), regtype::Sz);
    if (startsWith(text, "str(2):\"")) return parseStringValue(text.substr(8), regtype::ExpandSz);
    if (startsWith(text, "str(7):\"")) return parseStringValue(text.substr(8), regtype::MultiSz);
    if (startsWith(text, "dword:")) return parseDwordValue(text.substr(6));
    if (startsWith(text, "hex:")) return parseHexValue(text.substr(4), regtype::Binary);
    if (startsWith(text, "hex(")) {
      std::size_t n = 4;
      while (n < text.size() && isHexDigit(text[n]) && n < 12) type = (type << 4) | hexValue(text[n++]);
      if (n == 4 || text.substr(n, 2) != "):") return fail("unknown value type");
      return parseHexValue(text.substr(n + 2), type);
    }
    return fail("unknown value type");
  }

  bool parseStringValue(std::string_view text, std::uint32_t type) {
    if (!parseString(text, '"', text_)) return false;
    if (!onlySpaces(text)) return fail("text after the closing quote");
    data_.clear();
    data_.reserve((text_.size() + 1) * 2);
    for (char16_t c : text_) {
      data_.push_back(static_cast<std::uint8_t>(c & 0xFF));
      data_.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    data_.push_back(0);  // the terminating NUL that string writes store
    data_.push_back(0);
    storeValue(type);
    return true;
  }

  bool parseDwordValue(std::string_view text) {
    std::uint32_t value = 0;
    std::size_t n = 0;
    while (n < text.size() && isHexDigit(text[n]) && n < 8) value = (value << 4) | hexValue(text[n++]);
    if (n == 0 || !onlySpaces(text.substr(n))) return fail("bad dword data");
    data_.assign({static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                  static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
    storeValue(regtype::Dword);
    return true;
  }

  bool parseHexValue(std::string_view text, std::uint32_t type) {
    data_.clear();
    for (;;) {
      std::size_t i = 0;
      while (i < text.size() && isHexDigit(text[i])) {
        unsigned byte = 0;
        while (i < text.size() && isHexDigit(text[i])) {
          byte = byte * 16 + hexValue(text[i++]);
          if (byte > 0xFF) return fail("bad hex data");
        }
        data_.push_back(static_cast<std::uint8_t>(byte));
        while (i < text.size() && isSpace(text[i])) ++i;
        if (i < text.size() && text[i] == ',') ++i;
        while (i < text.size() && isSpace(text[i])) ++i;
      }
      if (i == text.size()) break;
      if (text[i] != '\\' || !onlySpaces(text.substr(i + 1))) return fail("bad hex data");
      const Read r = readLine();
      if (r == Read::Failed) return false;
      if (r == Read::End) return fail("file ends inside hex data");
      text = line_;
      skipSpaces(text);
    }
    storeValue(type);
    return true;
  }

  void storeValue(std::uint32_t type) {
    std::size_t index = 0;
    auto* value = const_cast<RegistryValue*>(key_->findValue(name_, &index));
    if (!value) {
      RegistryValue fresh;
      fresh.name = hive_.arena_.copy(name_);
      fresh.nameLength = static_cast<std::uint32_t>(name_.size());
      value = &*key_->values.insert(key_->values.begin() + static_cast<std::ptrdiff_t>(index), fresh);
    }
    value->type = type;
    value->size = static_cast<std::uint32_t>(data_.size());
    value->data = hive_.arena_.copy(data_.data(), data_.size());
  }

  // ---- escaped strings ----

  // Reads an escaped string up to endChar and moves text past it. Raw bytes above 0x7F
  // are UTF-8; an invalid byte is skipped as Wine skips it.
  bool parseString(std::string_view& text, char endChar, std::u16string& out) {
    // No input byte yields more than one code unit, except a four-byte UTF-8 sequence
    // which yields two; so the text's length bounds the output.
    out.resize(text.size() + 1);
    char16_t* dest = out.data();
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (c == static_cast<unsigned char>(endChar)) {
        out.resize(static_cast<std::size_t>(dest - out.data()));
        text.remove_prefix(i + 1);
        return true;
      }
      if (c == '\\') {
        if (!parseEscape(text, i, dest)) return false;
      } else if (c < 0x80) {
        *dest++ = c;
        ++i;
      } else {
        decodeUtf8(text, i, dest);
      }
    }
    return fail(std::string("unterminated string, missing the closing ") + endChar);
  }

  bool parseEscape(std::string_view text, std::size_t& i, char16_t*& dest) {
    if (i + 1 >= text.size()) return fail("backslash at the end of the line");
    const char e = text[i + 1];
    i += 2;
    switch (e) {
      case 'a': *dest++ = u'\a'; return true;
      case 'b': *dest++ = u'\b'; return true;
      case 'e': *dest++ = u'\x1b'; return true;
      case 'f': *dest++ = u'\f'; return true;
      case 'n': *dest++ = u'\n'; return true;
      case 'r': *dest++ = u'\r'; return true;
      case 't': *dest++ = u'\t'; return true;
      case 'v': *dest++ = u'\v'; return true;
      case '\\':
      case '"':
      case '[':
      case ']': *dest++ = static_cast<char16_t>(e); return true;
      case 'x': {
        unsigned value = 0;
        int digits = 0;
        while (digits < 4 && i < text.size() && isHexDigit(text[i])) {
          value = value * 16 + hexValue(text[i++]);
          ++digits;
        }
        if (digits == 0) return fail("bad escape \\x without hex digits");
        *dest++ = static_cast<char16_t>(value);
        return true;
      }
      default:
        if (e >= '0' && e <= '7') {
          unsigned value = static_cast<unsigned>(e - '0');
          for (int k = 0; k < 2 && i < text.size() && text[i] >= '0' && text[i] <= '7'; ++k) {
            value = value * 8 + static_cast<unsigned>(text[i++] - '0');
          }
          *dest++ = static_cast<char16_t>(value);
          return true;
        }
        return fail(std::string("bad escape \\") + e);
    }
  }

  static void decodeUtf8(std::string_view text, std::size_t& i, char16_t*& dest) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    int follow = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) { follow = 1; cp = lead & 0x1F; minimum = 0x80; }
    else if (lead >= 0xE0 && lead <= 0xEF) { follow = 2; cp = lead & 0x0F; minimum = 0x800; }
    else if (lead >= 0xF0 && lead <= 0xF4) { follow = 3; cp = lead & 0x07; minimum = 0x10000; }
    else return;  // not a lead byte: ignored
    for (int k = 0; k < follow; ++k) {
      if (i >= text.size()) return;
      const auto c = static_cast<unsigned char>(text[i]);
      if ((c & 0xC0) != 0x80) return;
      cp = (cp << 6) | (c & 0x3F);
      ++i;
    }
    if (cp < minimum || cp > 0x10FFFF) return;
    if (cp < 0x10000) {
      *dest++ = static_cast<char16_t>(cp);
    } else {
      cp -= 0x10000;
      *dest++ = static_cast<char16_t>(0xD800 | (cp >> 10));
      *dest++ = static_cast<char16_t>(0xDC00 | (cp & 0x3FF));
    }
  }

  RegistryHive& hive_;
  LineSource& lines_;
  std::uint64_t now_;
  HiveParseError& error_;
  std::string_view line_;
  std::size_t lineNumber_ = 0;
  bool sawRootComment_ = false;
  RegistryKey* key_ = nullptr;
  std::uint64_t keyLineTime_ = 0;
  std::vector<RegistryKey*> path_;
  std::u16string text_;
  std::u16string name_;
  std::vector<std::uint8_t> data_;
};

bool RegistryHive::parse(LineSource& lines, std::uint64_t now, HiveParseError& error) {
  return HiveParser(*this, lines, now, error).run();
}

bool RegistryHive::parseText(std::string_view text, std::uint64_t now, HiveParseError& error) {
  TextLines lines(text, kMaxRegistryLine);
  return parse(lines, now, error);
}

// ---- writer ----

namespace {

class HiveWriter {
 public:
  explicit HiveWriter(TextSink& sink) : sink_(sink) { out_.reserve(kFlushAt + 4096); }

  bool run(const RegistryHive& hive) {
    out_ += kHeader;
    out_ += '\n';
    out_ += kRootComment;
    out_ += hive.rootPath();
    out_ += '\n';
    out_ += hive.arch() == HiveArch::Win64 ? "\n#arch=win64\n" : "\n#arch=win32\n";
    std::string path;
    writeKey(hive.root(), hive.root(), path);
    if (ok_ && !out_.empty()) ok_ = sink_.write(out_);
    return ok_;
  }

 private:
  void flushIfFull() {
    if (out_.size() < kFlushAt) return;
    if (ok_) ok_ = sink_.write(out_);
    out_.clear();
  }

  // Wine saves a key when it has values, no subkeys, a class or is a link; a key that
  // only holds subkeys is implied by theirs.
  void writeKey(const RegistryKey& key, const RegistryKey& base, std::string& path) {
    const bool listed = !key.values.empty() || key.subkeys.empty() || key.is(keyflag::HasClass) ||
                        key.is(keyflag::Link);
    if (listed) {
      out_ += "\n[";
      out_ += path;
      out_ += "] ";
      const auto seconds = (static_cast<std::int64_t>(key.modified) - static_cast<std::int64_t>(kTicks1601To1970)) /
                           static_cast<std::int64_t>(kTicksPerSecond);
      appendDecimal(static_cast<std::uint32_t>(seconds));
      out_ += "\n#time=";
      appendHex(static_cast<std::uint32_t>(key.modified >> 32), 1);
      appendHex(static_cast<std::uint32_t>(key.modified), 8);
      out_ += '\n';
      if (key.is(keyflag::HasClass)) {
        out_ += "#class=\"";
        appendEscaped(key.className, key.classLength, '"', '"');
        out_ += "\"\n";
      }
      if (key.is(keyflag::Link)) out_ += "#link\n";
      for (const RegistryValue& value : key.values) {
        writeValue(value);
        flushIfFull();
      }
      flushIfFull();
    }
    for (const RegistryKey* sub : key.subkeys) {
      const std::size_t length = path.size();
      if (&key != &base) path += "\\\\";
      appendEscapedTo(path, sub->name, sub->nameLength, '[', ']');
      writeKey(*sub, base, path);
      path.resize(length);
    }
  }

  void writeValue(const RegistryValue& value) {
    std::size_t count;
    if (value.nameLength > 0) {
      out_ += '"';
      count = 1 + appendEscaped(value.name, value.nameLength, '"', '"');
      out_ += "\"=";
      count += 2;
    } else {
      out_ += "@=";
      count = 2;
    }
    if (isTerminatedString(value)) {
      if (value.type != regtype::Sz) {
        out_ += value.type == regtype::ExpandSz ? "str(2):" : "str(7):";
      }
      out_ += '"';
      appendEscapedBytes(value.data, value.size / 2 - 1);
      out_ += "\"\n";
      return;
    }
    if (value.type == regtype::Dword && value.size == 4) {
      out_ += "dword:";
      appendHex(static_cast<std::uint32_t>(value.data[0]) | static_cast<std::uint32_t>(value.data[1]) << 8 |
                    static_cast<std::uint32_t>(value.data[2]) << 16 | static_cast<std::uint32_t>(value.data[3]) << 24,
                8);
      out_ += '\n';
      return;
    }
    const std::size_t before = out_.size();
    if (value.type == regtype::Binary) {
      out_ += "hex:";
    } else {
      out_ += "hex(";
      appendHex(value.type, 1);
      out_ += "):";
    }
    count += out_.size() - before;
    static constexpr char kDigits[] = "0123456789abcdef";
    for (std::uint32_t i = 0; i < value.size; ++i) {
      out_ += kDigits[value.data[i] >> 4];
      out_ += kDigits[value.data[i] & 0xF];
      count += 2;
      if (i + 1 < value.size) {
        out_ += ',';
        if (++count > 76) {
          out_ += "\\\n  ";
          count = 2;
        }
      }
    }
    out_ += '\n';
  }

  std::size_t appendEscaped(const char16_t* text, std::size_t length, char quote1, char quote2) {
    return appendEscapedTo(out_, text, length, quote1, quote2);
  }

  std::size_t appendEscapedBytes(const std::uint8_t* data, std::size_t units) {
    auto unitAt = [data](std::size_t i) {
      return static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    };
    return escapeUnits(out_, unitAt, units, '"', '"');
  }

  static std::size_t appendEscapedTo(std::string& out, const char16_t* text, std::size_t length, char quote1,
                                     char quote2) {
    return escapeUnits(out, [text](std::size_t i) { return text[i]; }, length, quote1, quote2);
  }

  // Wine's escaping: C escapes for the usual controls, octal for the others (three
  // digits when an octal digit follows), \x with minimal hex digits for code units above
  // 0x7F (four when a hex digit follows), a backslash before \ and the two quote
  // characters of the context. Returns the number of characters written.
  template <typename UnitAt>
  static std::size_t escapeUnits(std::string& out, UnitAt unitAt, std::size_t length, char quote1, char quote2) {
    static constexpr char kEscapes[33] = ".......abtnvfr.............e....";
    static constexpr char kDigits[] = "0123456789abcdef";
    const std::size_t before = out.size();
    for (std::size_t i = 0; i < length; ++i) {
      const char16_t c = unitAt(i);
      const bool hasNext = i + 1 < length;
      if (c > 127) {
        const char16_t next = hasNext ? unitAt(i + 1) : 0;
        const bool pad = hasNext && next < 128 && isHexDigit(static_cast<char>(next));
        out += "\\x";
        int digits = 4;
        if (!pad) {
          digits = 1;
          while (digits < 4 && (c >> (4 * digits)) != 0) ++digits;
        }
        for (int d = digits - 1; d >= 0; --d) out += kDigits[(c >> (4 * d)) & 0xF];
        continue;
      }
      if (c < 32) {
        out += '\\';
        if (kEscapes[c] != '.') {
          out += kEscapes[c];
        } else {
          const char16_t next = hasNext ? unitAt(i + 1) : 0;
          const bool pad = hasNext && next >= '0' && next <= '7';
          if (pad || c >= 8 * 8) out += static_cast<char>('0' + ((c >> 6) & 7));
          if (pad || c >= 8) out += static_cast<char>('0' + ((c >> 3) & 7));
          out += static_cast<char>('0' + (c & 7));
        }
        continue;
      }
      const char ch = static_cast<char>(c);
      if (ch == '\\' || ch == quote1 || ch == quote2) out += '\\';
      out += ch;
    }
    return out.size() - before;
  }

  void appendDecimal(std::uint32_t value) {
    char digits[10];
    int n = 0;
    do {
      digits[n++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    while (n > 0) out_ += digits[--n];
  }

  void appendHex(std::uint32_t value, int minDigits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    int digits = 1;
    while (digits < 8 && (value >> (4 * digits)) != 0) ++digits;
    if (digits < minDigits) digits = minDigits;
    for (int d = digits - 1; d >= 0; --d) out_ += kDigits[(value >> (4 * d)) & 0xF];
  }

  TextSink& sink_;
  std::string out_;
  bool ok_ = true;
};

}  // namespace

bool RegistryHive::write(TextSink& sink) const { return HiveWriter(sink).run(*this); }

std::string RegistryHive::toText() const {
  std::string text;
  StringSink sink(text);
  write(sink);
  return text;
}

}  // namespace pgv::platform
