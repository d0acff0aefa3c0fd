// The stdio skin host: lines of the two standard streams (platform/StdStreams.h).

#include "platform/skin/StdioSkinHost.h"

#include <string>
#include <vector>

namespace pgv::platform::skin {

StdioSkinHost::StdioSkinHost(JsonSkinHostOptions options) : JsonSkinHost(options) {}

StdioSkinHost::~StdioSkinHost() {
  if (!reader_.joinable()) return;
  // A reader that cannot be woken ends with the process.
  if (input_->interrupt()) reader_.join();
  else reader_.detach();
}

void StdioSkinHost::start() {
  ignoreBrokenPipe();
  input_ = openStandardInput();
  reader_ = std::thread([this] { readLoop(); });
}

void StdioSkinHost::writeEvent(const std::string& json) {
  if (outputBroken_) return;
  std::string line = json;
  line += '\n';
  // When the skin has gone, the reader sees the end of input and ends the program.
  if (!writeStandardOutput(line.data(), line.size())) outputBroken_ = true;
}

void StdioSkinHost::readLoop() {
  std::string partial;
  bool dropping = false;  // inside a line that is too long
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    const long n = input_->read(buffer.data(), buffer.size());
    if (n < 0) return;
    if (n == 0) {
      if (!dropping && !partial.empty()) postLines({std::move(partial)});
      postEndOfInput();
      return;
    }
    std::vector<std::string> lines;
    for (long i = 0; i < n; ++i) {
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
