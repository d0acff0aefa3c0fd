// The Browsers class.

#include "engine/services/Browsers.h"

#include "engine/services/cRegistry.h"
#include "platform/Codepage.h"

namespace pgv::engine {
namespace {

constexpr const char* kAppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

}  // namespace

bool registryKeyExists(std::int32_t root, const std::string& path) {
  cRegistry reg;
  reg.setClassKey(root);
  reg.setSectionKey(path);
  return reg.KeyExists();
}

bool Browsers::DoesExist(const std::string& Browser) {
  auto is = [&](const char* name) { return platform::equalsNoCase(Browser, name); };
  if (is("ie")) return registryKeyExists(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer");
  if (is("netscape")) {
    return registryKeyExists(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "Netscp.exe") ||
           registryKeyExists(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "Netscape.exe");
  }
  if (is("opera")) return registryKeyExists(HKEY_CURRENT_USER, "Software\\Opera Software");
  if (is("aol")) return registryKeyExists(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "Aol.exe");
  if (is("firefox")) return registryKeyExists(HKEY_LOCAL_MACHINE, std::string(kAppPaths) + "firefox.exe");
  return false;
}

}  // namespace pgv::engine
