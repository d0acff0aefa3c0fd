// The main window's dispatcher: opening step, table lookup, closing step.

#include "shell/Dispatcher.h"

#include <cstdint>
#include <cstdio>
#include <exception>

#include "shell/Arguments.h"
#include "shell/DayLog.h"
#include "shell/LogView.h"
#include "shell/Program.h"

namespace pgv::shell {

std::string normaliseCommand(std::string_view command) { return upperText(trimBlanks(command)); }

const Command* findCommand(std::span<const Command> table, std::string_view name) {
  for (const Command& command : table) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

void Dispatcher::dispatch(const std::string& command, const std::string& args) {
  // Opening step.
  const std::uint64_t logSizeBefore = dayLogSize(program_.platform);
  program_.state.CleanRecBen = false;

  Flow flow = Flow::Continue;
  const Command* row = findCommand(table_, normaliseCommand(command));
  if (row && row->handler) {
    try {
      flow = row->handler(program_, args);
    } catch (const std::exception& e) {
      // A handler's own failure handling is in its subsystem; what escapes it is
      // reported here instead of ending the program.
      std::fprintf(stderr, "purgavia: command %s failed: %s\n", std::string(row->name).c_str(), e.what());
    }
  }
  if (flow == Flow::StopEarly) return;

  // Closing step. The date is taken anew: a command that ran past midnight compares
  // with the new day's file.
  if (dayLogSize(program_.platform) != logSizeBefore) program_.logView->revealWithButton();
  if (program_.state.CleanRecBen) {
    program_.logView->revealWithoutButton();
    program_.state.CleanRecBen = false;
  }
}

}  // namespace pgv::shell
