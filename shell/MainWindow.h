#pragma once
// The main window (mainfrm): the program's controller. It hosts the main skin, runs the
// start-up when it is first shown, owns the engine references of the commands, carries
// out the shell's own commands and the exit sequence, and hands every other command to
// the dispatcher.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/api/LogListener.h"
#include "platform/SkinControl.h"
#include "shell/Dispatcher.h"

namespace pgv::shell {

class Program;

class MainWindow : public platform::SkinCommandListener {
 public:
  static constexpr const char* kTitle = "Purgavia";
  static constexpr const char* kCaption = "PGVX";
  static constexpr const char* kTimer1 = "Timer1";  // memory display, every 500 ms
  static constexpr const char* kTimer2 = "Timer2";  // schedule check, every 1000 ms
  static constexpr int kWidth = 522;
  static constexpr int kHeight = 430;

  explicit MainWindow(Program& program);
  ~MainWindow() override;

  // Shows the window modeless; the first time, its start-up runs before.
  void show();
  void hide();
  bool loaded() const { return fl1_ != nullptr; }
  // The skin control fl1. Only once loaded.
  platform::SkinControl& skin() { return *fl1_; }
  // A handle for the engine calls that take an owner window.
  std::int32_t hWnd() const { return 1; }

  // fl1_FSCommand: everything the main skin sends goes through the dispatcher.
  void FSCommand(const std::string& command, const std::string& args) override;
  void dispatch(const std::string& command, const std::string& args) { dispatcher_.dispatch(command, args); }

  // The main controller's commands.
  Flow Drag();
  Flow Minimize();
  Flow Close();
  Flow Help();
  Flow Website();
  Flow CheckUpdates();
  Flow HdBrowse();
  // The language command: switch the message file and store the language.
  void Language(const std::string& language);
  // Asks for a folder and writes it to "_root.PathValue" unless the answer is empty.
  void BrowseFolder(std::int32_t hWnd);

  // The mouse pointer of long operations.
  void setBusy(bool busy);
  // The ShowLog events of the engines the window holds go to the live log view.
  LogListener& engineLog();

  void Timer1_Timer();
  void Timer2_Timer();

 private:
  class EngineLog;
  void load();
  void detectInstalledApplications();
  void createProgramFolders();
  // The exit sequence; false when it stops and the program keeps running.
  bool exitSequence();
  // Asks for a profile name; nullopt (after telling the user when the name is unusable)
  // when no usable name was entered.
  std::optional<std::string> askProfileName();

  Program& program_;
  Dispatcher dispatcher_;
  std::unique_ptr<EngineLog> engineLog_;
  std::unique_ptr<platform::SkinControl> fl1_;
  // The updater's window as the last update check found it.
  std::string updaterTitle_;
  bool updaterWindowFound_ = false;
};

}  // namespace pgv::shell
