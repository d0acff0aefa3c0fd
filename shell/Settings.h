#pragma once
// The user's choices kept per profile in the registry, the per-user settings that do not
// depend on a profile, and the options command.
//
// Registry layout under HKEY_CURRENT_USER\Software\vuzaz2\Settings\<profile>:
//   CheckBoxes  the check-box list, the mode list, "_root.ISB_WizardMode",
//               "_root.SelectedRadioBtn" (value name = skin variable name)
//   Buttons     the six privacy buttons, "1" or "0"
//   lang        "Lang" = the language name

#include <string>

namespace pgv::shell {

class Program;

class Settings {
 public:
  static constexpr const char* kDataRoot = "Software\\vuzaz2\\";
  static constexpr const char* kSettingsRoot = "Software\\vuzaz2\\Settings";
  // The application name of the per-user settings store.
  static constexpr const char* kSettingsApp = "PGVX";

  explicit Settings(Program& program) : program_(program) {}

  // Skin -> "CheckBoxes" and "lang" of the current profile, plus the per-user language
  // and "ISB"/"SYN". Nothing without a current profile.
  void saveCheckBoxes();
  // Skin -> "Buttons" of the current profile. A button never stored before is stored as
  // "0" whatever the skin shows.
  void saveButtonStates();
  // "lang" and "CheckBoxes" of the current profile -> skin, then the start values.
  void loadSettings();
  // "Buttons" of the current profile -> skin; of each pair at least one is usable.
  void loadButtonStates();
  // The options command: six comma-separated flags switching the start-up and Windows
  // options through Misc_Functions.
  void ApplyOptions(const std::string& args);

  // "Software\vuzaz2\Settings\" + profile.
  static std::string profileKey(const std::string& profile);

 private:
  void writeStartValues();

  Program& program_;
};

}  // namespace pgv::shell
