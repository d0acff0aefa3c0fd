#pragma once
// The web skin's files as the program serves them: the pages from the skin folder of the
// machine's program folder, and the documents the program opens for the user.

#include <optional>
#include <string>

#include "platform/Platform.h"
#include "platform/skin/WebContent.h"

namespace pgv::shell {

// Brings <program folder>\skin\web up to date with the pages that come with the
// executable (bundledSkin/web) and loads every file of it into content. The pages are
// part of the program, so a newer program replaces them, unlike the message files, which
// a machine keeps as they are. False and a one-line reason when they cannot be had.
bool loadWebPages(platform::Platform& platform, const std::string& bundledSkin, platform::skin::WebContent& content,
                  std::string& error);

// The contents of a file that the program opens for the user (the day's log file), or
// nullopt when it cannot be read.
std::optional<platform::skin::WebFile> readDocument(platform::Platform& platform, const std::string& path);

}  // namespace pgv::shell
