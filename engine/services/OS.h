#pragma once
// OS: which Windows version runs.

#include "engine/api/OS.h"

namespace pgv::engine {

class OS final : public pgv::OS {
 public:
  Enum_OperatingSystem OperatingSystem() override;
};

}  // namespace pgv::engine
