#pragma once
// The environment a Windows program of the machine sees: the user's and the system's
// variables from the registry, plus the ones Windows derives from the installation
// (SystemRoot, windir, USERPROFILE, APPDATA, ...).

#include "platform/Environment.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"

namespace pgv::platform::portable {

class PortableEnvironment : public Environment {
 public:
  PortableEnvironment(Registry& registry, SystemInfo& system);

  std::uint32_t expandEnvironmentStrings(std::string_view src, char* dst, std::uint32_t size) override;
  std::string variable(std::string_view name) override;

  // %NAME% expansion of ANSI text with lookup as the callback gives it.
  std::string expand(std::string_view text, int depth);

 private:
  std::string lookup(std::string_view name, int depth);
  std::string derived(std::string_view name);

  Registry& registry_;
  SystemInfo& system_;
};

}  // namespace pgv::platform::portable
