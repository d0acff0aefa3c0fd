#pragma once
// The main window's command dispatcher: every skin command of the main window goes
// through dispatch(), which notes the day's log size, runs the command's handler from
// the command table and afterwards reveals the live log view when the log grew or a
// run asked for it.

#include <span>
#include <string>
#include <string_view>

namespace pgv::shell {

class Program;

// What a handler tells the dispatcher: go on with the closing step, or skip it.
enum class Flow { Continue, StopEarly };

using CommandHandler = Flow (*)(Program& program, const std::string& args);

struct Command {
  std::string_view name;   // upper case, as compared
  CommandHandler handler;  // null while the command's subsystem is not built: it does nothing
};

// The command table of the main window, in the order of the protocol's table.
std::span<const Command> mainWindowCommands();
// The row for a normalised command name, or null.
const Command* findCommand(std::span<const Command> table, std::string_view name);
inline const Command* findMainWindowCommand(std::string_view name) { return findCommand(mainWindowCommands(), name); }
// The name as the dispatcher compares it: blanks around it removed, upper case.
std::string normaliseCommand(std::string_view command);

class Dispatcher {
 public:
  explicit Dispatcher(Program& program, std::span<const Command> table = mainWindowCommands())
      : program_(program), table_(table) {}
  // fl1_FSCommand of the main window. Each call keeps its own log size, so a command
  // dispatched nested inside another compares against its own start.
  void dispatch(const std::string& command, const std::string& args);

 private:
  Program& program_;
  std::span<const Command> table_;
};

}  // namespace pgv::shell
