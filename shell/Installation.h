#pragma once
// Installing the program into a machine on first use: the skin folder (movies, message
// files) copied from the skin folder beside the executable into
// <program folder>\skin, and the Logs folder. Files that are already installed are left
// as they are, so a machine keeps its own message texts.

#include <string>

#include "platform/Platform.h"

namespace pgv::shell {

// The host folder holding the skin files that come with the executable.
std::string bundledSkinFolder();

// Copies what is missing. False and a one-line reason when a file cannot be installed.
bool installProgramFiles(platform::Platform& platform, const std::string& skinSource, std::string& error);

}  // namespace pgv::shell
