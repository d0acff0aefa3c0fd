#pragma once
// The tray icon of the main window and the menu of its hidden helper window
// (frmTooltip: restore and exit), and the filter that keeps the skin control's own
// context menu from the main skin.

#include <string>

namespace pgv::shell {

class Program;

class Tray {
 public:
  explicit Tray(Program& program) : program_(program) {}

  // "IDC_FS_MINIMIZE": the icon goes up with the tip "PGVX"; the caller hides the window.
  void putUp();
  // The tray's restore event and the restore item: the window comes back, the icon goes.
  void restore();
  // A mouse button on the icon: the right one (2) pops up the menu.
  void mouse(int button);
  // An item of the menu: "smenu" restores, "emenu" runs the exit command.
  void menuItem(const std::string& id);
  // Captions of the two items from the current language; set once at start-up.
  void setMenuCaptions();
  void installFilter();
  void removeFilter();

 private:
  Program& program_;
  std::string restoreCaption_;
  std::string exitCaption_;
  bool filterInstalled_ = false;
};

}  // namespace pgv::shell
