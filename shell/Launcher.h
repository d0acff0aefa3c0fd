#pragma once
// Starting the program: the machine, the platform, the engine library, the skin host,
// then the windows and the message loop.

#include "shell/CommandLine.h"

namespace pgv::shell {

// Runs the program until it ends; the exit status (0 after a normal exit, 2 with a
// one-line reason on stderr for an unusable machine or installation).
int launch(const CommandLine& options);

}  // namespace pgv::shell
