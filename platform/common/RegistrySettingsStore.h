#pragma once
// The per-user application settings store kept where Windows keeps it, in the registry:
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, one
// REG_SZ value per key. Names and texts cross the registry in code page 1252. An empty
// application or section name addresses nothing (reads give the default, writes fail).

#include "platform/Registry.h"
#include "platform/SettingsStore.h"

namespace pgv::platform {

class RegistrySettingsStore : public SettingsStore {
 public:
  explicit RegistrySettingsStore(Registry& registry);

  std::string get(std::string_view app, std::string_view section, std::string_view key,
                  std::string_view defaultValue = {}) override;
  bool save(std::string_view app, std::string_view section, std::string_view key,
            std::string_view value) override;
  bool remove(std::string_view app, std::string_view section, std::string_view key) override;

  // "Software\VB and VBA Program Settings\<app>\<section>" in code page 1252.
  static std::string sectionKeyPath(std::string_view app, std::string_view section);

 private:
  Registry& registry_;
};

}  // namespace pgv::platform
