// The engine library's entry points: object creation by class id, attaching the main
// program's platform, and self-registration under HKEY_CLASSES_ROOT.

#include "engine/api/EngineLibrary.h"

#include <exception>
#include <memory>
#include <string>

#include "engine/pgvx/ClassFactory.h"
#include "engine/services/Logger.h"
#include "engine/services/ModuleHelpers.h"
#include "engine/services/cRegistry.h"
#include "platform/ClassRegistration.h"
#include "platform/Codepage.h"
#include "platform/Library.h"
#include "platform/Platform.h"

namespace {

using pgv::engine::ClassFactory;
namespace pf = pgv::platform;

const ClassFactory& factory() {
  static const ClassFactory instance = [] {
    ClassFactory f;
    pgv::engine::registerEngineClasses(f);
    return f;
  }();
  return instance;
}

pf::Platform* g_platform = nullptr;

// The library's own registry class logs its deletions with the engine's texts.
void installRegistryLogHooks() {
  pgv::engine::RegistryLogHooks hooks;
  hooks.messageText = [](std::string_view key) { return pgv::engine::EngineMessage(key); };
  hooks.addToLog = [](const std::string& section, const std::string& txt) {
    pgv::engine::Logger().AddToLog(section, txt);
  };
  hooks.moduleName = "PGVX";
  pgv::engine::setRegistryLogHooks(std::move(hooks));
}

// One key with a default value, through the platform registry (ANSI at this boundary).
bool writeDefaultValue(pf::Registry& registry, const std::string& path, const std::string& value) {
  pf::HKEY key = 0;
  const pf::ClassRegistrationRoot where = pf::classRegistrationRoot();
  if (registry.createKey(where.root, pf::utf8ToAnsi(where.prefix + path), pf::regaccess::AllAccess, key, nullptr) !=
      pf::status::Success) {
    return false;
  }
  const std::string data = pf::utf8ToAnsi(value);
  const pf::Status status = registry.setValue(key, "", pf::regtype::Sz, reinterpret_cast<const std::uint8_t*>(data.c_str()),
                                              static_cast<std::uint32_t>(data.size() + 1));
  registry.closeKey(key);
  return status == pf::status::Success;
}

// Deletes a key and everything below it; a missing key is fine.
void deleteTree(pf::Registry& registry, const std::string& path) {
  pf::HKEY key = 0;
  const pf::ClassRegistrationRoot where = pf::classRegistrationRoot();
  if (registry.openKey(where.root, where.prefix + path, pf::regaccess::AllAccess, key) != pf::status::Success) return;
  std::vector<std::string> children;
  char name[256];
  for (std::uint32_t i = 0; registry.enumKey(key, i, name, sizeof name) == pf::status::Success; ++i) {
    children.emplace_back(name);
  }
  registry.closeKey(key);
  for (const auto& child : children) deleteTree(registry, path + "\\" + child);
  [[maybe_unused]] const pf::Status ignored = registry.deleteKey(where.root, where.prefix + path);
}

// Without the program (regsvr32), the library opens the platform of the system it runs on.
bool attachOwnPlatform() {
  if (g_platform) return true;
  static std::unique_ptr<pf::Platform> own;
  std::string error;
  own = pf::openPlatform({}, error);
  if (!own) return false;
  PGVX_Attach(own.get());
  return true;
}

std::string libraryFile() { return pf::moduleFileOf(reinterpret_cast<const void*>(&PGVX_CreateObject)); }

}  // namespace

extern "C" {

PGVX_EXPORT std::int32_t PGVX_CreateObject(const char* clsid, pgv::EngineObject** object) {
  if (!object) return PGVX_E_POINTER;
  *object = nullptr;
  if (!clsid) return PGVX_E_POINTER;
  if (!g_platform) return PGVX_E_NOT_ATTACHED;
  const ClassFactory::Entry* entry = factory().find(clsid);
  if (!entry) return PGVX_CLASS_E_CLASSNOTAVAILABLE;
  try {
    *object = entry->create();
  } catch (const std::exception&) {
    return PGVX_E_FAIL;
  }
  return PGVX_S_OK;
}

PGVX_EXPORT void PGVX_Attach(pgv::platform::Platform* platform) {
  g_platform = platform;
  pf::setCurrent(platform);
  installRegistryLogHooks();
}

PGVX_EXPORT std::int32_t PGVX_RegisterServer() {
  if (!g_platform) return PGVX_E_NOT_ATTACHED;
  pf::Registry& registry = g_platform->registry();
  const std::string file = libraryFile();
  for (const auto& entry : factory().entries()) {
    const std::string clsidKey = std::string("CLSID\\") + entry.id.clsid;
    const std::string className = std::string(entry.id.progId).substr(5);  // after "PGVX."
    if (!writeDefaultValue(registry, clsidKey, className) ||
        !writeDefaultValue(registry, clsidKey + "\\InprocServer32", file) ||
        !writeDefaultValue(registry, clsidKey + "\\ProgID", entry.id.progId) ||
        !writeDefaultValue(registry, entry.id.progId, className) ||
        !writeDefaultValue(registry, std::string(entry.id.progId) + "\\CLSID", entry.id.clsid)) {
      return PGVX_SELFREG_E_CLASS;
    }
  }
  return PGVX_S_OK;
}

PGVX_EXPORT std::int32_t PGVX_UnregisterServer() {
  if (!g_platform) return PGVX_E_NOT_ATTACHED;
  pf::Registry& registry = g_platform->registry();
  for (const auto& entry : factory().entries()) {
    deleteTree(registry, std::string("CLSID\\") + entry.id.clsid);
    deleteTree(registry, entry.id.progId);
  }
  return PGVX_S_OK;
}

PGVX_EXPORT std::int32_t PGVX_InterfaceVersion() { return PGVX_INTERFACE_VERSION; }

// The self-registration entry points of an in-process server, as regsvr32 calls them. Called
// without the program, the library opens the platform of the system it runs on itself.
PGVX_EXPORT std::int32_t DllRegisterServer() {
  return attachOwnPlatform() ? PGVX_RegisterServer() : PGVX_E_FAIL;
}

PGVX_EXPORT std::int32_t DllUnregisterServer() {
  return attachOwnPlatform() ? PGVX_UnregisterServer() : PGVX_E_FAIL;
}

}  // extern "C"
