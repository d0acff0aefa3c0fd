#pragma once
// The desktop's own web browser, for showing the program's web skin.

#include <string>

namespace pgv::platform {

// Asks the desktop to open address in the user's browser and returns at once. False when
// there is no desktop to ask (no display) or the request could not be started; whether
// the browser then comes up is not known here.
bool openDesktopBrowser(const std::string& address);

}  // namespace pgv::platform
