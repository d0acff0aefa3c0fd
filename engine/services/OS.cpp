// The OS class.

#include "engine/services/OS.h"

#include "platform/Platform.h"

namespace pgv::engine {

Enum_OperatingSystem OS::OperatingSystem() {
  platform::OsVersion v;
  if (!platform::current().system().version(v)) return System_Windows_32;
  switch (v.platformId) {
    case 0: return System_Windows_32;
    case 1:
      if (v.minor == 0) return System_Windows_95;
      if (v.minor == 10) return System_Windows_98;
      if (v.minor == 90) return System_Windows_ME;
      return System_Windows_32;
    case 2:
      if (v.major < 5) return System_Windows_NT;
      if (v.major == 5 && v.minor == 0) return System_Windows_2K;
      if (v.major == 5 && v.minor == 1) return System_Windows_XP;
      return System_Windows_32;
    default: return System_Windows_32;
  }
}

}  // namespace pgv::engine
