// The system-information classes of the library.

#include "engine/pgvx/SystemComponents.h"

namespace pgv::engine {

void registerSystemClasses(ClassFactory& /*factory*/) {
  // System, OS, Browsers and Messangers are registered here once they exist.
}

}  // namespace pgv::engine
