// The portable platform: every Windows service over one machine folder.

#include <sys/stat.h>

#include "platform/Platform.h"
#include "platform/common/RegistrySettingsStore.h"
#include "platform/portable/MachineFolder.h"
#include "platform/portable/PortableClock.h"
#include "platform/portable/PortableEnvironment.h"
#include "platform/portable/PortableFiles.h"
#include "platform/portable/PortableProfile.h"
#include "platform/portable/PortableRegistry.h"
#include "platform/portable/PortableSystemInfo.h"

namespace pgv::platform {
namespace {

class PortablePlatform : public Platform {
 public:
  PortablePlatform(const std::string& folder, std::unique_ptr<PortableRegistry> registry,
                   const PlatformOptions& options)
      : machine_(folder),
        registry_(std::move(registry)),
        files_(machine_, registry_.get()),
        system_(*registry_, files_),
        environment_(*registry_, system_),
        profile_(files_, system_.windowsDirectory()),
        settings_(*registry_),
        clock_(options.fakeClock ? std::make_unique<portable::PortableClock>(*registry_, options.fakeClockStart)
                                 : std::make_unique<portable::PortableClock>(*registry_)) {}

  Registry& registry() override { return *registry_; }
  Files& files() override { return files_; }
  Profile& profile() override { return profile_; }
  SettingsStore& settings() override { return settings_; }
  SystemInfo& system() override { return system_; }
  Clock& clock() override { return *clock_; }
  Environment& environment() override { return environment_; }

 private:
  portable::MachineFolder machine_;
  std::unique_ptr<PortableRegistry> registry_;
  portable::PortableFiles files_;
  portable::PortableSystemInfo system_;
  portable::PortableEnvironment environment_;
  portable::PortableProfile profile_;
  RegistrySettingsStore settings_;
  std::unique_ptr<portable::PortableClock> clock_;
};

}  // namespace

std::unique_ptr<Platform> openPlatform(const PlatformOptions& options, std::string& error) {
  const std::string& folder = options.machineFolder;
  struct stat st{};
  if (folder.empty() || ::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    error = "'" + folder + "' is not a machine folder";
    return nullptr;
  }
  if (::stat((folder + "/dosdevices").c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    error = "'" + folder + "' is not a machine folder (it has no dosdevices folder)";
    return nullptr;
  }
  std::unique_ptr<PortableRegistry> registry;
  if (PortableRegistry::open(folder, registry, error) != status::Success) return nullptr;
  return std::make_unique<PortablePlatform>(folder, std::move(registry), options);
}

}  // namespace pgv::platform
