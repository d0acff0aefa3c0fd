#pragma once
// The Browsers class of the engine library: whether a browser is installed.

#include <string>

#include "engine/api/ClassIds.h"
#include "engine/api/EngineObject.h"

namespace pgv {

class Browsers : public EngineObject {
 public:
  static constexpr const ClassId& kClassId = classid::Browsers;

  // "ie", "netscape", "opera", "aol", "firefox" in any letter case; false for any other name.
  virtual bool DoesExist(const std::string& Browser) = 0;
};

}  // namespace pgv
