// Start-up and command round trip of the program through its stdio skin host.
//
//   shell_bench BUILD_DIR [--runs N] [--trips N] [--prefix WINEPREFIX]
//
// - start-up: from starting `purgavia --skin stdio` to its first "idle" event, on a fresh
//   machine folder (first start: installs the skin folder and registers the engine
//   library), on the same machine again, and likewise on a copy of a real Wine prefix;
// - round trip: one skin command written to stdin until its "idle" is read back, for an
//   unknown command (the dispatcher's opening and closing steps only) and for the
//   language command (a skin variable and a per-user setting, so the registry is saved).

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class Program {
 public:
  Program(const std::string& buildDir, const std::string& machine) {
    int in[2];
    int out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(in[0], 0);
      ::dup2(out[1], 1);
      const int devnull = ::open("/dev/null", O_WRONLY);
      ::dup2(devnull, 2);
      const std::string binary = buildDir + "/purgavia";
      ::execl(binary.c_str(), binary.c_str(), "--skin", "stdio", "--machine", machine.c_str(), "--timers", "manual",
              static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    input_ = in[1];
    output_ = out[0];
  }
  ~Program() {
    ::close(input_);
    char sink[4096];
    while (::read(output_, sink, sizeof sink) > 0) {
    }
    ::close(output_);
    int status = 0;
    ::waitpid(pid_, &status, 0);
  }

  void send(const std::string& line) {
    const std::string text = line + "\n";
    if (::write(input_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) {
      throw std::runtime_error("write");
    }
  }

  // Reads events until an idle; false when the program ended first.
  bool waitIdle() {
    for (;;) {
      for (auto newline = buffer_.find('\n'); newline != std::string::npos; newline = buffer_.find('\n')) {
        const bool idle = buffer_.rfind("{\"ev\":\"idle\"", 0) == 0;
        buffer_.erase(0, newline + 1);
        if (idle) return true;
      }
      char chunk[65536];
      const ssize_t n = ::read(output_, chunk, sizeof chunk);
      if (n <= 0) return false;
      buffer_.append(chunk, static_cast<std::size_t>(n));
    }
  }

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string buffer_;
};

struct Stats {
  double median, min, max, mean;
};

Stats summarise(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  double sum = 0;
  for (double v : values) sum += v;
  return {values[values.size() / 2], values.front(), values.back(), sum / static_cast<double>(values.size())};
}

void report(const char* what, const std::vector<double>& values) {
  const Stats s = summarise(values);
  std::printf("%-52s median %8.3f ms  mean %8.3f  min %8.3f  max %8.3f  (n=%zu)\n", what, s.median, s.mean, s.min,
              s.max, values.size());
}

double startUp(const std::string& buildDir, const std::string& machine) {
  const auto start = Clock::now();
  Program program(buildDir, machine);
  if (!program.waitIdle()) throw std::runtime_error("the program ended before its first idle on " + machine);
  return millisecondsSince(start);
}

std::string scratchFolder() {
  std::string pattern = (fs::temp_directory_path() / "pgv-shell-bench-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
  return pattern;
}

void run(const std::string& command) {
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: shell_bench BUILD_DIR [--runs N] [--trips N] [--prefix WINEPREFIX]\n");
    return 2;
  }
  const std::string buildDir = argv[1];
  int runs = 10;
  int trips = 1000;
  std::string prefix;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    if (name == "--runs") runs = std::atoi(argv[i + 1]);
    else if (name == "--trips") trips = std::atoi(argv[i + 1]);
    else if (name == "--prefix") prefix = argv[i + 1];
  }

  const std::string scratch = scratchFolder();
  try {
    std::vector<double> first;
    std::vector<double> again;
    for (int i = 0; i < runs; ++i) {
      const std::string machine = scratch + "/machine" + std::to_string(i);
      run("'" + buildDir + "/purgavia' init-machine '" + machine + "' >/dev/null");
      first.push_back(startUp(buildDir, machine));
      again.push_back(startUp(buildDir, machine));
    }
    report("start-up to first idle, fresh machine (first start)", first);
    report("start-up to first idle, same machine again", again);

    if (!prefix.empty()) {
      std::vector<double> wine;
      std::vector<double> wineAgain;
      for (int i = 0; i < runs; ++i) {
        const std::string copy = scratch + "/prefix" + std::to_string(i);
        run("cp -a '" + prefix + "' '" + copy + "'");
        wine.push_back(startUp(buildDir, copy));
        wineAgain.push_back(startUp(buildDir, copy));
        fs::remove_all(copy);
      }
      report("start-up to first idle, real Wine prefix (first start)", wine);
      report("start-up to first idle, real Wine prefix again", wineAgain);
    }

    const std::string machine = scratch + "/machine0";
    Program program(buildDir, machine);
    program.waitIdle();
    auto roundTrips = [&](const char* what, const std::vector<std::string>& lines) {
      std::vector<double> times;
      for (int i = 0; i < trips; ++i) {
        const auto start = Clock::now();
        program.send(lines[static_cast<std::size_t>(i) % lines.size()]);
        if (!program.waitIdle()) throw std::runtime_error("the program ended during the round trips");
        times.push_back(millisecondsSince(start));
      }
      report(what, times);
    };
    roundTrips("round trip, unknown command", {R"({"win":"mainfrm","cmd":"IDC_FS_NOTHING","args":""})"});
    // Alternating languages, so that every command changes the registry and it is saved.
    roundTrips("round trip, language command (registry saved)",
               {R"({"win":"mainfrm","cmd":"IDC_FS_LANGUAGE","args":"English"})",
                R"({"win":"mainfrm","cmd":"IDC_FS_LANGUAGE","args":"Deutsch"})"});
  } catch (const std::exception& e) {
    std::fprintf(stderr, "shell_bench: %s\n", e.what());
    fs::remove_all(scratch);
    return 1;
  }
  fs::remove_all(scratch);
  return 0;
}
