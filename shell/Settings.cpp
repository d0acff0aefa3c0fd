// Saving and loading the profile's settings, and the options command.

#include "shell/Settings.h"

#include <exception>
#include <functional>

#include "engine/api/IE.h"
#include "engine/api/Misc_Functions.h"
#include "engine/services/cRegistry.h"
#include "shell/Arguments.h"
#include "shell/BuildSettings.h"
#include "shell/MainWindow.h"
#include "shell/Program.h"
#include "shell/SkinLists.h"
#include "shell/Texts.h"

namespace pgv::shell {
namespace {

using engine::cRegistry;

// A failing step is skipped; the next one runs.
void step(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception&) {
  }
}

// A string value of HKEY_CURRENT_USER\key; "" when absent.
std::string readText(const std::string& key, std::string_view name) {
  cRegistry reg;
  return reg.ValueEx(engine::HKEY_CURRENT_USER, key, std::string(name), engine::REG_SZ, Variant(std::string()))
      .toText();
}

void writeText(const std::string& key, std::string_view name, const std::string& value) {
  cRegistry reg;
  reg.setClassKey(engine::HKEY_CURRENT_USER);
  reg.setSectionKey(key);
  reg.setValueKey(std::string(name));
  reg.setValueType(engine::REG_SZ);
  reg.setValue(Variant(value));
}

// "_root.Version": major, minor, minor again, revision.
std::string versionText() {
  const std::string minor = std::to_string(PGV_VERSION_MINOR);
  return std::to_string(PGV_VERSION_MAJOR) + "." + minor + "." + minor + "." + std::to_string(PGV_VERSION_PATCH);
}

}  // namespace

std::string Settings::profileKey(const std::string& profile) { return std::string(kSettingsRoot) + "\\" + profile; }

void Settings::saveCheckBoxes() {
  ShellState& state = program_.state;
  if (state.CurrentProfile.empty()) return;
  platform::SkinControl& fl1 = program_.main->skin();
  const std::string key = profileKey(state.CurrentProfile);
  const std::string checkBoxes = key + "\\CheckBoxes";

  for (std::string_view name : kCheckBoxList) {
    step([&] {
      const std::string value = fl1.GetVariable(std::string(name));
      writeText(checkBoxes, name, value.empty() || value == "false" ? "0" : value);
    });
  }
  for (std::string_view name : kModeList) {
    step([&] {
      const std::string value = fl1.GetVariable(std::string(name));
      writeText(checkBoxes, name, value.empty() || value == "false" ? "false" : value);
    });
  }
  step([&] { writeText(checkBoxes, "_root.ISB_WizardMode", fl1.GetVariable("_root.ISB_WizardMode")); });
  step([&] { writeText(checkBoxes, "_root.SelectedRadioBtn", fl1.GetVariable("_root.SelectedRadioBtn")); });
  step([&] {
    if (state.CurrentLanguage.empty()) state.CurrentLanguage = "English";
    writeText(key + "\\lang", "Lang", state.CurrentLanguage);
    program_.platform.settings().save(kSettingsApp, "Lang", "Lang", state.CurrentLanguage);
  });
  step([&] { program_.platform.settings().save(kSettingsApp, "ISB", "SYN", fl1.GetVariable("_root.syn")); });
}

void Settings::saveButtonStates() {
  if (program_.state.CurrentProfile.empty()) return;
  platform::SkinControl& fl1 = program_.main->skin();
  const std::string buttons = profileKey(program_.state.CurrentProfile) + "\\Buttons";
  for (std::string_view name : kButtonList) {
    step([&] {
      if (readText(buttons, name).empty()) {
        writeText(buttons, name, "0");
        return;
      }
      const std::string shown = fl1.GetVariable(std::string(name));
      if (shown == "false") writeText(buttons, name, "0");
      else if (shown == "true") writeText(buttons, name, "1");
    });
  }
}

void Settings::loadSettings() {
  ShellState& state = program_.state;
  platform::SkinControl& fl1 = program_.main->skin();
  const std::string key = profileKey(state.CurrentProfile);

  step([&] {
    const std::string stored = readText(key + "\\lang", "Lang");
    program_.texts->chooseByMainWindowRule(stored.empty() ? "ENGLISH" : stored);
  });
  step([&] {
    fl1.SetVariable("_root.langageChange", "1");
    fl1.SetVariable("_root.strCurrentLanguage", state.CurrentLanguage);
  });
  const std::string checkBoxes = key + "\\CheckBoxes";
  for (std::string_view name : kCheckBoxList) {
    step([&] {
      const std::string stored = readText(checkBoxes, name);
      fl1.SetVariable(std::string(name), stored.empty() ? "0" : stored);
    });
  }
  step([&] {
    // Only the selected mode button is switched on; the others keep the skin's state.
    const std::string selected = readText(checkBoxes, "_root.ISB_WizardMode");
    if (!selected.empty()) fl1.SetVariable(selected, "true");
  });
  step([&] {
    const std::string backup = readText(checkBoxes, "_root.DLL_BBD");
    if (backup == "true" || backup == "1") state.DllBackup = true;
    else if (backup == "false" || backup == "0") state.DllBackup = false;
  });
  step([&] { fl1.SetVariable("_root.SelectedRadioBtn", readText(checkBoxes, "_root.SelectedRadioBtn")); });
  writeStartValues();
}

void Settings::writeStartValues() {
  platform::SkinControl& fl1 = program_.main->skin();
  platform::SettingsStore& store = program_.platform.settings();
  step([&] {
    auto ie = program_.engine.create<pgv::IE>();
    fl1.SetVariable("_root.HomePage", ie->GetHomePage().toText());
  });
  step([&] {
    for (const char* name : {"_root.myCounter_SFI", "_root.myCounter_SFO", "_root.ProgressBarState", "_root.HD_DCF"}) {
      fl1.SetVariable(name, "0");
    }
  });
  step([&] { fl1.SetVariable("_root.Version", versionText()); });
  step([&] { fl1.SetVariable("_root.ListCounter5", "0"); });
  step([&] { fl1.SetVariable("_root.HNIP", "1"); });
  step([&] { fl1.SetVariable("_root.minStepper", store.get(kSettingsApp, "Ping", "val", "0")); });
  step([&] {
    fl1.SetVariable("_root.PingInput", store.get(kSettingsApp, "ping", "IP", ""));
    if (fl1.GetVariable("_root.PingInput").empty()) fl1.SetVariable("_root.PingInput", kDefaultPingHost);
  });
  step([&] { fl1.SetVariable("_root.DLL_BBD", "1"); });
}

void Settings::loadButtonStates() {
  platform::SkinControl& fl1 = program_.main->skin();
  const std::string buttons = profileKey(program_.state.CurrentProfile) + "\\Buttons";
  for (std::string_view name : kButtonList) {
    step([&] {
      const std::string stored = readText(buttons, name);
      fl1.SetVariable(std::string(name), stored.empty() ? "0" : stored);
    });
  }
  // Of each pair at least one button is usable; by default the hide button.
  const std::pair<const char*, const char*> pairs[] = {{"_root.TypedUrls_Show", "_root.TypedUrls_Hide"},
                                                       {"_root.Favorites_Show", "_root.Favorites_Hide"},
                                                       {"_root.Password_Show", "_root.Password_Hide"}};
  for (const auto& [show, hide] : pairs) {
    step([&] {
      if (fl1.GetVariable(show) == "0" && fl1.GetVariable(hide) == "0") fl1.SetVariable(hide, "1");
    });
  }
}

void Settings::ApplyOptions(const std::string& args) {
  auto misc = program_.engine.create<pgv::Misc_Functions>();
  misc->setListener(&program_.main->engineLog());
  const std::vector<std::string> flags = splitText(args, ',');
  const std::string exe = std::string(Program::kExeName) + ".EXE";
  const std::string path = program_.platform.system().programFolder() + "\\" + exe;
  const std::function<void(bool)> operations[] = {
      [&](bool on) { misc->LoadOnStartUp(on, exe, path); },
      [&](bool on) { misc->BootFaster(on); },
      [&](bool on) { misc->EnableAutomaticSharing(on); },
      [&](bool on) { misc->EnableBalloons(on); },
      [&](bool on) { misc->FlatWindows(on); },
      [&](bool on) { misc->Optimize_HardDisk_when_idle(on); },
  };
  for (std::size_t i = 0; i < std::size(operations) && i < flags.size(); ++i) {
    const std::string& flag = flags[i];
    if (flag == "false" || flag == "0") step([&] { operations[i](false); });
    else if (flag == "true" || flag == "1") step([&] { operations[i](true); });
  }
}

}  // namespace pgv::shell
