// Win32 backend only: one running instance per user session, held by a named mutex.

#include "platform/InstanceLock.h"

#include "platform/win32/Win32Text.h"

namespace pgv::platform {
namespace {

class MutexLock : public InstanceLock {
 public:
  explicit MutexLock(HANDLE mutex) : mutex_(mutex) {}
  ~MutexLock() override { ::CloseHandle(mutex_); }

 private:
  HANDLE mutex_;
};

}  // namespace

std::unique_ptr<InstanceLock> acquireInstanceLock(const std::string&) {
  HANDLE mutex = ::CreateMutexA(nullptr, FALSE, "Local\\Purgavia.Instance");
  if (!mutex) return nullptr;
  if (::GetLastError() == ERROR_ALREADY_EXISTS) {
    ::CloseHandle(mutex);
    return nullptr;
  }
  return std::make_unique<MutexLock>(mutex);
}

}  // namespace pgv::platform
