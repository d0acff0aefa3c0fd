// purgavia: the main program's entry point and command line.

#include <cstdio>
#include <string>
#include <vector>

#include "shell/CommandLine.h"
#include "shell/InitMachine.h"
#include "shell/Launcher.h"

namespace {

int usage(const std::string& reason) {
  if (!reason.empty()) std::fprintf(stderr, "purgavia: %s\n", reason.c_str());
  std::fputs(pgv::shell::kUsage, stderr);
  return 2;
}

int runInitMachine(const std::vector<std::string>& args) {
  std::string dir;
  bool demo = false;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--demo") demo = true;
    else if (dir.empty()) dir = args[i];
    else return usage("init-machine takes one folder");
  }
  if (dir.empty()) return usage("init-machine needs a folder");
  std::string error;
  const int rc = pgv::shell::initMachine(dir, demo, error);
  if (rc != 0) std::fprintf(stderr, "purgavia: %s\n", error.c_str());
  return rc;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty() && args[0] == "init-machine") return runInitMachine(args);
  std::string error;
  const auto options = pgv::shell::parseCommandLine(args, error);
  if (!options) return usage(error);
  return pgv::shell::launch(*options);
}
