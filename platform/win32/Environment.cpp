// Win32 backend only: the process environment from kernel32.

#include "platform/Environment.h"

#include <vector>

#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32Text.h"

namespace pgv::platform::win32 {

std::uint32_t Win32Environment::expandEnvironmentStrings(std::string_view src, char* dst, std::uint32_t size) {
  const std::string source(src);
  const DWORD needed = ::ExpandEnvironmentStringsA(source.c_str(), nullptr, 0);
  if (dst && size >= needed) ::ExpandEnvironmentStringsA(source.c_str(), dst, size);
  return needed;
}

std::string Win32Environment::variable(std::string_view name) {
  const std::string n = ansi(name);
  const DWORD needed = ::GetEnvironmentVariableA(n.c_str(), nullptr, 0);
  if (needed == 0) return {};
  std::vector<char> buffer(needed + 1, '\0');
  ::GetEnvironmentVariableA(n.c_str(), buffer.data(), needed + 1);
  return unicode(buffer.data());
}

}  // namespace pgv::platform::win32
