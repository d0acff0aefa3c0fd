// Win32 backend only: run-time loading of libraries and module file names.

#include "platform/Library.h"

#include "platform/win32/Win32Text.h"

namespace pgv::platform {
namespace {

class DllLibrary : public Library {
 public:
  DllLibrary(HMODULE module, std::string path) : module_(module), path_(std::move(path)) {}
  ~DllLibrary() override { ::FreeLibrary(module_); }
  void* symbol(const char* name) override {
    return reinterpret_cast<void*>(::GetProcAddress(module_, name));
  }
  const std::string& path() const override { return path_; }

 private:
  HMODULE module_;
  std::string path_;
};

std::string moduleFileName(HMODULE module) {
  char buffer[MAX_PATH + 1] = {};
  const DWORD n = ::GetModuleFileNameA(module, buffer, MAX_PATH);
  return n > 0 ? win32::unicode(buffer) : std::string();
}

}  // namespace

std::unique_ptr<Library> loadLibrary(const std::string& path, std::string& error) {
  HMODULE module = ::LoadLibraryA(win32::ansi(path).c_str());
  if (!module) {
    error = "cannot load " + path + " (error " + std::to_string(::GetLastError()) + ")";
    return nullptr;
  }
  return std::make_unique<DllLibrary>(module, path);
}

std::string executableFolder() {
  const std::string file = moduleFileName(nullptr);
  const auto cut = file.rfind('\\');
  return cut == std::string::npos ? "." : file.substr(0, cut);
}

std::string moduleFileOf(const void* address) {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCSTR>(address), &module)) {
    return {};
  }
  return moduleFileName(module);
}

std::string libraryFileName(std::string_view name) { return std::string(name) + ".dll"; }

std::string hostPathJoin(std::string_view folder, std::string_view name) {
  std::string out(folder);
  if (!out.empty() && out.back() != '\\' && out.back() != '/') out += '\\';
  out += name;
  return out;
}

bool hostFileExists(const std::string& path) {
  const DWORD a = ::GetFileAttributesA(win32::ansi(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace pgv::platform
