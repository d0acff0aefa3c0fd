// Parsing of "YYYY-MM-DDTHH:MM:SS".

#include "platform/skin/IsoTime.h"

namespace pgv::platform {
namespace {

bool readNumber(std::string_view text, std::size_t at, std::size_t digits, int& out) {
  out = 0;
  for (std::size_t i = at; i < at + digits; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    out = out * 10 + (text[i] - '0');
  }
  return true;
}

bool leapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && leapYear(y) ? 29 : kDays[m - 1];
}

// 0 = Sunday, for the proleptic Gregorian calendar (Sakamoto's method).
int dayOfWeek(int y, int m, int d) {
  static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  if (m < 3) y -= 1;
  return (y + y / 4 - y / 100 + y / 400 + kOffsets[m - 1] + d) % 7;
}

}  // namespace

std::optional<LocalTime> parseIsoLocalTime(std::string_view text) {
  if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':') {
    return std::nullopt;
  }
  LocalTime t;
  if (!readNumber(text, 0, 4, t.year) || !readNumber(text, 5, 2, t.month) || !readNumber(text, 8, 2, t.day) ||
      !readNumber(text, 11, 2, t.hour) || !readNumber(text, 14, 2, t.minute) ||
      !readNumber(text, 17, 2, t.second)) {
    return std::nullopt;
  }
  // SYSTEMTIME starts at 1601.
  if (t.year < 1601 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > daysInMonth(t.year, t.month) ||
      t.hour > 23 || t.minute > 59 || t.second > 59) {
    return std::nullopt;
  }
  t.dayOfWeek = dayOfWeek(t.year, t.month, t.day);
  t.milliseconds = 0;
  return t;
}

}  // namespace pgv::platform
