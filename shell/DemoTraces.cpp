// Demo traces of a new machine.

#include "shell/DemoTraces.h"

#include "engine/services/cRegistry.h"

namespace pgv::shell {
namespace {

using engine::cRegistry;

void setString(std::int32_t root, const std::string& key, const std::string& name, const std::string& value) {
  cRegistry reg;
  reg.setValueEx(root, key, name, engine::REG_SZ, Variant(), Variant(value));
}

void writeFile(platform::Files& files, const std::string& path, std::string_view content) {
  std::unique_ptr<platform::FileHandle> file;
  if (files.open(path, platform::OpenMode::CreateAlways, file) != platform::status::Success) return;
  std::uint32_t written = 0;
  (void)file->write(content.data(), static_cast<std::uint32_t>(content.size()), written);
}

}  // namespace

void seedSystemTraces(platform::Platform& platform) {
  const std::string windows = "Software\\Microsoft\\Windows\\CurrentVersion";
  const std::string appPaths = windows + "\\App Paths";
  // Browsers and messengers the detection looks for.
  setString(engine::HKEY_LOCAL_MACHINE, appPaths + "\\firefox.exe", "",
            "C:\\Program Files\\Mozilla Firefox\\firefox.exe");
  setString(engine::HKEY_LOCAL_MACHINE, appPaths + "\\Netscape.exe", "",
            "C:\\Program Files\\Netscape\\Netscape\\Netscp.exe");
  setString(engine::HKEY_CURRENT_USER, "Software\\Opera Software", "Last Directory3", "C:\\Program Files\\Opera");
  setString(engine::HKEY_CURRENT_USER, "Software\\Microsoft\\MSNMessenger", "AppCompatCanary", "1");
  setString(engine::HKEY_CURRENT_USER, "Software\\Mirabilis\\ICQ", "InstallPath", "C:\\Program Files\\ICQ");
  setString(engine::HKEY_CURRENT_USER, "Software\\Yahoo\\pager", "Yahoo! User ID", "demo_user");

  // Start-up entries.
  setString(engine::HKEY_CURRENT_USER, windows + "\\Run", "DemoTray", "C:\\Program Files\\DemoTray\\tray.exe /min");
  setString(engine::HKEY_LOCAL_MACHINE, windows + "\\Run", "Updater",
            "\"C:\\Program Files\\Demo Updater\\update.exe\" -background");
  setString(engine::HKEY_LOCAL_MACHINE, windows + "\\RunOnce", "FinishSetup", "C:\\WINDOWS\\setup_done.exe");

  // Installed programs with their uninstallers.
  const std::string uninstall = windows + "\\Uninstall";
  setString(engine::HKEY_LOCAL_MACHINE, uninstall + "\\DemoEditor", "DisplayName", "Demo Text Editor 2.1");
  setString(engine::HKEY_LOCAL_MACHINE, uninstall + "\\DemoEditor", "UninstallString",
            "C:\\Program Files\\Demo Editor\\uninst.exe \"C:\\Program Files\\Demo Editor\\install.log\"");
  setString(engine::HKEY_LOCAL_MACHINE, uninstall + "\\{6A1B2C3D-0000-4000-8000-00000000DEMO}", "DisplayName",
            "Demo Media Player");
  setString(engine::HKEY_LOCAL_MACHINE, uninstall + "\\{6A1B2C3D-0000-4000-8000-00000000DEMO}", "UninstallString",
            "\"C:\\Program Files\\Demo Player\\unins000.exe\"");
  setString(engine::HKEY_LOCAL_MACHINE, uninstall + "\\HiddenUpdate", "UninstallString", "C:\\WINDOWS\\hidden.exe");

  writeFile(platform.files(), "C:\\WINDOWS\\setup_done.exe", "MZ demo");
}

void seedShredderTraces(platform::Platform& platform) {
  platform::Files& files = platform.files();
  for (const char* folder : {"C:\\Private", "C:\\Private\\Old letters", "C:\\Private\\Scratch"}) {
    [[maybe_unused]] const platform::Status ignored = files.createDirectory(folder);
  }
  writeFile(files, "C:\\Private\\passwords.txt", "bank: 1234\r\nmail: hunter2\r\n");
  writeFile(files, "C:\\Private\\tax return 2005.xls", std::string(24 * 1024, 'T'));
  writeFile(files, "C:\\Private\\Old letters\\letter to the bank.doc", "Dear Sir or Madam, ...");
  writeFile(files, "C:\\Private\\Old letters\\shortcut to bank.lnk", "L demo shortcut");
  // Scratch files of one type in three sizes, for shredding by type and size.
  writeFile(files, "C:\\Private\\Scratch\\small.tmp", std::string(512, 's'));
  writeFile(files, "C:\\Private\\Scratch\\medium.tmp", std::string(1536, 'm'));
  writeFile(files, "C:\\Private\\Scratch\\large.tmp", std::string(8192, 'l'));
  writeFile(files, "C:\\Private\\Scratch\\notes.txt", "keep me");
}

void seedDemoTraces(platform::Platform& platform) {
  seedSystemTraces(platform);
  seedShredderTraces(platform);
}

}  // namespace pgv::shell
