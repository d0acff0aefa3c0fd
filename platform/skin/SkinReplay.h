#pragma once
// What the skin shows at this moment, kept from the events the program sent and the
// changes pages made, so that a page that opens late or reloads can be brought to the
// present with a short run of ordinary events: each window's movie, frames, variables,
// placement and visibility, the tray icon, the mouse pointer, the questions waiting for
// an answer, and whether the program is idle or has ended.
//
// Windows follow the host's rules: a "load" starts a new window of that name (a message
// box opened inside another one is a second window of the same name); "set", "goto",
// "move" and "show" go to the newest window of a name, "hide" and a page's variable
// change to the newest one that is shown. A window that is hidden when another one of
// its name loads is gone for good and forgotten.
//
// Not thread-safe; the web host guards it.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pgv::platform::skin {

class SkinReplay {
 public:
  SkinReplay();
  ~SkinReplay();
  SkinReplay(const SkinReplay&) = delete;
  SkinReplay& operator=(const SkinReplay&) = delete;

  // One event the program sent (a JSON object). Events that change nothing lasting
  // (notices, shell requests, menus) are ignored, and so is text that is not an event.
  void programEvent(std::string_view json);
  // One message a page sent: variable changes and answers change what pages show.
  void pageMessage(std::string_view json);

  // The events that rebuild the present state on a new page, in order.
  std::vector<std::string> replay() const;

  bool inTray() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace pgv::platform::skin
