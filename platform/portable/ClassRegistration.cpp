// Class registrations of a machine folder live in its HKEY_CLASSES_ROOT.

#include "platform/ClassRegistration.h"

namespace pgv::platform {

ClassRegistrationRoot classRegistrationRoot() { return {HKEY_CLASSES_ROOT, ""}; }

}  // namespace pgv::platform
