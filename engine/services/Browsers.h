#pragma once
// Browsers: whether a browser is installed, by the registry key its setup leaves.

#include "engine/api/Browsers.h"

namespace pgv::engine {

class Browsers final : public pgv::Browsers {
 public:
  bool DoesExist(const std::string& Browser) override;
};

// True when the key at root\path can be opened.
bool registryKeyExists(std::int32_t root, const std::string& path);

}  // namespace pgv::engine
