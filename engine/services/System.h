#pragma once
// System: the Windows and Favorites folders, the drive roots, the start-up entries and
// the installed programs of the machine.

#include "engine/api/System.h"

namespace pgv::engine {

class System final : public pgv::System {
 public:
  // Reads the Favorites folder of the user once, as the object is created.
  System();

  std::string getWDirectory() override;
  std::string getFavoritesDirectory() override;
  std::string Enumerate_Drives() override;
  Variant Enumerate_Startup(std::string& result, std::string& P) override;
  UnInstall Enumerate_Uninstall() override;

 private:
  std::string favorites_;
};

// Shows a failure's description in the plain OK message box of the platform's shell.
void showPlainMessage(const std::string& text);

}  // namespace pgv::engine
