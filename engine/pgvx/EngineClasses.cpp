// The classes of the engine library, registered one by one.

#include "engine/cleaners/Misc_Functions.h"
#include "engine/pgvx/ClassFactory.h"
#include "engine/pgvx/INIComponent.h"
#include "engine/pgvx/LoggerComponent.h"
#include "engine/pgvx/SystemComponents.h"
#include "engine/shredder/Shredder.h"

namespace pgv::engine {

void registerEngineClasses(ClassFactory& factory) {
  factory.add<pgv::INI, INIComponent>();
  factory.add<pgv::Logger, LoggerComponent>();
  registerSystemClasses(factory);
  factory.add<pgv::Misc_Functions, Misc_Functions>();
  factory.add<pgv::Shredder, Shredder>();
}

}  // namespace pgv::engine
