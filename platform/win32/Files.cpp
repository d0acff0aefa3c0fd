// Win32 backend only: files, folders and drives through kernel32's ANSI functions.

#include "platform/Files.h"

#include <memory>

#include "platform/win32/Win32Files.h"
#include "platform/win32/Win32Text.h"

namespace pgv::platform::win32 {
namespace {

class Win32File : public FileHandle {
 public:
  explicit Win32File(HANDLE h) : handle_(h) {}
  ~Win32File() override { ::CloseHandle(handle_); }
  Win32File(const Win32File&) = delete;
  Win32File& operator=(const Win32File&) = delete;

  Status write(const void* data, std::uint32_t size, std::uint32_t& written) override {
    DWORD n = 0;
    const BOOL ok = ::WriteFile(handle_, data, size, &n, nullptr);
    written = n;
    if (!ok) return static_cast<Status>(::GetLastError());
    return n < size ? status::DiskFull : status::Success;
  }
  Status read(void* data, std::uint32_t size, std::uint32_t& count) override {
    DWORD n = 0;
    const BOOL ok = ::ReadFile(handle_, data, size, &n, nullptr);
    count = n;
    return ok ? status::Success : static_cast<Status>(::GetLastError());
  }
  Status seek(std::uint64_t offset) override {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return ::SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) ? status::Success
                                                                : static_cast<Status>(::GetLastError());
  }
  Status size(std::uint64_t& result) override {
    LARGE_INTEGER s;
    if (!::GetFileSizeEx(handle_, &s)) return static_cast<Status>(::GetLastError());
    result = static_cast<std::uint64_t>(s.QuadPart);
    return status::Success;
  }
  Status flush() override {
    return ::FlushFileBuffers(handle_) ? status::Success : static_cast<Status>(::GetLastError());
  }

 private:
  HANDLE handle_;
};

Status lastStatus() { return static_cast<Status>(::GetLastError()); }

// Under Wine a drive may be the host's root folder; it is never offered as a drive.
bool isHostRootUnderWine(const std::string& root) {
  using UnixName = char*(CDECL*)(LPCWSTR);
  HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
  auto toUnix = kernel ? reinterpret_cast<UnixName>(reinterpret_cast<void*>(::GetProcAddress(kernel, "wine_get_unix_file_name")))
                       : nullptr;
  if (!toUnix) return false;
  const std::u16string wide = utf8ToUtf16(root);
  char* unixName = toUnix(reinterpret_cast<LPCWSTR>(wide.c_str()));
  if (!unixName) return false;
  const std::string name(unixName);
  ::HeapFree(::GetProcessHeap(), 0, unixName);
  return name == "/" || name == "//";
}

}  // namespace

Status Win32Files::find(std::string_view pattern, std::vector<FindEntry>& entries) {
  entries.clear();
  WIN32_FIND_DATAA data;
  HANDLE h = ::FindFirstFileA(ansi(pattern).c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return lastStatus();
  do {
    FindEntry e;
    e.name = unicode(data.cFileName);
    e.alternateName = unicode(data.cAlternateFileName);
    e.attributes = data.dwFileAttributes;
    e.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    e.lastWriteUnix = fileTimeToUnix(data.ftLastWriteTime);
    entries.push_back(std::move(e));
  } while (::FindNextFileA(h, &data));
  ::FindClose(h);
  return status::Success;
}

std::uint32_t Win32Files::attributes(std::string_view path) {
  const DWORD a = ::GetFileAttributesA(ansi(path).c_str());
  lastError_ = a == INVALID_FILE_ATTRIBUTES ? lastStatus() : status::Success;
  return a;
}

Status Win32Files::setAttributes(std::string_view path, std::uint32_t attributes) {
  return ::SetFileAttributesA(ansi(path).c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL) ? status::Success
                                                                                                   : lastStatus();
}

Status Win32Files::createDirectory(std::string_view path) {
  return ::CreateDirectoryA(ansi(path).c_str(), nullptr) ? status::Success : lastStatus();
}

Status Win32Files::removeDirectory(std::string_view path) {
  return ::RemoveDirectoryA(ansi(path).c_str()) ? status::Success : lastStatus();
}

Status Win32Files::deleteFile(std::string_view path) {
  return ::DeleteFileA(ansi(path).c_str()) ? status::Success : lastStatus();
}

Status Win32Files::moveFile(std::string_view from, std::string_view to, bool replace) {
  return ::MoveFileExA(ansi(from).c_str(), ansi(to).c_str(), replace ? MOVEFILE_REPLACE_EXISTING : 0)
             ? status::Success
             : lastStatus();
}

Status Win32Files::copyFile(std::string_view from, std::string_view to, bool failIfExists) {
  return ::CopyFileA(ansi(from).c_str(), ansi(to).c_str(), failIfExists) ? status::Success : lastStatus();
}

Status Win32Files::open(std::string_view path, OpenMode mode, std::unique_ptr<FileHandle>& file) {
  DWORD access = GENERIC_READ, creation = OPEN_EXISTING, flags = FILE_ATTRIBUTE_NORMAL;
  switch (mode) {
    case OpenMode::OverwriteExisting: {
      // Overwriting in place: never through a link, never a folder or a device.
      const DWORD a = ::GetFileAttributesA(ansi(path).c_str());
      if (a == INVALID_FILE_ATTRIBUTES) return lastStatus();
      if (a & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) {
        return status::AccessDenied;
      }
      access = GENERIC_WRITE;
      flags |= FILE_FLAG_OPEN_REPARSE_POINT;
      break;
    }
    case OpenMode::Read: break;
    case OpenMode::ReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    case OpenMode::CreateAlways: access = GENERIC_WRITE; creation = CREATE_ALWAYS; break;
    case OpenMode::CreateNew: access = GENERIC_WRITE; creation = CREATE_NEW; break;
    case OpenMode::Append: access = FILE_APPEND_DATA; creation = OPEN_ALWAYS; break;
  }
  HANDLE h = ::CreateFileA(ansi(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, creation, flags,
                           nullptr);
  if (h == INVALID_HANDLE_VALUE) return lastStatus();
  file = std::make_unique<Win32File>(h);
  return status::Success;
}

Status Win32Files::fileInfo(std::string_view path, FindEntry& info) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(ansi(path).c_str(), GetFileExInfoStandard, &data)) return lastStatus();
  info = FindEntry{};
  info.attributes = data.dwFileAttributes;
  const bool plainFile = !(data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
  info.size = plainFile ? (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow : 0;
  info.lastWriteUnix = fileTimeToUnix(data.ftLastWriteTime);
  return status::Success;
}

// Windows has no cheaper way than one FlushFileBuffers per file.
Status Win32Files::flushFiles(std::span<FileHandle* const> files) {
  Status result = status::Success;
  for (FileHandle* file : files) {
    if (Status s = file->flush(); s != status::Success && result == status::Success) result = s;
  }
  return result;
}

std::vector<std::string> Win32Files::logicalDrives() {
  char buffer[512] = {};
  const DWORD n = ::GetLogicalDriveStringsA(sizeof buffer - 1, buffer);
  std::vector<std::string> roots;
  for (const char* p = buffer; p < buffer + n && *p; p += std::char_traits<char>::length(p) + 1) {
    std::string root(p);
    if (!isHostRootUnderWine(root)) roots.push_back(root);
  }
  return roots;
}

std::uint32_t Win32Files::driveType(std::string_view root) {
  const std::string r(root);
  if (isHostRootUnderWine(r)) return drivetype::NoRootDir;
  return ::GetDriveTypeA(ansi(root).c_str());
}

Status Win32Files::diskFreeSpace(std::string_view root, DiskSpace& space) {
  ULARGE_INTEGER available, total, free;
  if (!::GetDiskFreeSpaceExA(ansi(root).c_str(), &available, &total, &free)) return lastStatus();
  space.availableToCaller = available.QuadPart;
  space.total = total.QuadPart;
  space.free = free.QuadPart;
  return status::Success;
}

std::string Win32Files::hostPath(std::string_view path) { return std::string(path); }

}  // namespace pgv::platform::win32
