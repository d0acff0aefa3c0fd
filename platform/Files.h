#pragma once
// Files, folders and drives, as the ANSI file functions of kernel32 offer them.
//
// Paths are absolute Windows paths ("C:\dir\file.txt") in the program's Unicode
// (UTF-8); backends convert at their boundary. Errors are the Win32 codes of Status.h
// (a missing file FileNotFound, a missing folder in the path PathNotFound, a read-only
// file or a folder given to deleteFile AccessDenied, ...).
//
// Safety rules every backend keeps:
//  - a symbolic link (a reparse point) is reported with Attr::ReparsePoint and is
//    removed as a link; no operation here follows a link to delete or overwrite what
//    lies behind it;
//  - the portable backend never reports the host's root folder as a drive and refuses
//    (AccessDenied) any change made through it.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

namespace pgv::platform {

namespace attr {
inline constexpr std::uint32_t ReadOnly = 0x01;
inline constexpr std::uint32_t Hidden = 0x02;
inline constexpr std::uint32_t System = 0x04;
inline constexpr std::uint32_t Directory = 0x10;
inline constexpr std::uint32_t Archive = 0x20;
inline constexpr std::uint32_t Normal = 0x80;
inline constexpr std::uint32_t ReparsePoint = 0x400;
inline constexpr std::uint32_t Invalid = 0xFFFFFFFFu;
}  // namespace attr

namespace drivetype {
inline constexpr std::uint32_t Unknown = 0;
inline constexpr std::uint32_t NoRootDir = 1;
inline constexpr std::uint32_t Removable = 2;
inline constexpr std::uint32_t Fixed = 3;
inline constexpr std::uint32_t Remote = 4;
inline constexpr std::uint32_t CdRom = 5;
inline constexpr std::uint32_t RamDisk = 6;
}  // namespace drivetype

// One WIN32_FIND_DATAA.
struct FindEntry {
  std::string name;
  std::string alternateName;  // the 8.3 name, empty when the name already is one
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
  std::int64_t lastWriteUnix = 0;  // seconds since 1970, UTC
};

// GetDiskFreeSpaceExA in bytes.
struct DiskSpace {
  std::uint64_t availableToCaller = 0;
  std::uint64_t total = 0;
  std::uint64_t free = 0;
};

enum class OpenMode {
  Read,          // GENERIC_READ, OPEN_EXISTING
  ReadWrite,     // GENERIC_READ|GENERIC_WRITE, OPEN_EXISTING
  CreateAlways,  // GENERIC_WRITE, CREATE_ALWAYS (truncates)
  CreateNew,     // GENERIC_WRITE, CREATE_NEW (FileExists when present)
  Append,        // FILE_APPEND_DATA, OPEN_ALWAYS
  // GENERIC_WRITE, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT: overwriting a file where
  // it lies (shredding). Only a regular file opens; a link, a folder or a device gives
  // AccessDenied and is never followed. Nothing is truncated.
  OverwriteExisting,
};

// An open file (a HANDLE from CreateFileA). Closed when destroyed.
class FileHandle {
 public:
  virtual ~FileHandle() = default;
  // WriteFile; written receives what was written before a failure (DiskFull included).
  [[nodiscard]] virtual Status write(const void* data, std::uint32_t size, std::uint32_t& written) = 0;
  // ReadFile; read receives 0 at the end of the file.
  [[nodiscard]] virtual Status read(void* data, std::uint32_t size, std::uint32_t& read) = 0;
  // SetFilePointerEx from the start.
  [[nodiscard]] virtual Status seek(std::uint64_t offset) = 0;
  // GetFileSizeEx.
  [[nodiscard]] virtual Status size(std::uint64_t& size) = 0;
  // FlushFileBuffers: the data is on the disk when this returns Success.
  [[nodiscard]] virtual Status flush() = 0;
  // Starts writing what was written so far to the disk without waiting for it, so that a
  // later flush finds little left to do. Only a hint: backends without such a call do
  // nothing, and flush() is still what puts the data on the disk.
  virtual void startFlush() {}
};

class Files {
 public:
  virtual ~Files() = default;

  // FindFirstFileA / FindNextFileA / FindClose in one call: every entry matching the
  // pattern (wildcards * and ? in the last component, short names matched too), in the
  // order Windows returns them ("." and ".." included where the pattern matches them).
  // FileNotFound when nothing matches, PathNotFound when the folder is missing.
  [[nodiscard]] virtual Status find(std::string_view pattern, std::vector<FindEntry>& entries) = 0;
  // GetFileAttributesA; attr::Invalid when missing (lastError tells which).
  virtual std::uint32_t attributes(std::string_view path) = 0;
  [[nodiscard]] virtual Status setAttributes(std::string_view path, std::uint32_t attributes) = 0;
  // CreateDirectoryA (one level; AlreadyExists when present).
  [[nodiscard]] virtual Status createDirectory(std::string_view path) = 0;
  // RemoveDirectoryA (an empty folder, or a link to a folder, which is unlinked).
  [[nodiscard]] virtual Status removeDirectory(std::string_view path) = 0;
  // DeleteFileA (a file, or a link, which is unlinked).
  [[nodiscard]] virtual Status deleteFile(std::string_view path) = 0;
  // MoveFileExA with or without MOVEFILE_REPLACE_EXISTING.
  [[nodiscard]] virtual Status moveFile(std::string_view from, std::string_view to, bool replace) = 0;
  // CopyFileA.
  [[nodiscard]] virtual Status copyFile(std::string_view from, std::string_view to, bool failIfExists) = 0;
  // CreateFileA.
  [[nodiscard]] virtual Status open(std::string_view path, OpenMode mode, std::unique_ptr<FileHandle>& file) = 0;
  // GetFileAttributesExA: attributes, size and last write time of one file or folder; of
  // the link itself for a link, never of its target (size 0). info.name stays empty.
  [[nodiscard]] virtual Status fileInfo(std::string_view path, FindEntry& info) = 0;
  // FlushFileBuffers of several open files in one call: Success when the data of every
  // one of them is on the disk. A backend may do it with one cache flush of their device
  // instead of one per file (the portable one does on local file systems), which costs
  // far less. After a failure, flush the files one by one to learn which failed.
  [[nodiscard]] virtual Status flushFiles(std::span<FileHandle* const> files) = 0;
  // FlushFileBuffers on the volume of root ("D:\"): everything written to the drive so
  // far is on the disk, the data of every file together with the file system's own
  // records of it. NotSupported (or AccessDenied, as Windows answers without
  // administrator rights) where a backend cannot; flush the files one by one instead.
  [[nodiscard]] virtual Status flushVolume(std::string_view root) {
    (void)root;
    return status::NotSupported;
  }

  // GetLogicalDriveStringsA as a list: "C:\", "D:\", ...
  virtual std::vector<std::string> logicalDrives() = 0;
  // GetDriveTypeA of a root such as "C:\".
  virtual std::uint32_t driveType(std::string_view root) = 0;
  // GetDiskFreeSpaceExA.
  [[nodiscard]] virtual Status diskFreeSpace(std::string_view root, DiskSpace& space) = 0;
  // GetLastError after attributes().
  virtual Status lastError() const = 0;

  // The host path behind a Windows path, for diagnostics and the shell's "open" only;
  // empty when the path does not resolve.
  virtual std::string hostPath(std::string_view path) = 0;
};

}  // namespace pgv::platform
