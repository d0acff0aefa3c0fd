// Windows paths over a machine folder (portable backend). POSIX only.

#include "platform/portable/MachineFolder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <system_error>

#include "platform/Codepage.h"

namespace pgv::platform::portable {
namespace {

bool exists(const std::string& path) {
  struct stat st{};
  return ::lstat(path.c_str(), &st) == 0;
}

bool isDirectory(const std::string& path) {
  struct stat st{};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string realPath(const std::string& path) {
  char buffer[PATH_MAX];
  if (!::realpath(path.c_str(), buffer)) return {};
  return buffer;
}

// The existing entry of folder whose name equals name without regard to case.
std::string findNoCase(const std::string& folder, const std::string& name) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return {};
  const std::u16string wanted = utf8ToUtf16(name);
  std::string found;
  while (dirent* entry = ::readdir(dir)) {
    if (compareNoCase(utf8ToUtf16(entry->d_name), wanted) == 0) {
      found = entry->d_name;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

// Windows drops trailing dots and spaces from a path component.
std::string trimComponent(std::string part) {
  if (part == "." || part == "..") return part;
  while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
  return part;
}

}  // namespace

MachineFolder::MachineFolder(std::string root) : root_(std::move(root)) {
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
}

bool MachineFolder::splitWindowsPath(std::string_view path, char& drive, std::vector<std::string>& parts) {
  if (path.size() < 2 || path[1] != ':' || !std::isalpha(static_cast<unsigned char>(path[0]))) return false;
  drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
  parts.clear();
  std::string current;
  auto flush = [&] {
    std::string part = trimComponent(current);
    current.clear();
    if (part.empty() || part == ".") return;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      return;
    }
    parts.push_back(std::move(part));
  };
  for (std::size_t i = 2; i < path.size(); ++i) {
    const char c = path[i];
    if (c == '\\' || c == '/') flush();
    else current += c;
  }
  flush();
  return true;
}

std::string MachineFolder::driveFolder(char letter) const {
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  const std::string link = root_ + "/dosdevices/" + std::string(1, lower) + ":";
  std::string target = realPath(link);
  if (target.empty() || target == "/" || !isDirectory(target)) return {};
  return target;
}

std::vector<char> MachineFolder::driveLetters() const {
  std::vector<char> letters;
  for (char c = 'a'; c <= 'z'; ++c) {
    if (!driveFolder(c).empty()) letters.push_back(static_cast<char>(std::toupper(c)));
  }
  return letters;
}

Status MachineFolder::resolve(std::string_view windowsPath, std::string& hostPath) const {
  if (windowsPath.size() >= 2 && (windowsPath[0] == '\\' || windowsPath[0] == '/') &&
      (windowsPath[1] == '\\' || windowsPath[1] == '/')) {
    return status::BadNetPath;
  }
  char drive = 0;
  std::vector<std::string> parts;
  if (!splitWindowsPath(windowsPath, drive, parts)) return status::InvalidName;
  std::string path = driveFolder(drive);
  if (path.empty()) return status::PathNotFound;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const bool last = i + 1 == parts.size();
    std::string candidate = path + "/" + parts[i];
    if (!exists(candidate)) {
      const std::string match = findNoCase(path, parts[i]);
      if (!match.empty()) {
        candidate = path + "/" + match;
      } else if (!last) {
        return status::PathNotFound;
      }
    }
    if (!last && !isDirectory(candidate)) return status::PathNotFound;
    path = std::move(candidate);
  }
  hostPath = std::move(path);
  return status::Success;
}

bool MachineFolder::holdsMachine(const std::string& dir) {
  return exists(dir + "/system.reg") || exists(dir + "/user.reg");
}

Status MachineFolder::createLayout(const std::string& dir, std::string& error) {
  if (dir.empty()) {
    error = "no machine folder given";
    return status::InvalidName;
  }
  struct stat st{};
  if (::stat(dir.c_str(), &st) == 0) {
    if (!S_ISDIR(st.st_mode)) {
      error = "'" + dir + "' exists and is not a folder";
      return status::AlreadyExists;
    }
  } else if (::mkdir(dir.c_str(), 0755) != 0) {
    error = "cannot create the machine folder '" + dir + "': " + std::generic_category().message(errno);
    return status::PathNotFound;
  }
  if (::access(dir.c_str(), W_OK) != 0) {
    error = "the machine folder '" + dir + "' is not writable";
    return status::AccessDenied;
  }
  const std::string driveC = dir + "/drive_c";
  const std::string dosdevices = dir + "/dosdevices";
  for (const std::string& folder : {driveC, dosdevices}) {
    if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) {
      error = "cannot create '" + folder + "': " + std::generic_category().message(errno);
      return status::AccessDenied;
    }
  }
  const std::pair<const char*, const char*> links[] = {{"c:", "../drive_c"}, {"z:", "/"}};
  for (const auto& [name, target] : links) {
    const std::string link = dosdevices + "/" + name;
    if (!exists(link) && ::symlink(target, link.c_str()) != 0) {
      error = "cannot create '" + link + "': " + std::generic_category().message(errno);
      return status::AccessDenied;
    }
  }
  return status::Success;
}

}  // namespace pgv::platform::portable
