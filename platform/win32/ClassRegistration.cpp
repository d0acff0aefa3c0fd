// Win32 backend only: class registrations of the user, which need no administrator rights.

#include "platform/ClassRegistration.h"

namespace pgv::platform {

ClassRegistrationRoot classRegistrationRoot() { return {HKEY_CURRENT_USER, "Software\\Classes\\"}; }

}  // namespace pgv::platform
