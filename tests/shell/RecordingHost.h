#pragma once
// A skin host for in-process tests: the real wire protocol, with the events and
// diagnostics kept in memory and the end of the program thrown as Ended.

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/skin/JsonSkinHost.h"

namespace pgv::test {

struct Ended {
  int code;
};

class RecordingHost : public platform::skin::JsonSkinHost {
 public:
  explicit RecordingHost(platform::skin::JsonSkinHostOptions options = {}) : JsonSkinHost(options) {}

  // Queues skin messages as if they had arrived together.
  void post(std::vector<nlohmann::json> messages) {
    std::vector<std::string> lines;
    for (const auto& m : messages) lines.push_back(m.dump());
    postLines(std::move(lines));
  }
  // The events so far, and forgets them.
  std::vector<nlohmann::json> take() {
    std::vector<nlohmann::json> out;
    for (const auto& e : events_) out.push_back(nlohmann::json::parse(e));
    events_.clear();
    return out;
  }
  const std::vector<std::string>& diagnostics() const { return diagnostics_; }

 protected:
  void writeEvent(const std::string& json) override { events_.push_back(json); }
  void writeDiagnostic(const std::string& text) override { diagnostics_.push_back(text); }
  [[noreturn]] void terminate(int code) override { throw Ended{code}; }

 private:
  std::vector<std::string> events_;
  std::vector<std::string> diagnostics_;
};

}  // namespace pgv::test
