// The command table of the main window. A row without a handler belongs to a subsystem
// that is not built yet; its command runs only the dispatcher's opening and closing steps.

#include "commands/ShredderCommands.h"
#include "shell/Dispatcher.h"
#include "shell/MainWindow.h"
#include "shell/MessageBox.h"
#include "shell/Program.h"
#include "shell/Settings.h"

namespace pgv::shell {
namespace {

// Main controller.
Flow drag(Program& p, const std::string&) { return p.main->Drag(); }
Flow minimize(Program& p, const std::string&) { return p.main->Minimize(); }
Flow close(Program& p, const std::string&) { return p.main->Close(); }
Flow help(Program& p, const std::string&) { return p.main->Help(); }
Flow website(Program& p, const std::string&) { return p.main->Website(); }
Flow checkUpdates(Program& p, const std::string&) { return p.main->CheckUpdates(); }
Flow hdBrowse(Program& p, const std::string&) { return p.main->HdBrowse(); }

// Language texts.
Flow language(Program& p, const std::string& args) {
  p.main->Language(args);
  return Flow::Continue;
}

// Settings: the start-up and Windows options, then the completion box.
Flow options(Program& p, const std::string& args) {
  p.settings->ApplyOptions(args);
  p.msgbox->showCompletion();
  return Flow::Continue;
}

constexpr Command kCommands[] = {
    {"IDC_FS_DRAG", drag},
    {"IDC_FS_MINIMIZE", minimize},
    {"IDC_FS_CLOSE", close},
    {"IDC_FS_HELP", help},
    {"IDC_FS_WEBSITE", website},
    {"IDC_FS_CHECKUPDATES", checkUpdates},
    {"IDC_FS_HD_BROWSE", hdBrowse},
    {"IDC_FS_LANGUAGE", language},
    {"IDC_FS_OPT", options},
    // Cleaning runs.
    {"IDC_FS_IE", nullptr},
    {"IDC_FS_NS", nullptr},
    {"IDC_FS_FF", nullptr},
    {"IDC_FS_OP", nullptr},
    {"IDC_FS_AOL", nullptr},
    {"IDC_FS_MSN", nullptr},
    {"IDC_FS_ICQ", nullptr},
    {"IDC_FS_YAHOO", nullptr},
    {"IDC_FS_WIN", nullptr},
    {"IDC_FS_MO", nullptr},
    // Internet Explorer privacy switches.
    {"IDC_FS_HIDETYPEDURLS", nullptr},
    {"IDC_FS_SHOWTYPEDURLS", nullptr},
    {"IDC_FS_HIDEFAVORITES", nullptr},
    {"IDC_FS_SHOWFAVORITES", nullptr},
    {"IDC_FS_HIDEPASSWORD", nullptr},
    {"IDC_FS_SHOWPASSWORD", nullptr},
    // Shredder.
    {"IDC_FS_ADDFILETOSHRED", addFileToShred},
    {"IDC_FS_ADDFOLDERSTOSHRED", addFoldersToShred},
    {"IDC_FS_SHREDFILESDEL", shredFilesDel},
    {"IDC_FS_SHREDFOLDERSDEL", shredFoldersDel},
    {"IDC_FS_SHREDFILES", shredFiles},
    {"IDC_FS_SHREDFOLDERS", shredFolders},
    {"ID_FS_CANCELSHREDDER", cancelShredder},
    {"IDC_FS_SH_SFSO", shredFreeSpaceOnly},
    {"IDC_FS_HD_SHRED", shredDriveChoice},
    {"IDC_FS_SHREDDRIVE", shredDrive},
    {"IDC_FS_DELETE", deleteByType},
    // Registry cleaner and its backups.
    {"IDC_FS_SCAN_REG", nullptr},
    {"IDC_FS_CLEAN_REG", nullptr},
    {"IDC_FS_RESTORREGLIST", nullptr},
    {"IDC_FS_RESTOREBACK", nullptr},
    {"IDC_FS_RESTOREREG", nullptr},
    // DLL cleaner and its backups.
    {"IDC_FS_DLL_HD", nullptr},
    {"IDC_FS_DLL_BBD", nullptr},
    {"IDC_FS_DLLCLEANER", nullptr},
    {"IDC_FS_DLL", nullptr},
    {"IDC_FS_RESTORE", nullptr},
    {"IDC_FS_RESTORENOW", nullptr},
    // Plug-ins.
    {"IDC_FS_PLUGIN_NEW", nullptr},
    {"IDC_FS_BROWSE_FF", nullptr},
    {"IDC_FS_BROWSE_FOLDERS", nullptr},
    {"IDC_FS_CLEANPLUGIN", nullptr},
    {"IDC_FS_HPLUGINS", nullptr},
    {"IDC_FS_SPLUGINS", nullptr},
    // Scheduler.
    {"IDC_FS_SAVESCHEDULEOPTIONS", nullptr},
    // Start-up and uninstall managers.
    {"IDC_FS_WHICHITEM", nullptr},
    {"IDC_FS_UNISTALLPROGRAMS", nullptr},
    // Connection booster.
    {"IDC_FS_CONNECTION", nullptr},
    {"AUTOMATIC-A", nullptr},
    {"AUTOMATIC-B", nullptr},
    {"AUTOMATIC-C", nullptr},
    {"AUTOMATIC-D", nullptr},
    {"AUTOMATIC-E", nullptr},
    {"AUTOMATIC-F", nullptr},
    {"AUTOMATIC-G", nullptr},
    {"WINDOWS DEFAULT", nullptr},
    {"IDC_FS_ADVANCEDMODEFINISHED", nullptr},
    {"IDC_FS_ISB_WIZARDMODE", nullptr},
    {"IDC_FS_PINGSETTINGS", nullptr},
    {"ID_FS_MINSTEPPER", nullptr},
    {"IDC_FS_INTERNET SETTINGS", nullptr},
    {"IDC_FS_SYSTEM PROPERTIES", nullptr},
    {"IDC_FS_MODEM SETTINGS", nullptr},
    {"IDC_FS_NETWORK SETTINGS", nullptr},
    // Memory tools.
    {"IDC_FS_SCROLL", nullptr},
};

}  // namespace

std::span<const Command> mainWindowCommands() { return kCommands; }

}  // namespace pgv::shell
