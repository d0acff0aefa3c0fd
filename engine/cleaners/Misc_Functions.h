#pragma once
// Misc_Functions: Windows traces and tweaks, and the shell services of the main program.
// The shell services reach the user through the platform's shell (the skin host).

#include "engine/api/Misc_Functions.h"

namespace pgv::engine {

class Misc_Functions : public pgv::Misc_Functions {
 public:
  void setListener(LogListener* listener) override { listener_ = listener; }

  std::string BrowseForFolder(std::int32_t hwnd) override;
  Variant OpenWeb(const std::string& site) override;
  Variant RunProgram(const std::string& ProgramName) override;

  Variant AddExploreFromHere(bool Flag) override;
  Variant EnableBalloons(bool Flag) override;
  Variant FlatWindows(bool Flag) override;
  Variant BootFaster(bool Flag) override;
  Variant EnableAutomaticSharing(bool Flag) override;
  Variant Optimize_HardDisk_when_idle(bool Flag) override;
  Variant LoadOnStartUp(bool Flag, const std::string& key, const std::string& program_name) override;

  bool CleanRecBen() override { return cleanRecBen_; }
  void setCleanRecBen(bool value) override { cleanRecBen_ = value; }

 private:
  LogListener* listener_ = nullptr;
  bool cleanRecBen_ = false;
};

}  // namespace pgv::engine
