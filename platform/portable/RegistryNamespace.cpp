// Path lookup over the machine's registry tree, mirroring wineserver's key lookup
// (server/registry.c: key_lookup_name, open_key, create_key and their Wow6432Node
// helpers). Pure computation over the tree.

#include "platform/portable/RegistryNamespace.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace pgv::platform {
namespace {

constexpr char16_t kRegistryName[] = u"REGISTRY";
constexpr char16_t kUserName[] = u"User";
constexpr std::u16string_view kWow6432Node = u"Wow6432Node";
constexpr std::u16string_view kSymbolicLinkValue = u"SymbolicLinkValue";
constexpr std::size_t kMaxNameLength = 256;  // longest key name Wine accepts, in code units
constexpr int kMaxLinks = 32;

std::u16string_view firstElement(std::u16string_view path) {
  const auto end = path.find(u'\\');
  return end == std::u16string_view::npos ? path : path.substr(0, end);
}

bool isWow6432Node(std::u16string_view name) { return compareRegistryNames(name, kWow6432Node) == 0; }

void setName(RegistryKey& key, const char16_t* name, std::size_t length) {
  key.name = name;
  key.nameLength = static_cast<std::uint32_t>(length);
}

void insertSorted(std::vector<RegistryKey*>& keys, RegistryKey* key) {
  const auto at = std::lower_bound(keys.begin(), keys.end(), key, [](const RegistryKey* a, const RegistryKey* b) {
    return compareRegistryNames(a->nameView(), b->nameView()) < 0;
  });
  keys.insert(at, key);
}

// The Wow6432Node subkey of a key (not of a Wow6432Node key itself).
RegistryKey* wowChild(const RegistryKey& key) {
  if (isWow6432Node(key.nameView())) return nullptr;
  return key.findSubkey(kWow6432Node);
}

}  // namespace

RegistryNamespace::RegistryNamespace(RegistryHive& machine, RegistryHive& userDefault, RegistryHive& user, bool wow64)
    : machine_(machine.root()), currentUser_(user.root()), wow64_(wow64) {
  setName(registry_, kRegistryName, std::size(kRegistryName) - 1);
  setName(users_, kUserName, std::size(kUserName) - 1);
  users_.parent = &registry_;
  machine_.parent = &registry_;
  userDefault.root().parent = &users_;
  currentUser_.parent = &users_;
  insertSorted(registry_.subkeys, &machine_);
  insertSorted(registry_.subkeys, &users_);
  insertSorted(users_.subkeys, &userDefault.root());
  insertSorted(users_.subkeys, &currentUser_);
  if (wow64_) markSharedClasses();
}

// Wine's server creates Software\Classes\Wow6432Node on a 64-bit machine and marks it
// as the shared 32-bit view of the classes. Creating it is not a change of the hive:
// like Wine, this touches neither the hive's state nor its parents' times.
void RegistryNamespace::markSharedClasses() {
  RegistryHive& hive = *machine_.hive;
  const bool wasDirty = hive.dirty();
  RegistryKey* key = &machine_;
  for (std::u16string_view name : {std::u16string_view(u"Software"), std::u16string_view(u"Classes"), kWow6432Node}) {
    RegistryKey* next = key->findSubkey(name);
    if (!next) {
      const std::uint64_t parentTime = key->modified;
      next = &hive.addSubkey(*key, name, currentFileTime());
      key->modified = parentTime;
    }
    key = next;
  }
  key->flags |= keyflag::WowShare;
  if (!wasDirty) hive.markClean();
}

Status RegistryNamespace::classesRoot(std::uint64_t now, RegistryKey*& result) {
  bool created = false;
  return create(machine_, u"Software\\Classes", now, result, created);
}

// get_wow6432node: the key of the 32-bit view that corresponds to a key, if any.
RegistryKey* RegistryNamespace::wowCounterpart(RegistryKey* key) {
  if (!key) return nullptr;
  if (RegistryKey* child = wowChild(*key)) return child;
  RegistryKey* parent = key->parent;
  if (parent && wowChild(*parent) == key) return key;
  RegistryKey* counterpart = wowCounterpart(parent);
  if (!counterpart) return key;
  return counterpart->findSubkey(key->nameView());
}

// grab_wow6432node: an opened key is seen through its Wow6432Node subkey, unless that
// subkey is the shared classes view.
RegistryKey* RegistryNamespace::viewOf(RegistryKey* key) {
  RegistryKey* child = wowChild(*key);
  if (!child || child->is(keyflag::WowShare)) return key;
  return child;
}

// A lookup below the classes root starts in its shared 32-bit view.
RegistryKey* RegistryNamespace::startFor(RegistryKey& parent, std::u16string_view path) {
  if (!wow64_ || isWow6432Node(firstElement(path))) return &parent;
  RegistryKey* counterpart = wowCounterpart(&parent);
  if (counterpart && counterpart->is(keyflag::WowShare)) return counterpart;
  return &parent;
}

// Walks path below start. On success, left is empty when the whole path exists, or
// holds the one missing last element (trailing backslashes dropped) below key.
Status RegistryNamespace::walk(RegistryKey* start, std::u16string_view path, bool wow, RegistryKey*& key,
                               std::u16string_view& left, int& links) {
  key = start;
  left = path;
  if (path.empty()) return status::Success;  // the key itself; a link is not followed
  for (;;) {
    if (key->is(keyflag::Link)) {
      RegistryKey* target = nullptr;
      if (const Status s = resolveLink(*key, target, links); s != status::Success) return s;
      key = target;
      // A path that ends at a link to the shared classes view means the classes key.
      if (wow && left.empty() && key->is(keyflag::WowShare) && key->parent) key = key->parent;
    }
    if (left.empty()) return status::Success;
    const std::u16string_view element = firstElement(left);
    if (element.size() > kMaxNameLength) return status::InvalidParameter;
    std::size_t next = element.size();
    while (next < left.size() && left[next] == u'\\') ++next;

    RegistryKey* found = key->findSubkey(element);
    if (!found && wow && key->is(keyflag::WowShare) && key->parent) {
      key = key->parent;  // the shared view falls back to the 64-bit classes
      found = key->findSubkey(element);
    }
    if (!found) {
      if (next < left.size()) return status::FileNotFound;
      left = element;
      return status::Success;
    }
    if (next < left.size()) {
      left = left.substr(next);
      if (wow && !isWow6432Node(firstElement(left))) {
        if (RegistryKey* child = wowChild(*found)) found = child;
      }
    } else {
      left = {};
    }
    key = found;
  }
}

Status RegistryNamespace::resolveLink(const RegistryKey& link, RegistryKey*& target, int& links) {
  if (++links > kMaxLinks) return status::InvalidParameter;
  const RegistryValue* value = link.findValue(kSymbolicLinkValue);
  if (!value || value->size < 2) return status::FileNotFound;
  std::u16string path(value->size / 2, u'\0');
  for (std::size_t i = 0; i < path.size(); ++i) {
    path[i] = static_cast<char16_t>(value->data[2 * i] | (value->data[2 * i + 1] << 8));
  }
  if (path.front() != u'\\') return status::FileNotFound;
  std::u16string_view rest(path);
  rest.remove_prefix(1);
  if (compareRegistryNames(firstElement(rest), registry_.nameView()) != 0) return status::FileNotFound;
  rest.remove_prefix(firstElement(rest).size());
  while (!rest.empty() && rest.front() == u'\\') rest.remove_prefix(1);
  RegistryKey* key = nullptr;
  std::u16string_view left;
  if (const Status s = walk(&registry_, rest, false, key, left, links); s != status::Success) return s;
  if (!left.empty()) return status::FileNotFound;
  target = key;
  return status::Success;
}

Status RegistryNamespace::openAbsolute(std::u16string_view path, RegistryKey*& result) {
  if (path.empty() || path.front() != u'\\') return status::BadPathname;
  path.remove_prefix(1);
  if (compareRegistryNames(firstElement(path), registry_.nameView()) != 0) return status::FileNotFound;
  path.remove_prefix(firstElement(path).size());
  while (!path.empty() && path.front() == u'\\') path.remove_prefix(1);
  RegistryKey* key = nullptr;
  std::u16string_view left;
  int links = 0;
  if (const Status s = walk(&registry_, path, false, key, left, links); s != status::Success) return s;
  if (!left.empty()) return status::FileNotFound;
  result = key;
  return status::Success;
}

Status RegistryNamespace::open(RegistryKey& parent, std::u16string_view path, RegistryKey*& result) {
  if (!path.empty() && path.front() == u'\\') return status::BadPathname;
  RegistryKey* key = nullptr;
  std::u16string_view left;
  int links = 0;
  if (const Status s = walk(startFor(parent, path), path, wow64_, key, left, links); s != status::Success) return s;
  if (!left.empty()) return status::FileNotFound;
  result = wow64_ ? viewOf(key) : key;
  return status::Success;
}

Status RegistryNamespace::create(RegistryKey& parent, std::u16string_view path, std::uint64_t now,
                                 RegistryKey*& result, bool& created) {
  if (!path.empty() && path.front() == u'\\') return status::BadPathname;
  if (path.empty()) {
    RegistryKey* key = startFor(parent, path);
    if (key->parent && key->parent->hive) key->parent->hive->touch(*key->parent, now);
    result = key;
    created = true;
    return status::Success;
  }
  const Status opened = open(parent, path, result);
  if (opened == status::Success) {
    created = false;
    return status::Success;
  }
  if (opened != status::FileNotFound) return opened;

  // Like RegCreateKeyEx: one element at a time, each with the rules of a single create.
  RegistryKey* key = &parent;
  bool lastCreated = false;
  std::size_t i = 0;
  while (i < path.size()) {
    std::size_t end = path.find(u'\\', i);
    if (end == std::u16string_view::npos) end = path.size();
    const std::u16string_view element = path.substr(i, end - i);
    i = end + 1;
    if (element.empty()) continue;
    if (const Status s = createOne(*key, element, now, key, lastCreated); s != status::Success) return s;
  }
  result = key;
  created = lastCreated;
  return status::Success;
}

Status RegistryNamespace::createOne(RegistryKey& parent, std::u16string_view element, std::uint64_t now,
                                    RegistryKey*& result, bool& created) {
  RegistryKey* key = nullptr;
  std::u16string_view left;
  int links = 0;
  if (const Status s = walk(startFor(parent, element), element, wow64_, key, left, links); s != status::Success) {
    return s;
  }
  if (left.empty()) {
    result = wow64_ ? viewOf(key) : key;
    created = false;
    return status::Success;
  }
  if (!key->hive) return status::AccessDenied;  // no key is created above the hives
  result = &key->hive->addSubkey(*key, left, now);
  created = true;
  return status::Success;
}

}  // namespace pgv::platform
