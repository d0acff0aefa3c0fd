#pragma once
// The skin host that the command line chooses: the web pages (the default) or JSON lines
// on the standard streams.

#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/skin/JsonSkinHost.h"
#include "shell/CommandLine.h"

namespace pgv::shell {

// Creates the host. machine may be null (a second instance that ends at once).
std::unique_ptr<platform::skin::JsonSkinHost> createSkinHost(const CommandLine& options,
                                                             const platform::skin::JsonSkinHostOptions& hostOptions,
                                                             platform::Platform* machine);

// Starts it once the program's files are installed: the stdio host starts reading; the
// web host loads its pages, listens, prints its address and opens the browser (unless
// --no-browser). False and a one-line reason when it cannot start.
bool startSkinHost(platform::skin::JsonSkinHost& host, const CommandLine& options, platform::Platform& machine,
                   const std::string& bundledSkin, std::string& error);

}  // namespace pgv::shell
