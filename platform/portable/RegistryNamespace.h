#pragma once
// The machine's registry as one tree, and path lookup over it with Wine's rules.
//
//   \Registry\Machine          system.reg   (HKEY_LOCAL_MACHINE)
//   \Registry\User\.Default    userdef.reg
//   \Registry\User\<SID>       user.reg     (HKEY_CURRENT_USER)
//
// Lookup follows symbolic-link keys ("#link" with a SymbolicLinkValue naming an NT path
// such as \Registry\Machine\System\ControlSet001). On a 64-bit machine it also gives
// the view of a 32-bit process, as wineserver does: below a key that has a Wow6432Node
// subkey, the path continues inside Wow6432Node (HKLM\Software\X is
// Software\Wow6432Node\X), and Software\Classes\Wow6432Node is a shared view that falls
// back to Software\Classes for names it does not hold (so CLSID and Interface are
// redirected, file extensions are not). Nothing is redirected on a 32-bit machine.
//
// Errors are the Win32 codes RegOpenKeyEx and RegCreateKeyEx give.

#include <cstdint>
#include <string_view>

#include "platform/Status.h"
#include "platform/portable/RegistryHive.h"
#include "platform/portable/RegistryKey.h"

namespace pgv::platform {

class RegistryNamespace {
 public:
  // wow64: the machine is 64-bit and the program sees it as a 32-bit process.
  RegistryNamespace(RegistryHive& machine, RegistryHive& userDefault, RegistryHive& user, bool wow64);
  RegistryNamespace(const RegistryNamespace&) = delete;
  RegistryNamespace& operator=(const RegistryNamespace&) = delete;

  RegistryKey& machine() { return machine_; }
  RegistryKey& currentUser() { return currentUser_; }
  RegistryKey& users() { return users_; }
  // HKEY_CLASSES_ROOT: HKLM\Software\Classes as the program sees it, created when missing.
  Status classesRoot(std::uint64_t now, RegistryKey*& result);

  // NtOpenKey: path relative to parent; an empty path is the parent itself.
  Status open(RegistryKey& parent, std::u16string_view path, RegistryKey*& result);
  // Creates the missing keys of the path. created: the last key was new (an empty path
  // counts as new and touches the key's parent, as Wine does).
  Status create(RegistryKey& parent, std::u16string_view path, std::uint64_t now, RegistryKey*& result,
                bool& created);
  // An absolute NT path (\Registry\...), without the 32-bit view.
  Status openAbsolute(std::u16string_view path, RegistryKey*& result);

 private:
  Status walk(RegistryKey* start, std::u16string_view path, bool wow, RegistryKey*& key, std::u16string_view& left,
              int& links);
  Status resolveLink(const RegistryKey& link, RegistryKey*& target, int& links);
  Status createOne(RegistryKey& parent, std::u16string_view element, std::uint64_t now, RegistryKey*& result,
                   bool& created);
  void markSharedClasses();

  RegistryKey* startFor(RegistryKey& parent, std::u16string_view path);
  RegistryKey* wowCounterpart(RegistryKey* key);
  RegistryKey* viewOf(RegistryKey* key);

  RegistryKey registry_;  // \Registry
  RegistryKey users_;     // \Registry\User
  RegistryKey& machine_;
  RegistryKey& currentUser_;
  bool wow64_;
};

}  // namespace pgv::platform
