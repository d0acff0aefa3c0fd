// New machine folders over the portable backend.

#include "platform/MachineSetup.h"

#include "platform/portable/MachineFolder.h"

namespace pgv::platform {

bool machineFoldersSupported() { return true; }

bool holdsMachine(const std::string& dir) { return portable::MachineFolder::holdsMachine(dir); }

Status createMachineLayout(const std::string& dir, std::string& error) {
  return portable::MachineFolder::createLayout(dir, error);
}

}  // namespace pgv::platform
