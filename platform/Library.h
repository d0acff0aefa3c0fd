#pragma once
// Loading a library at run time (LoadLibraryA / GetProcAddress, dlopen / dlsym) and the
// file names of the running program's modules. Paths here are the operating system's own
// paths (host paths), not the Windows paths of a machine folder: a library is code of the
// host, whatever machine the program works on.

#include <memory>
#include <string>
#include <string_view>

namespace pgv::platform {

class Library {
 public:
  virtual ~Library() = default;
  // GetProcAddress: the exported symbol, or null.
  virtual void* symbol(const char* name) = 0;
  virtual const std::string& path() const = 0;
};

// Loads the library; null and a one-line reason in error when it cannot be loaded. The
// library stays loaded while the returned object lives.
std::unique_ptr<Library> loadLibrary(const std::string& path, std::string& error);

// The folder of the running executable (no trailing separator).
std::string executableFolder();
// The file of the module (executable or library) that contains address.
std::string moduleFileOf(const void* address);
// The platform's file name of a library called name ("PGVX" -> "libPGVX.so" / "PGVX.dll").
std::string libraryFileName(std::string_view name);
// Joins a host folder and a file name with the host's separator.
std::string hostPathJoin(std::string_view folder, std::string_view name);
bool hostFileExists(const std::string& path);

}  // namespace pgv::platform
