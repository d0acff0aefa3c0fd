// The instance lock of a machine folder: an advisory lock on the folder itself, so no
// file is added to the machine and a crashed instance never leaves a stale lock.

#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace pgv::platform {
namespace {

class FolderLock : public InstanceLock {
 public:
  explicit FolderLock(int fd) : fd_(fd) {}
  ~FolderLock() override { ::close(fd_); }

 private:
  int fd_;
};

}  // namespace

std::unique_ptr<InstanceLock> acquireInstanceLock(const std::string& machineFolder) {
  const int fd = ::open(machineFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<FolderLock>(fd);
}

}  // namespace pgv::platform
