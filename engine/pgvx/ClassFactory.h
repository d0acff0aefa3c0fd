#pragma once
// The class table of the engine library: class id -> constructor. Filled by explicit
// registration calls (registerEngineClasses) when the library is first asked, never by
// static constructors.

#include <string_view>
#include <vector>

#include "engine/api/ClassIds.h"
#include "engine/api/EngineObject.h"

namespace pgv::engine {

class ClassFactory {
 public:
  using Creator = EngineObject* (*)();
  struct Entry {
    ClassId id;
    Creator create;
  };

  // Registers Implementation as the class of Interface::kClassId.
  template <class Interface, class Implementation>
  void add() {
    entries_.push_back(Entry{Interface::kClassId, &createAs<Interface, Implementation>});
  }

  // The class named by its class id (any letter case) or programmatic name; null when
  // the library has no such class.
  const Entry* find(std::string_view name) const;
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  // The object is handed out as its interface's EngineObject, so the caller's cast back
  // to the interface lands on the same object.
  template <class Interface, class Implementation>
  static EngineObject* createAs() {
    Interface* object = new Implementation();
    return object;
  }

  std::vector<Entry> entries_;
};

// The registration calls: one per class the library holds.
void registerEngineClasses(ClassFactory& factory);

}  // namespace pgv::engine
