#pragma once
// The engine library as the main program sees it: loaded at run time, attached to the
// program's platform, and asked for objects by class id only.

#include <memory>
#include <string>

#include "engine/api/EngineError.h"
#include "engine/api/EngineLibrary.h"
#include "platform/Library.h"
#include "platform/Platform.h"

namespace pgv::shell {

class Engine {
 public:
  // Loads the library: the one beside the executable, else the file registered for its
  // classes under HKEY_CLASSES_ROOT; either must be of this program's interface version.
  // Registers the loaded library when the machine's registration names another file.
  // Null and a one-line reason in error when no library can be used.
  static std::unique_ptr<Engine> load(platform::Platform& platform, std::string& error);

  // An object of the engine class Interface. Raises EngineError 429 when the library
  // cannot create it (a class that is not built, for one), as creating a missing
  // component does.
  template <class Interface>
  std::unique_ptr<Interface> create() const {
    EngineObject* object = nullptr;
    const std::int32_t result = create_(Interface::kClassId.clsid, &object);
    if (result != PGVX_S_OK || !object) {
      throw EngineError(429, "purgavia", std::string("ActiveX component can't create object: ") +
                                             Interface::kClassId.progId);
    }
    return std::unique_ptr<Interface>(static_cast<Interface*>(object));
  }

  // The file the library was loaded from (a host path).
  const std::string& libraryPath() const { return library_->path(); }
  // Writes the library's registration into the machine's registry.
  bool registerServer() const { return register_() == PGVX_S_OK; }

  // The HKEY_CLASSES_ROOT key whose InprocServer32 names the library.
  static std::string registrationKey();

 private:
  Engine(std::unique_ptr<platform::Library> library, PGVX_CreateObjectFn create, PGVX_RegisterServerFn reg)
      : library_(std::move(library)), create_(create), register_(reg) {}

  std::unique_ptr<platform::Library> library_;
  PGVX_CreateObjectFn create_;
  PGVX_RegisterServerFn register_;
};

}  // namespace pgv::shell
