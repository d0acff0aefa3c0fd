#pragma once
// The program-wide state of the shell, shared by its windows.

#include <string>

namespace pgv::shell {

struct ShellState {
  // The profile whose settings are loaded and saved; "" when none was chosen.
  std::string CurrentProfile;
  // The language name as the user chose it ("English", "Deutsch", ...).
  std::string CurrentLanguage;
  // "msgs.ini" or "msgsg.ini": the message file that lookups read; "" until chosen.
  std::string MessageFile;
  // Set by a run that did something the log file does not show; the dispatcher clears it.
  bool CleanRecBen = false;
  // True while the stored schedule is armed.
  bool ScheduleActive = false;
  // Back up DLLs before removing them.
  bool DllBackup = false;
};

}  // namespace pgv::shell
