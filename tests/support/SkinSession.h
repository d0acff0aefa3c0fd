#pragma once
// Drives the program as a skin would: starts `purgavia --skin stdio` on a machine folder,
// sends JSON lines to its stdin and reads its events from stdout.
//
//   SkinSession s(binary, machine);
//   auto started = s.untilIdle();                  // start-up up to the first idle
//   s.command("mainfrm", "IDC_FS_LANGUAGE", "Deutsch");
//   auto events = s.untilIdle();
//   EXPECT_EQ(lastSet(events, "mainfrm", "_root.strCurrentLanguage"), "Deutsch");

#include <chrono>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace pgv::test {

using Json = nlohmann::json;
using Events = std::vector<Json>;

class SkinSession {
 public:
  // Starts binaryDir/purgavia --skin stdio --machine machine --timers manual, plus extra.
  SkinSession(const std::string& binaryDir, const std::string& machine, std::vector<std::string> extra = {});
  // Starts any command line (looked up on PATH) with extra environment ("NAME=value"),
  // for example the Windows build under Wine.
  SkinSession(std::vector<std::string> commandLine, const std::vector<std::string>& environment);
  ~SkinSession();
  SkinSession(const SkinSession&) = delete;
  SkinSession& operator=(const SkinSession&) = delete;

  // One raw line (a newline is added).
  void sendLine(const std::string& line);
  // Several raw lines in one write, so that the program finds them queued together.
  void sendLines(const std::vector<std::string>& lines);
  void send(const Json& message);
  void command(const std::string& window, const std::string& command, const std::string& args = "");
  void setVariable(const std::string& window, const std::string& name, const std::string& value);
  void answer(const std::optional<std::string>& text);

  // The events up to and including the next "idle" (of any kind). Fails the current test
  // and returns what came when the timeout passes or the program ends first.
  Events untilIdle(std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // The events up to the program's end; its exit status (-1 when it did not end in time).
  int untilExit(Events& events, std::chrono::milliseconds timeout = std::chrono::seconds(20));
  // Closes the program's stdin (the skin is gone).
  void closeInput();
  // What the program wrote to stderr so far.
  std::string errors() const;

 private:
  void launch(std::vector<std::string> args, const std::vector<std::string>& environment);
  std::optional<Json> nextEvent(std::chrono::steady_clock::time_point deadline);
  int reap(std::chrono::steady_clock::time_point deadline);

  int pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string errorFile_;
  std::string buffer_;
  bool exited_ = false;
  int status_ = -1;
};

// The value of the last "set" of name on window, or nullopt.
std::optional<std::string> lastSet(const Events& events, const std::string& window, const std::string& name);
// The events of one kind ("ev" field), in order.
Events eventsOf(const Events& events, const std::string& kind);
// The index of the first event equal to expected in all of expected's fields, or -1.
int indexOf(const Events& events, const Json& expected, int from = 0);
// The last event, which untilIdle makes the idle event.
const Json& lastEvent(const Events& events);

}  // namespace pgv::test
