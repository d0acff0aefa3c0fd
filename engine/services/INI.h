#pragma once
// INI: reads and writes INI files through the platform's private-profile functions.
// Paths are Windows paths; texts are the program's Unicode (UTF-8) and cross to the
// file in code page 1252.

#include <string>

#include "engine/api/Variant.h"

namespace pgv::engine {

class INI {
 public:
  static constexpr std::size_t kValueBuffer = 255;
  static constexpr std::size_t kListBuffer = 5000;

  // The value of key in Section; "" when the file, section or key is missing. A value
  // longer than 254 characters comes back cut to its first 254.
  std::string GetFromINI(const std::string& File_Path, const std::string& Section, const std::string& key);
  // Writes key=Value into Section, creating file and section as needed. Status not reported.
  Variant WriteToINI(const std::string& File_Path, const std::string& Section, const std::string& key,
                     const std::string& Value);
  // Exactly 5000 characters: each section name followed by a NUL, then NULs.
  std::string EnumerateSections(const std::string& File_Path);
  // Exactly 5000 characters: each key=value entry of Section followed by a NUL, then NULs.
  std::string Enumeratekeys(const std::string& File_Path, const std::string& Section);
};

}  // namespace pgv::engine
