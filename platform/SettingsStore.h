#pragma once
// The per-user application settings store (VB's GetSetting / SaveSetting): application,
// section and key name one text value. It lives where Windows keeps it,
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, one
// string value per key. Texts are the program's Unicode (UTF-8).

#include <optional>
#include <string>
#include <string_view>

namespace pgv::platform {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // GetSetting: the stored text, or defaultValue when it is not set.
  virtual std::string get(std::string_view app, std::string_view section, std::string_view key,
                          std::string_view defaultValue = {}) = 0;
  // SaveSetting. Returns false when the store cannot be written.
  virtual bool save(std::string_view app, std::string_view section, std::string_view key,
                    std::string_view value) = 0;
  // DeleteSetting of one key.
  virtual bool remove(std::string_view app, std::string_view section, std::string_view key) = 0;
};

}  // namespace pgv::platform
