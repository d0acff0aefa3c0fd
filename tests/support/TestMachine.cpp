#include "tests/support/TestMachine.h"

#include <stdexcept>

#include "platform/portable/MachineFolder.h"

namespace pgv::test {

TestMachine::TestMachine() {
  std::string error;
  if (platform::portable::MachineFolder::createLayout(dir_.path(), error) != platform::status::Success) {
    throw std::runtime_error(error);
  }
  open();
}

TestMachine::~TestMachine() { platform::setCurrent(nullptr); }

void TestMachine::open() {
  platform::PlatformOptions options;
  options.machineFolder = dir_.path();
  options.fakeClock = true;
  options.fakeClockStart = platform::LocalTime{2006, 1, 1, 0, 9, 5, 7, 0};
  std::string error;
  platform_ = platform::openPlatform(options, error);
  if (!platform_) throw std::runtime_error(error);
  platform::setCurrent(platform_.get());
}

void TestMachine::reopen() {
  if (platform_->registry().flush() != platform::status::Success) throw std::runtime_error("flush failed");
  platform::setCurrent(nullptr);
  platform_.reset();
  open();
}

}  // namespace pgv::test
