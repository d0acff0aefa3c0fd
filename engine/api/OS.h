#pragma once
// The OS class of the engine library: which Windows version runs.

#include "engine/api/ClassIds.h"
#include "engine/api/EngineObject.h"

namespace pgv {

enum Enum_OperatingSystem {
  System_Windows_32 = 0,
  System_Windows_95 = 1,
  System_Windows_98 = 2,
  System_Windows_ME = 3,
  System_Windows_NT = 4,
  System_Windows_2K = 5,
  System_Windows_XP = 6,
};

enum Enum_OperatingPlatform {
  Platform_Windows_32 = 0,
  Platform_Windows_95_98_ME = 1,
  Platform_Windows_NT_2K_XP = 2,
};

class OS : public EngineObject {
 public:
  static constexpr const ClassId& kClassId = classid::OS;

  virtual Enum_OperatingSystem OperatingSystem() = 0;
};

}  // namespace pgv
