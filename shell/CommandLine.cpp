// Parsing the program's command line.

#include "shell/CommandLine.h"

#include <charconv>

#include "platform/skin/IsoTime.h"

namespace pgv::shell {

std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& args, std::string& error) {
  CommandLine options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> inlineValue;
    if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      inlineValue = name.substr(eq + 1);
      name.resize(eq);
    }
    auto value = [&]() -> std::optional<std::string> {
      if (inlineValue) return inlineValue;
      if (i + 1 < args.size()) return args[++i];
      error = name + " needs a value";
      return std::nullopt;
    };

    if (name == "--no-browser" && !inlineValue) {
      options.noBrowser = true;
    } else if (name == "--machine") {
      const auto v = value();
      if (!v) return std::nullopt;
      if (v->empty()) {
        error = "--machine needs a folder";
        return std::nullopt;
      }
      options.machine = *v;
    } else if (name == "--skin") {
      const auto v = value();
      if (!v) return std::nullopt;
      if (*v == "web") options.skin = CommandLine::Skin::Web;
      else if (*v == "stdio") options.skin = CommandLine::Skin::Stdio;
      else {
        error = "--skin is web or stdio, not \"" + *v + "\"";
        return std::nullopt;
      }
    } else if (name == "--port") {
      const auto v = value();
      if (!v) return std::nullopt;
      int port = -1;
      const auto [end, ec] = std::from_chars(v->data(), v->data() + v->size(), port);
      if (ec != std::errc() || end != v->data() + v->size() || port < 0 || port > 65535) {
        error = "--port is a number from 0 to 65535, not \"" + *v + "\"";
        return std::nullopt;
      }
      options.port = port;
    } else if (name == "--timers") {
      const auto v = value();
      if (!v) return std::nullopt;
      if (*v == "real") options.manualTimers = false;
      else if (*v == "manual") options.manualTimers = true;
      else {
        error = "--timers is real or manual, not \"" + *v + "\"";
        return std::nullopt;
      }
    } else if (name == "--clock") {
      const auto v = value();
      if (!v) return std::nullopt;
      options.clock = platform::parseIsoLocalTime(*v);
      if (!options.clock) {
        error = "--clock needs a time YYYY-MM-DDTHH:MM:SS, not \"" + *v + "\"";
        return std::nullopt;
      }
    } else {
      error = "unknown argument \"" + args[i] + "\"";
      return std::nullopt;
    }
  }
  return options;
}

std::string defaultMachineFolder(const std::function<std::string(const char*)>& getenv) {
  if (std::string machine = getenv("PURGAVIA_MACHINE"); !machine.empty()) return machine;
  std::string data = getenv("XDG_DATA_HOME");
  if (data.empty()) data = getenv("HOME") + "/.local/share";
  return data + "/purgavia/machine";
}

}  // namespace pgv::shell
