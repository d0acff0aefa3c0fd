#include "tests/support/MemoryRegistry.h"

#include <algorithm>
#include <cstring>

#include "platform/Codepage.h"

namespace pgv::test {
namespace st = platform::status;
using platform::HKEY;

namespace {

std::u16string folded(std::string_view ansiName) {
  std::u16string name = platform::ansiToUtf16(ansiName);
  for (char16_t& c : name) c = platform::foldCase(c);
  return name;
}

std::vector<std::string> splitPath(std::string_view path) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

}  // namespace

MemoryRegistry::MemoryRegistry() {
  for (HKEY root : {platform::HKEY_CLASSES_ROOT, platform::HKEY_CURRENT_USER, platform::HKEY_LOCAL_MACHINE,
                    platform::HKEY_USERS}) {
    roots_[root] = std::make_unique<Key>();
  }
}

MemoryRegistry::Key* MemoryRegistry::keyOf(HKEY handle) {
  if (auto root = roots_.find(handle); root != roots_.end()) return root->second.get();
  auto open = handles_.find(handle);
  return open == handles_.end() ? nullptr : open->second;
}

HKEY MemoryRegistry::newHandle(Key* key) {
  const HKEY handle = nextHandle_++;
  handles_[handle] = key;
  return handle;
}

platform::Status MemoryRegistry::walk(HKEY parent, std::string_view subKey, bool create, Key*& found, bool* created) {
  Key* key = keyOf(parent);
  if (!key) return st::InvalidHandle;
  if (!subKey.empty() && subKey.front() == '\\') return st::BadPathname;
  if (created) *created = false;
  for (const std::string& part : splitPath(subKey)) {
    auto& slot = key->subKeys[folded(part)];
    if (!slot) {
      if (!create) {
        key->subKeys.erase(folded(part));
        return st::FileNotFound;
      }
      slot = std::make_unique<Key>();
      slot->name = part;
      dirty_ = true;
      if (created) *created = true;
    }
    key = slot.get();
  }
  found = key;
  return st::Success;
}

platform::Status MemoryRegistry::openKey(HKEY parent, std::string_view subKey, std::uint32_t, HKEY& result) {
  Key* key = nullptr;
  if (platform::Status s = walk(parent, subKey, false, key, nullptr); s != st::Success) return s;
  result = newHandle(key);
  return st::Success;
}

platform::Status MemoryRegistry::createKey(HKEY parent, std::string_view subKey, std::uint32_t, HKEY& result,
                                           std::uint32_t* disposition) {
  Key* key = nullptr;
  bool created = false;
  if (platform::Status s = walk(parent, subKey, true, key, &created); s != st::Success) return s;
  if (disposition) *disposition = created ? platform::REG_CREATED_NEW_KEY : platform::REG_OPENED_EXISTING_KEY;
  result = newHandle(key);
  return st::Success;
}

platform::Status MemoryRegistry::queryValue(HKEY handle, std::string_view valueName, std::uint32_t* type,
                                            std::uint8_t* data, std::uint32_t* size) {
  Key* key = keyOf(handle);
  if (!key) return st::InvalidHandle;
  auto found = key->values.find(folded(valueName));
  if (found == key->values.end()) return st::FileNotFound;
  const Value& value = found->second;
  if (type) *type = value.type;
  if (!size) return data ? st::InvalidParameter : st::Success;
  const auto needed = static_cast<std::uint32_t>(value.data.size());
  if (data && *size < needed) {
    *size = needed;
    return st::MoreData;
  }
  if (data) std::memcpy(data, value.data.data(), needed);
  *size = needed;
  return st::Success;
}

platform::Status MemoryRegistry::setValue(HKEY handle, std::string_view valueName, std::uint32_t type,
                                          const std::uint8_t* data, std::uint32_t size) {
  Key* key = keyOf(handle);
  if (!key) return st::InvalidHandle;
  Value& value = key->values[folded(valueName)];
  if (value.name.empty()) value.name = std::string(valueName);
  value.type = type;
  value.data.assign(data, data + size);
  dirty_ = true;
  return st::Success;
}

platform::Status MemoryRegistry::deleteKey(HKEY parent, std::string_view subKey) {
  const std::vector<std::string> parts = splitPath(subKey);
  if (parts.empty()) return st::AccessDenied;
  Key* owner = nullptr;
  const std::size_t cut = subKey.rfind('\\');
  const std::string_view ownerPath = cut == std::string_view::npos ? std::string_view() : subKey.substr(0, cut);
  if (platform::Status s = walk(parent, ownerPath, false, owner, nullptr); s != st::Success) return s;
  auto found = owner->subKeys.find(folded(parts.back()));
  if (found == owner->subKeys.end()) return st::FileNotFound;
  if (!found->second->subKeys.empty()) return st::AccessDenied;
  for (auto it = handles_.begin(); it != handles_.end();) {
    it = it->second == found->second.get() ? handles_.erase(it) : std::next(it);
  }
  owner->subKeys.erase(found);
  dirty_ = true;
  return st::Success;
}

platform::Status MemoryRegistry::deleteValue(HKEY handle, std::string_view valueName) {
  Key* key = keyOf(handle);
  if (!key) return st::InvalidHandle;
  if (key->values.erase(folded(valueName)) == 0) return st::FileNotFound;
  dirty_ = true;
  return st::Success;
}

platform::Status MemoryRegistry::enumKey(HKEY handle, std::uint32_t index, char* name, std::uint32_t nameSize) {
  Key* key = keyOf(handle);
  if (!key) return st::InvalidHandle;
  if (index >= key->subKeys.size()) return st::NoMoreItems;
  const std::string& found = std::next(key->subKeys.begin(), index)->second->name;
  if (found.size() + 1 > nameSize) return st::MoreData;
  std::memcpy(name, found.c_str(), found.size() + 1);
  return st::Success;
}

platform::Status MemoryRegistry::enumValue(HKEY handle, std::uint32_t index, char* name, std::uint32_t* nameSize,
                                           std::uint32_t* type) {
  Key* key = keyOf(handle);
  if (!key) return st::InvalidHandle;
  if (index >= key->values.size()) return st::NoMoreItems;
  const Value& value = std::next(key->values.begin(), index)->second;
  if (value.name.size() + 1 > *nameSize) return st::MoreData;
  std::memcpy(name, value.name.c_str(), value.name.size() + 1);
  *nameSize = static_cast<std::uint32_t>(value.name.size());
  if (type) *type = value.type;
  return st::Success;
}

platform::Status MemoryRegistry::queryInfoKey(HKEY handle, platform::RegKeyInfo& info) {
  Key* key = keyOf(handle);
  if (!key) return st::InvalidHandle;
  info = platform::RegKeyInfo{};
  info.subKeys = static_cast<std::uint32_t>(key->subKeys.size());
  info.values = static_cast<std::uint32_t>(key->values.size());
  for (const auto& [folded, sub] : key->subKeys) {
    info.maxSubKeyLen = std::max(info.maxSubKeyLen, static_cast<std::uint32_t>(sub->name.size()));
  }
  for (const auto& [folded, value] : key->values) {
    info.maxValueNameLen = std::max(info.maxValueNameLen, static_cast<std::uint32_t>(value.name.size()));
    info.maxValueLen = std::max(info.maxValueLen, static_cast<std::uint32_t>(value.data.size()));
  }
  return st::Success;
}

platform::Status MemoryRegistry::closeKey(HKEY handle) {
  if (roots_.count(handle)) return st::Success;
  return handles_.erase(handle) ? st::Success : st::InvalidHandle;
}

platform::Status MemoryRegistry::connectRegistry(std::string_view machineName, HKEY root, HKEY& result) {
  if (!machineName.empty() || !roots_.count(root)) return st::BadNetPath;
  result = root;
  return st::Success;
}

platform::Status MemoryRegistry::flush() {
  dirty_ = false;
  return st::Success;
}

void MemoryRegistry::setText(HKEY root, std::string_view keyPath, std::string_view valueName, std::string_view text) {
  HKEY key = 0;
  if (createKey(root, keyPath, platform::regaccess::AllAccess, key, nullptr) != st::Success) return;
  const std::string data = std::string(text) + '\0';
  (void)setValue(key, valueName, platform::regtype::Sz, reinterpret_cast<const std::uint8_t*>(data.data()),
                 static_cast<std::uint32_t>(data.size()));
  closeKey(key);
}

}  // namespace pgv::test
