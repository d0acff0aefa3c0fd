#pragma once
// The skin message box (FlashMsgBox): a modal window with its own movie that shows a
// title, a message, an icon and one to three buttons, and remembers the answer given to
// each confirmation title.

#include <map>
#include <string>
#include <string_view>

#include "platform/SkinControl.h"

namespace pgv::shell {

class Program;

class MessageBox {
 public:
  explicit MessageBox(Program& program);

  // Shows the box modally and returns when it has been answered. message_ and title_ are
  // texts; Icons_ is the frame of the clip "sign"; buttons_ 1 (OK), 2 (yes, no), 3 or 7
  // (yes, no, cancel).
  void ShowMsg(const std::string& message_, const std::string& title_, int Icons_, int buttons_);
  // The completion box: message and title both the text of "msg4", icon 2, one button.
  void showCompletion();
  // The last yes (true) or no (false) given to a box with this title key; no at first.
  bool answer(std::string_view titleKey) const;

  // Set by the cancel button of the exit box; the exit sequence clears it.
  bool ExitCancelled = false;

 private:
  class Box;
  void onCommand(Box& box, const std::string& command, const std::string& args);

  Program& program_;
  std::map<std::string, bool, std::less<>> answers_;
};

}  // namespace pgv::shell
