// The tray icon, its menu and the context-menu filter.

#include "shell/Tray.h"

#include "shell/MainWindow.h"
#include "shell/Program.h"
#include "shell/Texts.h"

namespace pgv::shell {

void Tray::putUp() { program_.host.setTray(true, MainWindow::kCaption); }

void Tray::restore() {
  program_.main->show();
  program_.host.setTray(false, MainWindow::kCaption);
}

void Tray::mouse(int button) {
  if (button != 2) return;
  program_.host.popupMenu({{"smenu", restoreCaption_}, {"emenu", exitCaption_}});
}

void Tray::menuItem(const std::string& id) {
  if (id == "smenu") restore();
  else if (id == "emenu") program_.main->dispatch("IDC_FS_CLOSE", "");
}

void Tray::setMenuCaptions() {
  restoreCaption_ = program_.texts->lookup("msg13");
  exitCaption_ = program_.texts->lookup("msg14");
}

void Tray::installFilter() {
  if (program_.main->loaded()) filterInstalled_ = program_.main->skin().installContextMenuFilter();
}

void Tray::removeFilter() {
  if (!filterInstalled_) return;
  program_.main->skin().removeContextMenuFilter();
  filterInstalled_ = false;
}

}  // namespace pgv::shell
