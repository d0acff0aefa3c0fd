// The process's platform object.

#include <stdexcept>

#include "platform/Platform.h"

namespace pgv::platform {
namespace {
Platform* g_current = nullptr;
}

Platform& current() {
  if (!g_current) throw std::logic_error("the platform has not been opened");
  return *g_current;
}

void setCurrent(Platform* platform) { g_current = platform; }

}  // namespace pgv::platform
