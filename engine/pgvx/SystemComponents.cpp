// The system-information classes of the library.

#include "engine/pgvx/SystemComponents.h"

#include "engine/services/Browsers.h"
#include "engine/services/Messangers.h"
#include "engine/services/OS.h"
#include "engine/services/System.h"

namespace pgv::engine {

void registerSystemClasses(ClassFactory& factory) {
  factory.add<pgv::System, System>();
  factory.add<pgv::OS, OS>();
  factory.add<pgv::Browsers, Browsers>();
  factory.add<pgv::Messangers, Messangers>();
}

}  // namespace pgv::engine
