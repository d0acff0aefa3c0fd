#pragma once
// Registration of the system-information classes (System, OS, Browsers, Messangers).

#include "engine/pgvx/ClassFactory.h"

namespace pgv::engine {

void registerSystemClasses(ClassFactory& factory);

}  // namespace pgv::engine
