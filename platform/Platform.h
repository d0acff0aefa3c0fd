#pragma once
// The platform object: every Windows service the program and the engine library use.
// The main program opens it once (on Windows the real system, on Linux a machine
// folder) and hands it to the engine library, so both see one registry and one clock.

#include <memory>
#include <string>

#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/Files.h"
#include "platform/Profile.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/SystemInfo.h"

namespace pgv::platform {

class Platform {
 public:
  virtual ~Platform() = default;
  virtual Registry& registry() = 0;
  virtual Files& files() = 0;
  virtual Profile& profile() = 0;
  virtual SettingsStore& settings() = 0;
  virtual SystemInfo& system() = 0;
  virtual Clock& clock() = 0;
  virtual Environment& environment() = 0;

  // The desktop shell services. They belong to whatever shows the user interface, so
  // the main program installs its skin host's here; null until it does.
  Shell* shell() const { return shell_; }
  void setShell(Shell* shell) { shell_ = shell; }

 private:
  Shell* shell_ = nullptr;
};

// What the program asks for when it opens its platform.
struct PlatformOptions {
  std::string machineFolder;  // portable backend: the machine folder (a Wine prefix layout)
  bool fakeClock = false;     // a clock that moves only when told (tests, --clock)
  LocalTime fakeClockStart{};
};

// Opens the platform. On failure returns null and a one-line reason in error (for
// example a hive that cannot be parsed, naming file and line, or a running Wine server).
std::unique_ptr<Platform> openPlatform(const PlatformOptions& options, std::string& error);

// The platform object the process works with; set once by the main program and by the
// engine library's entry point.
Platform& current();
void setCurrent(Platform* platform);

}  // namespace pgv::platform
