#pragma once
// The stdio skin host: the wire protocol as one JSON object per line, input on stdin,
// events on stdout (which carries nothing else), diagnostics on stderr. A reader thread
// only splits stdin into lines and queues them; everything else happens on the
// user-interface thread. The end of stdin ends the program (the skin is gone).

#include <memory>
#include <thread>

#include "platform/StdStreams.h"
#include "platform/skin/JsonSkinHost.h"

namespace pgv::platform::skin {

class StdioSkinHost : public JsonSkinHost {
 public:
  // A line longer than this is dropped with a diagnostic.
  static constexpr std::size_t kMaxLine = 1u << 20;

  explicit StdioSkinHost(JsonSkinHostOptions options);
  ~StdioSkinHost() override;

  // Starts reading the input.
  void start();

 protected:
  void writeEvent(const std::string& json) override;

 private:
  void readLoop();

  std::unique_ptr<StandardInput> input_;
  bool outputBroken_ = false;
  std::thread reader_;
};

}  // namespace pgv::platform::skin
