#pragma once
// The Logger class of the engine library: one line per removed item in the day's log
// file, <program folder>\Logs\<d>-<m>-<yyyy>_Log.txt.

#include <string>

#include "engine/api/ClassIds.h"
#include "engine/api/EngineObject.h"
#include "engine/api/Variant.h"

namespace pgv {

class Logger : public EngineObject {
 public:
  static constexpr const ClassId& kClassId = classid::Logger;

  // Appends "<date>     <time>"<TAB><Section><Txt>. Raises EngineError when the file
  // cannot be written (a missing Logs folder, for one).
  virtual Variant AddToLog(const std::string& Section, const std::string& Txt) = 0;
  // The program folder (not the file).
  virtual std::string getLogPath() = 0;
};

}  // namespace pgv
