#include "tests/support/FakePlatform.h"

#include <stdexcept>

#include "platform/common/RegistrySettingsStore.h"
#include "platform/portable/PortableFiles.h"
#include "platform/portable/PortableProfile.h"

namespace pgv::test {
namespace {

// Fixed installation facts, so that service tests do not depend on registry contents.
class FixedSystemInfo : public platform::SystemInfo {
 public:
  std::string windowsDirectory() override { return FakePlatform::kWindowsDirectory; }
  std::string systemDirectory() override { return std::string(FakePlatform::kWindowsDirectory) + "\\system32"; }
  bool version(platform::OsVersion& out) override {
    out = platform::OsVersion{};
    return true;
  }
  platform::Status specialFolder(int, std::string&) override { return platform::status::FileNotFound; }
  std::string programFolder() override { return FakePlatform::kProgramFolder; }
  std::string userName() override { return "tester"; }
  std::string computerName() override { return "TESTBOX"; }
};

// No variables at all: text comes back as it was given.
class EmptyEnvironment : public platform::Environment {
 public:
  std::uint32_t expandEnvironmentStrings(std::string_view src, char* dst, std::uint32_t size) override {
    const auto needed = static_cast<std::uint32_t>(src.size() + 1);
    if (dst && size >= needed) {
      src.copy(dst, src.size());
      dst[src.size()] = '\0';
    }
    return needed;
  }
  std::string variable(std::string_view) override { return {}; }
};

void createFolder(platform::Files& files, const std::string& path) {
  const platform::Status s = files.createDirectory(path);
  if (s != platform::status::Success && s != platform::status::AlreadyExists) {
    throw std::runtime_error("cannot create " + path);
  }
}

}  // namespace

FakePlatform::FakePlatform(const platform::LocalTime& start) {
  std::string error;
  if (platform::portable::MachineFolder::createLayout(dir_.path(), error) != platform::status::Success) {
    throw std::runtime_error(error);
  }
  machine_ = std::make_unique<platform::portable::MachineFolder>(dir_.path());
  files_ = std::make_unique<platform::portable::PortableFiles>(*machine_, nullptr);
  profile_ = std::make_unique<platform::portable::PortableProfile>(*files_, kWindowsDirectory);
  settings_ = std::make_unique<platform::RegistrySettingsStore>(registry_);
  system_ = std::make_unique<FixedSystemInfo>();
  clock_ = std::make_unique<platform::portable::PortableClock>(registry_, start);
  environment_ = std::make_unique<EmptyEnvironment>();
  createFolder(*files_, kWindowsDirectory);
  createFolder(*files_, "C:\\Program Files");
  createFolder(*files_, kProgramFolder);
  platform::setCurrent(this);
}

FakePlatform::~FakePlatform() { platform::setCurrent(nullptr); }

std::string FakePlatform::host(const std::string& windowsPath) { return files_->hostPath(windowsPath); }

}  // namespace pgv::test
