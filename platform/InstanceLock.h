#pragma once
// One running instance of the program per machine (VB's App.PrevInstance): the first
// instance holds a lock on the machine until it ends.

#include <memory>
#include <string>

namespace pgv::platform {

class InstanceLock {
 public:
  virtual ~InstanceLock() = default;
};

// Takes the machine's instance lock. Null when another instance holds it (or the
// machine folder cannot be locked at all, which the caller treats alike).
std::unique_ptr<InstanceLock> acquireInstanceLock(const std::string& machineFolder);

}  // namespace pgv::platform
