// First-use installation of the program's files into the machine.

#include "shell/Installation.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "platform/Library.h"

namespace pgv::shell {
namespace {

namespace fs = std::filesystem;

// Creates a Windows folder and the missing folders above it.
platform::Status createFolderTree(platform::Files& files, const std::string& path) {
  if (files.attributes(path) != platform::attr::Invalid) return platform::status::Success;
  const auto slash = path.rfind('\\');
  if (slash != std::string::npos && slash > 2) {
    const platform::Status parent = createFolderTree(files, path.substr(0, slash));
    if (parent != platform::status::Success) return parent;
  }
  const platform::Status status = files.createDirectory(path);
  return status == platform::status::AlreadyExists ? platform::status::Success : status;
}

// The copy is written under a temporary name and renamed when complete, so that an
// interrupted installation never leaves a cut file that a later start would keep. The
// files can always be installed again, so they are not forced to the disk one by one.
bool copyIn(platform::Files& files, const fs::path& from, const std::string& to, std::string& error) {
  std::ifstream in(from, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.good() && !in.eof()) {
    error = "cannot read " + from.string();
    return false;
  }
  const std::string partial = to + ".part";
  std::unique_ptr<platform::FileHandle> file;
  platform::Status status = files.open(partial, platform::OpenMode::CreateAlways, file);
  std::uint32_t written = 0;
  if (status == platform::status::Success) {
    status = file->write(bytes.data(), static_cast<std::uint32_t>(bytes.size()), written);
    if (status == platform::status::Success && written != bytes.size()) status = platform::status::DiskFull;
  }
  file.reset();
  if (status == platform::status::Success) status = files.moveFile(partial, to, false);
  if (status != platform::status::Success) {
    error = "cannot install " + to + " (error " + std::to_string(status) + ")";
    [[maybe_unused]] const platform::Status ignored = files.deleteFile(partial);
    return false;
  }
  return true;
}

// Copies the files of a host folder tree that the machine folder does not have yet.
bool installTree(platform::Files& files, const fs::path& source, const std::string& target, std::string& error) {
  if (const platform::Status status = createFolderTree(files, target); status != platform::status::Success) {
    error = "cannot create " + target + " (error " + std::to_string(status) + ")";
    return false;
  }
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(source, ec)) {
    const std::string path = target + "\\" + entry.path().filename().string();
    if (entry.is_directory()) {
      if (!installTree(files, entry.path(), path, error)) return false;
    } else if (entry.is_regular_file() && files.attributes(path) == platform::attr::Invalid) {
      if (!copyIn(files, entry.path(), path, error)) return false;
    }
  }
  return true;
}

}  // namespace

std::string bundledSkinFolder() { return platform::hostPathJoin(platform::executableFolder(), "skin"); }

bool installProgramFiles(platform::Platform& platform, const std::string& skinSource, std::string& error) {
  platform::Files& files = platform.files();
  const std::string folder = platform.system().programFolder();
  if (!installTree(files, skinSource, folder + "\\skin", error)) return false;
  if (const platform::Status status = createFolderTree(files, folder + "\\Logs"); status != platform::status::Success) {
    error = "cannot create " + folder + "\\Logs (error " + std::to_string(status) + ")";
    return false;
  }
  return true;
}

}  // namespace pgv::shell
