#pragma once
// Win32 backend only: the Clock interface; a fake clock for tests and --clock.

#include <optional>

#include "platform/Clock.h"

namespace pgv::platform::win32 {

class Win32Clock : public Clock {
 public:
  explicit Win32Clock(std::optional<LocalTime> fakeStart);
  LocalTime now() override;
  std::string shortDate(const LocalTime& t) override;
  std::string timeText(const LocalTime& t) override;
  std::uint32_t tickCount() override;
  bool setLocalTime(const LocalTime& t) override;

 private:
  std::optional<LocalTime> fake_;
  std::uint32_t fakeTicks_ = 0;
};

}  // namespace pgv::platform::win32
