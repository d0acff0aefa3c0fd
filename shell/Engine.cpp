// Finding, loading and attaching the engine library.

#include "shell/Engine.h"

#include <vector>

#include "engine/api/ClassIds.h"
#include "platform/ClassRegistration.h"
#include "platform/Codepage.h"

namespace pgv::shell {
namespace {

// The default value of CLSID\{...}\InprocServer32 where classes are registered, or "".
std::string registeredLibrary(platform::Registry& registry) {
  platform::HKEY key = 0;
  const platform::ClassRegistrationRoot where = platform::classRegistrationRoot();
  if (registry.openKey(where.root, where.prefix + Engine::registrationKey(), platform::regaccess::QueryValue, key) !=
      platform::status::Success) {
    return {};
  }
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  std::string data;
  if (registry.queryValue(key, "", &type, nullptr, &size) == platform::status::Success && type == platform::regtype::Sz &&
      size > 0) {
    data.resize(size);
    if (registry.queryValue(key, "", &type, reinterpret_cast<std::uint8_t*>(data.data()), &size) !=
        platform::status::Success) {
      data.clear();
    }
    data.resize(data.find('\0') == std::string::npos ? data.size() : data.find('\0'));
  }
  registry.closeKey(key);
  return platform::ansiToUtf8(data);
}

template <class Fn>
Fn entryPoint(platform::Library& library, const char* name) {
  return reinterpret_cast<Fn>(library.symbol(name));
}

}  // namespace

std::string Engine::registrationKey() { return std::string("CLSID\\") + classid::INI.clsid + "\\InprocServer32"; }

std::unique_ptr<Engine> Engine::load(platform::Platform& platform, std::string& error) {
  const std::string registered = registeredLibrary(platform.registry());
  const std::string beside =
      platform::hostPathJoin(platform::executableFolder(), platform::libraryFileName("PGVX"));
  // The library of this very build comes first: the registration of a machine may name
  // the library of another build (one built with other run-time checks cannot even be
  // loaded into this process safely). The registration is how the program finds a
  // library that is not beside it.
  std::vector<std::string> candidates;
  if (platform::hostFileExists(beside)) candidates.push_back(beside);
  if (!registered.empty() && registered != beside && platform::hostFileExists(registered)) {
    candidates.push_back(registered);
  }

  std::string reasons;
  for (const std::string& path : candidates) {
    std::string why;
    auto library = platform::loadLibrary(path, why);
    if (!library) {
      reasons += (reasons.empty() ? "" : "; ") + why;
      continue;
    }
    const auto version = entryPoint<PGVX_InterfaceVersionFn>(*library, "PGVX_InterfaceVersion");
    const auto attach = entryPoint<PGVX_AttachFn>(*library, "PGVX_Attach");
    const auto create = entryPoint<PGVX_CreateObjectFn>(*library, "PGVX_CreateObject");
    const auto reg = entryPoint<PGVX_RegisterServerFn>(*library, "PGVX_RegisterServer");
    if (!version || !attach || !create || !reg || version() != PGVX_INTERFACE_VERSION) {
      reasons += (reasons.empty() ? "" : "; ") + path + " is not an engine library of this version";
      continue;
    }
    attach(&platform);
    std::unique_ptr<Engine> engine(new Engine(std::move(library), create, reg));
    // Self-registration, as an installer would do it, when the machine names another file.
    if (path != registered) engine->registerServer();
    return engine;
  }
  error = "cannot load the engine library: " + (reasons.empty() ? std::string("none found") : reasons);
  return nullptr;
}

}  // namespace pgv::shell
