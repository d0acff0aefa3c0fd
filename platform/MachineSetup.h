#pragma once
// Creating a new machine folder (the portable backend's Wine-prefix layout). The Windows
// build works on the Windows it runs on and creates no machine folders.

#include <string>

#include "platform/Status.h"

namespace pgv::platform {

// True where the program works on machine folders (the portable backend); the Windows
// build works on the Windows it runs on.
bool machineFoldersSupported();
// True when dir already holds a machine (it has registry files).
bool holdsMachine(const std::string& dir);
// Creates the layout of a new machine in dir; a one-line reason in error on failure.
[[nodiscard]] Status createMachineLayout(const std::string& dir, std::string& error);

}  // namespace pgv::platform
