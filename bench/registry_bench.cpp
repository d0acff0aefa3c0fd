// Load and save speed of one Wine registry hive file.
//
//   registry_bench <system.reg> [runs]
//
// Loads the file `runs` times and saves it `runs` times (atomic replace, flushed to
// disk) into a temporary folder; the file itself is never written. Prints the best and
// the median time of each, and of a plain read of the file for comparison.

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/portable/RegistryHive.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Stats {
  double best;
  double median;
};

Stats statsOf(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return {times.front(), times[times.size() / 2]};
}

// Reads the whole file through a small buffer, as cat does: the least any loader must do.
bool readThrough(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  static char buffer[65536];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
  }
  ::close(fd);
  return n == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <system.reg> [runs]\n", argv[0]);
    return 2;
  }
  const std::string path = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 10;
  char folder[] = "/tmp/registry_bench.XXXXXX";
  if (!::mkdtemp(folder)) {
    std::perror("mkdtemp");
    return 1;
  }
  const std::string copy = std::string(folder) + "/system.reg";

  std::vector<double> reads, loads, saves;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    if (!readThrough(path)) {
      std::fprintf(stderr, "cannot read %s\n", path.c_str());
      return 1;
    }
    reads.push_back(millisecondsSince(start));
  }

  for (int i = 0; i < runs; ++i) {
    pgv::platform::RegistryHive hive("REGISTRY\\\\Machine", u"Machine");
    bool missing = false;
    std::string error;
    const auto start = Clock::now();
    if (!pgv::platform::RegistryHive::loadFile(path, hive, pgv::platform::currentFileTime(), missing, error) ||
        missing) {
      std::fprintf(stderr, "%s\n", error.empty() ? "file not found" : error.c_str());
      return 1;
    }
    loads.push_back(millisecondsSince(start));
    if (i == runs - 1 || runs == 1) {
      for (int j = 0; j < runs; ++j) {
        const auto saveStart = Clock::now();
        if (hive.saveFile(copy, error) != pgv::platform::status::Success) {
          std::fprintf(stderr, "%s\n", error.c_str());
          return 1;
        }
        saves.push_back(millisecondsSince(saveStart));
      }
    }
  }
  ::unlink(copy.c_str());
  ::rmdir(folder);

  const Stats read = statsOf(reads), load = statsOf(loads), save = statsOf(saves);
  std::printf("runs=%d\n", runs);
  std::printf("read_ms_best=%.3f read_ms_median=%.3f\n", read.best, read.median);
  std::printf("load_ms_best=%.3f load_ms_median=%.3f\n", load.best, load.median);
  std::printf("save_ms_best=%.3f save_ms_median=%.3f\n", save.best, save.median);
  return 0;
}
