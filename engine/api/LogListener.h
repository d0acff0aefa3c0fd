#pragma once
// The ShowLog event of the engine classes: one removed item as text.

#include <string>

namespace pgv {

class LogListener {
 public:
  virtual ~LogListener() = default;
  virtual void ShowLog(const std::string& Msg) = 0;
};

}  // namespace pgv
