#pragma once
// The library's Logger class: the logger service behind its public interface.

#include "engine/api/Logger.h"
#include "engine/services/Logger.h"

namespace pgv::engine {

class LoggerComponent : public pgv::Logger {
 public:
  Variant AddToLog(const std::string& Section, const std::string& Txt) override {
    return logger_.AddToLog(Section, Txt);
  }
  std::string getLogPath() override { return logger_.getLogPath(); }

 private:
  engine::Logger logger_;
};

}  // namespace pgv::engine
