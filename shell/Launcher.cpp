// Starting the program.

#include "shell/Launcher.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "engine/api/Logger.h"
#include "engine/services/cRegistry.h"
#include "platform/InstanceLock.h"
#include "platform/Platform.h"
#include "shell/Engine.h"
#include "platform/MachineSetup.h"
#include "shell/InitMachine.h"
#include "shell/Installation.h"
#include "shell/Program.h"
#include "shell/SkinHosts.h"
#include "shell/Texts.h"

namespace pgv::shell {
namespace {

int fail(const std::string& reason) {
  std::fprintf(stderr, "purgavia: %s\n", reason.c_str());
  return 2;
}

std::string environmentVariable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// The machine folder to work on; the default one is created, with demo traces, on first start.
bool prepareMachine(const CommandLine& options, std::string& folder, std::string& error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!platform::machineFoldersSupported()) {
    folder.clear();
    if (options.machine.empty()) return true;
    error = "--machine is for the Linux build; the Windows build works on this Windows itself";
    return false;
  }
  if (!options.machine.empty()) {
    folder = options.machine;
    if (!fs::is_directory(folder, ec)) {
      error = "no machine folder " + folder + " (create one with: purgavia init-machine " + folder + ")";
      return false;
    }
    return true;
  }
  folder = defaultMachineFolder(environmentVariable);
  if (fs::exists(fs::path(folder) / "system.reg", ec)) return true;
  fs::create_directories(fs::path(folder).parent_path(), ec);
  return initMachine(folder, true, error) == 0;
}

// The main program's own registry class logs deletions with the program's texts,
// through the engine library's Logger.
void installRegistryLogHooks(Program& program) {
  engine::RegistryLogHooks hooks;
  hooks.messageText = [&program](std::string_view key) { return program.texts->lookup(key); };
  hooks.addToLog = [&program](const std::string& section, const std::string& txt) {
    program.engine.create<pgv::Logger>()->AddToLog(section, txt);
  };
  hooks.moduleName = Program::kExeName;
  engine::setRegistryLogHooks(std::move(hooks));
}

void saveRegistry(platform::Platform& platform) {
  if (!platform.registry().dirty()) return;
  if (const platform::Status status = platform.registry().flush(); status != platform::status::Success) {
    std::fprintf(stderr, "purgavia: cannot save the registry (error %ld)\n", static_cast<long>(status));
  }
}

}  // namespace

int launch(const CommandLine& options) {
  std::string folder;
  std::string error;
  if (!prepareMachine(options, folder, error)) return fail(error);

  // One instance per machine. A second one ends at once and silently, before it could
  // write the registry behind the first one's back.
  const auto instance = platform::acquireInstanceLock(folder);

  platform::PlatformOptions platformOptions;
  platformOptions.machineFolder = folder;
  if (options.clock) {
    platformOptions.fakeClock = true;
    platformOptions.fakeClockStart = *options.clock;
  }
  std::unique_ptr<platform::Platform> machine;
  if (instance) {
    machine = platform::openPlatform(platformOptions, error);
    if (!machine) return fail(error);
    platform::setCurrent(machine.get());
  }

  platform::skin::JsonSkinHostOptions hostOptions;
  hostOptions.manualTimers = options.manualTimers;
  if (options.clock && machine) hostOptions.settableClock = &machine->clock();
  const auto chosenHost = createSkinHost(options, hostOptions, machine.get());
  platform::skin::JsonSkinHost& host = *chosenHost;
  if (!instance) host.end(0);

  if (!installProgramFiles(*machine, bundledSkinFolder(), error)) return fail(error);
  machine->setShell(&host.shell());
  const auto engine = Engine::load(*machine, error);
  if (!engine) return fail(error);

  Program program(*machine, host, *engine);
  installRegistryLogHooks(program);
  host.setListener(&program);
  host.setIdleHook([&machine] { saveRegistry(*machine); });
  host.setEndHook([&machine] { saveRegistry(*machine); });

  if (!startSkinHost(host, options, *machine, bundledSkinFolder(), error)) return fail(error);
  program.start();
  host.run();
  return 0;
}

}  // namespace pgv::shell
