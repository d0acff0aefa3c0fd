#pragma once
// The main window's side of the shredder: the long-lived Shredder `sh`, the pending lists
// of files and folders the user added, the drive choice for the drive shred, the
// confirmations, delete-by-type and the drive list the skin shows.
//
// sh yields to the skin host's pending-input processing, so ID_FS_CANCELSHREDDER sent
// while a shred runs is dispatched nested inside it and stops it at its next check.

#include <memory>
#include <string>

#include "engine/api/Shredder.h"
#include "shell/Dispatcher.h"

namespace pgv::shell {

class Program;

class ShredderCommands : public ShredderListener {
 public:
  // Creates sh. When the engine library cannot create it the commands do nothing.
  explicit ShredderCommands(Program& program);
  ~ShredderCommands() override;

  Flow AddFileToShred();
  Flow AddFoldersToShred();
  Flow DropPendingFile(const std::string& item);
  Flow DropPendingFolder(const std::string& item);
  Flow ShredFiles(const std::string& list);
  Flow ShredFolders(const std::string& list);
  Flow CancelShredder();
  Flow SetFreeSpaceOnly(const std::string& flag);
  Flow SetDrive(const std::string& drive);
  Flow ShredDrive();
  Flow DeleteByType(const std::string& fields);

  // The removable and fixed drives, as the main window sends them when it loads.
  void sendDriveList();

  // sh's ShowLog: pending input first, then the live log view.
  void ShowLog(const std::string& Msg) override;

  const std::string& pendingFiles() const { return pendingFiles_; }
  const std::string& pendingFolders() const { return pendingFolders_; }

 private:
  // Confirms with a yes/no box; true on yes.
  bool confirm(const char* messageKey, const char* titleKey, int icon);
  void showProgress(const char* titleKey);
  void set(const std::string& name, const std::string& value);
  // A Shredder that yields to the host and shows the busy pointer.
  std::unique_ptr<pgv::Shredder> createShredder();

  Program& program_;
  std::unique_ptr<pgv::Shredder> sh_;
  std::string pendingFiles_;    // each added file preceded by one blank
  std::string pendingFolders_;  // the same for folders
  std::string shDrive_;
  bool shFlag_ = false;  // true: the drive shred wipes only the free space
};

// The command table's rows.
Flow addFileToShred(Program& program, const std::string& args);
Flow addFoldersToShred(Program& program, const std::string& args);
Flow shredFilesDel(Program& program, const std::string& args);
Flow shredFoldersDel(Program& program, const std::string& args);
Flow shredFiles(Program& program, const std::string& args);
Flow shredFolders(Program& program, const std::string& args);
Flow cancelShredder(Program& program, const std::string& args);
Flow shredFreeSpaceOnly(Program& program, const std::string& args);
Flow shredDriveChoice(Program& program, const std::string& args);
Flow shredDrive(Program& program, const std::string& args);
Flow deleteByType(Program& program, const std::string& args);

}  // namespace pgv::shell
