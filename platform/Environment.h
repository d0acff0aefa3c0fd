#pragma once
// The process environment as Windows programs see it.

#include <cstdint>
#include <string>
#include <string_view>

namespace pgv::platform {

class Environment {
 public:
  virtual ~Environment() = default;
  // ExpandEnvironmentStringsA: expands %NAME% references in ANSI text. Unknown names
  // stay as written. Returns the size needed in bytes including the NUL; when size is
  // too small nothing is copied (dst may be null with size 0).
  virtual std::uint32_t expandEnvironmentStrings(std::string_view src, char* dst, std::uint32_t size) = 0;
  // GetEnvironmentVariableA, as text; empty when the variable is not set.
  virtual std::string variable(std::string_view name) = 0;
};

}  // namespace pgv::platform
