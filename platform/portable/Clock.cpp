// The portable backend's clock: host time through POSIX, or a fake clock.
// This file may contain only generic POSIX code.

#include <ctime>
#include <optional>
#include <vector>

#include "platform/Codepage.h"
#include "platform/common/DateFormat.h"
#include "platform/portable/PortableClock.h"

namespace pgv::platform::portable {
namespace {

constexpr const char* kInternationalKey = "Control Panel\\International";
constexpr const char* kDefaultShortDate = "M/d/yyyy";
constexpr const char* kDefaultTimeFormat = "h:mm:ss tt";
constexpr const char* kDefaultAm = "AM";
constexpr const char* kDefaultPm = "PM";

LocalTime withComputedWeekday(LocalTime t) {
  t.dayOfWeek = dayOfWeek(t.year, t.month, t.day);
  return t;
}

LocalTime hostLocalTime() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  std::tm parts{};
  localtime_r(&now.tv_sec, &parts);
  LocalTime t;
  t.year = parts.tm_year + 1900;
  t.month = parts.tm_mon + 1;
  t.day = parts.tm_mday;
  t.dayOfWeek = parts.tm_wday;
  t.hour = parts.tm_hour;
  t.minute = parts.tm_min;
  // A leap second (tm_sec 60) does not exist in SYSTEMTIME.
  t.second = parts.tm_sec > 59 ? 59 : parts.tm_sec;
  t.milliseconds = static_cast<int>(now.tv_nsec / 1000000);
  return t;
}

std::uint32_t hostTickCount() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
  return static_cast<std::uint32_t>(ms);  // wraps after 49.7 days, as GetTickCount does
}

// A string value of the user's regional settings, as ANSI text; nullopt when missing.
std::optional<std::string> readInternationalValue(Registry& registry, const char* name) {
  HKEY key = 0;
  if (registry.openKey(HKEY_CURRENT_USER, kInternationalKey, regaccess::QueryValue, key) != status::Success) {
    return std::nullopt;
  }
  std::optional<std::string> text;
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (registry.queryValue(key, name, &type, nullptr, &size) == status::Success &&
      (type == regtype::Sz || type == regtype::ExpandSz)) {
    std::vector<std::uint8_t> data(size + 1, 0);
    if (registry.queryValue(key, name, &type, data.data(), &size) == status::Success) {
      text.emplace(reinterpret_cast<const char*>(data.data()));  // up to the first NUL
    }
  }
  registry.closeKey(key);
  return text;
}

}  // namespace

PortableClock::PortableClock(Registry& registry) : registry_(registry) {}

PortableClock::PortableClock(Registry& registry, const LocalTime& start)
    : registry_(registry), fake_(true), fakeNow_(withComputedWeekday(start)) {}

LocalTime PortableClock::now() { return fake_ ? fakeNow_ : hostLocalTime(); }

std::string PortableClock::regionalSetting(const char* name, const char* fallback, bool emptyAllowed) {
  const std::optional<std::string> value = readInternationalValue(registry_, name);
  if (!value || (value->empty() && !emptyAllowed)) return fallback;
  return ansiToUtf8(*value);
}

std::string PortableClock::shortDate(const LocalTime& t) {
  return formatDatePicture(regionalSetting("sShortDate", kDefaultShortDate, false), t);
}

std::string PortableClock::timeText(const LocalTime& t) {
  return formatTimePicture(regionalSetting("sTimeFormat", kDefaultTimeFormat, false), t,
                           regionalSetting("s1159", kDefaultAm, true), regionalSetting("s2359", kDefaultPm, true));
}

std::uint32_t PortableClock::tickCount() {
  return fake_ ? static_cast<std::uint32_t>(fakeTicks_) : hostTickCount();
}

bool PortableClock::setLocalTime(const LocalTime& t) {
  if (!fake_ || !isValidLocalTime(t)) return false;
  // The tick count only moves forward, as GetTickCount does when the date is set back.
  const std::int64_t step = toEpochMilliseconds(t) - toEpochMilliseconds(fakeNow_);
  if (step > 0) fakeTicks_ += static_cast<std::uint64_t>(step);
  fakeNow_ = withComputedWeekday(t);
  return true;
}

}  // namespace pgv::platform::portable
