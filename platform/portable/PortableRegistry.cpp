// The ANSI registry functions over a machine folder's Wine hives. Portable backend:
// POSIX only (the folder check); the registry rules themselves are in
// RegistryNamespace and the file format in RegistryText.

#include "platform/portable/PortableRegistry.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "platform/Codepage.h"
#include "platform/portable/WineServer.h"

namespace pgv::platform {
namespace {

constexpr char kMachineRoot[] = "REGISTRY\\\\Machine";
constexpr char kUserDefaultRoot[] = "REGISTRY\\\\User\\\\.Default";
constexpr char kUserRootPrefix[] = "REGISTRY\\\\User\\\\";
constexpr char kDefaultSid[] = "S-1-5-21-0-0-0-1000";

constexpr std::uint32_t kGenericRead = 0x80000000u;
constexpr std::uint32_t kGenericWrite = 0x40000000u;
constexpr std::uint32_t kGenericExecute = 0x20000000u;
constexpr std::uint32_t kGenericAll = 0x10000000u;
constexpr std::uint32_t kMaximumAllowed = 0x02000000u;

bool isPredefined(HKEY key) { return key >= HKEY_CLASSES_ROOT && key <= 0x80000006u; }

// The text an A function sees: a C string ends at its first NUL.
std::string_view cString(std::string_view text) {
  const auto nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

std::u16string wide(std::string_view ansi) { return ansiToUtf16(cString(ansi)); }

// One UTF-16 code unit as one code page 1252 byte, as RtlUnicodeToMultiByteN counts them.
char ansiUnit(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (unsigned b = 0x80; b < 0xA0; ++b) {
    if (ansiCharToUnicode(static_cast<unsigned char>(b)) == c) return static_cast<char>(b);
  }
  return '?';
}

std::string narrow(std::u16string_view text) {
  std::string out(text.size(), '\0');
  for (std::size_t i = 0; i < text.size(); ++i) out[i] = ansiUnit(text[i]);
  return out;
}

bool isStringType(std::uint32_t type) {
  return type == regtype::Sz || type == regtype::ExpandSz || type == regtype::MultiSz;
}

// The rights a handle opened with this mask holds.
std::uint32_t grantedAccess(std::uint32_t requested) {
  if (requested & (kGenericAll | kMaximumAllowed)) return regaccess::AllAccess;
  std::uint32_t granted = requested & regaccess::AllAccess;
  if (requested & (kGenericRead | kGenericExecute)) {
    granted |= regaccess::QueryValue | regaccess::EnumerateSubKeys | regaccess::Notify;
  }
  if (requested & kGenericExecute) granted |= regaccess::CreateLink;
  if (requested & kGenericWrite) granted |= regaccess::SetValue | regaccess::CreateSubKey;
  return granted;
}

const char* archName(HiveArch arch) { return arch == HiveArch::Win64 ? "win64" : "win32"; }

// The user's SID from user.reg's header ("REGISTRY\\User\\S-1-5-21-...").
std::string sidOf(const std::string& rootPath) {
  if (rootPath.rfind(kUserRootPrefix, 0) != 0) return kDefaultSid;
  std::string sid = rootPath.substr(std::strlen(kUserRootPrefix));
  if (sid.size() < 3 || sid.compare(0, 2, "S-") != 0 || sid.find('\\') != std::string::npos) return kDefaultSid;
  return sid;
}

}  // namespace

PortableRegistry::PortableRegistry(std::string folder) : folder_(std::move(folder)) {}

PortableRegistry::~PortableRegistry() = default;

Status PortableRegistry::open(const std::string& machineFolder, std::unique_ptr<PortableRegistry>& out,
                              std::string& error) {
  struct stat st {};
  if (::stat(machineFolder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
    error = "machine folder " + machineFolder + " does not exist";
    return status::PathNotFound;
  }
  if (wineServerRunning(machineFolder)) {
    error = "a Wine server is running for " + machineFolder +
            "; close the Wine programs that use it (or run wineserver -k for it) and try again";
    return status::SharingViolation;
  }
  std::unique_ptr<PortableRegistry> registry(new PortableRegistry(machineFolder));
  if (const Status s = registry->loadHives(error); s != status::Success) return s;
  out = std::move(registry);
  return status::Success;
}

Status PortableRegistry::loadHives(std::string& error) {
  const std::uint64_t loadTime = currentFileTime();
  struct HiveSource {
    HiveFile& file;
    const char* name;
    std::string rootPath;
    std::u16string rootName;
  };
  HiveSource sources[] = {
      {machine_, "system.reg", kMachineRoot, u"Machine"},
      {userDefault_, "userdef.reg", kUserDefaultRoot, u".Default"},
      {user_, "user.reg", std::string(kUserRootPrefix) + kDefaultSid, utf8ToUtf16(kDefaultSid)},
  };
  HiveArch machineArch = HiveArch::Unknown;
  for (HiveSource& source : sources) {
    HiveFile& file = source.file;
    file.path = folder_ + "/" + source.name;
    file.hive = std::make_unique<RegistryHive>(source.rootPath, source.rootName);
    bool missing = false;
    if (!RegistryHive::loadFile(file.path, *file.hive, loadTime, missing, error)) return status::BadDbFormat;
    const HiveArch arch = file.hive->arch();
    if (arch == HiveArch::Unknown) continue;
    if (machineArch == HiveArch::Unknown) {
      machineArch = arch;
    } else if (arch != machineArch) {
      error = "cannot read registry file " + file.path + ", line " + std::to_string(file.hive->archLine()) +
              ": architecture " + archName(arch) + " does not match the machine's " + archName(machineArch);
      return status::BadDbFormat;
    }
  }
  // Wine writes every hive with the machine's architecture; a machine without one is 32-bit.
  if (machineArch == HiveArch::Unknown) machineArch = HiveArch::Win32;
  for (HiveSource& source : sources) source.file.hive->setArch(machineArch);
  user_.hive->setRootName(utf8ToUtf16(sidOf(user_.hive->rootPath())));

  win64_ = machineArch == HiveArch::Win64;
  namespace_ = std::make_unique<RegistryNamespace>(*machine_.hive, *userDefault_.hive, *user_.hive, win64_);
  return status::Success;
}

// ---- handles ----

Status PortableRegistry::rootKey(HKEY root, RegistryKey*& key) {
  switch (root) {
    case HKEY_LOCAL_MACHINE: key = &namespace_->machine(); return status::Success;
    case HKEY_CURRENT_USER: key = &namespace_->currentUser(); return status::Success;
    case HKEY_USERS: key = &namespace_->users(); return status::Success;
    case HKEY_CLASSES_ROOT: {
      // Windows creates the classes key when it is missing; an empty key alone is no
      // change worth saving, so the hive's state is kept.
      RegistryHive& hive = *namespace_->machine().hive;
      const bool wasDirty = hive.dirty();
      const Status s = namespace_->classesRoot(now(), key);
      if (!wasDirty) hive.markClean();
      return s;
    }
    default: return status::InvalidHandle;
  }
}

Status PortableRegistry::keyOf(HKEY handle, std::uint32_t access, RegistryKey*& key) {
  if (isPredefined(handle)) return rootKey(handle, key);
  const std::size_t index = handle / 4;
  if (handle == 0 || handle % 4 != 0 || index > handles_.size() || !handles_[index - 1].key) {
    return status::InvalidHandle;
  }
  const Handle& slot = handles_[index - 1];
  if ((slot.access & access) != access) return status::AccessDenied;
  if (slot.key->is(keyflag::Deleted)) return status::KeyDeleted;
  key = slot.key;
  return status::Success;
}

HKEY PortableRegistry::newHandle(RegistryKey& key, std::uint32_t access) {
  std::size_t index;
  if (!freeHandles_.empty()) {
    index = freeHandles_.back();
    freeHandles_.pop_back();
  } else {
    index = handles_.size();
    handles_.emplace_back();
  }
  handles_[index] = Handle{&key, grantedAccess(access)};
  ++key.handleCount;
  return static_cast<HKEY>((index + 1) * 4);
}

Status PortableRegistry::closeKey(HKEY key) {
  if (isPredefined(key)) return status::Success;
  const std::size_t index = key / 4;
  if (key == 0 || key % 4 != 0 || index > handles_.size() || !handles_[index - 1].key) return status::InvalidHandle;
  RegistryKey* target = handles_[index - 1].key;
  handles_[index - 1] = Handle{};
  freeHandles_.push_back(index - 1);
  if (target->hive) target->hive->release(*target);
  else if (target->handleCount > 0) --target->handleCount;
  return status::Success;
}

// ---- keys ----

Status PortableRegistry::openKey(HKEY parent, std::string_view subKey, std::uint32_t access, HKEY& result) {
  std::string_view name = cString(subKey);
  if (isPredefined(parent) && name.empty()) {
    result = parent;  // RegOpenKeyEx hands back the predefined handle itself
    return status::Success;
  }
  if (parent == HKEY_CLASSES_ROOT && !name.empty() && name.front() == '\\') name.remove_prefix(1);
  RegistryKey* base = nullptr;
  if (const Status s = keyOf(parent, 0, base); s != status::Success) return s;
  RegistryKey* key = nullptr;
  if (const Status s = namespace_->open(*base, ansiToUtf16(name), key); s != status::Success) return s;
  result = newHandle(*key, access);
  return status::Success;
}

Status PortableRegistry::createKey(HKEY parent, std::string_view subKey, std::uint32_t access, HKEY& result,
                                   std::uint32_t* disposition) {
  RegistryKey* base = nullptr;
  if (const Status s = keyOf(parent, 0, base); s != status::Success) return s;
  RegistryKey* key = nullptr;
  bool created = false;
  if (const Status s = namespace_->create(*base, wide(subKey), now(), key, created); s != status::Success) return s;
  result = newHandle(*key, access);
  if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return status::Success;
}

Status PortableRegistry::deleteKey(HKEY parent, std::string_view subKey) {
  const std::string_view name = cString(subKey);
  RegistryKey* base = nullptr;
  if (const Status s = keyOf(parent, 0, base); s != status::Success) return s;
  RegistryKey* key = base;
  if (!(isPredefined(parent) && name.empty())) {
    if (const Status s = namespace_->open(*base, ansiToUtf16(name), key); s != status::Success) return s;
  }
  // A hive's root and the nodes above the hives cannot go.
  if (!key->hive || !key->parent || !key->parent->hive) return status::AccessDenied;
  if (!key->subkeys.empty()) return status::AccessDenied;
  key->hive->deleteKey(*key, now());
  return status::Success;
}

Status PortableRegistry::enumKey(HKEY key, std::uint32_t index, char* name, std::uint32_t nameSize) {
  RegistryKey* k = nullptr;
  if (const Status s = keyOf(key, regaccess::EnumerateSubKeys, k); s != status::Success) return s;
  if (index >= k->subkeys.size()) return status::NoMoreItems;
  const std::string text = narrow(k->subkeys[index]->nameView());
  if (text.size() >= nameSize) return status::MoreData;
  if (!name) return status::InvalidParameter;
  std::memcpy(name, text.data(), text.size());
  name[text.size()] = '\0';
  return status::Success;
}

Status PortableRegistry::queryInfoKey(HKEY key, RegKeyInfo& info) {
  RegistryKey* k = nullptr;
  if (const Status s = keyOf(key, 0, k); s != status::Success) return s;
  info = RegKeyInfo{};
  info.subKeys = static_cast<std::uint32_t>(k->subkeys.size());
  for (const RegistryKey* sub : k->subkeys) info.maxSubKeyLen = std::max(info.maxSubKeyLen, sub->nameLength);
  info.values = static_cast<std::uint32_t>(k->values.size());
  for (const RegistryValue& value : k->values) {
    info.maxValueNameLen = std::max(info.maxValueNameLen, value.nameLength);
    info.maxValueLen = std::max(info.maxValueLen, value.size);
  }
  return status::Success;
}

// ---- values ----

Status PortableRegistry::queryValue(HKEY key, std::string_view valueName, std::uint32_t* type, std::uint8_t* data,
                                    std::uint32_t* size) {
  if (data && !size) return status::InvalidParameter;
  RegistryKey* k = nullptr;
  if (const Status s = keyOf(key, regaccess::QueryValue, k); s != status::Success) return s;
  const std::uint32_t room = size ? *size : 0;
  if (!data && size) *size = 0;
  if (type) *type = regtype::None;
  const RegistryValue* value = k->findValue(wide(valueName));
  if (!value) return status::FileNotFound;

  Status result = status::Success;
  std::uint32_t total = value->size;
  if (isStringType(value->type)) {
    // The A view holds one byte per UTF-16 unit.
    const std::uint32_t length = value->size / 2;
    if (data && length > 0) {
      if (length > room) {
        result = status::MoreData;
      } else {
        for (std::uint32_t i = 0; i < length; ++i) {
          data[i] = static_cast<std::uint8_t>(ansiUnit(
              static_cast<char16_t>(value->data[2 * i] | (value->data[2 * i + 1] << 8))));
        }
        // A stored string without its NUL still reads as a C string when there is room.
        if (length < room && data[length - 1] != 0) data[length] = 0;
      }
    }
    total = length;
  } else if (data) {
    if (value->size > room) result = status::MoreData;
    else if (value->size > 0) std::memcpy(data, value->data, value->size);
  }
  if (type) *type = value->type;
  if (size) *size = total;
  return result;
}

Status PortableRegistry::setValue(HKEY key, std::string_view valueName, std::uint32_t type, const std::uint8_t* data,
                                  std::uint32_t size) {
  RegistryKey* k = nullptr;
  if (const Status s = keyOf(key, regaccess::SetValue, k); s != status::Success) return s;
  if (!k->hive) return status::AccessDenied;
  if (size > 0 && !data) return status::InvalidParameter;
  std::vector<std::uint8_t> stored;
  if (isStringType(type)) {
    stored.resize(std::size_t{size} * 2);
    for (std::uint32_t i = 0; i < size; ++i) {
      const char16_t c = ansiCharToUnicode(data[i]);
      stored[2 * i] = static_cast<std::uint8_t>(c & 0xFF);
      stored[2 * i + 1] = static_cast<std::uint8_t>(c >> 8);
    }
  } else if (size > 0) {
    stored.assign(data, data + size);
  }
  k->hive->setValue(*k, wide(valueName), type, stored.data(), static_cast<std::uint32_t>(stored.size()), now());
  return status::Success;
}

Status PortableRegistry::deleteValue(HKEY key, std::string_view valueName) {
  RegistryKey* k = nullptr;
  if (const Status s = keyOf(key, regaccess::SetValue, k); s != status::Success) return s;
  if (!k->hive || !k->hive->deleteValue(*k, wide(valueName), now())) return status::FileNotFound;
  return status::Success;
}

Status PortableRegistry::enumValue(HKEY key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                                   std::uint32_t* type) {
  if (!name || !nameSize) return status::InvalidParameter;
  RegistryKey* k = nullptr;
  if (const Status s = keyOf(key, regaccess::QueryValue, k); s != status::Success) return s;
  if (index >= k->values.size()) return status::NoMoreItems;
  const RegistryValue& value = k->values[index];
  const std::string text = narrow(value.nameView());
  Status result = status::Success;
  if (text.size() >= *nameSize) {
    // Too small: the buffer gets as much of the name as fits, the size stays.
    result = status::MoreData;
    if (*nameSize > 0) {
      std::memcpy(name, text.data(), *nameSize - 1);
      name[*nameSize - 1] = '\0';
    }
  } else {
    std::memcpy(name, text.data(), text.size());
    name[text.size()] = '\0';
    *nameSize = static_cast<std::uint32_t>(text.size());
  }
  if (type) *type = value.type;
  return result;
}

// ---- machine ----

std::string PortableRegistry::computerName() {
  RegistryKey* key = nullptr;
  if (namespace_->openAbsolute(u"\\Registry\\Machine\\System\\CurrentControlSet\\Control\\ComputerName\\ComputerName",
                               key) != status::Success) {
    return {};
  }
  const RegistryValue* value = key->findValue(u"ComputerName");
  if (!value || !isStringType(value->type)) return {};
  std::u16string text;
  for (std::uint32_t i = 0; i + 1 < value->size; i += 2) {
    const auto c = static_cast<char16_t>(value->data[i] | (value->data[i + 1] << 8));
    if (c == 0) break;
    text += c;
  }
  return narrow(text);
}

Status PortableRegistry::connectRegistry(std::string_view machineName, HKEY root, HKEY& result) {
  std::string_view name = cString(machineName);
  if (name.size() >= 2 && name[0] == '\\' && name[1] == '\\') name.remove_prefix(2);
  if (!name.empty()) {
    const std::string local = computerName();
    if (local.empty() || compareRegistryNames(ansiToUtf16(name), ansiToUtf16(local)) != 0) return status::BadNetPath;
  }
  result = root;  // this machine: RegOpenKey with no subkey gives the same handle
  return status::Success;
}

Status PortableRegistry::flush() {
  lastError_.clear();
  Status result = status::Success;
  for (HiveFile* file : {&machine_, &userDefault_, &user_}) {
    if (!file->hive->dirty()) continue;
    std::string error;
    const Status s = file->hive->saveFile(file->path, error);
    if (s == status::Success) {
      file->hive->markClean();
    } else if (result == status::Success) {
      result = s;
      lastError_ = error;
    }
  }
  return result;
}

bool PortableRegistry::dirty() const {
  return machine_.hive->dirty() || userDefault_.hive->dirty() || user_.hive->dirty();
}

}  // namespace pgv::platform
