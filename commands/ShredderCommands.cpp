// The shredder commands of the main window.

#include "commands/ShredderCommands.h"

#include <charconv>
#include <exception>
#include <optional>
#include <vector>

#include "engine/api/EngineError.h"
#include "engine/api/Misc_Functions.h"
#include "engine/api/System.h"
#include "engine/services/ModuleHelpers.h"
#include "shell/MainWindow.h"
#include "shell/MessageBox.h"
#include "shell/Program.h"
#include "shell/Texts.h"

namespace pgv::shell {
namespace {

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> items;
  std::string::size_type start = 0;
  for (;;) {
    const auto cut = text.find(separator, start);
    items.push_back(text.substr(start, cut - start));
    if (cut == std::string::npos) return items;
    start = cut + 1;
  }
}

bool isBlank(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

// Removes every occurrence of item from list.
void removeAll(std::string& list, const std::string& item) {
  if (item.empty()) return;
  for (auto at = list.find(item); at != std::string::npos; at = list.find(item, at)) list.erase(at, item.size());
}

// A number of kilobytes as the skin sends it; nullopt when the text is none.
std::optional<double> kilobytes(const std::string& text) {
  const std::string trimmed = text.substr(0, text.find_last_not_of(' ') + 1);
  const auto first = trimmed.find_first_not_of(' ');
  if (first == std::string::npos) return std::nullopt;
  double value = 0;
  const char* begin = trimmed.data() + first;
  const char* end = trimmed.data() + trimmed.size();
  const auto [rest, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || rest != end) return std::nullopt;
  return value;
}

// One step of a guarded sequence: a failure is skipped and the next step runs.
template <class Step>
void guarded(Step&& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

}  // namespace

ShredderCommands::ShredderCommands(Program& program) : program_(program) {
  guarded([&] {
    sh_ = createShredder();
    sh_->setListener(this);
  });
}

ShredderCommands::~ShredderCommands() {
  if (sh_) sh_->setListener(nullptr);
}

std::unique_ptr<pgv::Shredder> ShredderCommands::createShredder() {
  auto shredder = program_.engine.create<pgv::Shredder>();
  shredder->setYieldHook([this] { program_.host.pump(); });
  shredder->setCursorHook([this](bool busy) { program_.main->setBusy(busy); });
  return shredder;
}

void ShredderCommands::ShowLog(const std::string& Msg) {
  program_.host.pump();
  program_.main->engineLog().ShowLog(Msg);
}

void ShredderCommands::set(const std::string& name, const std::string& value) {
  program_.main->skin().SetVariable(name, value);
}

bool ShredderCommands::confirm(const char* messageKey, const char* titleKey, int icon) {
  Texts& texts = *program_.texts;
  program_.msgbox->ShowMsg(texts(messageKey), texts(titleKey), icon, 2);
  return program_.msgbox->answer(titleKey);
}

void ShredderCommands::showProgress(const char* titleKey) {
  set("_root.resultmsg", "1");
  set("_root.shredMsg", "1");
  set("_root.shredder", program_.texts->lookup("msg39"));
  set("_root.shredTitle", program_.texts->lookup(titleKey));
}

Flow ShredderCommands::AddFileToShred() {
  platform::Shell* shell = program_.platform.shell();
  if (!shell) return Flow::Continue;
  const std::string file = shell->openFileDialog().value_or("");
  if (isBlank(file) || pendingFiles_.find(file) != std::string::npos) return Flow::Continue;
  pendingFiles_ += " " + file;
  set("_root.CurrentItem_SFI", file);
  set("_root.DoAdd_SFI", "true");
  return Flow::Continue;
}

Flow ShredderCommands::AddFoldersToShred() {
  auto misc = program_.engine.create<pgv::Misc_Functions>();
  const std::string folder = misc->BrowseForFolder(program_.main->hWnd());
  // A drive root such as C:\ is never added.
  if (isBlank(folder) || pendingFolders_.find(folder) != std::string::npos || folder.size() <= 3) {
    return Flow::Continue;
  }
  pendingFolders_ += " " + folder;
  set("_root.CurrentItem_SFO", folder);
  set("_root.DoAdd_SFO", "true");
  return Flow::Continue;
}

Flow ShredderCommands::DropPendingFile(const std::string& item) {
  removeAll(pendingFiles_, item);
  return Flow::Continue;
}

Flow ShredderCommands::DropPendingFolder(const std::string& item) {
  removeAll(pendingFolders_, item);
  return Flow::Continue;
}

Flow ShredderCommands::ShredFiles(const std::string& list) {
  if (!sh_) return Flow::Continue;
  sh_->StopShred(false);
  if (!confirm("msg7", "msg27", 0)) return Flow::StopEarly;
  const std::string files = engine::StripBars(list);
  showProgress("msg40");
  for (const std::string& file : split(files, '|')) sh_->FileShred(file);
  set("_root.resultmsg", "0");
  set("_root.shredMsg", "1");
  set("shred_SFI_Now", "1");
  pendingFiles_.clear();
  return Flow::Continue;
}

Flow ShredderCommands::ShredFolders(const std::string& list) {
  if (!sh_) return Flow::Continue;
  sh_->StopShred(false);
  if (!confirm("msg8", "msg28", 0)) return Flow::StopEarly;
  const std::string folders = engine::StripBars(list);
  showProgress("msg41");
  for (const std::string& folder : split(folders, '|')) sh_->FolderShred(folder, false, "*", true, 0, 0);
  set("_root.resultmsg", "0");
  set("_root.shredMsg", "1");
  set("shred_SFO_Now", "1");
  pendingFolders_.clear();
  return Flow::Continue;
}

Flow ShredderCommands::CancelShredder() {
  if (sh_) sh_->StopShred(true);
  return Flow::Continue;
}

Flow ShredderCommands::SetFreeSpaceOnly(const std::string& flag) {
  if (flag == "true") shFlag_ = true;
  else if (flag == "false") shFlag_ = false;
  return Flow::Continue;
}

Flow ShredderCommands::SetDrive(const std::string& drive) {
  shDrive_ = drive;
  return Flow::Continue;
}

Flow ShredderCommands::ShredDrive() {
  if (shDrive_.empty()) {
    Texts& texts = *program_.texts;
    program_.msgbox->ShowMsg(texts("msg9"), texts("msg29"), 0, 1);
    return Flow::StopEarly;
  }
  if (!sh_) return Flow::Continue;
  sh_->StopShred(false);
  if (!confirm("msg10", "msg29", 3)) return Flow::StopEarly;
  program_.main->setBusy(true);
  guarded([&] {
    showProgress("msg42");
    set("_root.ProgressBarState", "1");
  });
  // A drive root itself is never shredded by the engine; the free-space wipe is.
  guarded([&] {
    if (shFlag_) sh_->ShredFreeSpace(shDrive_);
    else sh_->FolderShred(shDrive_, false, "*", true, 0, 0);
  });
  guarded([&] {
    set("_root.ProgressBarState", "0");
    set("_root.resultmsg", "0");
    set("_root.shredMsg", "1");
  });
  program_.main->setBusy(false);
  return Flow::Continue;
}

Flow ShredderCommands::DeleteByType(const std::string& fields) {
  const std::vector<std::string> parts = split(fields, ',');
  if (parts.size() < 4 || parts[0] == "undefined" || parts[1] == "undefined") return Flow::Continue;
  // A size bound that is no number ends the command without doing anything.
  const auto maxKb = kilobytes(parts[2]);
  const auto minKb = kilobytes(parts[3]);
  if (!maxKb || !minKb) return Flow::Continue;
  const std::string folder = program_.main->skin().GetVariable("_root.PathValue");
  const std::string type = program_.main->skin().GetVariable("_root.FileTypeValue");
  guarded([&] {
    auto shredder = createShredder();
    shredder->FolderShred(folder, true, type, false, *maxKb, *minKb);
  });
  return Flow::Continue;
}

void ShredderCommands::sendDriveList() {
  auto system = program_.engine.create<pgv::System>();
  std::string roots = system->Enumerate_Drives();
  const std::string pairOfNuls(2, '\0');
  removeAll(roots, pairOfNuls);
  std::string names;
  int count = 0;
  for (const std::string& root : split(roots, '\0')) {
    const std::uint32_t type = program_.platform.files().driveType(root);
    if (type != platform::drivetype::Removable && type != platform::drivetype::Fixed) continue;
    names += (count++ ? "|" : "") + root;
  }
  set("_root.NumberOfDrives", std::to_string(count));
  set("_root.NamesOfDrives", names);
  set("_root.NumberOfDrives2", std::to_string(count));
  set("_root.NamesOfDrives2", names);
}

// ---- the command table's rows ------------------------------------------------------

namespace {

template <class Action>
Flow withShredder(Program& program, Action&& action) {
  return program.shredder ? action(*program.shredder) : Flow::Continue;
}

}  // namespace

Flow addFileToShred(Program& p, const std::string&) {
  return withShredder(p, [](ShredderCommands& s) { return s.AddFileToShred(); });
}
Flow addFoldersToShred(Program& p, const std::string&) {
  return withShredder(p, [](ShredderCommands& s) { return s.AddFoldersToShred(); });
}
Flow shredFilesDel(Program& p, const std::string& args) {
  return withShredder(p, [&](ShredderCommands& s) { return s.DropPendingFile(args); });
}
Flow shredFoldersDel(Program& p, const std::string& args) {
  return withShredder(p, [&](ShredderCommands& s) { return s.DropPendingFolder(args); });
}
Flow shredFiles(Program& p, const std::string& args) {
  return withShredder(p, [&](ShredderCommands& s) { return s.ShredFiles(args); });
}
Flow shredFolders(Program& p, const std::string& args) {
  return withShredder(p, [&](ShredderCommands& s) { return s.ShredFolders(args); });
}
Flow cancelShredder(Program& p, const std::string&) {
  return withShredder(p, [](ShredderCommands& s) { return s.CancelShredder(); });
}
Flow shredFreeSpaceOnly(Program& p, const std::string& args) {
  return withShredder(p, [&](ShredderCommands& s) { return s.SetFreeSpaceOnly(args); });
}
Flow shredDriveChoice(Program& p, const std::string& args) {
  return withShredder(p, [&](ShredderCommands& s) { return s.SetDrive(args); });
}
Flow shredDrive(Program& p, const std::string&) {
  return withShredder(p, [](ShredderCommands& s) { return s.ShredDrive(); });
}
Flow deleteByType(Program& p, const std::string& args) {
  return withShredder(p, [&](ShredderCommands& s) { return s.DeleteByType(args); });
}

}  // namespace pgv::shell
