#pragma once
// The program's command line (besides the init-machine verb):
//   purgavia [--machine DIR] [--skin web|stdio] [--port N] [--no-browser]
//            [--timers real|manual] [--clock YYYY-MM-DDTHH:MM:SS]
// Options take their value as the next argument or after "=".

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Clock.h"

namespace pgv::shell {

struct CommandLine {
  enum class Skin { Web, Stdio };

  std::string machine;  // "" = the default machine folder
  Skin skin = Skin::Web;
  int port = 0;  // 0 = a random port
  bool noBrowser = false;
  bool manualTimers = false;
  std::optional<platform::LocalTime> clock;  // a fake clock starting here
};

// The options; nullopt and a one-line reason when an argument is wrong.
std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& args, std::string& error);

// $PURGAVIA_MACHINE, else $XDG_DATA_HOME/purgavia/machine, else
// $HOME/.local/share/purgavia/machine. getenv returns "" for an unset variable.
std::string defaultMachineFolder(const std::function<std::string(const char*)>& getenv);

inline constexpr const char* kUsage =
    "usage: purgavia [--machine DIR] [--skin web|stdio] [--port N] [--no-browser]\n"
    "                [--timers real|manual] [--clock YYYY-MM-DDTHH:MM:SS]\n"
    "       purgavia init-machine DIR [--demo]\n";

}  // namespace pgv::shell
