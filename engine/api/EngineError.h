#pragma once
// A numbered error raised to the caller, as the engine's classes raise them: a number,
// the source ("PGVX.cRegistry") and a description. Callers that skip a failing step
// catch it; nothing else is thrown across the engine interface.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace pgv {

class EngineError : public std::runtime_error {
 public:
  EngineError(std::int64_t number, std::string source, std::string description)
      : std::runtime_error(description), number_(number), source_(std::move(source)),
        description_(std::move(description)) {}

  std::int64_t number() const { return number_; }
  const std::string& source() const { return source_; }
  const std::string& description() const { return description_; }

 private:
  std::int64_t number_;
  std::string source_;
  std::string description_;
};

}  // namespace pgv
