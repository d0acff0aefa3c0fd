// The per-user application settings store over the registry interface.
// No operating-system calls here.

#include <vector>

#include "platform/Codepage.h"
#include "platform/common/RegistrySettingsStore.h"

namespace pgv::platform {
namespace {

constexpr std::string_view kSettingsRoot = "Software\\VB and VBA Program Settings\\";

bool addressesSomething(std::string_view app, std::string_view section) { return !app.empty() && !section.empty(); }

// Closes a key handle when it goes out of scope.
class KeyCloser {
 public:
  KeyCloser(Registry& registry, HKEY key) : registry_(registry), key_(key) {}
  ~KeyCloser() { registry_.closeKey(key_); }
  KeyCloser(const KeyCloser&) = delete;
  KeyCloser& operator=(const KeyCloser&) = delete;

 private:
  Registry& registry_;
  HKEY key_;
};

}  // namespace

RegistrySettingsStore::RegistrySettingsStore(Registry& registry) : registry_(registry) {}

std::string RegistrySettingsStore::sectionKeyPath(std::string_view app, std::string_view section) {
  return std::string(kSettingsRoot) + utf8ToAnsi(app) + "\\" + utf8ToAnsi(section);
}

std::string RegistrySettingsStore::get(std::string_view app, std::string_view section, std::string_view key,
                                       std::string_view defaultValue) {
  HKEY handle = 0;
  if (!addressesSomething(app, section) ||
      registry_.openKey(HKEY_CURRENT_USER, sectionKeyPath(app, section), regaccess::QueryValue, handle) !=
          status::Success) {
    return std::string(defaultValue);
  }
  KeyCloser closer(registry_, handle);
  const std::string valueName = utf8ToAnsi(key);
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (registry_.queryValue(handle, valueName, &type, nullptr, &size) != status::Success ||
      (type != regtype::Sz && type != regtype::ExpandSz)) {
    return std::string(defaultValue);
  }
  std::vector<std::uint8_t> data(size + 1, 0);
  if (registry_.queryValue(handle, valueName, &type, data.data(), &size) != status::Success) {
    return std::string(defaultValue);
  }
  return ansiToUtf8(reinterpret_cast<const char*>(data.data()));  // up to the first NUL
}

bool RegistrySettingsStore::save(std::string_view app, std::string_view section, std::string_view key,
                                 std::string_view value) {
  HKEY handle = 0;
  if (!addressesSomething(app, section) ||
      registry_.createKey(HKEY_CURRENT_USER, sectionKeyPath(app, section), regaccess::AllAccess, handle,
                          nullptr) != status::Success) {
    return false;
  }
  KeyCloser closer(registry_, handle);
  const std::string data = utf8ToAnsi(value);
  return registry_.setValue(handle, utf8ToAnsi(key), regtype::Sz, reinterpret_cast<const std::uint8_t*>(data.c_str()),
                            static_cast<std::uint32_t>(data.size() + 1)) == status::Success;
}

bool RegistrySettingsStore::remove(std::string_view app, std::string_view section, std::string_view key) {
  HKEY handle = 0;
  if (!addressesSomething(app, section) ||
      registry_.openKey(HKEY_CURRENT_USER, sectionKeyPath(app, section), regaccess::SetValue, handle) !=
          status::Success) {
    return false;
  }
  KeyCloser closer(registry_, handle);
  return registry_.deleteValue(handle, utf8ToAnsi(key)) == status::Success;
}

}  // namespace pgv::platform
