#include "tests/support/SkinSession.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace pgv::test {
namespace {

void writeAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace

SkinSession::SkinSession(const std::string& binaryDir, const std::string& machine, std::vector<std::string> extra) {
  std::vector<std::string> args = {binaryDir + "/purgavia", "--skin", "stdio", "--machine", machine,
                                   "--timers", "manual"};
  args.insert(args.end(), extra.begin(), extra.end());
  launch(std::move(args), {});
}

SkinSession::SkinSession(std::vector<std::string> commandLine, const std::vector<std::string>& environment) {
  launch(std::move(commandLine), environment);
}

void SkinSession::launch(std::vector<std::string> args, const std::vector<std::string>& environment) {
  std::signal(SIGPIPE, SIG_IGN);
  std::string pattern = "/tmp/pgv-skin-stderr-XXXXXX";
  const int errorFd = ::mkostemp(pattern.data(), O_CLOEXEC);
  errorFile_ = pattern;

  int in[2];
  int out[2];
  // Close-on-exec: another session's program must not hold this one's input open.
  if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");

  pid_ = ::fork();
  if (pid_ == 0) {
    ::dup2(in[0], 0);
    ::dup2(out[1], 1);
    ::dup2(errorFd, 2);
    ::close(in[0]);
    ::close(in[1]);
    ::close(out[0]);
    ::close(out[1]);
    for (const std::string& entry : environment) {
      const auto eq = entry.find('=');
      if (eq != std::string::npos) ::setenv(entry.substr(0, eq).c_str(), entry.substr(eq + 1).c_str(), 1);
    }
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(in[0]);
  ::close(out[1]);
  ::close(errorFd);
  input_ = in[1];
  output_ = out[0];
}

SkinSession::~SkinSession() {
  closeInput();
  if (!exited_ && pid_ > 0) {
    if (reap(std::chrono::steady_clock::now() + std::chrono::seconds(5)) < 0) {
      ::kill(pid_, SIGKILL);
      int status = 0;
      ::waitpid(pid_, &status, 0);
    }
  }
  if (output_ >= 0) ::close(output_);
  ::unlink(errorFile_.c_str());
}

void SkinSession::sendLine(const std::string& line) { sendLines({line}); }

void SkinSession::sendLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\n";
  if (input_ >= 0) writeAll(input_, text);
}

void SkinSession::send(const Json& message) { sendLine(message.dump()); }

void SkinSession::command(const std::string& window, const std::string& command, const std::string& args) {
  send(Json{{"win", window}, {"cmd", command}, {"args", args}});
}

void SkinSession::setVariable(const std::string& window, const std::string& name, const std::string& value) {
  send(Json{{"win", window}, {"var", name}, {"value", value}});
}

void SkinSession::answer(const std::optional<std::string>& text) {
  send(Json{{"answer", text ? Json(*text) : Json(nullptr)}});
}

void SkinSession::closeInput() {
  if (input_ >= 0) ::close(input_);
  input_ = -1;
}

std::string SkinSession::errors() const {
  std::ifstream in(errorFile_);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::optional<Json> SkinSession::nextEvent(std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    if (const auto newline = buffer_.find('\n'); newline != std::string::npos) {
      const std::string line = buffer_.substr(0, newline);
      buffer_.erase(0, newline + 1);
      try {
        return Json::parse(line);
      } catch (const std::exception&) {
        ADD_FAILURE() << "stdout carried a line that is not JSON: " << line;
        continue;
      }
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return std::nullopt;
    pollfd fd{output_, POLLIN, 0};
    const int ready = ::poll(&fd, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return std::nullopt;
    char chunk[65536];
    const ssize_t n = ::read(output_, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return std::nullopt;
    buffer_.append(chunk, static_cast<std::size_t>(n));
  }
}

Events SkinSession::untilIdle(std::chrono::milliseconds timeout) {
  Events events;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    auto event = nextEvent(deadline);
    if (!event) {
      ADD_FAILURE() << "no idle event came; stderr: " << errors();
      return events;
    }
    events.push_back(*event);
    if ((*event)["ev"] == "idle") return events;
  }
}

int SkinSession::untilExit(Events& events, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (auto event = nextEvent(deadline)) events.push_back(*event);
  return reap(deadline);
}

int SkinSession::reap(std::chrono::steady_clock::time_point deadline) {
  if (exited_) return status_;
  for (;;) {
    int status = 0;
    const pid_t r = ::waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
      exited_ = true;
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return status_;
    }
    if (std::chrono::steady_clock::now() >= deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::optional<std::string> lastSet(const Events& events, const std::string& window, const std::string& name) {
  std::optional<std::string> value;
  for (const auto& e : events) {
    if (e.value("ev", "") == "set" && e.value("win", "") == window && e.value("name", "") == name) {
      value = e.value("value", "");
    }
  }
  return value;
}

Events eventsOf(const Events& events, const std::string& kind) {
  Events out;
  for (const auto& e : events) {
    if (e.value("ev", "") == kind) out.push_back(e);
  }
  return out;
}

int indexOf(const Events& events, const Json& expected, int from) {
  for (int i = from; i < static_cast<int>(events.size()); ++i) {
    bool all = true;
    for (const auto& [key, value] : expected.items()) {
      if (!events[i].contains(key) || events[i][key] != value) {
        all = false;
        break;
      }
    }
    if (all) return i;
  }
  return -1;
}

const Json& lastEvent(const Events& events) {
  static const Json none;
  return events.empty() ? none : events.back();
}

}  // namespace pgv::test
