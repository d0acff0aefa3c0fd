#pragma once
// A value of the engine interface: empty, Boolean, 16/32-bit integer, floating point,
// text (UTF-8) or byte array. Every value that crosses the interface as "any type"
// (registry data, defaults, results that callers ignore) is one of these.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace pgv {

using Bytes = std::vector<std::uint8_t>;

class Variant {
 public:
  enum class Kind { Empty, Boolean, Integer, Long, Double, String, ByteArray };

  Variant() = default;
  Variant(bool v) : value_(v) {}
  Variant(std::int16_t v) : value_(v) {}
  Variant(std::int32_t v) : value_(v) {}
  Variant(double v) : value_(v) {}
  Variant(std::string v) : value_(std::move(v)) {}
  Variant(const char* v) : value_(std::string(v)) {}
  Variant(Bytes v) : value_(std::move(v)) {}

  Kind kind() const { return static_cast<Kind>(value_.index()); }
  bool isEmpty() const { return kind() == Kind::Empty; }
  bool isInteger() const { return kind() == Kind::Integer || kind() == Kind::Long; }

  // The value as text: "" for empty, "True"/"False", decimal numbers, byte arrays as
  // their bytes taken as code page 1252 characters.
  std::string toText() const;
  // The value as a 32-bit integer: 0 for empty or text that is not a number.
  std::int32_t toLong() const;
  bool toBool() const;
  const Bytes* bytes() const { return std::get_if<Bytes>(&value_); }
  const std::string* text() const { return std::get_if<std::string>(&value_); }

  bool operator==(const Variant& other) const = default;

 private:
  std::variant<std::monostate, bool, std::int16_t, std::int32_t, double, std::string, Bytes> value_;
};

}  // namespace pgv
