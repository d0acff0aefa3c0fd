// Date and time pictures and Gregorian calendar arithmetic. Pure computation: no
// operating-system calls.

#include "platform/common/DateFormat.h"

#include <array>

namespace pgv::platform {
namespace {

constexpr std::array<const char*, 7> kDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 7> kDayAbbreviations = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 12> kMonthNames = {"January", "February", "March",     "April",
                                                     "May",     "June",     "July",      "August",
                                                     "September", "October", "November", "December"};
constexpr std::array<const char*, 12> kMonthAbbreviations = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                             "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kEra = "A.D.";

enum class PictureKind { Date, Time };

bool isDateLetter(char c) { return c == 'd' || c == 'M' || c == 'y' || c == 'g'; }
bool isTimeLetter(char c) { return c == 'h' || c == 'H' || c == 'm' || c == 's' || c == 't'; }

// value in decimal with at least minDigits digits.
std::string number(int value, int minDigits) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  if (static_cast<int>(digits.size()) < minDigits) digits.insert(0, minDigits - digits.size(), '0');
  return value < 0 ? "-" + digits : digits;
}

// A name from a table, or "" for an index out of range (a LocalTime nobody checked).
template <std::size_t N>
std::string nameAt(const std::array<const char*, N>& names, int index) {
  return (index >= 0 && index < static_cast<int>(N)) ? names[index] : "";
}

// The first character of a UTF-8 text (all bytes of its first code point).
std::string firstCharacter(std::string_view text) {
  if (text.empty()) return {};
  std::size_t length = 1;
  while (length < text.size() && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) ++length;
  return std::string(text.substr(0, length));
}

std::string dateField(char letter, std::size_t count, const LocalTime& t) {
  switch (letter) {
    case 'd':
      if (count == 1) return number(t.day, 1);
      if (count == 2) return number(t.day, 2);
      return count == 3 ? nameAt(kDayAbbreviations, t.dayOfWeek) : nameAt(kDayNames, t.dayOfWeek);
    case 'M':
      if (count == 1) return number(t.month, 1);
      if (count == 2) return number(t.month, 2);
      return count == 3 ? nameAt(kMonthAbbreviations, t.month - 1) : nameAt(kMonthNames, t.month - 1);
    case 'y':
      if (count == 1) return number(t.year % 100, 1);
      if (count == 2) return number(t.year % 100, 2);
      return number(t.year, 4);
    default:  // 'g'
      return kEra;
  }
}

std::string timeField(char letter, std::size_t count, const LocalTime& t, std::string_view am,
                      std::string_view pm) {
  const int width = count == 1 ? 1 : 2;
  switch (letter) {
    case 'h': {
      const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
      return number(hour12, width);
    }
    case 'H':
      return number(t.hour, width);
    case 'm':
      return number(t.minute, width);
    case 's':
      return number(t.second, width);
    default: {  // 't'
      const std::string_view designator = t.hour < 12 ? am : pm;
      return count == 1 ? firstCharacter(designator) : std::string(designator);
    }
  }
}

// Copies the quoted literal that starts at picture[start] (a quote) to out and returns
// the index after it. A doubled quote stands for one quote character, inside a literal
// and outside; an unterminated literal runs to the end of the picture.
std::size_t copyLiteral(std::string_view picture, std::size_t start, std::string& out) {
  std::size_t i = start + 1;
  if (i < picture.size() && picture[i] == '\'') {
    out += '\'';
    return i + 1;
  }
  while (i < picture.size()) {
    if (picture[i] != '\'') {
      out += picture[i++];
      continue;
    }
    if (i + 1 < picture.size() && picture[i + 1] == '\'') {
      out += '\'';
      i += 2;
      continue;
    }
    return i + 1;
  }
  return i;
}

std::string render(std::string_view picture, const LocalTime& t, PictureKind kind, std::string_view am,
                   std::string_view pm) {
  std::string out;
  std::size_t i = 0;
  while (i < picture.size()) {
    const char c = picture[i];
    if (c == '\'') {
      i = copyLiteral(picture, i, out);
      continue;
    }
    const bool isField = kind == PictureKind::Date ? isDateLetter(c) : isTimeLetter(c);
    if (!isField) {
      out += c;
      ++i;
      continue;
    }
    std::size_t count = 1;
    while (i + count < picture.size() && picture[i + count] == c) ++count;
    out += kind == PictureKind::Date ? dateField(c, count, t) : timeField(c, count, t, am, pm);
    i += count;
  }
  return out;
}

}  // namespace

std::string formatDatePicture(std::string_view picture, const LocalTime& t) {
  return render(picture, t, PictureKind::Date, {}, {});
}

std::string formatTimePicture(std::string_view picture, const LocalTime& t, std::string_view am,
                              std::string_view pm) {
  return render(picture, t, PictureKind::Time, am, pm);
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// The days-from-civil algorithm: counts in 400-year eras that start on 1 March, so the
// leap day is the last day of its year and needs no special case.
std::int64_t daysFromCivil(int year, int month, int day) {
  const std::int64_t y = static_cast<std::int64_t>(year) - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yearOfEra = y - era * 400;
  const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

int dayOfWeek(int year, int month, int day) {
  const std::int64_t days = daysFromCivil(year, month, day);
  // 1 January 1970 was a Thursday (4).
  const std::int64_t weekday = (days + 4) % 7;
  return static_cast<int>(weekday < 0 ? weekday + 7 : weekday);
}

std::int64_t toEpochMilliseconds(const LocalTime& t) {
  const std::int64_t days = daysFromCivil(t.year, t.month, t.day);
  const std::int64_t seconds = ((days * 24 + t.hour) * 60 + t.minute) * 60 + t.second;
  return seconds * 1000 + t.milliseconds;
}

bool isValidLocalTime(const LocalTime& t) {
  return t.year >= 1601 && t.year <= 30827 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
         t.day <= daysInMonth(t.year, t.month) && t.hour >= 0 && t.hour <= 23 && t.minute >= 0 &&
         t.minute <= 59 && t.second >= 0 && t.second <= 59 && t.milliseconds >= 0 && t.milliseconds <= 999;
}

}  // namespace pgv::platform
