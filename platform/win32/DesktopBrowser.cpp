// The desktop's browser on Windows: the shell opens the address with the default browser.

#include "platform/DesktopBrowser.h"

#include <windows.h>
#include <shellapi.h>

namespace pgv::platform {

bool openDesktopBrowser(const std::string& address) {
  // The address is plain ASCII, so the ANSI call loses nothing.
  const auto result =
      reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace pgv::platform
