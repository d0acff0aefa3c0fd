#pragma once
// The Messangers class of the engine library: whether an instant messenger is installed.

#include <string>

#include "engine/api/ClassIds.h"
#include "engine/api/EngineObject.h"

namespace pgv {

class Messangers : public EngineObject {
 public:
  static constexpr const ClassId& kClassId = classid::Messangers;

  // "msn", "icq", "yahoo" in any letter case; false for any other name.
  virtual bool DoesExist(const std::string& Messanger) = 0;
};

}  // namespace pgv
