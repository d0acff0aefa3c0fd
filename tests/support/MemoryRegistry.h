#pragma once
// A registry kept in memory, for tests that need a whole platform before a machine's
// hives are involved. Names match without regard to case and keep their first spelling;
// enumeration is sorted by lower-cased name; a key with subkeys cannot be deleted.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace pgv::test {

class MemoryRegistry : public platform::Registry {
 public:
  MemoryRegistry();

  platform::Status openKey(platform::HKEY parent, std::string_view subKey, std::uint32_t access,
                           platform::HKEY& result) override;
  platform::Status createKey(platform::HKEY parent, std::string_view subKey, std::uint32_t access,
                             platform::HKEY& result, std::uint32_t* disposition) override;
  platform::Status queryValue(platform::HKEY key, std::string_view valueName, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* size) override;
  platform::Status setValue(platform::HKEY key, std::string_view valueName, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) override;
  platform::Status deleteKey(platform::HKEY parent, std::string_view subKey) override;
  platform::Status deleteValue(platform::HKEY key, std::string_view valueName) override;
  platform::Status enumKey(platform::HKEY key, std::uint32_t index, char* name, std::uint32_t nameSize) override;
  platform::Status enumValue(platform::HKEY key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                             std::uint32_t* type) override;
  platform::Status queryInfoKey(platform::HKEY key, platform::RegKeyInfo& info) override;
  platform::Status closeKey(platform::HKEY key) override;
  platform::Status connectRegistry(std::string_view machineName, platform::HKEY root,
                                   platform::HKEY& result) override;
  platform::Status flush() override;
  bool dirty() const override { return dirty_; }

  // Test shortcut: sets a REG_SZ value (ANSI text), creating the key.
  void setText(platform::HKEY root, std::string_view keyPath, std::string_view valueName, std::string_view text);
  // Number of handles open besides the predefined roots (for leak checks).
  std::size_t openHandles() const { return handles_.size(); }

 private:
  struct Value {
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
  };
  struct Key {
    std::string name;
    std::map<std::u16string, std::unique_ptr<Key>> subKeys;  // by folded name
    std::map<std::u16string, Value> values;                  // by folded name
  };

  Key* keyOf(platform::HKEY handle);
  platform::HKEY newHandle(Key* key);
  platform::Status walk(platform::HKEY parent, std::string_view subKey, bool create, Key*& found, bool* created);

  std::map<platform::HKEY, std::unique_ptr<Key>> roots_;
  std::map<platform::HKEY, Key*> handles_;
  platform::HKEY nextHandle_ = 0x100;
  bool dirty_ = false;
};

}  // namespace pgv::test
