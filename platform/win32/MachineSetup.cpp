// Win32 backend only: there are no machine folders to create.

#include "platform/MachineSetup.h"

namespace pgv::platform {

bool machineFoldersSupported() { return false; }

bool holdsMachine(const std::string&) { return false; }

Status createMachineLayout(const std::string&, std::string& error) {
  error = "machine folders are made by the Linux build; the Windows build works on this Windows itself";
  return status::NotSupported;
}

}  // namespace pgv::platform
