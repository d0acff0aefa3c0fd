#pragma once
// Windows date and time pictures ("M/d/yyyy", "h:mm:ss tt", "dddd, MMMM dd, yyyy") and
// the calendar arithmetic the clocks need. Pure computation, shared by every backend.
//
// Picture letters, as GetDateFormat and GetTimeFormat read them:
//   d dd ddd dddd   day of month, two-digit day, abbreviated and full day name
//   M MM MMM MMMM   month number, two-digit month, abbreviated and full month name
//   y yy yyyy       year without century (no leading zero), two-digit year, full year
//   g gg            era ("A.D.")
//   h hh H HH       hour on the 12-hour and the 24-hour clock, with or without zero
//   m mm s ss       minutes and seconds
//   t tt            first character of, and the whole, AM/PM designator
//   '...'           literal text; '' is one quote character
// A date picture treats the time letters as literal text and a time picture the date
// letters, as Windows does. Every other character is copied unchanged. Names are the
// English ones. Texts are UTF-8.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace pgv::platform {

// GetDateFormat with an explicit picture.
std::string formatDatePicture(std::string_view picture, const LocalTime& t);
// GetTimeFormat with an explicit picture and the locale's AM and PM designators.
std::string formatTimePicture(std::string_view picture, const LocalTime& t, std::string_view am,
                              std::string_view pm);

// Gregorian calendar helpers (proleptic, any year).
bool isLeapYear(int year);
int daysInMonth(int year, int month);
// 0 Sunday .. 6 Saturday.
int dayOfWeek(int year, int month, int day);
// Days since 1 January 1970 (negative before it).
std::int64_t daysFromCivil(int year, int month, int day);
// Milliseconds since 1 January 1970 00:00 of the same zone, ignoring dayOfWeek.
std::int64_t toEpochMilliseconds(const LocalTime& t);
// True when every field is in range the way SetLocalTime checks it (years 1601..30827);
// dayOfWeek is not checked.
bool isValidLocalTime(const LocalTime& t);

}  // namespace pgv::platform
