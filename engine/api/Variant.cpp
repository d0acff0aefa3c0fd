// Text and number forms of Variant values.

#include "engine/api/Variant.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/Codepage.h"

namespace pgv {

std::string Variant::toText() const {
  switch (kind()) {
    case Kind::Empty: return {};
    case Kind::Boolean: return std::get<bool>(value_) ? "True" : "False";
    case Kind::Integer: return std::to_string(std::get<std::int16_t>(value_));
    case Kind::Long: return std::to_string(std::get<std::int32_t>(value_));
    case Kind::Double: {
      char buffer[64];
      std::snprintf(buffer, sizeof buffer, "%.15g", std::get<double>(value_));
      return buffer;
    }
    case Kind::String: return std::get<std::string>(value_);
    case Kind::ByteArray: {
      const Bytes& b = std::get<Bytes>(value_);
      return platform::ansiToUtf8(std::string(b.begin(), b.end()));
    }
  }
  return {};
}

std::int32_t Variant::toLong() const {
  switch (kind()) {
    case Kind::Empty: return 0;
    case Kind::Boolean: return std::get<bool>(value_) ? -1 : 0;
    case Kind::Integer: return std::get<std::int16_t>(value_);
    case Kind::Long: return std::get<std::int32_t>(value_);
    case Kind::Double: {
      const double d = std::nearbyint(std::get<double>(value_));
      if (!(d >= -2147483648.0 && d <= 2147483647.0)) return 0;
      return static_cast<std::int32_t>(d);
    }
    case Kind::String: {
      const std::string& s = std::get<std::string>(value_);
      std::size_t start = s.find_first_not_of(" \t");
      if (start == std::string::npos) return 0;
      std::int32_t n = 0;
      auto [ptr, ec] = std::from_chars(s.data() + start + (s[start] == '+' ? 1 : 0), s.data() + s.size(), n);
      (void)ptr;
      return ec == std::errc() ? n : 0;
    }
    case Kind::ByteArray: return 0;
  }
  return 0;
}

bool Variant::toBool() const {
  if (kind() == Kind::String) {
    const std::string& s = std::get<std::string>(value_);
    return s == "1" || platform::equalsNoCase(s, "true") || (toLong() != 0);
  }
  return toLong() != 0;
}

}  // namespace pgv
