#pragma once
// The INI class of the engine library: reads and writes INI files (message files, the
// plug-ins file, DLL backup records). Paths are Windows paths; texts are UTF-8.

#include <string>

#include "engine/api/ClassIds.h"
#include "engine/api/EngineObject.h"
#include "engine/api/Variant.h"

namespace pgv {

class INI : public EngineObject {
 public:
  static constexpr const ClassId& kClassId = classid::INI;

  // The value of key in Section; "" when the file, the section or the key is missing. A
  // value longer than 254 characters comes back cut to its first 254.
  virtual std::string GetFromINI(const std::string& File_Path, const std::string& Section,
                                 const std::string& key) = 0;
  // Writes key=Value into Section, creating the file and the section as needed.
  virtual Variant WriteToINI(const std::string& File_Path, const std::string& Section, const std::string& key,
                             const std::string& Value) = 0;
  // Exactly 5000 characters: each section name followed by a NUL, then NULs.
  virtual std::string EnumerateSections(const std::string& File_Path) = 0;
  // Exactly 5000 characters: each key=value entry of Section followed by a NUL, then NULs.
  virtual std::string Enumeratekeys(const std::string& File_Path, const std::string& Section) = 0;
};

}  // namespace pgv
