// The live log view.

#include "shell/LogView.h"

#include "shell/Arguments.h"
#include "shell/DayLog.h"
#include "shell/Program.h"
#include "shell/Settings.h"
#include "shell/Texts.h"

namespace pgv::shell {

LogView::LogView(Program& program) : program_(program) {}
LogView::~LogView() = default;

platform::SkinControl& LogView::ensureLoaded() {
  if (fl1_) return *fl1_;
  fl1_ = program_.host.createWindow("LogForm", *this);
  fl1_->setSize(kWidth, kHeight);
  fl1_->LoadMovie(0, "\\skin\\LogFile2.swf");
  fl1_->SetVariable("_root.ViewLogBtn", "0");

  const std::string language = program_.platform.settings().get(Settings::kSettingsApp, "Lang", "Lang", "Deutsch");
  program_.texts->chooseByOtherWindowsRule(language);
  fl1_->SetVariable("_root.strCurrentLanguage", program_.state.CurrentLanguage);

  // Bottom-right corner of the full-screen client area, above the other windows,
  // without taking the focus.
  int width = 0;
  int height = 0;
  program_.host.screenArea(width, height);
  fl1_->place(width - kWidth, height - kHeight, true);
  fl1_->show(false);
  return *fl1_;
}

void LogView::deliver(const std::string& text) {
  program_.host.pump();
  ensureLoaded().SetVariable("_root.LogFile", text);
  program_.host.pump();
}

void LogView::revealWithButton() {
  platform::SkinControl& view = ensureLoaded();
  view.show(true);
  view.SetVariable("_root.ViewLogBtn", "0");
  view.SetVariable("_root.LogFile", program_.texts->lookup("msg4"));
  view.SetVariable("_root.ViewLogBtn", "1");
}

void LogView::revealWithoutButton() {
  platform::SkinControl& view = ensureLoaded();
  view.show(true);
  view.SetVariable("_root.LogFile", program_.texts->lookup("msg4"));
}

void LogView::FSCommand(const std::string& command, const std::string& /*args*/) {
  const std::string name = upperText(command);
  if (name == "IDC_FS_VIEWLOG") {
    if (platform::Shell* shell = program_.platform.shell()) {
      shell->shellExecute("Open", dayLogFile(program_.platform), platform::showcmd::Maximized);
    }
    fl1_->hide();
  } else if (name == "IDC_FS_CLOSE") {
    fl1_->hide();
  }
}

}  // namespace pgv::shell
