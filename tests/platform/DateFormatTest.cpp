// Date and time pictures, the calendar helpers, and the portable clock that uses them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/common/DateFormat.h"
#include "platform/portable/PortableClock.h"
#include "tests/support/MemoryRegistry.h"

namespace pgv::test {
namespace {

using platform::LocalTime;

// Thursday 9 March 2006, 07:05:03.
const LocalTime kMorning{2006, 3, 9, 4, 7, 5, 3, 0};
// Sunday 24 December 2023, 23:45:59.
const LocalTime kEvening{2023, 12, 24, 0, 23, 45, 59, 0};

struct PictureCase {
  const char* picture;
  LocalTime time;
  std::string expected;
};

TEST(DateFormatTest, DatePicturesRenderEveryLetterForm) {
  const std::vector<PictureCase> cases = {
      {"M/d/yyyy", kMorning, "3/9/2006"},
      {"MM/dd/yy", kMorning, "03/09/06"},
      {"dd.MM.yyyy", kEvening, "24.12.2023"},
      {"d-M-y", LocalTime{2005, 1, 2, 0}, "2-1-5"},
      {"ddd, MMM d", kMorning, "Thu, Mar 9"},
      {"dddd, MMMM dd, yyyy", kEvening, "Sunday, December 24, 2023"},
      {"ddddd MMMMM", kMorning, "Thursday March"},        // longer runs read as the longest form
      {"yyyy 'year' gg", kMorning, "2006 year A.D."},
      {"d 'd''M' ''y''", kMorning, "9 d'M '6'"},          // quoted literals, doubled quotes
      {"'unterminated d", kMorning, "unterminated d"},
      {"h:mm H", kMorning, "h:mm H"},                     // time letters are text in a date
  };
  for (const PictureCase& c : cases) {
    SCOPED_TRACE(c.picture);
    EXPECT_EQ(platform::formatDatePicture(c.picture, c.time), c.expected);
  }
}

TEST(DateFormatTest, TimePicturesRenderBothClocksAndDesignators) {
  const std::vector<PictureCase> cases = {
      {"h:mm:ss tt", kMorning, "7:05:03 AM"},
      {"hh:mm:ss tt", kEvening, "11:45:59 PM"},
      {"HH:mm:ss", kMorning, "07:05:03"},
      {"H:m:s t", kMorning, "7:5:3 A"},
      {"h tt", LocalTime{2006, 1, 1, 0, 0, 0, 0, 0}, "12 AM"},   // midnight on the 12-hour clock
      {"h tt", LocalTime{2006, 1, 1, 0, 12, 0, 0, 0}, "12 PM"},  // noon
      {"HH 'Uhr' mm", kEvening, "23 Uhr 45"},
      {"hhh:mmm", kMorning, "07:05"},                     // longer runs read as two digits
      {"dd/MM/yyyy hh", kMorning, "dd/MM/yyyy 07"},       // date letters are text in a time
  };
  for (const PictureCase& c : cases) {
    SCOPED_TRACE(c.picture);
    EXPECT_EQ(platform::formatTimePicture(c.picture, c.time, "AM", "PM"), c.expected);
  }
  EXPECT_EQ(platform::formatTimePicture("h:mm tt", kEvening, "vorm.", "nachm."), "11:45 nachm.");
  EXPECT_EQ(platform::formatTimePicture("HH:mm tt", kEvening, "", ""), "23:45 ");
}

TEST(DateFormatTest, CalendarArithmetic) {
  EXPECT_EQ(platform::daysFromCivil(1970, 1, 1), 0);
  EXPECT_EQ(platform::daysFromCivil(2000, 3, 1), 11017);
  EXPECT_EQ(platform::daysFromCivil(1601, 1, 1), -134774);
  EXPECT_EQ(platform::dayOfWeek(2006, 1, 1), 0);    // Sunday
  EXPECT_EQ(platform::dayOfWeek(2006, 3, 9), 4);    // Thursday
  EXPECT_EQ(platform::dayOfWeek(1601, 1, 1), 1);    // Monday
  EXPECT_EQ(platform::daysInMonth(2000, 2), 29);
  EXPECT_EQ(platform::daysInMonth(1900, 2), 28);
  EXPECT_EQ(platform::daysInMonth(2024, 2), 29);
  EXPECT_EQ(platform::daysInMonth(2023, 4), 30);

  EXPECT_TRUE(platform::isValidLocalTime(kMorning));
  const std::vector<LocalTime> invalid = {
      {1600, 12, 31}, {2006, 13, 1}, {2006, 2, 29}, {2006, 4, 31}, {2006, 1, 0},
      {2006, 1, 1, 0, 24}, {2006, 1, 1, 0, 0, 60}, {2006, 1, 1, 0, 0, 0, 60}, {2006, 1, 1, 0, 0, 0, 0, 1000},
  };
  for (const LocalTime& t : invalid) {
    EXPECT_FALSE(platform::isValidLocalTime(t)) << t.year << "-" << t.month << "-" << t.day;
  }
}

// --- The portable clock ---------------------------------------------------------------------

constexpr const char* kInternational = "Control Panel\\International";

TEST(PortableClockTest, UsesTheUsersRegionalFormatsOrTheUsDefaults) {
  MemoryRegistry registry;
  platform::portable::PortableClock clock(registry, kEvening);
  EXPECT_EQ(clock.shortDate(kEvening), "12/24/2023");
  EXPECT_EQ(clock.timeText(kEvening), "11:45:59 PM");

  registry.setText(platform::HKEY_CURRENT_USER, kInternational, "sShortDate", "dd.MM.yyyy");
  registry.setText(platform::HKEY_CURRENT_USER, kInternational, "sTimeFormat", "HH:mm:ss");
  EXPECT_EQ(clock.shortDate(kEvening), "24.12.2023");
  EXPECT_EQ(clock.timeText(kEvening), "23:45:59");

  // Designators come from s1159/s2359; an empty one is honoured, an empty picture is not.
  registry.setText(platform::HKEY_CURRENT_USER, kInternational, "sTimeFormat", "h:mm tt");
  registry.setText(platform::HKEY_CURRENT_USER, kInternational, "s2359", "p.m.");
  registry.setText(platform::HKEY_CURRENT_USER, kInternational, "s1159", "");
  EXPECT_EQ(clock.timeText(kEvening), "11:45 p.m.");
  EXPECT_EQ(clock.timeText(kMorning), "7:05 ");
  registry.setText(platform::HKEY_CURRENT_USER, kInternational, "sShortDate", "");
  EXPECT_EQ(clock.shortDate(kEvening), "12/24/2023");

  // Code page 1252 text in the registry comes out as the program's Unicode.
  registry.setText(platform::HKEY_CURRENT_USER, kInternational, "sShortDate", "d 'd\xE9' MMMM");
  EXPECT_EQ(clock.shortDate(kEvening), "24 d\xC3\xA9 December");
  EXPECT_EQ(registry.openHandles(), 0u);
}

TEST(PortableClockTest, FakeClockMovesOnlyWhenSet) {
  MemoryRegistry registry;
  platform::portable::PortableClock clock(registry, LocalTime{2006, 1, 1, 3 /* wrong */, 9, 5, 7, 0});
  EXPECT_TRUE(clock.isFake());
  const LocalTime start = clock.now();
  EXPECT_EQ(start.dayOfWeek, 0);  // computed from the date
  EXPECT_EQ(clock.tickCount(), 0u);
  EXPECT_EQ(clock.now().second, start.second);

  EXPECT_TRUE(clock.setLocalTime(LocalTime{2006, 1, 2, 6, 9, 5, 8, 500}));
  EXPECT_EQ(clock.now().day, 2);
  EXPECT_EQ(clock.now().dayOfWeek, 1);
  EXPECT_EQ(clock.tickCount(), 86'401'500u);

  // Setting the clock back leaves the tick count where it was; invalid times are refused.
  EXPECT_TRUE(clock.setLocalTime(LocalTime{2005, 12, 31, 0, 0, 0, 0, 0}));
  EXPECT_EQ(clock.tickCount(), 86'401'500u);
  EXPECT_FALSE(clock.setLocalTime(LocalTime{2005, 2, 30}));
  EXPECT_EQ(clock.now().year, 2005);
}

TEST(PortableClockTest, HostClockReportsAPlausibleTimeAndRefusesToBeSet) {
  MemoryRegistry registry;
  platform::portable::PortableClock clock(registry);
  EXPECT_FALSE(clock.isFake());
  const LocalTime now = clock.now();
  EXPECT_TRUE(platform::isValidLocalTime(now));
  EXPECT_GE(now.year, 2020);
  EXPECT_EQ(now.dayOfWeek, platform::dayOfWeek(now.year, now.month, now.day));
  EXPECT_FALSE(clock.setLocalTime(now));
  const std::uint32_t first = clock.tickCount();
  EXPECT_LT(clock.tickCount() - first, 60'000u);  // a monotonic count, not a wild value
}

}  // namespace
}  // namespace pgv::test
