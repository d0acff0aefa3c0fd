#pragma once
// Messangers: whether an instant messenger is installed.

#include "engine/api/Messangers.h"

namespace pgv::engine {

class Messangers final : public pgv::Messangers {
 public:
  bool DoesExist(const std::string& Messanger) override;
};

}  // namespace pgv::engine
