#include "tests/shredder/RecordingFiles.h"

#include <gtest/gtest.h>

#include <cctype>

namespace pgv::test {
namespace {

// Forwards to the real handle and records writes and flushes under the file's path.
class RecordingHandle : public platform::FileHandle {
 public:
  RecordingHandle(std::unique_ptr<platform::FileHandle> inner, std::string path, RecordingFiles& owner)
      : inner_(std::move(inner)), path_(std::move(path)), owner_(owner) {}

  platform::Status write(const void* data, std::uint32_t size, std::uint32_t& written) override {
    const platform::Status status = inner_->write(data, size, written);
    owner_.calls.push_back("write " + path_ + " " + std::to_string(written));
    return status;
  }
  platform::Status read(void* data, std::uint32_t size, std::uint32_t& read) override {
    return inner_->read(data, size, read);
  }
  platform::Status seek(std::uint64_t offset) override { return inner_->seek(offset); }
  platform::Status size(std::uint64_t& size) override { return inner_->size(size); }
  platform::Status flush() override {
    owner_.calls.push_back("flush " + path_);
    const platform::Status status = inner_->flush();
    return status == platform::status::Success ? injectedFailure() : status;
  }
  // What the flush hook says about this file.
  platform::Status injectedFailure() const {
    return owner_.flushHook ? owner_.flushHook(path_) : platform::status::Success;
  }
  void startFlush() override { inner_->startFlush(); }

  platform::FileHandle& inner() { return *inner_; }
  const std::string& path() const { return path_; }

 private:
  std::unique_ptr<platform::FileHandle> inner_;
  std::string path_;
  RecordingFiles& owner_;
};

}  // namespace

std::vector<std::string> RecordingFiles::callsStartingWith(const std::string& prefix) const {
  std::vector<std::string> result;
  for (const std::string& call : calls) {
    if (call.rfind(prefix, 0) == 0) result.push_back(call);
  }
  return result;
}

platform::Status RecordingFiles::removeDirectory(std::string_view path) {
  const platform::Status status = inner_.removeDirectory(path);
  if (status == platform::status::Success) calls.push_back("rmdir " + std::string(path));
  return status;
}

platform::Status RecordingFiles::deleteFile(std::string_view path) {
  const platform::Status status = inner_.deleteFile(path);
  if (status == platform::status::Success) calls.push_back("delete " + std::string(path));
  return status;
}

platform::Status RecordingFiles::open(std::string_view path, platform::OpenMode mode,
                                      std::unique_ptr<platform::FileHandle>& file) {
  if (openHook) {
    if (const platform::Status injected = openHook(path, mode); injected != platform::status::Success) {
      return injected;
    }
  }
  std::unique_ptr<platform::FileHandle> inner;
  const platform::Status status = inner_.open(path, mode, inner);
  if (status != platform::status::Success) return status;
  file = std::make_unique<RecordingHandle>(std::move(inner), std::string(path), *this);
  return status;
}

platform::Status RecordingFiles::flushFiles(std::span<platform::FileHandle* const> files) {
  std::vector<platform::FileHandle*> inner;
  platform::Status injected = platform::status::Success;
  for (platform::FileHandle* file : files) {
    auto* recording = static_cast<RecordingHandle*>(file);
    calls.push_back("flush " + recording->path());
    inner.push_back(&recording->inner());
    if (const platform::Status s = recording->injectedFailure(); s != platform::status::Success) injected = s;
  }
  const platform::Status status = inner_.flushFiles(inner);
  return status == platform::status::Success ? injected : status;
}

platform::Status RecordingFiles::flushVolume(std::string_view root) {
  calls.push_back("flush " + std::string(root));
  const platform::Status status = inner_.flushVolume(root);
  if (status != platform::status::Success || !flushHook) return status;
  return flushHook(root);
}

platform::Status RecordingFiles::diskFreeSpace(std::string_view root, platform::DiskSpace& space) {
  const platform::Status status = inner_.diskFreeSpace(root, space);
  if (status != platform::status::Success) return status;
  std::string key(root);
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (const auto fake = fakeFreeSpace.find(key); fake != fakeFreeSpace.end()) {
    space.free = space.availableToCaller = fake->second;
  } else if (!realFreeSpace) {
    ADD_FAILURE() << "the test would wipe the real free space of " << root;
    space.free = space.availableToCaller = 0;
  }
  return status;
}

RecordingPlatform::RecordingPlatform(platform::Platform& inner) : recorder(inner.files()), inner_(inner) {
  platform::setCurrent(this);
}

RecordingPlatform::~RecordingPlatform() { platform::setCurrent(&inner_); }

}  // namespace pgv::test
