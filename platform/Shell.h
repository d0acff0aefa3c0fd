#pragma once
// The desktop shell services the program and the engine library use: ShellExecuteA,
// the folder picker (SHBrowseForFolderA + SHGetPathFromIDList), the open-file dialog of
// the common dialog control, the plain modal message and input boxes (MsgBox, InputBox),
// starting a program from a command line, and FindWindow.
//
// The user sees these on the skin host, so the main program installs its skin host's
// implementation on the platform object (Platform::setShell) before anything asks.
// Paths and texts are the program's Unicode (UTF-8). Every call runs on the user-interface
// thread; the asking ones wait until the user has answered.

#include <optional>
#include <string>
#include <string_view>

namespace pgv::platform {

// ShowWindow codes that callers pass.
namespace showcmd {
inline constexpr int Hide = 0;
inline constexpr int Normal = 1;
inline constexpr int Minimized = 2;
inline constexpr int Maximized = 3;
}  // namespace showcmd

class Shell {
 public:
  virtual ~Shell() = default;

  // ShellExecuteA(no owner, verb, target, no parameters, no folder, show). Whether the
  // shell could do it is not reported to callers (none of them look).
  virtual void shellExecute(std::string_view verb, std::string_view target, int show) = 0;
  // Starts a command line (WinExec / VB's Shell) with the given window state.
  virtual void runCommandLine(std::string_view commandLine, int show) = 0;
  // The folder picker: the chosen folder, or nullopt when the user cancelled.
  virtual std::optional<std::string> browseForFolder() = 0;
  // The open-file dialog: the chosen file, or nullopt when the user cancelled.
  virtual std::optional<std::string> openFileDialog() = 0;
  // The plain OK message box; returns at once on hosts that cannot wait for it.
  virtual void messageBox(std::string_view text) = 0;
  // The plain input box: the entered text, or nullopt when cancelled.
  virtual std::optional<std::string> inputBox(std::string_view prompt) = 0;
  // FindWindow(NULL, title) != NULL: a top-level window with exactly this title exists.
  virtual bool topLevelWindowExists(std::string_view title) = 0;
};

}  // namespace pgv::platform
