// Which profile names can become one registry key.

#include "shell/ProfileNames.h"

#include "platform/Codepage.h"

namespace pgv::shell {

bool isUsableProfileName(std::string_view name) {
  if (name.empty() || name.find('\\') != std::string_view::npos || name.find('\0') != std::string_view::npos) {
    return false;
  }
  // The name crosses to the registry in code page 1252, one byte per character.
  return platform::utf8ToAnsi(name).size() <= kMaxKeyNameLength;
}

}  // namespace pgv::shell
