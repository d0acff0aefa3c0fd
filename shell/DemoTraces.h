#pragma once
// The traces `init-machine --demo` seeds, so that every page of the program finds and
// cleans something on a new machine. Each subsystem adds its own seeding function here.

#include "platform/Platform.h"

namespace pgv::shell {

void seedDemoTraces(platform::Platform& platform);

// Installed programs, start-up entries, browsers and messengers the detection finds.
void seedSystemTraces(platform::Platform& platform);

// A folder of private files to shred (C:\Private), with a sub-folder and scratch files
// of one type and several sizes for delete-by-type.
void seedShredderTraces(platform::Platform& platform);

}  // namespace pgv::shell
