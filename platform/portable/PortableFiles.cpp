// Files over a machine folder (portable backend). POSIX only.
//
// Windows paths are resolved by MachineFolder. Links are never followed to delete or
// overwrite: deleteFile and removeDirectory unlink a link itself, and find reports a link
// with the reparse-point attribute so that tree walkers do not descend into it.

#include "platform/portable/PortableFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Codepage.h"

namespace pgv::platform::portable {
namespace {

Status fromErrno(int error) {
  switch (error) {
    case ENOENT: return status::FileNotFound;
    case ENOTDIR: return status::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return status::AccessDenied;
    case EEXIST: return status::AlreadyExists;
    case ENOTEMPTY: return status::DirNotEmpty;
    case ENOSPC:
    case EDQUOT: return status::DiskFull;
    case ENAMETOOLONG: return status::InvalidName;
    case EBUSY: return status::SharingViolation;
    case ENOMEM: return status::NotEnoughMemory;
    default: return status::WriteFault;
  }
}

// A missing file in an existing folder is FileNotFound; a missing folder PathNotFound.
Status missingStatus(const std::string& hostPath) {
  const auto slash = hostPath.rfind('/');
  struct stat st{};
  if (slash != std::string::npos && slash > 0 && ::stat(hostPath.substr(0, slash).c_str(), &st) != 0) {
    return status::PathNotFound;
  }
  return status::FileNotFound;
}

bool isReadOnlyMode(mode_t mode) { return (mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0; }

std::uint32_t attributesOf(const std::string& name, const struct stat& linkStat, const struct stat* target) {
  std::uint32_t a = 0;
  if (S_ISLNK(linkStat.st_mode)) {
    a |= attr::ReparsePoint;
    if (target && S_ISDIR(target->st_mode)) a |= attr::Directory;
  } else if (S_ISDIR(linkStat.st_mode)) {
    a |= attr::Directory;
  }
  if (!(a & attr::Directory)) a |= attr::Archive;
  const struct stat& mode = target ? *target : linkStat;
  if (!S_ISDIR(mode.st_mode) && isReadOnlyMode(mode.st_mode)) a |= attr::ReadOnly;
  if (name.size() > 1 && name[0] == '.' && name != "..") a |= attr::Hidden;
  return a;
}

bool isInvalidDosChar(char16_t c) {
  if (c > 0x7f) return true;
  static constexpr std::u16string_view kInvalid = u"*?<>|\"+=,;[] \x00e5~.";
  return kInvalid.find(c) != std::u16string_view::npos;
}

bool isLegal8dot3(std::u16string_view name) {
  static constexpr std::u16string_view kInvalid = u"*?<>|\"+=,;[] \x00e5:/\\";
  if (name.size() > 12) return false;
  if (!name.empty() && name[0] == u'.') return name.size() == 1 || (name.size() == 2 && name[1] == u'.');
  int dot = -1;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] > 0x7f || kInvalid.find(name[i]) != std::u16string_view::npos) return false;
    if (name[i] == u'.') {
      if (dot != -1) return false;
      dot = static_cast<int>(i);
    }
  }
  if (dot == -1) return name.size() <= 8;
  if (dot > 8) return false;
  const auto extLength = static_cast<int>(name.size()) - dot;
  return extLength > 1 && extLength < 5;
}

// The host path of the folder part of a pattern, and the mask.
bool splitPattern(std::string_view pattern, std::string& folder, std::string& mask) {
  const auto cut = pattern.find_last_of("\\/");
  if (cut == std::string_view::npos) return false;
  folder = std::string(pattern.substr(0, cut + 1));
  mask = std::string(pattern.substr(cut + 1));
  return true;
}

// Opens a regular file for overwriting in place: a link is never followed (O_NOFOLLOW) and
// a FIFO or a device never opened for good (O_NONBLOCK keeps a FIFO from blocking the open).
Status openForOverwrite(const std::string& host, int& fd) {
  fd = ::open(host.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT) return missingStatus(host);
    // ELOOP: a link; ENXIO: a FIFO without a reader or a device that is not there.
    return errno == ELOOP || errno == ENXIO ? status::AccessDenied : fromErrno(errno);
  }
  struct stat st{};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
    ::close(fd);
    fd = -1;
    return status::AccessDenied;
  }
  return status::Success;
}

bool isDriveRoot(std::string_view folderPart) {
  return folderPart.size() == 3 && folderPart[1] == ':';
}

class PosixFile : public FileHandle {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override { ::close(fd_); }
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  Status write(const void* data, std::uint32_t size, std::uint32_t& written) override {
    written = 0;
    const auto* bytes = static_cast<const char*>(data);
    while (written < size) {
      const ssize_t n = ::write(fd_, bytes + written, size - written);
      if (n < 0) {
        if (errno == EINTR) continue;
        return fromErrno(errno);
      }
      if (n == 0) return status::DiskFull;
      written += static_cast<std::uint32_t>(n);
    }
    return status::Success;
  }
  Status read(void* data, std::uint32_t size, std::uint32_t& count) override {
    ssize_t n;
    do { n = ::read(fd_, data, size); } while (n < 0 && errno == EINTR);
    if (n < 0) {
      count = 0;
      return fromErrno(errno);
    }
    count = static_cast<std::uint32_t>(n);
    return status::Success;
  }
  Status seek(std::uint64_t offset) override {
    return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0 ? fromErrno(errno) : status::Success;
  }
  Status size(std::uint64_t& result) override {
    struct stat st{};
    if (::fstat(fd_, &st) != 0) return fromErrno(errno);
    result = static_cast<std::uint64_t>(st.st_size);
    return status::Success;
  }
  Status flush() override { return ::fdatasync(fd_) == 0 ? status::Success : fromErrno(errno); }
  // Starts write-back of what was written since the last call only, so that a long run
  // of writes hands each range to the disk once.
  void startFlush() override {
    const off_t end = ::lseek(fd_, 0, SEEK_CUR);
    if (end <= flushedUpTo_) return;
    ::sync_file_range(fd_, flushedUpTo_, end - flushedUpTo_, SYNC_FILE_RANGE_WRITE);
    flushedUpTo_ = end;
  }

  int fd() const { return fd_; }

 private:
  int fd_;
  off_t flushedUpTo_ = 0;
};

}  // namespace

PortableFiles::PortableFiles(const MachineFolder& machine, Registry* registry)
    : machine_(machine), registry_(registry) {}

std::string PortableFiles::shortName(const std::string& longName) {
  const std::u16string name = utf8ToUtf16(longName);
  if (name.empty() || isLegal8dot3(name)) return {};
  std::uint16_t hash = 0xbeef;
  for (std::size_t i = 0; i + 1 < name.size(); ++i) {
    hash = static_cast<std::uint16_t>((hash << 3) ^ (hash >> 5) ^ foldCase(name[i]) ^ (foldCase(name[i + 1]) << 8));
  }
  hash = static_cast<std::uint16_t>((hash << 3) ^ (hash >> 5) ^ foldCase(name.back()));
  std::size_t ext = std::u16string::npos;
  for (std::size_t i = 1; i + 1 < name.size(); ++i) {
    if (name[i] == u'.') ext = i;
  }
  static constexpr char kHashChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
  std::string out;
  int left = 4;
  for (std::size_t i = 0; left > 0 && i < name.size() && i != ext; --left, ++i) {
    out += isInvalidDosChar(name[i]) ? '_' : static_cast<char>(upperCase(name[i]));
  }
  while (left-- >= 0) out += '~';
  out += kHashChars[(hash >> 10) & 0x1f];
  out += kHashChars[(hash >> 5) & 0x1f];
  out += kHashChars[hash & 0x1f];
  if (ext != std::u16string::npos) {
    out += '.';
    for (std::size_t i = ext + 1; i < name.size() && i < ext + 4; ++i) {
      out += isInvalidDosChar(name[i]) ? '_' : static_cast<char>(upperCase(name[i]));
    }
  }
  return out;
}

bool PortableFiles::matchMask(std::u16string_view nameView, std::u16string_view maskView) {
  const char16_t* name = nameView.data();
  const char16_t* nameEnd = name + nameView.size();
  const char16_t* mask = maskView.data();
  const char16_t* maskEnd = mask + maskView.size();
  const char16_t* lastJoker = nullptr;
  const char16_t* nextToRetry = nullptr;
  while (name < nameEnd && mask < maskEnd) {
    if (*mask == u'*') {
      ++mask;
      while (mask < maskEnd && *mask == u'*') ++mask;
      if (mask == maskEnd) return true;
      lastJoker = mask;
      while (name < nameEnd && upperCase(*name) != upperCase(*mask)) ++name;
      nextToRetry = name;
    } else if (*mask == u'?') {
      ++mask;
      ++name;
    } else if (upperCase(*mask) == upperCase(*name)) {
      ++mask;
      ++name;
      if (mask == maskEnd) {
        if (name == nameEnd) return true;
        if (lastJoker) mask = lastJoker;
      }
    } else if (lastJoker) {
      mask = lastJoker;
      name = ++nextToRetry;
    } else {
      return false;
    }
  }
  while (mask < maskEnd && (*mask == u'.' || *mask == u'*')) ++mask;
  return name == nameEnd && mask == maskEnd;
}

Status PortableFiles::find(std::string_view pattern, std::vector<FindEntry>& entries) {
  entries.clear();
  std::string folderPart, mask;
  if (!splitPattern(pattern, folderPart, mask)) return status::FileNotFound;
  std::string folder;
  if (Status s = machine_.resolve(folderPart, folder); s != status::Success) return status::PathNotFound;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return errno == ENOTDIR || errno == ENOENT ? status::PathNotFound : fromErrno(errno);
  const std::u16string mask16 = utf8ToUtf16(mask.empty() ? "*" : mask);
  const bool root = isDriveRoot(folderPart);
  while (dirent* d = ::readdir(dir)) {
    const std::string name = d->d_name;
    if (root && (name == "." || name == "..")) continue;
    const std::string alias = shortName(name);
    if (!matchMask(utf8ToUtf16(name), mask16) && (alias.empty() || !matchMask(utf8ToUtf16(alias), mask16))) {
      continue;
    }
    const std::string full = folder + "/" + name;
    struct stat linkStat{}, targetStat{};
    if (::lstat(full.c_str(), &linkStat) != 0) continue;
    const bool isLink = S_ISLNK(linkStat.st_mode);
    const bool targetOk = isLink && ::stat(full.c_str(), &targetStat) == 0;
    FindEntry entry;
    entry.name = name;
    entry.alternateName = alias;
    entry.attributes = attributesOf(name, linkStat, targetOk ? &targetStat : nullptr);
    entry.size = S_ISREG(linkStat.st_mode) ? static_cast<std::uint64_t>(linkStat.st_size) : 0;
    entry.lastWriteUnix = linkStat.st_mtime;
    entries.push_back(std::move(entry));
  }
  ::closedir(dir);
  // Windows order: "." and ".." first, then by upper-cased UTF-16 code units.
  std::sort(entries.begin(), entries.end(), [](const FindEntry& a, const FindEntry& b) {
    auto rank = [](const std::string& n) { return n == "." ? 0 : n == ".." ? 1 : 2; };
    if (rank(a.name) != rank(b.name)) return rank(a.name) < rank(b.name);
    const std::u16string x = utf8ToUtf16(a.name), y = utf8ToUtf16(b.name);
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(),
                                        [](char16_t p, char16_t q) { return upperCase(p) < upperCase(q); });
  });
  return entries.empty() ? status::FileNotFound : status::Success;
}

std::uint32_t PortableFiles::attributes(std::string_view path) {
  std::string host;
  if (Status s = machine_.resolve(path, host); s != status::Success) {
    lastError_ = s == status::InvalidName ? s : status::PathNotFound;
    return attr::Invalid;
  }
  struct stat linkStat{}, targetStat{};
  if (::lstat(host.c_str(), &linkStat) != 0) {
    lastError_ = missingStatus(host);
    return attr::Invalid;
  }
  const bool targetOk = S_ISLNK(linkStat.st_mode) && ::stat(host.c_str(), &targetStat) == 0;
  lastError_ = status::Success;
  std::string name = host.substr(host.rfind('/') + 1);
  return attributesOf(name, linkStat, targetOk ? &targetStat : nullptr);
}

Status PortableFiles::setAttributes(std::string_view path, std::uint32_t attributes) {
  std::string host;
  if (Status s = machine_.resolve(path, host); s != status::Success) return s;
  struct stat st{};
  if (::lstat(host.c_str(), &st) != 0) return missingStatus(host);
  if (S_ISLNK(st.st_mode) || S_ISDIR(st.st_mode)) return status::Success;  // ignored, as Windows does for folders
  mode_t mode = st.st_mode & 07777;
  if (attributes & attr::ReadOnly) mode &= static_cast<mode_t>(~(S_IWUSR | S_IWGRP | S_IWOTH));
  else if (isReadOnlyMode(mode)) mode |= S_IWUSR;
  return ::chmod(host.c_str(), mode) == 0 ? status::Success : fromErrno(errno);
}

Status PortableFiles::createDirectory(std::string_view path) {
  std::string host;
  if (Status s = machine_.resolve(path, host); s != status::Success) return s;
  if (::mkdir(host.c_str(), 0755) == 0) return status::Success;
  return errno == ENOENT ? status::PathNotFound : fromErrno(errno);
}

Status PortableFiles::removeDirectory(std::string_view path) {
  std::string host;
  if (Status s = machine_.resolve(path, host); s != status::Success) return s;
  struct stat st{};
  if (::lstat(host.c_str(), &st) != 0) return missingStatus(host);
  if (S_ISLNK(st.st_mode)) return ::unlink(host.c_str()) == 0 ? status::Success : fromErrno(errno);
  if (!S_ISDIR(st.st_mode)) return status::Directory;
  if (::rmdir(host.c_str()) == 0) return status::Success;
  return errno == ENOTEMPTY || errno == EEXIST ? status::DirNotEmpty : fromErrno(errno);
}

Status PortableFiles::deleteFile(std::string_view path) {
  std::string host;
  if (Status s = machine_.resolve(path, host); s != status::Success) return s;
  struct stat st{};
  if (::lstat(host.c_str(), &st) != 0) return missingStatus(host);
  if (S_ISDIR(st.st_mode)) return status::AccessDenied;
  if (!S_ISLNK(st.st_mode) && isReadOnlyMode(st.st_mode)) return status::AccessDenied;
  return ::unlink(host.c_str()) == 0 ? status::Success : fromErrno(errno);
}

Status PortableFiles::moveFile(std::string_view from, std::string_view to, bool replace) {
  std::string source, target;
  if (Status s = machine_.resolve(from, source); s != status::Success) return s;
  if (Status s = machine_.resolve(to, target); s != status::Success) return s;
  struct stat st{};
  if (::lstat(source.c_str(), &st) != 0) return missingStatus(source);
  if (!replace && ::lstat(target.c_str(), &st) == 0) return status::AlreadyExists;
  return ::rename(source.c_str(), target.c_str()) == 0 ? status::Success : fromErrno(errno);
}

Status PortableFiles::copyFile(std::string_view from, std::string_view to, bool failIfExists) {
  std::string source, target;
  if (Status s = machine_.resolve(from, source); s != status::Success) return s;
  if (Status s = machine_.resolve(to, target); s != status::Success) return s;
  const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return errno == ENOENT ? missingStatus(source) : fromErrno(errno);
  struct stat st{};
  ::fstat(in, &st);
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : O_TRUNC);
  const int out = ::open(target.c_str(), flags, st.st_mode & 07777);
  if (out < 0) {
    const int error = errno;
    ::close(in);
    return error == EEXIST ? status::FileExists : fromErrno(error);
  }
  Status result = status::Success;
  char buffer[1 << 16];
  for (;;) {
    const ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n == 0) break;
    if (n < 0) {
      if (errno == EINTR) continue;
      result = fromErrno(errno);
      break;
    }
    if (::write(out, buffer, static_cast<std::size_t>(n)) != n) {
      result = fromErrno(errno);
      break;
    }
  }
  ::fchmod(out, st.st_mode & 07777);
  ::close(in);
  ::close(out);
  return result;
}

Status PortableFiles::open(std::string_view path, OpenMode mode, std::unique_ptr<FileHandle>& file) {
  std::string host;
  if (Status s = machine_.resolve(path, host); s != status::Success) return s;
  if (mode == OpenMode::OverwriteExisting) {
    int fd = -1;
    if (Status s = openForOverwrite(host, fd); s != status::Success) return s;
    file = std::make_unique<PosixFile>(fd);
    return status::Success;
  }
  int flags = O_CLOEXEC;
  switch (mode) {
    case OpenMode::Read: flags |= O_RDONLY; break;
    case OpenMode::ReadWrite: flags |= O_RDWR; break;
    case OpenMode::CreateAlways: flags |= O_WRONLY | O_CREAT | O_TRUNC; break;
    case OpenMode::CreateNew: flags |= O_WRONLY | O_CREAT | O_EXCL; break;
    case OpenMode::Append: flags |= O_WRONLY | O_CREAT | O_APPEND; break;
    case OpenMode::OverwriteExisting: break;  // opened above
  }
  struct stat st{};
  if (::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return status::AccessDenied;
  const int fd = ::open(host.c_str(), flags, 0644);
  if (fd < 0) {
    if (errno == ENOENT) return missingStatus(host);
    return errno == EEXIST ? status::FileExists : fromErrno(errno);
  }
  file = std::make_unique<PosixFile>(fd);
  return status::Success;
}

Status PortableFiles::fileInfo(std::string_view path, FindEntry& info) {
  std::string host;
  if (Status s = machine_.resolve(path, host); s != status::Success) return s;
  struct stat linkStat{}, targetStat{};
  if (::lstat(host.c_str(), &linkStat) != 0) return missingStatus(host);
  const bool targetOk = S_ISLNK(linkStat.st_mode) && ::stat(host.c_str(), &targetStat) == 0;
  info = FindEntry{};
  info.attributes = attributesOf(host.substr(host.rfind('/') + 1), linkStat, targetOk ? &targetStat : nullptr);
  info.size = S_ISREG(linkStat.st_mode) ? static_cast<std::uint64_t>(linkStat.st_size) : 0;
  info.lastWriteUnix = linkStat.st_mtime;
  return status::Success;
}

namespace {

// File systems that write a file's data where its blocks lie and keep it in the device's
// volatile cache until a cache flush, so that one flush makes every completed write of
// the device durable: ext2/3/4, XFS, F2FS, FAT, exFAT, NTFS.
bool flushesWholeDevice(int fd) {
  struct statfs fs{};
  if (::fstatfs(fd, &fs) != 0) return false;
  switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xEF53:      // ext2, ext3, ext4
    case 0x58465342:  // XFS
    case 0xF2F52010:  // F2FS
    case 0x4D44:      // FAT
    case 0x2011BAB0:  // exFAT
    case 0x5346544E:  // NTFS (ntfs-3g)
    case 0x7366746E:  // NTFS (ntfs3)
      return true;
    default:
      return false;
  }
}

}  // namespace

// Several files of one local file system are put on the disk together: each file's
// write-back is started, then waited for, and one data flush of the last file sends the
// device the cache flush that makes all those completed writes durable. That costs one
// cache flush instead of one per file, and unlike syncfs it never waits for other
// programs' unwritten data. Anywhere else (network and copy-on-write file systems, files
// on several devices) every file is flushed on its own.
Status PortableFiles::flushFiles(std::span<FileHandle* const> handles) {
  if (handles.size() == 1) return handles.front()->flush();
  std::vector<int> fds;
  dev_t device = 0;
  for (FileHandle* handle : handles) {
    const auto* file = dynamic_cast<const PosixFile*>(handle);
    struct stat st{};
    if (!file || ::fstat(file->fd(), &st) != 0 || (!fds.empty() && st.st_dev != device)) {
      fds.clear();
      break;
    }
    fds.push_back(file->fd());
    device = st.st_dev;
  }
  if (!fds.empty() && flushesWholeDevice(fds.front())) {
    for (int fd : fds) ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    constexpr unsigned kWriteAndWait =
        SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
    for (int fd : fds) {
      if (::sync_file_range(fd, 0, 0, kWriteAndWait) != 0) return fromErrno(errno);
    }
    return ::fdatasync(fds.back()) == 0 ? status::Success : fromErrno(errno);
  }
  Status result = status::Success;
  for (FileHandle* handle : handles) {
    if (Status s = handle->flush(); s != status::Success) result = s;
  }
  return result;
}

// syncfs writes back everything of the file system and reports the write-back errors it
// met, so a Success covers every file written there.
Status PortableFiles::flushVolume(std::string_view root) {
  std::string host;
  if (Status s = machine_.resolve(root, host); s != status::Success) return s;
  const int fd = ::open(host.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? status::PathNotFound : fromErrno(errno);
  const Status result = ::syncfs(fd) == 0 ? status::Success : fromErrno(errno);
  ::close(fd);
  return result;
}

std::vector<std::string> PortableFiles::logicalDrives() {
  std::vector<std::string> roots;
  for (char letter : machine_.driveLetters()) roots.push_back(std::string(1, letter) + ":\\");
  return roots;
}

std::uint32_t PortableFiles::driveType(std::string_view root) {
  if (root.empty()) return drivetype::NoRootDir;
  const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(root[0])));
  if (machine_.driveFolder(letter).empty()) return drivetype::NoRootDir;
  if (!registry_) return drivetype::Fixed;
  HKEY key = 0;
  if (registry_->openKey(HKEY_LOCAL_MACHINE, "Software\\Wine\\Drives", regaccess::QueryValue, key) !=
      status::Success) {
    return drivetype::Fixed;
  }
  char data[32] = {};
  std::uint32_t size = sizeof data - 1;
  std::uint32_t type = 0;
  const std::string name = std::string(1, letter) + ":";
  const Status s = registry_->queryValue(key, name, &type, reinterpret_cast<std::uint8_t*>(data), &size);
  registry_->closeKey(key);
  if (s != status::Success || type != regtype::Sz) return drivetype::Fixed;
  const std::string kind(data);
  if (kind == "cdrom") return drivetype::CdRom;
  if (kind == "floppy") return drivetype::Removable;
  if (kind == "network") return drivetype::Remote;
  if (kind == "ramdisk") return drivetype::RamDisk;
  return drivetype::Fixed;
}

Status PortableFiles::diskFreeSpace(std::string_view root, DiskSpace& space) {
  std::string host;
  if (Status s = machine_.resolve(root, host); s != status::Success) return s;
  struct statvfs vfs{};
  if (::statvfs(host.c_str(), &vfs) != 0) return fromErrno(errno);
  const std::uint64_t unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
  space.availableToCaller = static_cast<std::uint64_t>(vfs.f_bavail) * unit;
  space.free = space.availableToCaller;  // Wine reports the caller's figure for both
  space.total = static_cast<std::uint64_t>(vfs.f_blocks) * unit;
  return status::Success;
}

std::string PortableFiles::hostPath(std::string_view path) {
  std::string host;
  return machine_.resolve(path, host) == status::Success ? host : std::string();
}

}  // namespace pgv::platform::portable
