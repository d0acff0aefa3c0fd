#pragma once
// Profile names become registry key names. A name the registry cannot hold as one key
// (empty, with a backslash or a NUL, longer than a key name may be) is refused instead
// of writing or deleting somewhere else.

#include <string_view>

namespace pgv::shell {

// The longest key name the registry takes, in characters.
inline constexpr std::size_t kMaxKeyNameLength = 255;

bool isUsableProfileName(std::string_view name);

}  // namespace pgv::shell
