#pragma once
// Logger: appends one line per removed item to the day's log file,
// <program folder>\Logs\<d>-<m>-<yyyy>_Log.txt, in code page 1252 with CR LF:
//   "<short date>     <time>"<TAB><Section><Txt>
// The file is opened and closed for every line. The Logs folder is not created here.

#include <string>

#include "engine/api/Variant.h"
#include "platform/Clock.h"

namespace pgv::engine {

class Logger {
 public:
  // Appends the line. Raises EngineError when the file cannot be opened or written.
  Variant AddToLog(const std::string& Section, const std::string& Txt);
  // The program folder (not the file).
  std::string getLogPath();

  // "9-12-2005_Log.txt" for 9 December 2005.
  static std::string dayLogFileName(const platform::LocalTime& day);
  // The full path of today's log file.
  static std::string todaysLogFile();
};

}  // namespace pgv::engine
