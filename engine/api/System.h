#pragma once
// The System class of the engine library: the Windows and Favorites folders, the drive
// roots, the start-up entries and the installed programs.

#include <string>

#include "engine/api/ClassIds.h"
#include "engine/api/EngineObject.h"
#include "engine/api/Variant.h"

namespace pgv {

// The installed programs: two "|"-joined lists in the same order.
struct UnInstall {
  std::string program_name;    // display names
  std::string uninstall_Path;  // uninstall command lines
};

class System : public EngineObject {
 public:
  static constexpr const ClassId& kClassId = classid::System;

  virtual std::string getWDirectory() = 0;
  // The Favorites folder, or "" on systems other than Windows 98, Me and XP.
  virtual std::string getFavoritesDirectory() = 0;
  // The drive roots, each followed by a NUL, then the rest of a 255-character buffer in NULs.
  virtual std::string Enumerate_Drives() = 0;
  // Appends "|" + name of each Run entry to result and "|" + its command to P. Shows a
  // plain message box itself when the registry fails.
  virtual Variant Enumerate_Startup(std::string& result, std::string& P) = 0;
  // The installed programs. Shows a plain message box itself when the registry fails.
  virtual UnInstall Enumerate_Uninstall() = 0;
};

}  // namespace pgv
