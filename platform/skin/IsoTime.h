#pragma once
// Local times written as "YYYY-MM-DDTHH:MM:SS" (the --clock option and the skin's clock
// messages).

#include <optional>
#include <string_view>

#include "platform/Clock.h"

namespace pgv::platform {

// The time, with its day of the week; nullopt unless text is exactly that form and a
// real date and time of day.
std::optional<LocalTime> parseIsoLocalTime(std::string_view text);

}  // namespace pgv::platform
