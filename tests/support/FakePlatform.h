#pragma once
// A whole platform for service tests, made of the real portable pieces where they need
// no registry hives: a fresh machine folder (PortableFiles), the portable INI functions,
// a fake PortableClock and the registry-backed settings store, over an in-memory
// registry. The Windows directory is C:\WINDOWS and the program folder
// C:\Program Files\Purgavia; both exist, the Logs folder does not. It becomes the
// process's current platform while it lives.

#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/portable/MachineFolder.h"
#include "platform/portable/PortableClock.h"
#include "tests/support/MemoryRegistry.h"
#include "tests/support/TempDir.h"

namespace pgv::test {

class FakePlatform : public platform::Platform {
 public:
  static constexpr const char* kWindowsDirectory = "C:\\WINDOWS";
  static constexpr const char* kProgramFolder = "C:\\Program Files\\Purgavia";

  // The fake clock starts at start (Sunday 1 January 2006, 09:05:07 by default).
  explicit FakePlatform(const platform::LocalTime& start = platform::LocalTime{2006, 1, 1, 0, 9, 5, 7, 0});
  ~FakePlatform() override;
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  platform::Registry& registry() override { return registry_; }
  platform::Files& files() override { return *files_; }
  platform::Profile& profile() override { return *profile_; }
  platform::SettingsStore& settings() override { return *settings_; }
  platform::SystemInfo& system() override { return *system_; }
  platform::Clock& clock() override { return *clock_; }
  platform::Environment& environment() override { return *environment_; }

  MemoryRegistry& memoryRegistry() { return registry_; }
  platform::portable::PortableClock& fakeClock() { return *clock_; }
  // The host path of a Windows path of the machine ("C:\WINDOWS\x.ini").
  std::string host(const std::string& windowsPath);

 private:
  TempDir dir_;
  std::unique_ptr<platform::portable::MachineFolder> machine_;
  MemoryRegistry registry_;
  std::unique_ptr<platform::Files> files_;
  std::unique_ptr<platform::Profile> profile_;
  std::unique_ptr<platform::SettingsStore> settings_;
  std::unique_ptr<platform::SystemInfo> system_;
  std::unique_ptr<platform::portable::PortableClock> clock_;
  std::unique_ptr<platform::Environment> environment_;
};

}  // namespace pgv::test
