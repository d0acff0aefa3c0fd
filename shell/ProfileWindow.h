#pragma once
// The profile chooser (profiles): the first window of the program. It lists the stored
// profiles, opens the main window with the chosen one, deletes profiles, or ends the
// program. With no profile stored it shows the main window at once.

#include <memory>
#include <string>
#include <vector>

#include "platform/SkinControl.h"

namespace pgv::shell {

class Program;

class ProfileWindow : public platform::SkinCommandListener {
 public:
  static constexpr int kWidth = 300;
  static constexpr int kHeight = 130;

  explicit ProfileWindow(Program& program);
  ~ProfileWindow() override;

  // Loads the window and shows it (or, with no profiles, the main window instead).
  void load();
  void FSCommand(const std::string& command, const std::string& args) override;

  // The subkey names of the settings root, in registry order.
  static std::vector<std::string> enumerateProfiles();

 private:
  void showList(const std::vector<std::string>& profiles);
  void chooseProfile(const std::string& name);
  void deleteProfile(const std::string& name);
  void refuseName();

  Program& program_;
  std::unique_ptr<platform::SkinControl> fl1_;
};

}  // namespace pgv::shell
