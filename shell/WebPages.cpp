// The web skin's files.

#include "shell/WebPages.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

namespace pgv::shell {
namespace {

namespace fs = std::filesystem;

// A page file is small; a document is capped so that a huge log cannot exhaust memory.
constexpr std::uint64_t kMaxFile = 64u << 20;

std::optional<std::string> readMachineFile(platform::Files& files, const std::string& path) {
  std::unique_ptr<platform::FileHandle> file;
  if (files.open(path, platform::OpenMode::Read, file) != platform::status::Success) return std::nullopt;
  std::uint64_t size = 0;
  if (file->size(size) != platform::status::Success || size > kMaxFile) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    std::uint32_t got = 0;
    if (file->read(bytes.data() + done, static_cast<std::uint32_t>(bytes.size() - done), got) !=
            platform::status::Success ||
        got == 0) {
      break;
    }
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

// Written under a temporary name and renamed over the old page when complete, so that an
// interrupted update leaves the old page or the new one, never a cut one.
bool writeMachineFile(platform::Files& files, const std::string& path, const std::string& bytes) {
  const std::string partial = path + ".part";
  std::unique_ptr<platform::FileHandle> file;
  if (files.open(partial, platform::OpenMode::CreateAlways, file) != platform::status::Success) return false;
  std::uint32_t written = 0;
  const bool complete =
      file->write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), written) == platform::status::Success &&
      written == bytes.size();
  file.reset();
  if (complete && files.moveFile(partial, path, true) == platform::status::Success) return true;
  [[maybe_unused]] const platform::Status ignored = files.deleteFile(partial);
  return false;
}

// Replaces installed pages that differ from the bundled ones, folder by folder.
bool refreshTree(platform::Files& files, const fs::path& source, const std::string& target, std::string& error) {
  if (files.attributes(target) == platform::attr::Invalid) {
    const platform::Status status = files.createDirectory(target);
    if (status != platform::status::Success && status != platform::status::AlreadyExists) {
      error = "cannot create " + target + " (error " + std::to_string(status) + ")";
      return false;
    }
  }
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(source, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name[0] == '.') continue;
    const std::string path = target + "\\" + name;
    if (entry.is_directory()) {
      if (!refreshTree(files, entry.path(), path, error)) return false;
      continue;
    }
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string bundled((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (readMachineFile(files, path) == bundled) continue;
    if (!writeMachineFile(files, path, bundled)) {
      error = "cannot install " + path;
      return false;
    }
  }
  return true;
}

// Loads every file below folder under its path relative to the site root.
void loadTree(platform::Files& files, const std::string& folder, const std::string& prefix,
              platform::skin::WebContent& content) {
  std::vector<platform::FindEntry> entries;
  if (files.find(folder + "\\*", entries) != platform::status::Success) return;
  for (const auto& entry : entries) {
    if (entry.name == "." || entry.name == "..") continue;
    const std::string path = folder + "\\" + entry.name;
    if (entry.attributes & platform::attr::Directory) {
      loadTree(files, path, prefix + entry.name + "/", content);
    } else if (auto bytes = readMachineFile(files, path)) {
      content.putPage(prefix + entry.name,
                      {platform::skin::WebContent::typeOf(entry.name), std::move(*bytes), std::string()});
    }
  }
}

std::string fileNameOf(const std::string& path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

bool loadWebPages(platform::Platform& platform, const std::string& bundledSkin, platform::skin::WebContent& content,
                  std::string& error) {
  platform::Files& files = platform.files();
  const std::string folder = platform.system().programFolder() + "\\skin\\web";
  const fs::path source = fs::path(bundledSkin) / "web";
  std::error_code ec;
  if (fs::is_directory(source, ec) && !refreshTree(files, source, folder, error)) return false;
  loadTree(files, folder, "", content);
  if (!content.find("index.html")) {
    error = "no skin pages in " + folder + " (the program's skin folder is incomplete)";
    return false;
  }
  return true;
}

std::optional<platform::skin::WebFile> readDocument(platform::Platform& platform, const std::string& path) {
  auto bytes = readMachineFile(platform.files(), path);
  if (!bytes) return std::nullopt;
  const std::string name = fileNameOf(path);
  return platform::skin::WebFile{platform::skin::WebContent::typeOf(name), std::move(*bytes), name};
}

}  // namespace pgv::shell
