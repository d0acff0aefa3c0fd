#pragma once
// Where an in-process component registers its classes (CLSID\{...}\InprocServer32 and its
// ProgIDs), and where the program looks them up.

#include <string>

#include "platform/Registry.h"

namespace pgv::platform {

struct ClassRegistrationRoot {
  HKEY root;           // the root key
  std::string prefix;  // the path below it that stands for HKEY_CLASSES_ROOT ("" or ending in "\")
};

// A machine folder: HKEY_CLASSES_ROOT of the machine. Windows: HKEY_CURRENT_USER\Software\Classes,
// which needs no administrator rights (Windows shows it through HKEY_CLASSES_ROOT;
// Wine does not, so the program reads it there itself).
ClassRegistrationRoot classRegistrationRoot();

}  // namespace pgv::platform
