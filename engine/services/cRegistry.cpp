// The registry class. Every call goes through the platform's ANSI registry functions;
// texts cross that boundary in code page 1252.

#include "engine/services/cRegistry.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "platform/Codepage.h"
#include "platform/Platform.h"

namespace pgv::engine {
namespace {

namespace pf = pgv::platform;

RegistryLogHooks& hooks() {
  static RegistryLogHooks instance;
  return instance;
}

pf::Registry& registry() { return pf::current().registry(); }

pf::HKEY asHandle(std::int32_t classKey) { return static_cast<pf::HKEY>(classKey); }

std::string sourceName() { return hooks().moduleName + ".cRegistry"; }

// A handle that is closed when it goes out of scope.
class OpenKey {
 public:
  OpenKey() = default;
  ~OpenKey() {
    if (handle_) registry().closeKey(handle_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  pf::HKEY* out() { return &handle_; }
  pf::HKEY get() const { return handle_; }

 private:
  pf::HKEY handle_ = 0;
};

// A text is stored as REG_EXPAND_SZ when it holds a "%" and another "%" at least two
// characters further on, as in "%TEMP%".
bool looksExpandable(const std::string& text) {
  const auto first = text.find('%');
  return first != std::string::npos && text.find('%', first + 2) != std::string::npos;
}

std::uint32_t readLittleEndian(const std::vector<std::uint8_t>& data) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4 && i < data.size(); ++i) v |= static_cast<std::uint32_t>(data[i]) << (8 * i);
  return v;
}

std::string toUpperAscii(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return s;
}

}  // namespace

void setRegistryLogHooks(RegistryLogHooks newHooks) { hooks() = std::move(newHooks); }

std::string rootKeyName(std::int32_t classKey) {
  switch (static_cast<std::uint32_t>(classKey)) {
    case 0x80000000u: return "HKEY_CLASSES_ROOT";
    case 0x80000001u: return "HKEY_CURRENT_USER";
    case 0x80000002u: return "HKEY_LOCAL_MACHINE";
    case 0x80000003u: return "HKEY_USERS";
    default: return {};
  }
}

void cRegistry::setMachine(std::string name) {
  if (name.size() <= 2) {
    machine_.clear();
  } else {
    machine_ = name.rfind("\\\\", 0) == 0 ? std::move(name) : "\\\\" + name;
  }
}

std::string cRegistry::fullPath() const { return rootKeyName(classKey_) + "\\" + sectionKey_; }

void cRegistry::raiseShowLog(const std::string& msg) {
  if (listener_) listener_->ShowLog(msg);
}

void cRegistry::logDeletion(const std::string& path) {
  const RegistryLogHooks& h = hooks();
  if (!h.addToLog) return;
  try {
    const std::string section = (h.messageText ? h.messageText("msg15") : std::string()) + " ";
    h.addToLog(section, path);
  } catch (const std::exception&) {
    // A log that cannot be written never stops a deletion.
  }
}

// The root handle of the address: the local root, or the remote one when Machine is set.
static bool rootHandle(std::int32_t classKey, const std::string& machine, pf::HKEY& root) {
  root = asHandle(classKey);
  if (machine.empty()) return true;
  return registry().connectRegistry(pf::utf8ToAnsi(machine), asHandle(classKey), root) == pf::status::Success;
}

Variant cRegistry::Value() {
  pf::HKEY root = 0;
  if (!rootHandle(classKey_, machine_, root)) return default_;
  OpenKey key;
  if (registry().openKey(root, pf::utf8ToAnsi(sectionKey_), pf::regaccess::QueryValue, *key.out()) !=
      pf::status::Success) {
    return default_;
  }
  const std::string name = pf::utf8ToAnsi(valueKey_);
  std::uint32_t type = 0, size = 0;
  const pf::Status s = registry().queryValue(key.get(), name, &type, nullptr, &size);
  if (s != pf::status::Success && s != pf::status::MoreData) return default_;
  valueType_ = static_cast<std::int32_t>(type);
  std::vector<std::uint8_t> data(size);
  if (size > 0 && registry().queryValue(key.get(), name, &type, data.data(), &size) != pf::status::Success) {
    return default_;
  }
  data.resize(std::min<std::size_t>(size, data.size()));
  switch (type) {
    case pf::regtype::Sz:
    case pf::regtype::MultiSz:
    case pf::regtype::ExpandSz: {
      std::string text(data.begin(), data.end());
      // The terminating NUL is dropped; a value stored without one keeps all its text.
      if (!text.empty() && text.back() == '\0') text.pop_back();
      if (type == pf::regtype::ExpandSz) {
        pf::Environment& env = pf::current().environment();
        const std::uint32_t needed = env.expandEnvironmentStrings(text, nullptr, 0);
        std::string expanded(needed, '\0');
        env.expandEnvironmentStrings(text, expanded.data(), needed);
        text = expanded.substr(0, needed > 0 ? needed - 1 : 0);
      }
      return Variant(pf::ansiToUtf8(text));
    }
    case pf::regtype::Dword: return Variant(static_cast<std::int32_t>(readLittleEndian(data)));
    case pf::regtype::DwordBigEndian: {
      const std::uint32_t v = readLittleEndian(data);
      const std::uint32_t swapped = (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
      return Variant(static_cast<std::int32_t>(swapped));
    }
    default: return Variant(Bytes(data.begin(), data.end()));
  }
}

void cRegistry::setValue(const Variant& v) {
  pf::HKEY root = 0;
  OpenKey key;
  if (!rootHandle(classKey_, machine_, root) ||
      registry().createKey(root, pf::utf8ToAnsi(sectionKey_), pf::regaccess::AllAccess, *key.out(), nullptr) !=
          pf::status::Success) {
    throw EngineError(kRegistryError, sourceName(),
                      "Failed to set registry value Key: '" + std::to_string(classKey_) + "',Section: '" +
                          sectionKey_ + "',Key: '" + valueKey_ + "' to value: '" + v.toText() + "'");
  }
  const std::string name = pf::utf8ToAnsi(valueKey_);
  switch (valueType_) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
      const std::string text = pf::utf8ToAnsi(v.toText());
      const std::uint32_t type = looksExpandable(text) ? pf::regtype::ExpandSz : pf::regtype::Sz;
      (void)registry().setValue(key.get(), name, type, reinterpret_cast<const std::uint8_t*>(text.c_str()),
                                static_cast<std::uint32_t>(text.size() + 1));
      break;
    }
    case REG_BINARY: {
      const Bytes* bytes = v.bytes();
      if (!bytes) throw EngineError(kRegistryError, "", "");
      (void)registry().setValue(key.get(), name, pf::regtype::Binary, bytes->data(),
                                static_cast<std::uint32_t>(bytes->size()));
      break;
    }
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN: {
      if (!v.isInteger()) break;
      const auto n = static_cast<std::uint32_t>(v.toLong());
      const std::uint8_t data[4] = {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                                    static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)};
      (void)registry().setValue(key.get(), name, pf::regtype::Dword, data, 4);
      break;
    }
    default: break;
  }
  lastWritten_ = v;
}

bool cRegistry::KeyExists() {
  OpenKey key;
  return registry().openKey(asHandle(classKey_), pf::utf8ToAnsi(sectionKey_), pf::regaccess::QueryValue,
                            *key.out()) == pf::status::Success;
}

bool cRegistry::CreateKey() {
  OpenKey key;
  if (registry().createKey(asHandle(classKey_), pf::utf8ToAnsi(sectionKey_), pf::regaccess::AllAccess, *key.out(),
                           nullptr) != pf::status::Success) {
    throw EngineError(kRegistryError, sourceName(), "Failed to create registry Key: '" + sectionKey_);
  }
  return true;
}

bool cRegistry::DeleteKey() {
  // An empty path would name the root itself, which is never deleted.
  if (sectionKey_.empty()) return false;
  if (registry().deleteKey(asHandle(classKey_), pf::utf8ToAnsi(sectionKey_)) != pf::status::Success) return false;
  const std::string path = fullPath();
  logDeletion(path);
  raiseShowLog(path);
  return true;
}

bool cRegistry::DeleteValue() {
  OpenKey key;
  if (registry().openKey(asHandle(classKey_), pf::utf8ToAnsi(sectionKey_), pf::regaccess::AllAccess, *key.out()) !=
      pf::status::Success) {
    return false;
  }
  if (registry().deleteValue(key.get(), pf::utf8ToAnsi(valueKey_)) != pf::status::Success) return false;
  const std::string path = fullPath() + "\\" + valueKey_;
  raiseShowLog(path);
  logDeletion(path);
  return true;
}

bool cRegistry::EnumerateValues(std::vector<std::string>& names, std::int32_t& count) {
  names.clear();
  count = 0;
  OpenKey key;
  if (registry().openKey(asHandle(classKey_), pf::utf8ToAnsi(sectionKey_), pf::regaccess::QueryValue, *key.out()) !=
      pf::status::Success) {
    return true;
  }
  pf::RegKeyInfo info;
  if (registry().queryInfoKey(key.get(), info) != pf::status::Success) return true;
  std::vector<char> buffer(info.maxValueNameLen + 1);
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t length = static_cast<std::uint32_t>(buffer.size());
    if (registry().enumValue(key.get(), index, buffer.data(), &length, nullptr) != pf::status::Success) break;
    names.push_back(pf::ansiToUtf8(std::string_view(buffer.data(), length)));
  }
  count = static_cast<std::int32_t>(names.size());
  return true;
}

bool cRegistry::EnumerateSections(std::vector<std::string>& names, std::int32_t& count) {
  names.clear();
  count = 0;
  OpenKey key;
  if (registry().openKey(asHandle(classKey_), pf::utf8ToAnsi(sectionKey_), pf::regaccess::EnumerateSubKeys,
                         *key.out()) != pf::status::Success) {
    return true;
  }
  try {
    char buffer[256];
    for (std::uint32_t index = 0;; ++index) {
      std::fill(std::begin(buffer), std::end(buffer), '\0');
      if (registry().enumKey(key.get(), index, buffer, 255) != pf::status::Success) break;
      names.push_back(pf::ansiToUtf8(std::string_view(buffer)));
    }
  } catch (const std::exception& e) {
    names.clear();
    throw EngineError(kEnumerationError, sourceName(), e.what());
  }
  count = static_cast<std::int32_t>(names.size());
  return true;
}

void cRegistry::del_reg_sub(const std::string& path) {
  const auto cut = path.find('\\');
  const std::string firstPart = path.substr(0, cut);
  const std::string subKey = cut == std::string::npos ? std::string() : path.substr(cut + 1);
  // A path that names a root alone would empty the whole root: never walked.
  if (subKey.empty()) return;

  std::int32_t root = 0;
  const std::string rootName = toUpperAscii(firstPart);
  for (std::int32_t candidate : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS}) {
    if (rootKeyName(candidate) == rootName) root = candidate;
  }

  cRegistry walker;
  walker.setClassKey(root);
  walker.setSectionKey(subKey);
  // Subkeys that survived their own removal (no rights, say) are tried once only, so
  // the walk always ends.
  std::set<std::string> attempted;
  for (;;) {
    std::vector<std::string> subKeys, values;
    std::int32_t subCount = 0, valueCount = 0;
    walker.EnumerateSections(subKeys, subCount);
    walker.EnumerateValues(values, valueCount);
    for (const std::string& value : values) {
      walker.setValueKey(value);
      walker.DeleteValue();
      raiseShowLog(firstPart + "\\" + subKey + "\\" + value);
    }
    auto next = std::find_if(subKeys.begin(), subKeys.end(),
                             [&](const std::string& name) { return !attempted.count(name); });
    if (next == subKeys.end()) {
      walker.DeleteKey();
      raiseShowLog(firstPart + "\\" + subKey);
      return;
    }
    attempted.insert(*next);
    del_reg_sub(path + "\\" + *next);
  }
}

Variant cRegistry::ValueEx(std::int32_t root, std::string section, std::string valueName, std::int32_t type,
                           Variant defaultValue) {
  classKey_ = root;
  sectionKey_ = std::move(section);
  valueKey_ = std::move(valueName);
  valueType_ = type;
  default_ = std::move(defaultValue);
  return Value();
}

void cRegistry::setValueEx(std::int32_t root, std::string section, std::string valueName, std::int32_t type,
                           Variant defaultValue, const Variant& v) {
  classKey_ = root;
  sectionKey_ = std::move(section);
  valueKey_ = std::move(valueName);
  valueType_ = type;
  default_ = std::move(defaultValue);
  if (valueType_ == REG_SZ && v.toText().empty()) setValue(default_);
  else setValue(v);
}

}  // namespace pgv::engine
