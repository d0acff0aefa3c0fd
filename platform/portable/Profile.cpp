// The private-profile (INI file) functions over the machine's files.
// No operating-system calls here: files are reached through the Files interface.

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/Codepage.h"
#include "platform/portable/PortableProfile.h"

namespace pgv::platform::portable {
namespace {

constexpr std::string_view kTemporarySuffix = ".pgvnew";
constexpr std::uint32_t kReadChunk = 64 * 1024;

// --- Buffer layouts of the A functions -------------------------------------------------

// A single string: as much as fits before the terminating NUL. Returns its length.
std::uint32_t copyText(std::string_view text, char* buffer, std::uint32_t size) {
  const auto length = static_cast<std::uint32_t>(std::min<std::size_t>(text.size(), size - 1));
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return length;
}

// The empty list: two NULs where they fit.
std::uint32_t copyEmptyList(char* buffer, std::uint32_t size) {
  buffer[0] = '\0';
  if (size >= 2) buffer[1] = '\0';
  return 0;
}

// A complete list (every item followed by its NUL) and the closing NUL, when it fits.
bool copyWholeList(const std::string& list, char* buffer, std::uint32_t size, std::uint32_t& count) {
  if (list.size() + 1 > size) return false;
  std::memcpy(buffer, list.data(), list.size());
  buffer[list.size()] = '\0';
  count = static_cast<std::uint32_t>(list.size());
  return true;
}

// Section names and key names: a list that does not fit is cut after size-2 characters
// and closed with one NUL at buffer[size-2]; buffer[size-1] is left as it was. Returns
// size-2 then.
std::uint32_t copyNameList(const std::string& list, char* buffer, std::uint32_t size) {
  std::uint32_t count = 0;
  if (list.empty()) return copyEmptyList(buffer, size);
  if (copyWholeList(list, buffer, size, count)) return count;
  if (size == 1) return copyEmptyList(buffer, size);
  const std::uint32_t kept = size - 2;
  std::memcpy(buffer, list.data(), kept);
  buffer[kept] = '\0';
  return kept;
}

// Section lines: a list that does not fit is cut after size-2 characters and closed
// with two NULs. With a one-character buffer only one NUL is written (Windows writes a
// second one past the end of the buffer).
std::uint32_t copySectionLines(const std::string& list, char* buffer, std::uint32_t size) {
  std::uint32_t count = 0;
  if (list.empty()) return copyEmptyList(buffer, size);
  if (copyWholeList(list, buffer, size, count)) return count;
  if (size == 1) return copyEmptyList(buffer, size);
  const std::uint32_t kept = size - 2;
  std::memcpy(buffer, list.data(), kept);
  buffer[kept] = '\0';
  buffer[kept + 1] = '\0';
  return kept;
}

// --- Texts -------------------------------------------------------------------------------

std::u16string wide(const char* ansi) { return ansi ? ansiToUtf16(ansi) : std::u16string(); }

// One matching pair of double or single quotes around the whole text is removed.
std::u16string_view withoutQuotes(std::u16string_view text) {
  if (text.size() >= 2 && (text.front() == u'"' || text.front() == u'\'') && text.back() == text.front()) {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

// The default of GetPrivateProfileStringA loses its trailing spaces (not its leading ones).
std::u16string_view withoutTrailingSpaces(std::u16string_view text) {
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  return text;
}

void appendItem(std::string& list, std::u16string_view item) {
  list += utf16ToAnsi(item);
  list += '\0';
}

std::string sectionNameList(const ProfileDocument& document) {
  std::string list;
  // sections[0] holds the lines before the first header and has no name to list.
  for (std::size_t i = 1; i < document.sections.size(); ++i) {
    if (!document.sections[i].name.empty()) appendItem(list, document.sections[i].name);
  }
  return list;
}

// The key names of a section: comments and lines without '=' are not keys.
std::string keyNameList(const ProfileDocument& document, std::u16string_view sectionName) {
  std::string list;
  if (const ProfileSection* section = document.findSection(sectionName)) {
    for (const ProfileLine& line : section->lines) {
      if (!line.isComment() && line.value) appendItem(list, line.name);
    }
  }
  return list;
}

// The raw lines of a section, "key=value" or the bare text, without comments.
std::string sectionLineList(const ProfileDocument& document, std::u16string_view sectionName) {
  std::string list;
  if (const ProfileSection* section = document.findSection(sectionName)) {
    for (const ProfileLine& line : section->lines) {
      if (line.isComment()) continue;
      appendItem(list, line.value ? line.name + u"=" + *line.value : line.name);
    }
  }
  return list;
}

// --- Changes -----------------------------------------------------------------------------
// Each returns true when the document changed.

bool setValue(ProfileDocument& document, std::u16string_view sectionName, std::u16string_view keyName,
              std::u16string_view value) {
  const std::u16string newValue(trimProfileBlanks(value));
  ProfileSection* section = document.findSection(sectionName);
  if (!section) {
    document.sections.push_back(ProfileSection{std::u16string(trimProfileBlanks(sectionName)), {}});
    section = &document.sections.back();
  }
  ProfileLine* line = findLine(*section, keyName);
  if (!line) {
    section->lines.push_back(ProfileLine{std::u16string(trimProfileBlanks(keyName)), newValue});
    return true;
  }
  if (line->value == newValue) return false;
  line->value = newValue;
  return true;
}

// Removes the first line of that name in the sections of that name.
bool deleteKey(ProfileDocument& document, std::u16string_view sectionName, std::u16string_view keyName) {
  for (ProfileSection& section : document.sections) {
    if (!sameProfileName(section.name, trimProfileBlanks(sectionName))) continue;
    auto& lines = section.lines;
    const std::u16string_view wanted = trimProfileBlanks(keyName);
    const auto found = std::find_if(lines.begin(), lines.end(),
                                    [&](const ProfileLine& line) { return sameProfileName(line.name, wanted); });
    if (found != lines.end()) {
      lines.erase(found);
      return true;
    }
  }
  return false;
}

// Removes the first section of that name, header and lines.
bool deleteSection(ProfileDocument& document, std::u16string_view sectionName) {
  ProfileSection* section = document.findSection(sectionName);
  if (!section) return false;
  if (section == &document.sections.front()) {  // the nameless part keeps its place
    const bool hadLines = !section->lines.empty();
    section->lines.clear();
    return hadLines;
  }
  document.sections.erase(document.sections.begin() + (section - document.sections.data()));
  return true;
}

Status writeAll(FileHandle& file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const auto chunk = static_cast<std::uint32_t>(std::min<std::size_t>(bytes.size() - done, kReadChunk));
    std::uint32_t written = 0;
    if (Status s = file.write(bytes.data() + done, chunk, written); s != status::Success) return s;
    if (written == 0) return status::WriteFault;
    done += written;
  }
  return status::Success;
}

}  // namespace

PortableProfile::PortableProfile(Files& files, std::string windowsDirectory)
    : files_(files), windowsDirectory_(std::move(windowsDirectory)) {
  while (!windowsDirectory_.empty() && windowsDirectory_.back() == '\\') windowsDirectory_.pop_back();
}

std::string PortableProfile::resolvePath(std::string_view fileName) const {
  const std::string name = fileName.empty() ? std::string("win.ini") : std::string(fileName);
  if (name.find_first_of("\\/:") == std::string::npos) return windowsDirectory_ + "\\" + name;
  return name;
}

Status PortableProfile::readWholeFile(const std::string& path, std::string& bytes) {
  std::unique_ptr<FileHandle> file;
  if (Status s = files_.open(path, OpenMode::Read, file); s != status::Success) return s;
  std::string chunk(kReadChunk, '\0');
  for (;;) {
    std::uint32_t got = 0;
    if (Status s = file->read(chunk.data(), kReadChunk, got); s != status::Success) return s;
    if (got == 0) return status::Success;
    bytes.append(chunk.data(), got);
  }
}

Status PortableProfile::load(const std::string& path, ProfileDocument& document) {
  std::string bytes;
  const Status s = readWholeFile(path, bytes);
  document = s == status::Success ? parseProfile(bytes) : ProfileDocument{};
  if (s != status::Success) lastError_ = s;
  return s;
}

Status PortableProfile::checkWritable(const std::string& path) {
  const std::uint32_t attributes = files_.attributes(path);
  if (attributes == attr::Invalid) return status::Success;  // a new file
  if (attributes & (attr::Directory | attr::ReadOnly)) return status::AccessDenied;
  return status::Success;
}

Status PortableProfile::save(const std::string& path, const ProfileDocument& document) {
  const std::string temporary = path + std::string(kTemporarySuffix);
  std::unique_ptr<FileHandle> file;
  Status s = files_.open(temporary, OpenMode::CreateAlways, file);
  if (s != status::Success) return s;
  s = writeAll(*file, serializeProfile(document));
  if (s == status::Success) s = file->flush();
  file.reset();  // closed before it is renamed
  if (s == status::Success) s = files_.moveFile(temporary, path, true);
  if (s != status::Success) (void)files_.deleteFile(temporary);
  return s;
}

std::uint32_t PortableProfile::getString(const char* section, const char* key, const char* defaultValue,
                                         char* buffer, std::uint32_t size, std::string_view fileName) {
  lastError_ = status::Success;
  if (!buffer || size == 0) return 0;
  if (!section) return getSectionNames(buffer, size, fileName);
  ProfileDocument document;
  load(resolvePath(fileName), document);
  const std::u16string defaultText = wide(defaultValue);
  if (!key) {
    const std::string keys = keyNameList(document, wide(section));
    if (!keys.empty()) return copyNameList(keys, buffer, size);
    return copyText(utf16ToAnsi(withoutQuotes(defaultText)), buffer, size);
  }
  std::u16string_view text = withoutTrailingSpaces(defaultText);
  const ProfileSection* found = document.findSection(wide(section));
  const ProfileLine* line = found ? findLine(*found, wide(key)) : nullptr;
  if (line && line->value) text = *line->value;
  return copyText(utf16ToAnsi(withoutQuotes(text)), buffer, size);
}

std::uint32_t PortableProfile::getSectionNames(char* buffer, std::uint32_t size, std::string_view fileName) {
  lastError_ = status::Success;
  if (!buffer || size == 0) return 0;
  ProfileDocument document;
  load(resolvePath(fileName), document);
  return copyNameList(sectionNameList(document), buffer, size);
}

std::uint32_t PortableProfile::getSection(const char* section, char* buffer, std::uint32_t size,
                                          std::string_view fileName) {
  lastError_ = status::Success;
  if (!section || !buffer) {
    lastError_ = status::InvalidParameter;
    return 0;
  }
  if (size == 0) return 0;
  ProfileDocument document;
  load(resolvePath(fileName), document);
  return copySectionLines(sectionLineList(document, wide(section)), buffer, size);
}

bool PortableProfile::writeString(const char* section, const char* key, const char* value,
                                  std::string_view fileName) {
  lastError_ = status::Success;
  if (!section) {  // what Windows reports for a write without a section
    lastError_ = status::FileNotFound;
    return false;
  }
  const std::string path = resolvePath(fileName);
  ProfileDocument document;
  if (Status s = load(path, document); s != status::Success && s != status::FileNotFound) return false;
  lastError_ = checkWritable(path);
  if (lastError_ != status::Success) return false;

  bool changed = false;
  if (!key) {
    changed = deleteSection(document, wide(section));
  } else if (!value) {
    changed = deleteKey(document, wide(section), wide(key));
  } else {
    changed = setValue(document, wide(section), wide(key), wide(value));
  }
  if (!changed) return true;
  lastError_ = save(path, document);
  return lastError_ == status::Success;
}

}  // namespace pgv::platform::portable
