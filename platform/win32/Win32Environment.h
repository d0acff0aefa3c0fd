#pragma once
// Win32 backend only: the Environment interface.

#include "platform/Environment.h"

namespace pgv::platform::win32 {

class Win32Environment : public Environment {
 public:
  std::uint32_t expandEnvironmentStrings(std::string_view src, char* dst, std::uint32_t size) override;
  std::string variable(std::string_view name) override;
};

}  // namespace pgv::platform::win32
