#pragma once
// The local clock of the portable backend: the host's local time, or a fake clock that
// stands still until it is set (tests and the --clock option). Date and time texts use
// the user's regional formats from the machine's registry (values sShortDate,
// sTimeFormat, s1159 and s2359 of HKCU "Control Panel\International"), en-US when they
// are missing.

#include <cstdint>

#include "platform/Clock.h"
#include "platform/Registry.h"

namespace pgv::platform::portable {

class PortableClock : public Clock {
 public:
  // The host's clock. setLocalTime is refused: the program never sets the machine's time.
  explicit PortableClock(Registry& registry);
  // A fake clock standing at start; it moves only by setLocalTime. Its tick count starts
  // at zero and advances by the time the clock is moved forward.
  PortableClock(Registry& registry, const LocalTime& start);

  LocalTime now() override;
  std::string shortDate(const LocalTime& t) override;
  std::string timeText(const LocalTime& t) override;
  std::uint32_t tickCount() override;
  // Fake clock only: false (invalid parameter) for a time out of range; the day of the
  // week is computed from the date, whatever t says, as Windows does.
  bool setLocalTime(const LocalTime& t) override;

  bool isFake() const { return fake_; }

 private:
  // A regional setting in the program's Unicode, or fallback when it is missing (or
  // empty, unless an empty text is meaningful: locales without AM/PM designators).
  std::string regionalSetting(const char* name, const char* fallback, bool emptyAllowed);

  Registry& registry_;
  bool fake_ = false;
  LocalTime fakeNow_{};
  std::uint64_t fakeTicks_ = 0;
};

}  // namespace pgv::platform::portable
