// The profile chooser.

#include "shell/ProfileWindow.h"

#include "engine/services/cRegistry.h"
#include "shell/Arguments.h"
#include "shell/MainWindow.h"
#include "shell/MessageBox.h"
#include "shell/ProfileNames.h"
#include "shell/Program.h"
#include "shell/Settings.h"
#include "shell/Texts.h"

namespace pgv::shell {

ProfileWindow::ProfileWindow(Program& program) : program_(program) {}
ProfileWindow::~ProfileWindow() = default;

std::vector<std::string> ProfileWindow::enumerateProfiles() {
  engine::cRegistry reg;
  reg.setClassKey(engine::HKEY_CURRENT_USER);
  reg.setSectionKey(Settings::kSettingsRoot);
  std::vector<std::string> names;
  std::int32_t count = 0;
  try {
    reg.EnumerateSections(names, count);
  } catch (const EngineError&) {
    names.clear();
  }
  return names;
}

void ProfileWindow::load() {
  fl1_ = program_.host.createWindow("profiles", *this);
  fl1_->setSize(kWidth, kHeight);
  fl1_->Zoom(100);
  fl1_->LoadMovie(0, "\\skin\\Profile.swf");

  platform::SettingsStore& store = program_.platform.settings();
  program_.texts->chooseByOtherWindowsRule(store.get(Settings::kSettingsApp, "Lang", "Lang", "English"));
  store.save(Settings::kSettingsApp, "Lang", "Lang", program_.state.CurrentLanguage);
  fl1_->SetVariable("_root.strCurrentLanguage", program_.state.CurrentLanguage);

  const std::vector<std::string> profiles = enumerateProfiles();
  const bool none = profiles.empty();
  if (none) {
    // Nothing to choose: the main window comes up with an empty current profile.
    fl1_->hide();
    program_.main->show();
  }
  showList(profiles);
  if (!none) fl1_->show(true);
}

void ProfileWindow::showList(const std::vector<std::string>& profiles) {
  fl1_->SetVariable("_root.NumberOfTheListItems", std::to_string(profiles.size()));
  for (std::size_t i = 0; i < profiles.size(); ++i) {
    fl1_->SetVariable("_root.ItemNo" + std::to_string(i), profiles[i]);
  }
}

void ProfileWindow::FSCommand(const std::string& command, const std::string& args) {
  const std::string name = upperText(command);
  if (name == "IDC_FS_PROFILE") chooseProfile(args);
  else if (name == "IDC_FS_DELETE") deleteProfile(args);
  else if (name == "EXIT") program_.end();
}

void ProfileWindow::refuseName() {
  program_.msgbox->ShowMsg(program_.texts->lookup("msgBadProfileName"), program_.texts->lookup("msg36"), 0, 1);
}

void ProfileWindow::chooseProfile(const std::string& name) {
  if (name == "undefined" || name.empty()) return;
  if (!isUsableProfileName(name)) {
    refuseName();
    return;
  }
  // A name that does not exist yet starts a new profile, created at the next save.
  program_.state.CurrentProfile = name;
  fl1_->hide();
  program_.main->show();
}

void ProfileWindow::deleteProfile(const std::string& name) {
  MessageBox& box = *program_.msgbox;
  Texts& texts = *program_.texts;
  if (enumerateProfiles().size() == 1) {
    box.ShowMsg(texts("msg17"), texts("msg36"), 0, 1);
    return;
  }
  // Without this check an empty name would delete the settings root with every profile.
  if (!isUsableProfileName(name)) {
    refuseName();
    return;
  }
  box.ShowMsg(texts("msg10"), texts("msg36"), 0, 2);
  if (!box.answer("msg36")) return;
  engine::cRegistry reg;
  reg.del_reg_sub(std::string("HKEY_CURRENT_USER\\") + Settings::kDataRoot + "settings\\" + name);
  fl1_->SetVariable("_root.RemoveProfile", "1");
  showList(enumerateProfiles());
}

}  // namespace pgv::shell
