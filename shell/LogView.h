#pragma once
// The live log view (LogForm): a small topmost skin window in the bottom-right corner
// that shows the engines' log messages one by one and offers to open the day's log file.
// It is loaded the first time anything touches it and stays loaded, shown or hidden.

#include <memory>
#include <string>

#include "platform/SkinControl.h"

namespace pgv::shell {

class Program;

class LogView : public platform::SkinCommandListener {
 public:
  static constexpr int kWidth = 313;
  static constexpr int kHeight = 90;

  explicit LogView(Program& program);
  ~LogView() override;

  // One log message: shown in the view (which appears only when this first loads it),
  // with pending input processed before and after.
  void deliver(const std::string& text);
  // After a command that grew the day's log file: show the view with the completion text
  // and its view-log button usable.
  void revealWithButton();
  // After a run that did something the log file does not show: the view with the
  // completion text, the button as it was.
  void revealWithoutButton();

  bool loaded() const { return fl1_ != nullptr; }
  void FSCommand(const std::string& command, const std::string& args) override;

 private:
  platform::SkinControl& ensureLoaded();

  Program& program_;
  std::unique_ptr<platform::SkinControl> fl1_;
};

}  // namespace pgv::shell
