// The main program's windows wired together.

#include "shell/Program.h"

#include <cstdlib>

#include "commands/ShredderCommands.h"

#include "shell/LogView.h"
#include "shell/MainWindow.h"
#include "shell/MessageBox.h"
#include "shell/ProfileWindow.h"
#include "shell/Settings.h"
#include "shell/Texts.h"
#include "shell/Tray.h"

namespace pgv::shell {

Program::Program(platform::Platform& platform_, platform::SkinHost& host_, const Engine& engine_)
    : platform(platform_), host(host_), engine(engine_) {
  texts = std::make_unique<Texts>(*this);
  msgbox = std::make_unique<MessageBox>(*this);
  settings = std::make_unique<Settings>(*this);
  logView = std::make_unique<LogView>(*this);
  tray = std::make_unique<Tray>(*this);
  main = std::make_unique<MainWindow>(*this);
  profiles = std::make_unique<ProfileWindow>(*this);
}

Program::~Program() = default;

void Program::start() { profiles->load(); }

void Program::end() {
  host.end(0);
  std::abort();  // a host's end never comes back
}

void Program::trayRestore() { tray->restore(); }
void Program::trayMouse(int button) { tray->mouse(button); }
void Program::trayMenuItem(const std::string& id) { tray->menuItem(id); }

void Program::timer(const std::string& name) {
  if (name == MainWindow::kTimer1) main->Timer1_Timer();
  else if (name == MainWindow::kTimer2) main->Timer2_Timer();
}

}  // namespace pgv::shell
