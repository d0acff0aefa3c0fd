#pragma once
// The private-profile functions of the portable backend. INI files are read and written
// through Files, so their paths are Windows paths of the machine; a bare file name is a
// file in the Windows directory, as on Windows. Every call reads the file afresh; a
// write that changes something rewrites the whole file from its parsed form
// (see ProfileDocument.h) into a temporary file beside it and then replaces the file, so
// a failed write never leaves a half-written INI file behind.
//
// Deviation from Wine kept on purpose: GetPrivateProfileSectionA with a one-character
// buffer writes one NUL and never a byte past the buffer.

#include <string>

#include "platform/Files.h"
#include "platform/Profile.h"
#include "platform/Status.h"
#include "platform/portable/ProfileDocument.h"

namespace pgv::platform::portable {

class PortableProfile : public Profile {
 public:
  // windowsDirectory: where bare file names live ("C:\WINDOWS").
  PortableProfile(Files& files, std::string windowsDirectory);

  std::uint32_t getString(const char* section, const char* key, const char* defaultValue, char* buffer,
                          std::uint32_t size, std::string_view fileName) override;
  bool writeString(const char* section, const char* key, const char* value, std::string_view fileName) override;
  std::uint32_t getSectionNames(char* buffer, std::uint32_t size, std::string_view fileName) override;
  std::uint32_t getSection(const char* section, char* buffer, std::uint32_t size,
                           std::string_view fileName) override;
  long lastError() const override { return lastError_; }

  // The Windows path a file name stands for: a name without a folder (or an empty name,
  // which means win.ini) is taken from the Windows directory.
  std::string resolvePath(std::string_view fileName) const;

 private:
  // Reads and parses the file. FileNotFound gives an empty document; other failures
  // are returned as they are (the document is then empty too).
  Status load(const std::string& path, ProfileDocument& document);
  Status readWholeFile(const std::string& path, std::string& bytes);
  // Writes the document to path through a temporary file beside it.
  Status save(const std::string& path, const ProfileDocument& document);
  Status checkWritable(const std::string& path);

  Files& files_;
  std::string windowsDirectory_;
  Status lastError_ = status::Success;
};

}  // namespace pgv::platform::portable
