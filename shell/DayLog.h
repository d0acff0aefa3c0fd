#pragma once
// The day's log file as the main program reads it: its path and its size.

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace pgv::shell {

// <program folder>\Logs\<day>-<month>-<yyyy>_Log.txt for the current local date, day and
// month without leading zeros.
std::string dayLogFile(platform::Platform& platform);
// The size of today's file in bytes; 0 when it does not exist.
std::uint64_t dayLogSize(platform::Platform& platform);

}  // namespace pgv::shell
