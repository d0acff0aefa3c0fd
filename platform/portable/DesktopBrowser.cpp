// The desktop's browser on a freedesktop.org desktop: xdg-open, started detached.

#include "platform/DesktopBrowser.h"

#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace pgv::platform {
namespace {

bool haveDisplay() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

bool openDesktopBrowser(const std::string& address) {
  if (!haveDisplay()) return false;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // The browser's chatter must not mix with the program's output.
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // Its own process group: a Ctrl+C meant for the program does not reach the browser.
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  char program[] = "xdg-open";
  std::string argument = address;
  char* argv[] = {program, argument.data(), nullptr};
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, program, &actions, &attributes, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (rc != 0) return false;
  // xdg-open may wait for a browser it had to start itself; reap it on the side so that
  // it neither holds up the program nor stays a zombie.
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
  return true;
}

}  // namespace pgv::platform
