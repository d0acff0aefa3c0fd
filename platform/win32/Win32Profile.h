#pragma once
// Win32 backend only: the Profile interface over kernel32.

#include "platform/Profile.h"

namespace pgv::platform::win32 {

class Win32Profile : public Profile {
 public:
  std::uint32_t getString(const char* section, const char* key, const char* defaultValue, char* buffer,
                          std::uint32_t size, std::string_view fileName) override;
  bool writeString(const char* section, const char* key, const char* value, std::string_view fileName) override;
  std::uint32_t getSectionNames(char* buffer, std::uint32_t size, std::string_view fileName) override;
  std::uint32_t getSection(const char* section, char* buffer, std::uint32_t size, std::string_view fileName) override;
  long lastError() const override { return lastError_; }

 private:
  long lastError_ = 0;
};

}  // namespace pgv::platform::win32
