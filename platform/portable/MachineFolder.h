#pragma once
// The machine folder: a folder laid out like a Wine prefix (system.reg, user.reg,
// dosdevices/<letter>:, drive_c/). This class turns Windows paths into host paths.
//
// Rules:
//  - drive letters come from the links in dosdevices/ ("c:" -> ../drive_c);
//  - a drive whose target is the host's root folder "/" (Wine's usual z:) does not
//    exist for the program: it is not listed and paths through it do not resolve;
//  - each path component matches an existing name without regard to case when there is
//    no exact match; a name that does not exist yet keeps the case it was given;
//  - "." and ".." components are folded, trailing dots and spaces of a component are
//    dropped, "/" is accepted as a separator, as Windows does.

#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

namespace pgv::platform::portable {

class MachineFolder {
 public:
  explicit MachineFolder(std::string root);

  const std::string& root() const { return root_; }

  // The host path of a Windows path. PathNotFound when a folder on the way is missing,
  // InvalidName for a path that is not an absolute drive path, BadNetPath for UNC paths.
  // The last component need not exist.
  [[nodiscard]] Status resolve(std::string_view windowsPath, std::string& hostPath) const;

  // Drive letters in upper case, in order, without the host-root drive.
  std::vector<char> driveLetters() const;
  // The host folder of a drive (links resolved), or "" when the drive does not exist.
  std::string driveFolder(char letter) const;

  // Creates the layout of a new machine: the folder, drive_c and dosdevices/c: (and z:
  // -> / as Wine has it). Fails when dir exists and is not an empty folder or a
  // machine folder.
  [[nodiscard]] static Status createLayout(const std::string& dir, std::string& error);

  // True when dir already has registry files (system.reg or user.reg).
  static bool holdsMachine(const std::string& dir);

  // Splits "C:\a\b" into the drive letter and the components; false when not a drive path.
  static bool splitWindowsPath(std::string_view path, char& drive, std::vector<std::string>& parts);

 private:
  std::string root_;
};

}  // namespace pgv::platform::portable
