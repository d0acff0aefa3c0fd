// The Messangers class.

#include "engine/services/Messangers.h"

#include "engine/services/Browsers.h"
#include "engine/services/cRegistry.h"
#include "platform/Codepage.h"

namespace pgv::engine {

bool Messangers::DoesExist(const std::string& Messanger) {
  auto is = [&](const char* name) { return platform::equalsNoCase(Messanger, name); };
  if (is("msn")) return registryKeyExists(HKEY_CURRENT_USER, "Software\\Microsoft\\MSNMessenger");
  if (is("icq")) return registryKeyExists(HKEY_CURRENT_USER, "SOFTWARE\\Mirabilis\\ICQ");
  if (is("yahoo")) return registryKeyExists(HKEY_CURRENT_USER, "SOFTWARE\\Yahoo");
  return false;
}

}  // namespace pgv::engine
