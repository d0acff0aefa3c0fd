#pragma once
// The skin host of every skin that speaks the program's wire protocol: JSON objects, one
// per message, program -> skin as events ({"ev":"set",...}) and skin -> program as
// commands, variable changes, answers, tray events, timer ticks and clock settings.
//
// This class holds the protocol and the user-interface thread's side of it: the mirror of
// each window's variables, the queue of input, the holding back of input while a modal
// box or a question waits, the "idle" event, timers. A transport (stdio, WebSocket)
// derives from it, writes the encoded events (writeEvent) and posts what it receives
// (postLines, postEndOfInput) from any thread.
//
// "idle" goes out when the program has done everything that input caused and is about to
// wait again (inside a modal box or a question: {"ev":"idle","waiting":W}). Messages that
// arrive together share one idle; a variable change of the skin alone causes none, since
// the program does nothing for it until a command comes.
//
// Bad input never stops the program: a line that is not a JSON object, names an unknown
// or hidden window, lacks a field or has one of the wrong type gives one diagnostic line
// and is otherwise ignored.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Clock.h"
#include "platform/SkinControl.h"

namespace pgv::platform::skin {

struct JsonSkinHostOptions {
  // Timers tick only on {"tick":NAME} messages instead of by the clock.
  bool manualTimers = false;
  // The clock that {"clock":...} messages set; null refuses them.
  Clock* settableClock = nullptr;
  // The full-screen client area reported to the program.
  int screenWidth = 1024;
  int screenHeight = 738;
};

class JsonSkinHost : public SkinHost {
 public:
  explicit JsonSkinHost(JsonSkinHostOptions options);
  ~JsonSkinHost() override;
  JsonSkinHost(const JsonSkinHost&) = delete;
  JsonSkinHost& operator=(const JsonSkinHost&) = delete;

  // Transport side; any thread. Lines posted together are queued together, so a skin
  // that sends several messages at once finds them all waiting when the first is handled.
  void postLines(std::vector<std::string> lines);
  void postEndOfInput();
  void postDiagnostic(std::string text);

  // SkinHost
  std::unique_ptr<SkinControl> createWindow(const std::string& name, SkinCommandListener& listener) override;
  void setListener(SkinHostListener* listener) override { listener_ = listener; }
  void setMousePointer(MousePointer pointer) override;
  void setTray(bool inTray, const std::string& tip) override;
  void popupMenu(const std::vector<MenuItem>& items) override;
  void screenArea(int& width, int& height) override;
  Shell& shell() override;
  void startTimer(const std::string& name, int intervalMs) override;
  void pump() override;
  void run() override;
  [[noreturn]] void end(int code) override;
  void setIdleHook(std::function<void()> hook) override { idleHook_ = std::move(hook); }
  void setEndHook(std::function<void()> hook) override { endHook_ = std::move(hook); }

 protected:
  // Sends one encoded event (a JSON object without a line end).
  virtual void writeEvent(const std::string& json) = 0;
  // One line about input that was ignored or a problem of the host; stderr by default.
  virtual void writeDiagnostic(const std::string& text);
  // Ends the process.
  [[noreturn]] virtual void terminate(int code);

 private:
  class Window;
  class HostShell;
  struct Message;
  struct Wait;
  struct Timer;
  struct Input {
    enum class Kind { Line, End, Diagnostic } kind;
    std::string text;
  };

  // Events.
  void emit(const std::string& json);
  void emitIdle();

  // The loop.
  bool processNext(bool block);
  bool deliverHeld();
  bool fireDueTimer();
  bool takeInput(Input& input, bool block);
  void handleInput(const Input& input);
  std::optional<Message> decode(const std::string& line);
  bool mustHold(const Message& message) const;
  static bool causesIdle(const Message& message);
  void deliver(const Message& message);
  void deliverToWindow(const Message& message);
  void deliverTray(const Message& message);
  void deliverTick(const Message& message);
  void deliverClock(const Message& message);
  void waitUntil(const std::function<bool()>& done);
  std::optional<std::string> ask(std::string_view kind, const std::string* prompt);
  std::chrono::steady_clock::time_point nextTimerDeadline() const;

  // Windows.
  Window* newestShown(const std::string& name) const;
  bool anyNamed(const std::string& name) const;
  void forget(Window* window);

  void diagnostic(const std::string& text);

  JsonSkinHostOptions options_;
  SkinHostListener* listener_ = nullptr;
  std::function<void()> idleHook_;
  std::function<void()> endHook_;
  std::unique_ptr<HostShell> shell_;

  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<Input> incoming_;  // guarded by mutex_

  std::deque<Message> held_;
  std::vector<Wait*> waits_;
  std::vector<Window*> windows_;  // in creation order
  std::vector<Timer> timers_;
  bool inputSinceIdle_ = true;  // the first wait announces that start-up is done
  bool inTray_ = false;
  bool ending_ = false;
};

}  // namespace pgv::platform::skin
