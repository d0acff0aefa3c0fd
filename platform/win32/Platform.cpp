// Win32 backend only: the platform object over the running Windows.

#include "platform/Platform.h"

#include "platform/common/RegistrySettingsStore.h"
#include "platform/win32/Win32Clock.h"
#include "platform/win32/Win32Environment.h"
#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Profile.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemInfo.h"

namespace pgv::platform {
namespace {

class Win32Platform : public Platform {
 public:
  explicit Win32Platform(const PlatformOptions& options)
      : settings_(registry_),
        clock_(options.fakeClock ? std::optional<LocalTime>(options.fakeClockStart) : std::nullopt) {}

  Registry& registry() override { return registry_; }
  Files& files() override { return files_; }
  Profile& profile() override { return profile_; }
  SettingsStore& settings() override { return settings_; }
  SystemInfo& system() override { return system_; }
  Clock& clock() override { return clock_; }
  Environment& environment() override { return environment_; }

 private:
  win32::Win32Registry registry_;
  win32::Win32Files files_;
  win32::Win32Profile profile_;
  RegistrySettingsStore settings_;
  win32::Win32SystemInfo system_;
  win32::Win32Clock clock_;
  win32::Win32Environment environment_;
};

}  // namespace

std::unique_ptr<Platform> openPlatform(const PlatformOptions& options, std::string& error) {
  if (!options.machineFolder.empty()) {
    error = "the Windows build works on the Windows it runs on; it takes no machine folder";
    return nullptr;
  }
  return std::make_unique<Win32Platform>(options);
}

}  // namespace pgv::platform
