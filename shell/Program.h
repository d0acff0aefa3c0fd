#pragma once
// The main program once it runs: its platform, skin host and engine library, the state
// its windows share, and the windows themselves (profile chooser, main window, message
// boxes, live log view, tray).

#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/SkinControl.h"
#include "shell/Engine.h"
#include "shell/ShellState.h"

namespace pgv::shell {

class LogView;
class MainWindow;
class MessageBox;
class ProfileWindow;
class Settings;
class ShredderCommands;
class Texts;
class Tray;

class Program : public platform::SkinHostListener {
 public:
  Program(platform::Platform& platform, platform::SkinHost& host, const Engine& engine);
  ~Program() override;
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Opens the first window: the profile chooser.
  void start();
  // Ends the program at once, without further events of any window (VB's End). The
  // registry is saved; the settings are saved only by those who call this after saving.
  [[noreturn]] void end();

  // The program's file name as Windows would report App.EXEName.
  static constexpr const char* kExeName = "purgavia";

  platform::Platform& platform;
  platform::SkinHost& host;
  const Engine& engine;
  ShellState state;

  std::unique_ptr<Texts> texts;
  std::unique_ptr<MessageBox> msgbox;
  std::unique_ptr<Settings> settings;
  std::unique_ptr<LogView> logView;
  std::unique_ptr<Tray> tray;
  std::unique_ptr<MainWindow> main;
  std::unique_ptr<ProfileWindow> profiles;
  // The shredder side of the main window, with its long-lived Shredder `sh`; created
  // when the main window loads.
  std::unique_ptr<ShredderCommands> shredder;

  // platform::SkinHostListener
  void trayRestore() override;
  void trayMouse(int button) override;
  void trayMenuItem(const std::string& id) override;
  void timer(const std::string& name) override;
};

}  // namespace pgv::shell
