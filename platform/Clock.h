#pragma once
// Local date and time, and their text in the user's regional formats.

#include <cstdint>
#include <string>

namespace pgv::platform {

// SYSTEMTIME in local time.
struct LocalTime {
  int year = 2000;
  int month = 1;       // 1..12
  int day = 1;         // 1..31
  int dayOfWeek = 6;   // 0 Sunday .. 6 Saturday
  int hour = 0;
  int minute = 0;
  int second = 0;
  int milliseconds = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime now() = 0;
  // GetDateFormatA(DATE_SHORTDATE) / GetTimeFormatA(0) for the user's locale: the
  // regional short-date and time formats (en-US "M/d/yyyy" and "h:mm:ss tt" when the
  // user has none).
  virtual std::string shortDate(const LocalTime& t) = 0;
  virtual std::string timeText(const LocalTime& t) = 0;
  // GetTickCount: milliseconds since some fixed start.
  virtual std::uint32_t tickCount() = 0;
  // SetLocalTime. Only a fake clock (tests, --clock) accepts it; the real clock of the
  // machine is never changed by the program and returns false.
  virtual bool setLocalTime(const LocalTime& t) = 0;
};

}  // namespace pgv::platform
