// Run-time loading of libraries and module file names on POSIX hosts.

#include "platform/Library.h"

#include <dlfcn.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pgv::platform {
namespace {

class DynamicLibrary : public Library {
 public:
  DynamicLibrary(void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
  ~DynamicLibrary() override { ::dlclose(handle_); }
  void* symbol(const char* name) override { return ::dlsym(handle_, name); }
  const std::string& path() const override { return path_; }

 private:
  void* handle_;
  std::string path_;
};

std::string folderOf(const std::string& file) {
  const auto slash = file.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : file.substr(0, slash);
}

}  // namespace

std::unique_ptr<Library> loadLibrary(const std::string& path, std::string& error) {
  // RTLD_LOCAL: the library's own copies of the shared code stay its own.
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* why = ::dlerror();
    error = why ? why : ("cannot load " + path);
    return nullptr;
  }
  return std::make_unique<DynamicLibrary>(handle, path);
}

std::string executableFolder() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return ".";
  return folderOf(std::string(buffer, static_cast<std::size_t>(n)));
}

std::string moduleFileOf(const void* address) {
  Dl_info info{};
  if (::dladdr(address, &info) == 0 || !info.dli_fname) return {};
  char resolved[PATH_MAX];
  if (::realpath(info.dli_fname, resolved)) return resolved;
  return info.dli_fname;
}

std::string libraryFileName(std::string_view name) { return "lib" + std::string(name) + ".so"; }

std::string hostPathJoin(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (!out.empty() && out.back() != '/') out += '/';
  out += name;
  return out;
}

bool hostFileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace pgv::platform
