// The free-space wipe of one drive.

#include "engine/shredder/FreeSpaceWipe.h"

#include <algorithm>
#include <cctype>

#include "engine/api/EngineError.h"
#include "platform/Codepage.h"

namespace pgv::engine {
namespace {

constexpr const char* kErrorSource = "PGVX.Shredder";
constexpr std::string_view kFillerPrefix = "TmpShred.";
// Fillers written but not yet flushed are kept open, up to this many, and then put on the
// disk together.
constexpr std::size_t kMaxUnflushed = 64;

bool isDiskFull(platform::Status status) {
  return status == platform::status::DiskFull || status == platform::status::HandleDiskFull;
}

// The error a file statement raises for a platform failure.
EngineError fileError(platform::Status status, const std::string& path) {
  switch (status) {
    case platform::status::FileNotFound: return EngineError(53, kErrorSource, "File not found: " + path);
    case platform::status::PathNotFound: return EngineError(76, kErrorSource, "Path not found: " + path);
    case platform::status::AccessDenied:
    case platform::status::SharingViolation: return EngineError(70, kErrorSource, "Permission denied: " + path);
    case platform::status::FileExists:
    case platform::status::AlreadyExists: return EngineError(58, kErrorSource, "File already exists: " + path);
    default: return EngineError(75, kErrorSource, "Path/File access error: " + path);
  }
}

}  // namespace

FreeSpaceWipe::FreeSpaceWipe(platform::Files& files, std::string root, Hooks hooks)
    : files_(files), root_(std::move(root)), hooks_(std::move(hooks)) {}

FreeSpaceWipe::~FreeSpaceWipe() = default;

bool FreeSpaceWipe::isFillerName(const std::string& name) {
  if (name.size() <= kFillerPrefix.size() ||
      !platform::equalsNoCase(name.substr(0, kFillerPrefix.size()), kFillerPrefix)) {
    return false;
  }
  const std::string tail = name.substr(kFillerPrefix.size());
  if (tail == "x" || tail == "X") return true;
  return std::all_of(tail.begin(), tail.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

void FreeSpaceWipe::run() {
  removeLeftovers();
  measuredFree_ = measureFreeSpace();
  const std::uint64_t chunkCount = measuredFree_ / kChunkSize;
  const double chunkFraction = static_cast<double>(measuredFree_) / static_cast<double>(kChunkSize);
  try {
    if (!fillChunks(chunkCount, chunkFraction)) {
      deleteFillers();
      return;
    }
    flushPending();
  } catch (...) {
    try {
      deleteFillers();
    } catch (...) {
      // The first failure is the one reported.
    }
    throw;
  }
  deleteFillers();
  hooks_.progress(100);
}

// False when a stop request ended the filling.
bool FreeSpaceWipe::fillChunks(std::uint64_t chunkCount, double chunkFraction) {
  for (std::uint64_t i = 1; i <= chunkCount; ++i) {
    if (hooks_.yieldStopped()) return false;
    if (writeFiller(std::string(kFillerPrefix) + std::to_string(i), kChunkSize) == Outcome::DriveFull) return true;
    hooks_.progress(static_cast<double>(i) * 100.0 / chunkFraction);
  }
  writeFiller(std::string(kFillerPrefix) + "x", measuredFree_ % kChunkSize);
  return true;
}

void FreeSpaceWipe::removeLeftovers() {
  std::vector<platform::FindEntry> entries;
  if (files_.find(root_ + std::string(kFillerPrefix) + "*", entries) != platform::status::Success) return;
  for (const platform::FindEntry& entry : entries) {
    if (!isFillerName(entry.name) || (entry.attributes & platform::attr::Directory)) continue;
    const std::string path = root_ + entry.name;
    if (files_.deleteFile(path) != platform::status::Success &&
        files_.setAttributes(path, platform::attr::Normal) == platform::status::Success) {
      [[maybe_unused]] const platform::Status ignored = files_.deleteFile(path);
    }
  }
}

std::uint64_t FreeSpaceWipe::measureFreeSpace() {
  platform::DiskSpace space;
  if (files_.diskFreeSpace(root_, space) != platform::status::Success) {
    throw EngineError(68, kErrorSource, "Device unavailable: " + root_);
  }
  return space.availableToCaller;
}

FreeSpaceWipe::Outcome FreeSpaceWipe::writeFiller(const std::string& name, std::uint64_t size) {
  const std::string path = root_ + name;
  std::unique_ptr<platform::FileHandle> file;
  const platform::Status opened = files_.open(path, platform::OpenMode::CreateNew, file);
  if (isDiskFull(opened)) return Outcome::DriveFull;
  if (opened != platform::status::Success) fail(opened, path);
  fillers_.push_back(path);
  if (chunk_.empty()) chunk_.assign(kChunkSize, kFillCharacter);

  Outcome outcome = Outcome::Written;
  for (std::uint64_t left = size; left > 0;) {
    const auto piece = static_cast<std::uint32_t>(std::min<std::uint64_t>(left, kChunkSize));
    std::uint32_t written = 0;
    const platform::Status status = file->write(chunk_.data(), piece, written);
    if (isDiskFull(status)) {
      outcome = Outcome::DriveFull;
      break;
    }
    if (status != platform::status::Success) fail(status, path);
    left -= piece;
  }
  file->startFlush();
  unflushed_.push_back(std::move(file));
  if (unflushed_.size() >= kMaxUnflushed) flushPending();
  return outcome;
}

// The whole drive is flushed at once where the platform can: that also writes what the
// file system keeps about the fillers (block maps, which take free space too), and costs
// one flush for many fillers. Elsewhere each filler is flushed on its own.
void FreeSpaceWipe::flushPending() {
  if (unflushed_.empty()) return;
  platform::Status status = files_.flushVolume(root_);
  if (status != platform::status::Success) {
    status = platform::status::Success;
    for (const auto& file : unflushed_) {
      if (const platform::Status s = file->flush(); s != platform::status::Success) status = s;
    }
  }
  unflushed_.clear();
  // A drive that turns out full while the data is written is just as full; anything
  // else means the filler data may not be on the disk.
  if (status != platform::status::Success && !isDiskFull(status)) fail(status, root_);
}

void FreeSpaceWipe::deleteFillers() {
  unflushed_.clear();
  platform::Status firstFailure = platform::status::Success;
  std::string failedPath;
  for (const std::string& path : fillers_) {
    const platform::Status status = files_.deleteFile(path);
    if (status != platform::status::Success && status != platform::status::FileNotFound &&
        firstFailure == platform::status::Success) {
      firstFailure = status;
      failedPath = path;
    }
  }
  fillers_.clear();
  if (firstFailure != platform::status::Success) fail(firstFailure, failedPath);
}

void FreeSpaceWipe::fail(platform::Status status, const std::string& path) { throw fileError(status, path); }

}  // namespace pgv::engine
