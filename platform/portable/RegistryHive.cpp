// The hive's storage and edits, and the file side of loading and saving: reading a
// registry file line by line and replacing it atomically. Portable backend: POSIX only.

#include "platform/portable/RegistryHive.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/Codepage.h"
#include "platform/portable/RegistryText.h"

namespace pgv::platform {
namespace {

constexpr std::size_t kArenaBlock = 64 * 1024;
constexpr std::size_t kReadChunk = 64 * 1024;

inline char16_t foldName(char16_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? static_cast<char16_t>(c + 32) : c;
  return foldCase(c);
}

template <typename Item, typename NameOf>
std::size_t lowerBound(const std::vector<Item>& items, std::u16string_view name, NameOf nameOf, bool& found) {
  std::size_t low = 0;
  std::size_t high = items.size();
  // Files list names in order, so a lookup while loading usually lands at the end.
  if (high > 0) {
    const int last = compareRegistryNames(nameOf(items[high - 1]), name);
    if (last < 0) {
      found = false;
      return high;
    }
    if (last == 0) {
      found = true;
      return high - 1;
    }
  }
  while (low < high) {
    const std::size_t mid = (low + high) / 2;
    const int c = compareRegistryNames(nameOf(items[mid]), name);
    if (c == 0) {
      found = true;
      return mid;
    }
    if (c < 0) low = mid + 1;
    else high = mid;
  }
  found = false;
  return low;
}

std::string errnoText(int error) { return std::strerror(error); }

Status statusFromErrno(int error) {
  switch (error) {
    case ENOSPC:
    case EDQUOT: return status::DiskFull;
    case EACCES:
    case EPERM:
    case EROFS: return status::AccessDenied;
    case ENOENT: return status::PathNotFound;
    default: return status::RegistryIo;
  }
}

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The file a save must replace: the target of a symbolic link (which need not exist
// yet), else the path itself.
std::string saveTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved)) return resolved;
  const ssize_t n = ::readlink(path.c_str(), resolved, sizeof resolved - 1);
  if (n <= 0) return path;
  const std::string target(resolved, static_cast<std::size_t>(n));
  return target.front() == '/' ? target : folderOf(path) + "/" + target;
}

}  // namespace

std::uint64_t currentFileTime() {
  const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
  const auto ticks = std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch).count() / 100;
  return kTicks1601To1970 + static_cast<std::uint64_t>(ticks);
}

int compareRegistryNames(std::u16string_view a, std::u16string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const char16_t x = foldName(a[i]);
    const char16_t y = foldName(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

RegistryKey* RegistryKey::findSubkey(std::u16string_view subkeyName, std::size_t* index) const {
  bool found = false;
  const std::size_t at =
      lowerBound(subkeys, subkeyName, [](const RegistryKey* k) { return k->nameView(); }, found);
  if (index) *index = at;
  return found ? subkeys[at] : nullptr;
}

const RegistryValue* RegistryKey::findValue(std::u16string_view valueName, std::size_t* index) const {
  bool found = false;
  const std::size_t at =
      lowerBound(values, valueName, [](const RegistryValue& v) { return v.nameView(); }, found);
  if (index) *index = at;
  return found ? &values[at] : nullptr;
}

// ---- arena ----

void* HiveArena::allocate(std::size_t size) {
  size = (size + 1) & ~std::size_t{1};
  if (size == 0) return nullptr;
  if (size > kArenaBlock / 4) {
    // A large item gets a block of its own so the current block keeps its free space.
    auto block = std::make_unique<std::byte[]>(size);
    void* p = block.get();
    blocks_.push_back(std::move(block));
    return p;
  }
  if (size > left_) {
    blocks_.push_back(std::make_unique<std::byte[]>(kArenaBlock));
    next_ = blocks_.back().get();
    left_ = kArenaBlock;
  }
  void* p = next_;
  next_ += size;
  left_ -= size;
  return p;
}

const char16_t* HiveArena::copy(std::u16string_view text) {
  if (text.empty()) return nullptr;
  void* p = allocate(text.size() * sizeof(char16_t));
  std::memcpy(p, text.data(), text.size() * sizeof(char16_t));
  return static_cast<const char16_t*>(p);
}

const std::uint8_t* HiveArena::copy(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return nullptr;
  void* p = allocate(size);
  std::memcpy(p, data, size);
  return static_cast<const std::uint8_t*>(p);
}

// ---- tree edits ----

RegistryHive::RegistryHive(std::string rootPath, std::u16string_view rootName) : rootPath_(std::move(rootPath)) {
  root_ = &newKey();
  setRootName(rootName);
}

void RegistryHive::setRootName(std::u16string_view name) {
  root_->name = arena_.copy(name);
  root_->nameLength = static_cast<std::uint32_t>(name.size());
}

RegistryKey& RegistryHive::newKey() {
  RegistryKey* key;
  if (!freeKeys_.empty()) {
    key = freeKeys_.back();
    freeKeys_.pop_back();
  } else {
    key = &keys_.emplace_back();
  }
  key->hive = this;
  return *key;
}

void RegistryHive::freeKey(RegistryKey& key) {
  key = RegistryKey{};
  freeKeys_.push_back(&key);
}

RegistryKey& RegistryHive::addSubkey(RegistryKey& parent, std::u16string_view name, std::uint64_t now) {
  std::size_t index = 0;
  parent.findSubkey(name, &index);
  RegistryKey& key = newKey();
  key.parent = &parent;
  key.name = arena_.copy(name);
  key.nameLength = static_cast<std::uint32_t>(name.size());
  key.modified = now;
  parent.subkeys.insert(parent.subkeys.begin() + static_cast<std::ptrdiff_t>(index), &key);
  touch(parent, now);
  return key;
}

bool RegistryHive::setValue(RegistryKey& key, std::u16string_view name, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size, std::uint64_t now) {
  std::size_t index = 0;
  auto* existing = const_cast<RegistryValue*>(key.findValue(name, &index));
  if (existing && existing->type == type && existing->size == size &&
      (size == 0 || std::memcmp(existing->data, data, size) == 0)) {
    return false;  // Wine skips a write that changes nothing, time included
  }
  const std::uint8_t* copied = arena_.copy(data, size);
  if (!existing) {
    RegistryValue value;
    value.name = arena_.copy(name);
    value.nameLength = static_cast<std::uint32_t>(name.size());
    existing = &*key.values.insert(key.values.begin() + static_cast<std::ptrdiff_t>(index), value);
  }
  existing->type = type;
  existing->size = size;
  existing->data = copied;
  touch(key, now);
  return true;
}

bool RegistryHive::deleteValue(RegistryKey& key, std::u16string_view name, std::uint64_t now) {
  std::size_t index = 0;
  if (!key.findValue(name, &index)) return false;
  key.values.erase(key.values.begin() + static_cast<std::ptrdiff_t>(index));
  touch(key, now);
  return true;
}

void RegistryHive::deleteKey(RegistryKey& key, std::uint64_t now) {
  RegistryKey* parent = key.parent;
  if (parent) {
    auto& siblings = parent->subkeys;
    siblings.erase(std::find(siblings.begin(), siblings.end(), &key));
    touch(*parent, now);
  }
  key.parent = nullptr;
  key.flags |= keyflag::Deleted;
  if (key.handleCount == 0) freeKey(key);
}

void RegistryHive::release(RegistryKey& key) {
  if (key.handleCount > 0) --key.handleCount;
  if (key.handleCount == 0 && key.is(keyflag::Deleted)) freeKey(key);
}

void RegistryHive::setClass(RegistryKey& key, std::u16string_view className) {
  key.className = arena_.copy(className);
  key.classLength = static_cast<std::uint32_t>(className.size());
  key.flags |= keyflag::HasClass;
}

void RegistryHive::touch(RegistryKey& key, std::uint64_t now) {
  key.modified = now;
  dirty_ = true;
}

// ---- line input and output ----

TextLines::TextLines(std::string_view text, std::size_t maxLine) : rest_(text), maxLine_(maxLine) {}

LineSource::Result TextLines::next(std::string_view& line) {
  if (rest_.empty()) return Result::End;
  const auto newline = rest_.find('\n');
  const std::size_t length = newline == std::string_view::npos ? rest_.size() : newline;
  if (length > maxLine_) return Result::TooLong;
  line = rest_.substr(0, length);
  rest_.remove_prefix(newline == std::string_view::npos ? rest_.size() : newline + 1);
  return Result::Line;
}

FileLines::FileLines(int fd, std::size_t maxLine) : fd_(fd), maxLine_(maxLine), buffer_(kReadChunk) {}

bool FileLines::fill() {
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);
  for (;;) {
    const ssize_t n = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      errno_ = errno;
      return false;
    }
    if (n == 0) eof_ = true;
    end_ += static_cast<std::size_t>(n);
    return true;
  }
}

LineSource::Result FileLines::next(std::string_view& line) {
  for (;;) {
    const char* start = buffer_.data() + begin_;
    const std::size_t pending = end_ - begin_;
    if (const void* nl = std::memchr(start + scanned_, '\n', pending - scanned_)) {
      const auto length = static_cast<std::size_t>(static_cast<const char*>(nl) - start);
      if (length > maxLine_) return Result::TooLong;
      line = std::string_view(start, length);
      begin_ += length + 1;
      scanned_ = 0;
      return Result::Line;
    }
    scanned_ = pending;
    if (pending > maxLine_) return Result::TooLong;
    if (eof_) {
      if (pending == 0) return Result::End;
      line = std::string_view(start, pending);
      begin_ = end_;
      scanned_ = 0;
      return Result::Line;
    }
    if (!fill()) return Result::ReadError;
  }
}

bool FileSink::write(std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(fd_, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      errno_ = errno;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// ---- files ----

bool RegistryHive::loadFile(const std::string& path, RegistryHive& hive, std::uint64_t now, bool& missing,
                            std::string& error) {
  missing = false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) {
      missing = true;
      return true;
    }
    error = "cannot read registry file " + path + ": " + errnoText(errno);
    return false;
  }
  FileLines lines(fd, kMaxRegistryLine);
  HiveParseError parseError;
  const bool ok = hive.parse(lines, now, parseError);
  ::close(fd);
  if (ok) return true;
  error = "cannot read registry file " + path;
  if (parseError.line > 0) error += ", line " + std::to_string(parseError.line);
  error += ": " + parseError.message;
  return false;
}

Status RegistryHive::saveFile(const std::string& path, std::string& error) const {
  const std::string target = saveTarget(path);
  const std::string temp = target + ".tmp";
  auto fail = [&](const char* what, int err) {
    error = std::string("cannot ") + what + " registry file " + target + ": " + errnoText(err);
    return statusFromErrno(err);
  };
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return fail("write", errno);
  FileSink sink(fd);
  if (!write(sink)) {
    const int err = sink.error();
    ::close(fd);
    ::unlink(temp.c_str());
    return fail("write", err);
  }
  if (::fsync(fd) != 0) {
    const int err = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    return fail("flush", err);
  }
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    return fail("write", err);
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    return fail("replace", err);
  }
  // Make the rename itself durable.
  const int dir = ::open(folderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return status::Success;
}

}  // namespace pgv::platform
