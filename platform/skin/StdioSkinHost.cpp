// The stdio skin host: POSIX reads and writes of the two standard streams.
// Only this file of the skin hosts talks to the operating system.

#include "platform/skin/StdioSkinHost.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace pgv::platform::skin {

StdioSkinHost::StdioSkinHost(JsonSkinHostOptions options, int inputFd, int outputFd)
    : JsonSkinHost(options), inputFd_(inputFd), outputFd_(outputFd) {}

StdioSkinHost::~StdioSkinHost() {
  if (reader_.joinable()) {
    const char stop = 0;
    [[maybe_unused]] const auto n = ::write(wakeWrite_, &stop, 1);
    reader_.join();
  }
  if (wakeRead_ >= 0) ::close(wakeRead_);
  if (wakeWrite_ >= 0) ::close(wakeWrite_);
}

void StdioSkinHost::start() {
  // A skin that has gone away must not kill the program in the middle of a write.
  std::signal(SIGPIPE, SIG_IGN);
  int fds[2];
  if (::pipe(fds) == 0) {
    wakeRead_ = fds[0];
    wakeWrite_ = fds[1];
  }
  reader_ = std::thread([this] { readLoop(); });
}

void StdioSkinHost::writeEvent(const std::string& json) {
  if (outputBroken_) return;
  std::string line = json;
  line += '\n';
  std::size_t done = 0;
  while (done < line.size()) {
    const ssize_t n = ::write(outputFd_, line.data() + done, line.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      // The reader will see the end of input and end the program.
      outputBroken_ = true;
      return;
    }
    done += static_cast<std::size_t>(n);
  }
}

void StdioSkinHost::readLoop() {
  std::string partial;
  bool dropping = false;  // inside a line that is too long
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    pollfd fds[2] = {{inputFd_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
    const int ready = ::poll(fds, wakeRead_ >= 0 ? 2 : 1, -1);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0 || (wakeRead_ >= 0 && (fds[1].revents & POLLIN))) return;
    const ssize_t n = ::read(inputFd_, buffer.data(), buffer.size());
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) {
      if (!dropping && !partial.empty()) postLines({std::move(partial)});
      postEndOfInput();
      return;
    }
    std::vector<std::string> lines;
    for (ssize_t i = 0; i < n; ++i) {
      const char c = buffer[static_cast<std::size_t>(i)];
      if (c == '\n') {
        if (dropping) {
          postLines(std::move(lines));
          lines.clear();
          postDiagnostic("a line longer than " + std::to_string(kMaxLine) + " bytes");
          dropping = false;
        } else {
          if (!partial.empty() && partial.back() == '\r') partial.pop_back();
          if (!partial.empty()) lines.push_back(std::move(partial));
        }
        partial.clear();
        continue;
      }
      if (dropping) continue;
      partial += c;
      if (partial.size() > kMaxLine) {
        dropping = true;
        partial.clear();
        partial.shrink_to_fit();
      }
    }
    if (!lines.empty()) postLines(std::move(lines));
  }
}

}  // namespace pgv::platform::skin
