// The shredder's operations run alone on a machine folder, for bench/shred.sh to time
// against dd, GNU shred and BleachBit.
//
//   shred_bench machine MACHINE                 makes MACHINE a machine folder (with a Logs folder)
//   shred_bench mktree DIR FILES                fills DIR with FILES files of 1-16 KiB in sub-folders
//   shred_bench file MACHINE WINPATH            FileShred
//   shred_bench folder MACHINE WINPATH          FolderShred(path, false, "*", true)
//   shred_bench freespace MACHINE DRIVE         ShredFreeSpace, then prints the bytes it covered
//
// Each operation prints the seconds it took on its own line ("seconds 1.234").

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/api/EngineError.h"
#include "engine/shredder/Shredder.h"
#include "platform/Platform.h"
#include "platform/portable/MachineFolder.h"

namespace {

namespace fs = std::filesystem;

int usage() {
  std::fprintf(stderr, "usage: shred_bench machine|mktree|file|folder|freespace ...\n");
  return 2;
}

int makeMachine(const std::string& folder) {
  std::string error;
  if (pgv::platform::portable::MachineFolder::createLayout(folder, error) != pgv::platform::status::Success) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  fs::create_directories(folder + "/drive_c/Program Files/Purgavia/Logs");
  return 0;
}

// 20 folders of 10 sub-folders each, the files spread evenly, sizes 1-16 KiB.
int makeTree(const std::string& dir, int count) {
  std::mt19937 random(20061);
  std::uniform_int_distribution<int> size(1024, 16 * 1024);
  std::vector<char> data(16 * 1024);
  for (char& c : data) c = static_cast<char>(random());
  for (int i = 0; i < count; ++i) {
    const std::string folder = dir + "/d" + std::to_string(i % 20) + "/s" + std::to_string(i / 20 % 10);
    if (i < 200) fs::create_directories(folder);
    const std::string path = folder + "/file" + std::to_string(i) + ".dat";
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, data.data(), static_cast<std::size_t>(size(random))) < 0) return 1;
    ::close(fd);
  }
  return 0;
}

template <class Operation>
int timed(const std::string& machine, Operation&& operation) {
  pgv::platform::PlatformOptions options;
  options.machineFolder = machine;
  std::string error;
  auto platform = pgv::platform::openPlatform(options, error);
  if (!platform) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  pgv::platform::setCurrent(platform.get());
  pgv::engine::Shredder shredder;
  const auto start = std::chrono::steady_clock::now();
  try {
    operation(shredder);
  } catch (const pgv::EngineError& e) {
    std::fprintf(stderr, "error %lld: %s\n", static_cast<long long>(e.number()), e.description().c_str());
    return 1;
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("seconds %.3f\n", took.count());
  pgv::platform::setCurrent(nullptr);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "machine") return makeMachine(args[1]);
  if (args.size() == 3 && args[0] == "mktree") return makeTree(args[1], std::atoi(args[2].c_str()));
  if (args.size() != 3) return usage();
  if (args[0] == "file") return timed(args[1], [&](pgv::engine::Shredder& s) { s.FileShred(args[2]); });
  if (args[0] == "folder") {
    return timed(args[1], [&](pgv::engine::Shredder& s) { s.FolderShred(args[2], false, "*", true); });
  }
  if (args[0] == "freespace") {
    return timed(args[1], [&](pgv::engine::Shredder& s) {
      s.ShredFreeSpace(args[2]);
      std::printf("bytes %llu\n", static_cast<unsigned long long>(s.lastFreeSpace()));
    });
  }
  return usage();
}
