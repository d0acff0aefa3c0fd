// Detection of a running wineserver for a prefix. Portable backend: POSIX only.

#include "platform/portable/WineServer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace pgv::platform {
namespace {

// True when another process holds a lock on the file.
bool lockHeld(const std::string& lockFile) {
  const int fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct flock probe {};
  probe.l_type = F_WRLCK;
  probe.l_whence = SEEK_SET;
  probe.l_start = 0;
  probe.l_len = 0;
  const bool held = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
  ::close(fd);
  return held;
}

// The name of the temporary folder that Debian's wineserver records in the prefix.
std::string recordedServerFolder(const std::string& prefix) {
  const int fd = ::open((prefix + "/wineserver").c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  char buffer[256];
  const ssize_t n = ::read(fd, buffer, sizeof buffer - 1);
  ::close(fd);
  if (n <= 0) return {};
  std::string name(buffer, static_cast<std::size_t>(n));
  while (!name.empty() && (name.back() == '\n' || name.back() == '\r' || name.back() == ' ')) name.pop_back();
  // Only a plain folder name: the file must not lead anywhere else.
  if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..") return {};
  return name;
}

}  // namespace

bool wineServerRunning(const std::string& prefix) {
  struct stat st {};
  if (::stat(prefix.c_str(), &st) != 0) return false;
  char serverName[64];
  std::snprintf(serverName, sizeof serverName, "/server-%llx-%llx", static_cast<unsigned long long>(st.st_dev),
                static_cast<unsigned long long>(st.st_ino));

  std::vector<std::string> folders;
  folders.push_back("/tmp/.wine-" + std::to_string(::getuid()));
  const std::string recorded = recordedServerFolder(prefix);
  if (!recorded.empty()) {
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) folders.push_back(std::string(tmp) + "/" + recorded);
    folders.push_back("/tmp/" + recorded);
  }
  for (const std::string& folder : folders) {
    if (lockHeld(folder + serverName + "/lock")) return true;
  }
  return false;
}

}  // namespace pgv::platform
