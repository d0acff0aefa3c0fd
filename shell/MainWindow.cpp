// The main window: start-up, the shell's own commands, the exit sequence.

#include "shell/MainWindow.h"

#include <exception>
#include <functional>

#include "commands/ShredderCommands.h"
#include "engine/api/Browsers.h"
#include "engine/api/Messangers.h"
#include "engine/api/Misc_Functions.h"
#include "shell/BuildSettings.h"
#include "shell/LogView.h"
#include "shell/MessageBox.h"
#include "shell/ProfileNames.h"
#include "shell/Program.h"
#include "shell/Settings.h"
#include "shell/Texts.h"
#include "shell/Tray.h"

namespace pgv::shell {
namespace {

// From start-up step 4 on, and in the detection, a failing step is skipped.
void step(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception&) {
  }
}

}  // namespace

// Passes the engines' ShowLog events to the live log view.
class MainWindow::EngineLog : public LogListener {
 public:
  explicit EngineLog(Program& program) : program_(program) {}
  void ShowLog(const std::string& Msg) override { program_.logView->deliver(Msg); }

 private:
  Program& program_;
};

MainWindow::MainWindow(Program& program)
    : program_(program), dispatcher_(program), engineLog_(std::make_unique<EngineLog>(program)) {}

MainWindow::~MainWindow() = default;

LogListener& MainWindow::engineLog() { return *engineLog_; }

void MainWindow::show() {
  if (!loaded()) load();
  fl1_->show(true);
}

void MainWindow::hide() {
  if (loaded()) fl1_->hide();
}

void MainWindow::FSCommand(const std::string& command, const std::string& args) { dispatch(command, args); }

// ---- start-up -------------------------------------------------------------------

void MainWindow::load() {
  // 1. The program's title is kTitle, the window's caption kCaption; the skin draws both.
  // 2.-3. The schedule (read to arm ScheduleActive) comes with its subsystem; until then
  //    ScheduleActive stays false. The long-lived shredder `sh`:
  program_.shredder = std::make_unique<ShredderCommands>(program_);
  // 5. A second instance never gets here: the program refuses it when it starts.
  // 6. The check-box, button and mode lists are the constant tables of SkinLists.h.

  // 7. Lay out the window and load the main skin.
  fl1_ = program_.host.createWindow("mainfrm", *this);
  step([&] {
    fl1_->setSize(kWidth, kHeight);
    fl1_->Zoom(100);
    fl1_->LoadMovie(0, "\\skin\\PGVX.swf");
  });
  // 8.-10. Connection values, DLL backups and registry backups come with their subsystems.
  // 11.-12. The profile's settings with the start values, then its button states.
  step([&] { program_.settings->loadSettings(); });
  step([&] { program_.settings->loadButtonStates(); });
  // 13.-14. Plug-ins, start-up and uninstall entries come with their subsystems; then
  //     the drive lists.
  step([&] { program_.shredder->sendDriveList(); });
  // 15. Which browsers and messengers are installed.
  step([&] { detectInstalledApplications(); });
  // 16. The stored schedule comes with the scheduler.
  // 17. The splash picture: the skin hosts show none.
  // 18. The tray menu's captions, in the language of this moment.
  step([&] { program_.tray->setMenuCaptions(); });
  // 19. The program's folders.
  step([&] { createProgramFolders(); });
  // 20. Keep the skin control's own context menu away from the skin.
  step([&] { program_.tray->installFilter(); });

  program_.host.startTimer(kTimer1, 500);
  program_.host.startTimer(kTimer2, 1000);
}

void MainWindow::detectInstalledApplications() {
  struct Target {
    const char* name;
    const char* variable;
  };
  static constexpr Target kBrowsers[] = {{"Netscape", "_root.NS_Enabled"},
                                         {"Opera", "_root.OP_Enabled"},
                                         {"AOL", "_root.AOL_Enabled"},
                                         {"Firefox", "_root.FF_Enabled"}};
  static constexpr Target kMessengers[] = {
      {"Msn", "_root.MSN_Enabled"}, {"Yahoo", "_root.YAHOO_Enabled"}, {"Icq", "_root.ICQ_Enabled"}};

  // A test that fails counts as not installed; an installed application writes nothing.
  auto mark = [&](const Target& target, const std::function<bool()>& installed) {
    bool present = false;
    try {
      present = installed();
    } catch (const std::exception&) {
    }
    if (!present) fl1_->SetVariable(target.variable, "0");
  };
  step([&] {
    auto browsers = program_.engine.create<pgv::Browsers>();
    for (const Target& target : kBrowsers) mark(target, [&] { return browsers->DoesExist(target.name); });
  });
  step([&] {
    auto messengers = program_.engine.create<pgv::Messangers>();
    for (const Target& target : kMessengers) mark(target, [&] { return messengers->DoesExist(target.name); });
  });
}

void MainWindow::createProgramFolders() {
  platform::Files& files = program_.platform.files();
  const std::string folder = program_.platform.system().programFolder();
  for (const char* name : {"BackUp_dll", "logs"}) {
    const std::string path = folder + "\\" + name;
    if (files.attributes(path) == platform::attr::Invalid) {
      [[maybe_unused]] const platform::Status ignored = files.createDirectory(path);
    }
  }
}

// ---- commands -------------------------------------------------------------------

Flow MainWindow::Drag() {
  fl1_->beginDrag();
  return Flow::Continue;
}

Flow MainWindow::Minimize() {
  program_.tray->putUp();
  fl1_->hide();
  return Flow::Continue;
}

Flow MainWindow::Close() { return exitSequence() ? Flow::Continue : Flow::StopEarly; }

Flow MainWindow::Help() {
  if (platform::Shell* shell = program_.platform.shell()) {
    shell->shellExecute("Open", program_.platform.system().programFolder() + "\\PGVX.chm",
                        platform::showcmd::Maximized);
  }
  return Flow::Continue;
}

Flow MainWindow::Website() {
  auto misc = program_.engine.create<pgv::Misc_Functions>();
  misc->OpenWeb(kWebSite);
  return Flow::Continue;
}

Flow MainWindow::CheckUpdates() {
  updaterTitle_ = "welcome";
  platform::Shell* shell = program_.platform.shell();
  updaterWindowFound_ = shell && shell->topLevelWindowExists(updaterTitle_);
  if (!updaterWindowFound_) {
    auto misc = program_.engine.create<pgv::Misc_Functions>();
    misc->RunProgram(program_.platform.system().programFolder() + "\\update.exe");
  }
  return Flow::Continue;
}

Flow MainWindow::HdBrowse() {
  BrowseFolder(hWnd());
  return Flow::Continue;
}

void MainWindow::BrowseFolder(std::int32_t owner) {
  auto misc = program_.engine.create<pgv::Misc_Functions>();
  const std::string folder = misc->BrowseForFolder(owner);
  if (!folder.empty()) fl1_->SetVariable("_root.PathValue", folder);
}

void MainWindow::Language(const std::string& language) {
  program_.texts->chooseByMainWindowRule(language);
  program_.platform.settings().save(Settings::kSettingsApp, "Lang", "Lang", language);
  fl1_->SetVariable("_root.strCurrentLanguage", language);
}

void MainWindow::setBusy(bool busy) {
  program_.host.setMousePointer(busy ? platform::MousePointer::Busy : platform::MousePointer::Default);
}

void MainWindow::Timer1_Timer() {
  // The memory display comes with the memory tools.
}

void MainWindow::Timer2_Timer() {
  // The schedule check comes with the scheduler.
}

// ---- exit -----------------------------------------------------------------------

std::optional<std::string> MainWindow::askProfileName() {
  platform::Shell* shell = program_.platform.shell();
  if (!shell) return std::nullopt;
  const std::string name = shell->inputBox(program_.texts->lookup("msg6")).value_or("");
  if (name.empty()) return std::nullopt;
  if (!isUsableProfileName(name)) {
    program_.msgbox->ShowMsg(program_.texts->lookup("msgBadProfileName"), program_.texts->lookup("msg36"), 0, 1);
    return std::nullopt;
  }
  return name;
}

bool MainWindow::exitSequence() {
  MessageBox& box = *program_.msgbox;
  Texts& texts = *program_.texts;
  ShellState& state = program_.state;

  if (state.ScheduleActive) {
    box.ShowMsg(texts("msg37"), texts("msg38"), 3, 2);
    if (!box.answer("msg38")) return false;
  }
  program_.tray->removeFilter();
  // The schedule reference `sc` is released here once the scheduler exists.

  // A cancel left over from an exit that stopped while asking for a name must not turn
  // this box's answer into a cancel.
  box.ExitCancelled = false;
  box.ShowMsg(texts("msg5"), texts("msg26"), 3, 7);
  if (state.CurrentProfile.empty() && box.ExitCancelled) {
    const auto name = askProfileName();
    if (!name) return false;
    state.CurrentProfile = *name;
  }
  if (box.ExitCancelled) {
    box.ExitCancelled = false;
    return false;
  }
  if (state.CurrentProfile.empty() || !box.answer("msg26")) {
    const auto name = askProfileName();
    if (!name) return false;
    state.CurrentProfile = *name;
  }
  // The shredder `sh` is left to the program's end, a few lines below: releasing it here
  // could pull it from under a shred this exit was dispatched inside.
  step([&] { program_.settings->saveCheckBoxes(); });
  step([&] { program_.settings->saveButtonStates(); });
  program_.end();
}

}  // namespace pgv::shell
