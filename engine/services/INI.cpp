// INI: the engine's access to INI files, one private-profile call per operation.

#include "engine/services/INI.h"

#include "platform/Codepage.h"
#include "platform/Platform.h"

namespace pgv::engine {
namespace {

platform::Profile& profile() { return platform::current().profile(); }

// A fixed-size buffer of NULs, the way the enumerations hand it to the platform.
std::string nulBuffer(std::size_t size) { return std::string(size, '\0'); }

}  // namespace

std::string INI::GetFromINI(const std::string& File_Path, const std::string& Section, const std::string& key) {
  std::string buffer = nulBuffer(kValueBuffer);
  const std::string section = platform::utf8ToAnsi(Section);
  const std::string keyName = platform::utf8ToAnsi(key);
  const std::uint32_t copied = profile().getString(section.c_str(), keyName.c_str(), "", buffer.data(),
                                                   static_cast<std::uint32_t>(kValueBuffer), File_Path);
  return platform::ansiToUtf8(std::string_view(buffer.data(), copied));
}

Variant INI::WriteToINI(const std::string& File_Path, const std::string& Section, const std::string& key,
                        const std::string& Value) {
  const std::string section = platform::utf8ToAnsi(Section);
  const std::string keyName = platform::utf8ToAnsi(key);
  const std::string value = platform::utf8ToAnsi(Value);
  // The write's status is not reported, as callers never looked at it.
  (void)profile().writeString(section.c_str(), keyName.c_str(), value.c_str(), File_Path);
  return {};
}

std::string INI::EnumerateSections(const std::string& File_Path) {
  std::string buffer = nulBuffer(kListBuffer);
  profile().getSectionNames(buffer.data(), static_cast<std::uint32_t>(kListBuffer), File_Path);
  return platform::ansiToUtf8(buffer);
}

std::string INI::Enumeratekeys(const std::string& File_Path, const std::string& Section) {
  std::string buffer = nulBuffer(kListBuffer);
  const std::string section = platform::utf8ToAnsi(Section);
  profile().getSection(section.c_str(), buffer.data(), static_cast<std::uint32_t>(kListBuffer), File_Path);
  return platform::ansiToUtf8(buffer);
}

}  // namespace pgv::engine
