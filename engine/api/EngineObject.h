#pragma once
// The base of every class the engine library creates for its callers. Whoever creates
// an object owns it and releases it by deleting it; the destructor is virtual, so the
// library's own code frees what the library allocated.

namespace pgv {

class EngineObject {
 public:
  virtual ~EngineObject() = default;

 protected:
  EngineObject() = default;
  EngineObject(const EngineObject&) = default;
  EngineObject& operator=(const EngineObject&) = default;
};

}  // namespace pgv
