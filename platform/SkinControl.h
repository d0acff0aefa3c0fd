#pragma once
// The skin: the program's windows, each filled by one skin control that plays a movie,
// sends the program commands (FSCommand) and holds the variables the program sets and
// reads; plus what the windows' host offers around them (mouse pointer, tray icon and its
// menu, the plain boxes and pickers, shell requests, timers and pending-message
// processing).
//
// A SkinHost is one way of showing these to a user: a stdio host that speaks JSON lines,
// a web host, ... All of them keep the program's one-thread model: input may arrive on
// other threads but the host delivers it only on the user-interface thread, inside run(),
// pump() or a modal wait.
//
// Texts are the program's Unicode (UTF-8).

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Shell.h"

namespace pgv::platform {

// Receives the skin's commands of one window (the control's FSCommand event).
class SkinCommandListener {
 public:
  virtual ~SkinCommandListener() = default;
  virtual void FSCommand(const std::string& command, const std::string& args) = 0;
};

// One window with its skin control. Destroying it unloads the window.
class SkinControl {
 public:
  virtual ~SkinControl() = default;

  virtual const std::string& windowName() const = 0;

  // The control's operations. Movie paths are relative to the program folder
  // ("\skin\PGVX.swf").
  virtual void LoadMovie(int layer, const std::string& url) = 0;
  virtual void SetVariable(const std::string& name, const std::string& value) = 0;
  // The variable as the skin holds it: the last value set by either side, "" when never set.
  virtual std::string GetVariable(const std::string& name) = 0;
  virtual void TGotoFrame(const std::string& target, int frame) = 0;
  virtual void Zoom(int percent) = 0;

  // The window. Sizes and positions are in screen pixels.
  virtual void setSize(int width, int height) = 0;
  // Shows the window modeless; activate = false keeps the focus where it is.
  virtual void show(bool activate) = 0;
  // Shows the window modally and returns when it has been hidden again; meanwhile the
  // host delivers this window's input (and timer ticks) and holds back the input of
  // every other window until the wait is over.
  virtual void showModal() = 0;
  virtual void hide() = 0;
  virtual bool visible() const = 0;
  virtual void place(int left, int top, bool topmost) = 0;
  // Lets the window follow the mouse until the button is released (a caption drag).
  virtual void beginDrag() = 0;
  // Keeps the control's own context menu (right button, context-menu key) from the
  // skin. False when the host has no such menu to filter.
  virtual bool installContextMenuFilter() = 0;
  virtual void removeContextMenuFilter() = 0;
};

enum class MousePointer { Default, Busy };

struct MenuItem {
  std::string id;       // "smenu"
  std::string caption;  // the text shown
};

// Events of the host that belong to no window's control.
class SkinHostListener {
 public:
  virtual ~SkinHostListener() = default;
  // The tray icon: its restore event, a mouse button pressed on it (2 = right), an item
  // of the menu popped up from it.
  virtual void trayRestore() = 0;
  virtual void trayMouse(int button) = 0;
  virtual void trayMenuItem(const std::string& id) = 0;
  // A timer started with startTimer is due.
  virtual void timer(const std::string& name) = 0;
};

class SkinHost {
 public:
  virtual ~SkinHost() = default;

  // Creates and loads a window; its commands go to listener, which must outlive it.
  // Several windows may share a name (a message box opened inside another): input
  // for that name goes to the newest one that is shown.
  virtual std::unique_ptr<SkinControl> createWindow(const std::string& name, SkinCommandListener& listener) = 0;
  virtual void setListener(SkinHostListener* listener) = 0;

  virtual void setMousePointer(MousePointer pointer) = 0;
  // The tray icon: in the notification area or not, with its tip text.
  virtual void setTray(bool inTray, const std::string& tip) = 0;
  virtual void popupMenu(const std::vector<MenuItem>& items) = 0;
  // The full-screen client area (GetSystemMetrics SM_CXFULLSCREEN / SM_CYFULLSCREEN).
  virtual void screenArea(int& width, int& height) = 0;

  // The shell services as this host shows them (see platform/Shell.h).
  virtual Shell& shell() = 0;

  // Timers: name fires every intervalMs from now on (hosts may let the user tick them).
  virtual void startTimer(const std::string& name, int intervalMs) = 0;

  // Processes the input that is waiting, nested inside the caller (DoEvents); returns
  // when nothing is left.
  virtual void pump() = 0;
  // The message loop: delivers input until the program ends.
  virtual void run() = 0;
  // Ends the program at once: runs the ending hook, tells the user interface, and
  // terminates the process with code. Does not return.
  [[noreturn]] virtual void end(int code) = 0;

  // Called each time the program has finished what the input caused and is about to
  // wait for more (the moment to save the registry).
  virtual void setIdleHook(std::function<void()> hook) = 0;
  // Called once just before the process ends.
  virtual void setEndHook(std::function<void()> hook) = 0;
};

}  // namespace pgv::platform
