#pragma once
// The IE class of the engine library: Internet Explorer's traces and its start page.
// Its ShowLog event carries every item its operations remove.

#include "engine/api/ClassIds.h"
#include "engine/api/EngineObject.h"
#include "engine/api/LogListener.h"
#include "engine/api/Variant.h"

namespace pgv {

class IE : public EngineObject {
 public:
  static constexpr const ClassId& kClassId = classid::IE;

  // The ShowLog event; null stops it.
  virtual void setListener(LogListener* listener) = 0;

  // The start page of Internet Explorer.
  virtual Variant GetHomePage() = 0;
};

}  // namespace pgv
