// Standard streams on POSIX: poll() on stdin and a wake-up pipe, so that a blocked read
// can be interrupted.

#include "platform/StdStreams.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace pgv::platform {
namespace {

class PosixInput : public StandardInput {
 public:
  PosixInput() {
    int fds[2];
    if (::pipe(fds) == 0) {
      wakeRead_ = fds[0];
      wakeWrite_ = fds[1];
    }
  }
  ~PosixInput() override {
    if (wakeRead_ >= 0) ::close(wakeRead_);
    if (wakeWrite_ >= 0) ::close(wakeWrite_);
  }
  PosixInput(const PosixInput&) = delete;
  PosixInput& operator=(const PosixInput&) = delete;

  long read(char* buffer, std::size_t size) override {
    for (;;) {
      pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
      const int ready = ::poll(fds, wakeRead_ >= 0 ? 2 : 1, -1);
      if (ready < 0 && errno == EINTR) continue;
      if (wakeRead_ >= 0 && ready > 0 && (fds[1].revents & POLLIN)) return -1;
      if (ready < 0) return 0;  // an input that cannot be read is an input that has ended
      const ssize_t n = ::read(STDIN_FILENO, buffer, size);
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      return n < 0 ? 0 : static_cast<long>(n);
    }
  }

  bool interrupt() override {
    if (wakeWrite_ < 0) return false;
    const char stop = 0;
    return ::write(wakeWrite_, &stop, 1) == 1;
  }

 private:
  int wakeRead_ = -1;
  int wakeWrite_ = -1;
};

}  // namespace

std::unique_ptr<StandardInput> openStandardInput() { return std::make_unique<PosixInput>(); }

bool writeStandardOutput(const char* data, std::size_t size) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = ::write(STDOUT_FILENO, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void ignoreBrokenPipe() { std::signal(SIGPIPE, SIG_IGN); }

}  // namespace pgv::platform
