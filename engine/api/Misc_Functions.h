#pragma once
// The Misc_Functions class of the engine library: Windows traces and tweaks, and the
// small shell services the main program uses (folder picker, opening a page or program).
// Its ShowLog event carries every registry or file item its operations remove.

#include <cstdint>
#include <string>

#include "engine/api/ClassIds.h"
#include "engine/api/EngineObject.h"
#include "engine/api/LogListener.h"
#include "engine/api/Variant.h"

namespace pgv {

class Misc_Functions : public EngineObject {
 public:
  static constexpr const ClassId& kClassId = classid::Misc_Functions;

  // The ShowLog event; null stops it.
  virtual void setListener(LogListener* listener) = 0;

  // Shell services.
  // The folder the user picks, "" when cancelled. hwnd owns the picker.
  virtual std::string BrowseForFolder(std::int32_t hwnd) = 0;
  // The shell's "Open" on the text, hidden; success is not reported.
  virtual Variant OpenWeb(const std::string& site) = 0;
  virtual Variant RunProgram(const std::string& ProgramName) = 0;

  // Tweaks of the options page.
  virtual Variant AddExploreFromHere(bool Flag) = 0;
  virtual Variant EnableBalloons(bool Flag) = 0;
  virtual Variant FlatWindows(bool Flag) = 0;
  virtual Variant BootFaster(bool Flag) = 0;
  virtual Variant EnableAutomaticSharing(bool Flag) = 0;
  virtual Variant Optimize_HardDisk_when_idle(bool Flag) = 0;
  // Flag true: the Run value key = program_name for the current user; false: the value
  // key removed for the current user and the machine.
  virtual Variant LoadOnStartUp(bool Flag, const std::string& key, const std::string& program_name) = 0;

  // Set by CleanRecycleBin.
  virtual bool CleanRecBen() = 0;
  virtual void setCleanRecBen(bool value) = 0;
};

}  // namespace pgv
