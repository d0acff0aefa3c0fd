// Win32 backend only: the local clock and the user's regional formats from kernel32.

#include "platform/Clock.h"

#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Text.h"

namespace pgv::platform::win32 {
namespace {

SYSTEMTIME toSystemTime(const LocalTime& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.year);
  st.wMonth = static_cast<WORD>(t.month);
  st.wDay = static_cast<WORD>(t.day);
  st.wDayOfWeek = static_cast<WORD>(t.dayOfWeek);
  st.wHour = static_cast<WORD>(t.hour);
  st.wMinute = static_cast<WORD>(t.minute);
  st.wSecond = static_cast<WORD>(t.second);
  st.wMilliseconds = static_cast<WORD>(t.milliseconds);
  return st;
}

}  // namespace

Win32Clock::Win32Clock(std::optional<LocalTime> fakeStart) : fake_(fakeStart) {}

LocalTime Win32Clock::now() {
  if (fake_) return *fake_;
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  return LocalTime{st.wYear, st.wMonth, st.wDay, st.wDayOfWeek, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

std::string Win32Clock::shortDate(const LocalTime& t) {
  const SYSTEMTIME st = toSystemTime(t);
  char buffer[128] = {};
  if (!::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, sizeof buffer)) return {};
  return unicode(buffer);
}

std::string Win32Clock::timeText(const LocalTime& t) {
  const SYSTEMTIME st = toSystemTime(t);
  char buffer[128] = {};
  if (!::GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer, sizeof buffer)) return {};
  return unicode(buffer);
}

std::uint32_t Win32Clock::tickCount() {
  if (fake_) return fakeTicks_;
  return ::GetTickCount();
}

bool Win32Clock::setLocalTime(const LocalTime& t) {
  if (!fake_) return false;
  fake_ = t;
  fakeTicks_ += 1000;
  return true;
}

}  // namespace pgv::platform::win32
