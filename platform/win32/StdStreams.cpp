// Win32 backend only: standard streams through the raw handles (ReadFile / WriteFile), so
// that no text-mode translation touches the protocol's bytes.

#include "platform/StdStreams.h"

#include <atomic>

#include "platform/win32/Win32Text.h"

namespace pgv::platform {
namespace {

class Win32Input : public StandardInput {
 public:
  long read(char* buffer, std::size_t size) override {
    if (!reader_) {
      HANDLE self = nullptr;
      ::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(), &self, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
      reader_ = self;
    }
    if (stopped_) return -1;
    DWORD n = 0;
    const BOOL ok = ::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), buffer, static_cast<DWORD>(size), &n, nullptr);
    if (stopped_) return -1;
    if (!ok) return 0;  // a broken pipe or any other failure: the input has ended
    return static_cast<long>(n);
  }

  bool interrupt() override {
    stopped_ = true;
    HANDLE reader = reader_;
    return reader && ::CancelSynchronousIo(reader);
  }

  ~Win32Input() override {
    if (HANDLE reader = reader_) ::CloseHandle(reader);
  }

 private:
  std::atomic<HANDLE> reader_{nullptr};
  std::atomic<bool> stopped_{false};
};

}  // namespace

std::unique_ptr<StandardInput> openStandardInput() { return std::make_unique<Win32Input>(); }

bool writeStandardOutput(const char* data, std::size_t size) {
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  std::size_t done = 0;
  while (done < size) {
    DWORD n = 0;
    if (!::WriteFile(out, data + done, static_cast<DWORD>(size - done), &n, nullptr) || n == 0) return false;
    done += n;
  }
  return true;
}

void ignoreBrokenPipe() {}

}  // namespace pgv::platform
