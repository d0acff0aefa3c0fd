#pragma once
// A fresh machine folder opened as the process's platform for one test.

#include <memory>
#include <string>

#include "platform/Platform.h"
#include "tests/support/TempDir.h"

namespace pgv::test {

class TestMachine {
 public:
  // A new, empty machine (layout only); the registry starts empty.
  TestMachine();
  ~TestMachine();
  TestMachine(const TestMachine&) = delete;
  TestMachine& operator=(const TestMachine&) = delete;

  platform::Platform& platform() { return *platform_; }
  const std::string& folder() const { return dir_.path(); }
  // The host path of a file below drive_c ("Windows/x.ini").
  std::string hostC(const std::string& relative) const { return dir_.path() + "/drive_c/" + relative; }
  // Saves the registry and opens the machine again (what the next start of the program sees).
  void reopen();

 private:
  void open();
  TempDir dir_;
  std::unique_ptr<platform::Platform> platform_;
};

}  // namespace pgv::test
