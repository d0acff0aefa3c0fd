// Shredder: files, folder trees and free space.

#include "engine/shredder/Shredder.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <vector>

#include "engine/api/EngineError.h"
#include "engine/services/Logger.h"
#include "engine/services/ModuleHelpers.h"
#include "engine/shredder/FileFilter.h"
#include "engine/shredder/FreeSpaceWipe.h"
#include "engine/shredder/OverwritePattern.h"
#include "engine/shredder/ShredBatch.h"
#include "platform/Codepage.h"
#include "platform/Platform.h"

namespace pgv::engine {
namespace {

namespace attr = platform::attr;
namespace status = platform::status;

bool isSeparator(char c) { return c == '\\' || c == '/'; }

// "C:\a\" -> "C:\a", as the folder object reports a folder's path.
std::string withoutTrailingSeparators(std::string path) {
  while (path.size() > 3 && isSeparator(path.back())) path.pop_back();
  return path;
}

// True for a path that names the root of a drive however it is spelled: "C:", "C:\",
// "c:/.", "C:\x\..". Windows drops trailing dots and blanks of a path component.
bool isDriveRoot(std::string_view path) {
  if (path.size() < 2 || path[1] != ':' || !std::isalpha(static_cast<unsigned char>(path[0]))) return false;
  int depth = 0;
  std::string part;
  auto endPart = [&] {
    while (!part.empty() && part != "." && part != ".." && (part.back() == '.' || part.back() == ' ')) {
      part.pop_back();
    }
    if (part == "..") depth = std::max(0, depth - 1);
    else if (!part.empty() && part != ".") ++depth;
    part.clear();
  };
  for (char c : path.substr(2)) {
    if (isSeparator(c)) endPart();
    else part += c;
  }
  endPart();
  return depth == 0;
}

std::string lastComponent(const std::string& path) {
  const auto cut = path.find_last_of("\\/");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// A shortcut is only deleted: any path whose last three characters are "lnk".
bool isShortcut(const std::string& path) {
  return path.size() >= 3 && platform::equalsNoCase(path.substr(path.size() - 3), "lnk");
}

bool isDotEntry(const std::string& name) { return name == "." || name == ".."; }

std::int32_t asResultLength(std::uint64_t size) {
  return static_cast<std::int32_t>(std::min<std::uint64_t>(size, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

// One running operation: the busy pointer and the log text live as long as the outermost.
class Shredder::Operation {
 public:
  explicit Operation(Shredder& shredder) : shredder_(shredder) {
    if (shredder_.depth_++ == 0 && shredder_.cursor_) shredder_.cursor_(true);
  }
  ~Operation() {
    if (--shredder_.depth_ != 0) return;
    shredder_.logSection_.reset();
    if (shredder_.cursor_) shredder_.cursor_(false);
  }
  Operation(const Operation&) = delete;
  Operation& operator=(const Operation&) = delete;

 private:
  Shredder& shredder_;
};

Shredder::Shredder() = default;
Shredder::~Shredder() = default;

platform::Files& Shredder::files() { return platform::current().files(); }

OverwritePattern& Shredder::pattern() {
  if (!pattern_) pattern_ = std::make_unique<OverwritePattern>();
  return *pattern_;
}

Variant Shredder::StopShred(bool bSet) {
  stop_ = bSet;
  return {};
}

bool Shredder::yieldStopped() {
  if (yield_) yield_();
  return stop_;
}

const std::string& Shredder::logSection() {
  if (!logSection_) logSection_ = EngineMessage("msg16") + " ";
  return *logSection_;
}

std::int32_t Shredder::FileShred(const std::string& file) {
  Operation operation(*this);
  platform::FindEntry info;
  if (files().fileInfo(file, info) != status::Success) return 0;
  ShredBatch batch;
  const std::int32_t length = shredInto(batch, file, info);
  finish(batch);
  return length;
}

std::int32_t Shredder::shredInto(ShredBatch& batch, const std::string& file, const platform::FindEntry& info) {
  if (info.attributes & attr::Directory) return 0;
  const std::int32_t length = asResultLength(info.size);
  // A link is removed as a link; what it points at is none of this shred's business.
  if (info.attributes & attr::ReparsePoint) {
    [[maybe_unused]] const platform::Status ignored = files().deleteFile(file);
    return length;
  }
  if (isShortcut(file)) {
    [[maybe_unused]] const platform::Status reset = files().setAttributes(file, attr::Normal);
    [[maybe_unused]] const platform::Status deleted = files().deleteFile(file);
    return length;
  }
  if (info.attributes & (attr::ReadOnly | attr::Hidden | attr::System)) {
    [[maybe_unused]] const platform::Status reset = files().setAttributes(file, attr::Normal);
  }
  std::unique_ptr<platform::FileHandle> handle;
  if (files().open(file, platform::OpenMode::OverwriteExisting, handle) != status::Success) return length;
  std::uint64_t size = info.size;
  if (handle->size(size) != status::Success) return length;
  // The head pattern is written in full even over a shorter file, which grows to it.
  const std::uint64_t toWrite = std::max<std::uint64_t>(size, OverwritePattern::kHeadSize);
  if (!overwrite(*handle, toWrite)) return length;
  batch.add(file, std::move(handle), toWrite);
  return length;
}

// Writes the pattern over the first length bytes, yielding before each block. False when
// a stop request or a failure ended it; the file keeps what was written so far.
bool Shredder::overwrite(platform::FileHandle& file, std::uint64_t length) {
  OverwritePattern& bytes = pattern();
  for (std::uint64_t offset = 0; offset < length;) {
    if (yieldStopped()) return false;
    const auto piece =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(length - offset, OverwritePattern::kBlockSize));
    const std::uint8_t* data = offset == 0 ? bytes.headBlock(piece) : bytes.fillBlock(piece);
    std::uint32_t written = 0;
    if (file.write(data, piece, written) != status::Success) return false;
    offset += piece;
    // A large file starts going to the disk while the rest is still being written.
    if (length > OverwritePattern::kBlockSize) file.startFlush();
  }
  return true;
}

void Shredder::finish(ShredBatch& batch) {
  if (batch.empty()) return;
  for (const std::string& path : batch.flushAndClose(files())) deleteShredded(path);
}

void Shredder::deleteShredded(const std::string& path) {
  if (files().deleteFile(path) != status::Success) {
    // Deletion is forced: a file made read-only meanwhile is made writable again.
    if (files().setAttributes(path, attr::Normal) != status::Success || files().deleteFile(path) != status::Success) {
      return;
    }
  }
  try {
    Logger().AddToLog(logSection(), path);
  } catch (const EngineError&) {
    // A log file that cannot be written never stops a shred.
  }
  if (listener_) listener_->ShowLog(lastComponent(path));
}

std::int32_t Shredder::FolderShred(const std::string& fname, bool DeleteContentsOnly, const std::string& File_Extension,
                                   bool SubDirectoriesIncluded, double Max_fsize, double Min_fsize) {
  Operation operation(*this);
  const FileFilter filter(File_Extension, toByte(Min_fsize), toByte(Max_fsize));
  shredFolder(withoutTrailingSeparators(fname), DeleteContentsOnly, filter, SubDirectoriesIncluded);
  return 0;
}

void Shredder::shredFolder(const std::string& folder, bool contentsOnly, const FileFilter& filter, bool subFolders) {
  if (isDriveRoot(folder)) return;
  platform::FindEntry self;
  if (files().fileInfo(folder, self) != status::Success || !(self.attributes & attr::Directory)) return;
  if (self.attributes & attr::ReparsePoint) {
    // A link to a folder is never walked into: the shred would leave its folder.
    if (!yieldStopped() && !contentsOnly) {
      [[maybe_unused]] const platform::Status ignored = files().removeDirectory(folder);
    }
    return;
  }
  std::vector<platform::FindEntry> entries;
  if (files().find(folder + "\\*", entries) != status::Success) entries.clear();
  if (subFolders) {
    const FileFilter byNameOnly = filter.withoutSizeWindow();
    for (const platform::FindEntry& entry : entries) {
      if (!(entry.attributes & attr::Directory) || isDotEntry(entry.name)) continue;
      if (yieldStopped()) return;
      shredFolder(folder + "\\" + entry.name, contentsOnly, byNameOnly, true);
    }
  }
  shredFiles(folder, entries, filter);
  if (yieldStopped()) return;
  if (!contentsOnly) removeTree(folder);
}

void Shredder::shredFiles(const std::string& folder, const std::vector<platform::FindEntry>& entries,
                          const FileFilter& filter) {
  ShredBatch batch;
  for (const platform::FindEntry& entry : entries) {
    if ((entry.attributes & attr::Directory) || !filter.selects(entry.name, entry.size)) continue;
    shredInto(batch, folder + "\\" + entry.name, entry);
    if (batch.full()) finish(batch);
  }
  finish(batch);
}

// Removes a folder with what is left in it, unshredded, as deleting a folder without
// force does: read-only files stay, and so does the folder that holds them. Links are
// removed as links.
void Shredder::removeTree(const std::string& folder) {
  // Looked at again right before: a folder swapped for a link since the listing is only
  // unlinked, never emptied.
  platform::FindEntry self;
  if (files().fileInfo(folder, self) != status::Success) return;
  if (self.attributes & attr::ReparsePoint) {
    [[maybe_unused]] const platform::Status ignored = files().removeDirectory(folder);
    return;
  }
  std::vector<platform::FindEntry> entries;
  if (files().find(folder + "\\*", entries) == status::Success) {
    for (const platform::FindEntry& entry : entries) {
      if (isDotEntry(entry.name)) continue;
      const std::string path = folder + "\\" + entry.name;
      const bool isFolder = entry.attributes & attr::Directory;
      platform::Status ignored = status::Success;
      if (entry.attributes & attr::ReparsePoint) {
        ignored = isFolder ? files().removeDirectory(path) : files().deleteFile(path);
      } else if (isFolder) {
        removeTree(path);
      } else {
        ignored = files().deleteFile(path);
      }
      (void)ignored;
    }
  }
  [[maybe_unused]] const platform::Status reset = files().setAttributes(folder, attr::Normal);
  [[maybe_unused]] const platform::Status removed = files().removeDirectory(folder);
}

Variant Shredder::ShredFreeSpace(const std::string& drive) {
  Operation operation(*this);
  FreeSpaceWipe::Hooks hooks;
  hooks.yieldStopped = [this] { return yieldStopped(); };
  hooks.progress = [this](double percent) {
    if (listener_) listener_->Progress(percent);
  };
  FreeSpaceWipe wipe(files(), drive.substr(0, 2) + "\\", std::move(hooks));
  try {
    wipe.run();
  } catch (const EngineError&) {
    freeSpace_ = wipe.measuredFree();
    throw;
  }
  freeSpace_ = wipe.measuredFree();
  return {};
}

}  // namespace pgv::engine
