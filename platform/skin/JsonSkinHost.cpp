// The wire protocol of the skin hosts and the user-interface thread's message loop.

#include "platform/skin/JsonSkinHost.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <map>
#include <nlohmann/json.hpp>

#include "platform/skin/IsoTime.h"

namespace pgv::platform::skin {
namespace {

using Json = nlohmann::ordered_json;

std::string encode(const Json& event) {
  // Program texts are UTF-8 already; a stray invalid byte must not cost the whole event.
  return event.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// Diagnostics name the input, shortened: a huge line must not become a huge diagnostic.
std::string excerpt(const std::string& line) {
  constexpr std::size_t kMax = 80;
  std::string out;
  for (std::size_t i = 0; i < line.size() && i < kMax; ++i) {
    const auto c = static_cast<unsigned char>(line[i]);
    out += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '?';
  }
  if (line.size() > kMax) out += "...";
  return out;
}

}  // namespace

struct JsonSkinHost::Message {
  enum class Kind { Command, Variable, Answer, Tray, Tick, Clock } kind = Kind::Command;
  std::string window;  // Command, Variable
  std::string name;    // the command, the variable, the tray action, the timer, the time
  std::string value;   // the command's argument, the variable's value, the tray menu item
  std::optional<std::string> answer;
  int button = 0;
};

struct JsonSkinHost::Wait {
  enum class Kind { Modal, Ask } kind;
  Window* window = nullptr;  // Modal
  bool answered = false;     // Ask
  std::optional<std::string> answer;
};

struct JsonSkinHost::Timer {
  std::string name;
  std::chrono::milliseconds interval{0};
  std::chrono::steady_clock::time_point next;
  bool running = false;
};

// One window: its control's variables as the skin holds them, and whether it is shown.
class JsonSkinHost::Window : public SkinControl {
 public:
  Window(JsonSkinHost& host, std::string name, SkinCommandListener& listener)
      : host_(host), name_(std::move(name)), listener_(listener) {}
  ~Window() override { host_.forget(this); }

  const std::string& windowName() const override { return name_; }

  void LoadMovie(int /*layer*/, const std::string& url) override {
    host_.emit(encode(Json{{"ev", "load"}, {"win", name_}, {"movie", url}}));
  }
  void SetVariable(const std::string& name, const std::string& value) override {
    variables_[name] = value;
    host_.emit(encode(Json{{"ev", "set"}, {"win", name_}, {"name", name}, {"value", value}}));
  }
  std::string GetVariable(const std::string& name) override {
    const auto it = variables_.find(name);
    return it == variables_.end() ? std::string() : it->second;
  }
  void TGotoFrame(const std::string& target, int frame) override {
    host_.emit(encode(Json{{"ev", "goto"}, {"win", name_}, {"target", target}, {"frame", frame}}));
  }
  // The skin scales itself; size and zoom are not part of the protocol.
  void Zoom(int /*percent*/) override {}
  void setSize(int /*width*/, int /*height*/) override {}

  void show(bool activate) override {
    shown_ = true;
    host_.emit(encode(Json{{"ev", "show"}, {"win", name_}, {"modal", false}, {"activate", activate}}));
  }
  void showModal() override {
    shown_ = true;
    host_.emit(encode(Json{{"ev", "show"}, {"win", name_}, {"modal", true}, {"activate", true}}));
    Wait wait{Wait::Kind::Modal, this};
    host_.waits_.push_back(&wait);
    struct Pop {
      std::vector<Wait*>& waits;
      ~Pop() { waits.pop_back(); }
    } pop{host_.waits_};
    host_.inputSinceIdle_ = true;
    host_.waitUntil([this] { return !shown_; });
  }
  void hide() override {
    shown_ = false;
    host_.emit(encode(Json{{"ev", "hide"}, {"win", name_}}));
  }
  bool visible() const override { return shown_; }
  void place(int left, int top, bool topmost) override {
    host_.emit(encode(Json{{"ev", "move"}, {"win", name_}, {"left", left}, {"top", top}, {"topmost", topmost}}));
  }
  // The skin draws and moves its own windows.
  void beginDrag() override {}
  bool installContextMenuFilter() override { return false; }
  void removeContextMenuFilter() override {}

  void skinSets(const std::string& name, const std::string& value) { variables_[name] = value; }
  SkinCommandListener& listener() { return listener_; }

 private:
  JsonSkinHost& host_;
  std::string name_;
  SkinCommandListener& listener_;
  std::map<std::string, std::string> variables_;
  bool shown_ = false;
};

// The shell services: asks and notices of the protocol.
class JsonSkinHost::HostShell : public Shell {
 public:
  explicit HostShell(JsonSkinHost& host) : host_(host) {}

  void shellExecute(std::string_view verb, std::string_view target, int show) override {
    host_.emit(encode(Json{{"ev", "shell"}, {"verb", verb}, {"target", target}, {"show", show}}));
  }
  void runCommandLine(std::string_view commandLine, int show) override {
    host_.emit(encode(Json{{"ev", "shell"}, {"verb", "run"}, {"target", commandLine}, {"show", show}}));
  }
  std::optional<std::string> browseForFolder() override { return host_.ask("folder", nullptr); }
  std::optional<std::string> openFileDialog() override { return host_.ask("file", nullptr); }
  void messageBox(std::string_view text) override {
    host_.emit(encode(Json{{"ev", "notice"}, {"text", text}}));
  }
  std::optional<std::string> inputBox(std::string_view prompt) override {
    const std::string text(prompt);
    return host_.ask("input", &text);
  }
  // The skin's windows are the only windows there are.
  bool topLevelWindowExists(std::string_view /*title*/) override { return false; }

 private:
  JsonSkinHost& host_;
};

JsonSkinHost::JsonSkinHost(JsonSkinHostOptions options)
    : options_(options), shell_(std::make_unique<HostShell>(*this)) {}

JsonSkinHost::~JsonSkinHost() = default;

// ---- transport side -------------------------------------------------------------

void JsonSkinHost::postLines(std::vector<std::string> lines) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& line : lines) incoming_.push_back(Input{Input::Kind::Line, std::move(line)});
  }
  arrived_.notify_one();
}

void JsonSkinHost::postEndOfInput() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    incoming_.push_back(Input{Input::Kind::End, {}});
  }
  arrived_.notify_one();
}

void JsonSkinHost::postDiagnostic(std::string text) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    incoming_.push_back(Input{Input::Kind::Diagnostic, std::move(text)});
  }
  arrived_.notify_one();
}

void JsonSkinHost::writeDiagnostic(const std::string& text) {
  std::fprintf(stderr, "purgavia: %s\n", text.c_str());
  std::fflush(stderr);
}

void JsonSkinHost::terminate(int code) {
  std::fflush(nullptr);
  std::exit(code);
}

// ---- SkinHost -------------------------------------------------------------------

std::unique_ptr<SkinControl> JsonSkinHost::createWindow(const std::string& name, SkinCommandListener& listener) {
  auto window = std::make_unique<Window>(*this, name, listener);
  windows_.push_back(window.get());
  return window;
}

void JsonSkinHost::setMousePointer(MousePointer pointer) {
  emit(encode(Json{{"ev", "cursor"}, {"value", pointer == MousePointer::Busy ? "busy" : "arrow"}}));
}

void JsonSkinHost::setTray(bool inTray, const std::string& tip) {
  inTray_ = inTray;
  emit(encode(Json{{"ev", "tray"}, {"intray", inTray}, {"tip", tip}}));
}

void JsonSkinHost::popupMenu(const std::vector<MenuItem>& items) {
  Json list = Json::array();
  for (const auto& item : items) list.push_back(Json{{"item", item.id}, {"caption", item.caption}});
  emit(encode(Json{{"ev", "menu"}, {"items", list}}));
}

void JsonSkinHost::screenArea(int& width, int& height) {
  width = options_.screenWidth;
  height = options_.screenHeight;
}

Shell& JsonSkinHost::shell() { return *shell_; }

void JsonSkinHost::startTimer(const std::string& name, int intervalMs) {
  const auto interval = std::chrono::milliseconds(intervalMs > 0 ? intervalMs : 1);
  for (auto& timer : timers_) {
    if (timer.name == name) {
      timer.interval = interval;
      timer.next = std::chrono::steady_clock::now() + interval;
      return;
    }
  }
  timers_.push_back(Timer{name, interval, std::chrono::steady_clock::now() + interval, false});
}

void JsonSkinHost::pump() {
  while (processNext(false)) {
  }
}

void JsonSkinHost::run() {
  for (;;) processNext(true);
}

void JsonSkinHost::end(int code) {
  if (!ending_) {
    ending_ = true;
    if (endHook_) {
      try {
        endHook_();
      } catch (const std::exception& e) {
        diagnostic(std::string("while ending: ") + e.what());
      }
    }
    emit(encode(Json{{"ev", "exit"}, {"code", code}}));
  }
  terminate(code);
  std::_Exit(code);  // in case a transport's terminate came back
}

// ---- events ---------------------------------------------------------------------

void JsonSkinHost::emit(const std::string& json) { writeEvent(json); }

void JsonSkinHost::emitIdle() {
  if (waits_.empty()) {
    emit(encode(Json{{"ev", "idle"}}));
    return;
  }
  const Wait& top = *waits_.back();
  const std::string waiting = top.kind == Wait::Kind::Ask ? "ask" : top.window->windowName();
  emit(encode(Json{{"ev", "idle"}, {"waiting", waiting}}));
}

void JsonSkinHost::diagnostic(const std::string& text) { writeDiagnostic(text); }

// ---- the loop ---------------------------------------------------------------------

// Handles one thing: held input that may go now, a due timer, or new input. Returns
// false when there was nothing (only when not blocking, or when a timer became due).
bool JsonSkinHost::processNext(bool block) {
  if (deliverHeld()) return true;
  if (fireDueTimer()) return true;
  Input input;
  if (!takeInput(input, block)) return false;
  handleInput(input);
  return true;
}

void JsonSkinHost::waitUntil(const std::function<bool()>& done) {
  while (!done()) processNext(true);
}

bool JsonSkinHost::deliverHeld() {
  for (auto it = held_.begin(); it != held_.end(); ++it) {
    if (mustHold(*it)) continue;
    Message message = std::move(*it);
    held_.erase(it);
    if (causesIdle(message)) inputSinceIdle_ = true;
    deliver(message);
    return true;
  }
  return false;
}

bool JsonSkinHost::fireDueTimer() {
  if (options_.manualTimers || !listener_) return false;
  const auto now = std::chrono::steady_clock::now();
  for (auto& timer : timers_) {
    if (timer.running || timer.next > now) continue;
    // Like a window timer, a late tick is not made up for.
    timer.next = now + timer.interval;
    timer.running = true;
    const std::string name = timer.name;
    try {
      listener_->timer(name);
    } catch (const std::exception& e) {
      diagnostic("timer " + name + " failed: " + e.what());
    }
    for (auto& t : timers_) {
      if (t.name == name) t.running = false;
    }
    return true;
  }
  return false;
}

std::chrono::steady_clock::time_point JsonSkinHost::nextTimerDeadline() const {
  auto next = std::chrono::steady_clock::time_point::max();
  if (options_.manualTimers || !listener_) return next;
  for (const auto& timer : timers_) {
    if (!timer.running && timer.next < next) next = timer.next;
  }
  return next;
}

bool JsonSkinHost::takeInput(Input& input, bool block) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!incoming_.empty()) {
      input = std::move(incoming_.front());
      incoming_.pop_front();
      return true;
    }
  }
  if (!block) return false;
  // Everything the input caused is done: save, then tell the skin.
  if (idleHook_) {
    try {
      idleHook_();
    } catch (const std::exception& e) {
      diagnostic(e.what());
    }
  }
  if (inputSinceIdle_) {
    inputSinceIdle_ = false;
    emitIdle();
  }
  std::unique_lock<std::mutex> lock(mutex_);
  const auto deadline = nextTimerDeadline();
  if (deadline == std::chrono::steady_clock::time_point::max()) {
    arrived_.wait(lock, [this] { return !incoming_.empty(); });
  } else if (!arrived_.wait_until(lock, deadline, [this] { return !incoming_.empty(); })) {
    return false;
  }
  input = std::move(incoming_.front());
  incoming_.pop_front();
  return true;
}

void JsonSkinHost::handleInput(const Input& input) {
  switch (input.kind) {
    case Input::Kind::End:
      end(0);
      return;
    case Input::Kind::Diagnostic:
      inputSinceIdle_ = true;
      diagnostic("skin input ignored: " + input.text);
      return;
    case Input::Kind::Line:
      break;
  }
  auto message = decode(input.text);
  if (!message || causesIdle(*message)) inputSinceIdle_ = true;
  if (!message) return;
  if (mustHold(*message)) {
    held_.push_back(std::move(*message));
    return;
  }
  deliver(*message);
}

std::optional<JsonSkinHost::Message> JsonSkinHost::decode(const std::string& line) {
  auto refuse = [&](const std::string& why) {
    diagnostic("skin input ignored: " + why + ": " + excerpt(line));
    return std::optional<Message>();
  };
  Json j;
  try {
    j = Json::parse(line);
  } catch (const std::exception&) {
    return refuse("not JSON");
  }
  if (!j.is_object()) return refuse("not a JSON object");

  auto text = [&](const char* key, std::string& out) {
    const auto it = j.find(key);
    if (it == j.end() || !it->is_string()) return false;
    out = it->get<std::string>();
    return true;
  };

  Message m;
  if (j.contains("cmd")) {
    m.kind = Message::Kind::Command;
    if (!text("win", m.window)) return refuse("\"win\" missing or not a text");
    if (!text("cmd", m.name)) return refuse("\"cmd\" is not a text");
    if (j.contains("args") && !text("args", m.value)) return refuse("\"args\" is not a text");
    return m;
  }
  if (j.contains("var")) {
    m.kind = Message::Kind::Variable;
    if (!text("win", m.window)) return refuse("\"win\" missing or not a text");
    if (!text("var", m.name)) return refuse("\"var\" is not a text");
    if (!text("value", m.value)) return refuse("\"value\" missing or not a text");
    return m;
  }
  if (j.contains("answer")) {
    m.kind = Message::Kind::Answer;
    const auto& answer = j["answer"];
    if (answer.is_string()) m.answer = answer.get<std::string>();
    else if (!answer.is_null()) return refuse("\"answer\" is neither a text nor null");
    return m;
  }
  if (j.contains("tray")) {
    m.kind = Message::Kind::Tray;
    if (!text("tray", m.name)) return refuse("\"tray\" is not a text");
    if (m.name == "restore") return m;
    if (m.name == "click") {
      const auto it = j.find("button");
      if (it == j.end() || !it->is_number_integer()) return refuse("\"button\" missing or not a number");
      m.button = it->get<int>();
      return m;
    }
    if (m.name == "menu") {
      if (!text("item", m.value)) return refuse("\"item\" missing or not a text");
      return m;
    }
    return refuse("unknown tray event");
  }
  if (j.contains("tick")) {
    m.kind = Message::Kind::Tick;
    if (!text("tick", m.name)) return refuse("\"tick\" is not a text");
    return m;
  }
  if (j.contains("clock")) {
    m.kind = Message::Kind::Clock;
    if (!text("clock", m.name)) return refuse("\"clock\" is not a text");
    return m;
  }
  return refuse("unknown message");
}

// A variable the skin changed is only kept in the window's mirror: the program does
// nothing for it, so it is covered by the idle of the input that follows it. Everything
// else, bad input included, is followed by an idle.
bool JsonSkinHost::causesIdle(const Message& message) { return message.kind != Message::Kind::Variable; }

// While a modal box waits only its own window takes input; while a question waits, no
// window does. Ticks and clock changes are not a window's input and always go through.
bool JsonSkinHost::mustHold(const Message& message) const {
  if (waits_.empty()) return false;
  const Wait& top = *waits_.back();
  switch (message.kind) {
    case Message::Kind::Tick:
    case Message::Kind::Clock:
      return false;
    case Message::Kind::Answer:
      if (top.kind == Wait::Kind::Ask) return false;
      for (const Wait* wait : waits_) {
        if (wait->kind == Wait::Kind::Ask) return true;
      }
      return false;
    case Message::Kind::Tray:
      return true;
    case Message::Kind::Command:
    case Message::Kind::Variable:
      return top.kind == Wait::Kind::Ask || message.window != top.window->windowName();
  }
  return false;
}

void JsonSkinHost::deliver(const Message& message) {
  try {
    switch (message.kind) {
      case Message::Kind::Command:
      case Message::Kind::Variable:
        deliverToWindow(message);
        return;
      case Message::Kind::Answer:
        if (waits_.empty() || waits_.back()->kind != Wait::Kind::Ask) {
          diagnostic("skin input ignored: no question is waiting for an answer");
          return;
        }
        waits_.back()->answered = true;
        waits_.back()->answer = message.answer;
        return;
      case Message::Kind::Tray:
        deliverTray(message);
        return;
      case Message::Kind::Tick:
        deliverTick(message);
        return;
      case Message::Kind::Clock:
        deliverClock(message);
        return;
    }
  } catch (const std::exception& e) {
    // A handler that failed must not take the host down with it.
    diagnostic(std::string("handling skin input failed: ") + e.what());
  }
}

void JsonSkinHost::deliverToWindow(const Message& message) {
  Window* window = newestShown(message.window);
  if (!window) {
    inputSinceIdle_ = true;  // bad input: answered by an idle like any other
    diagnostic("skin input ignored: " +
               (anyNamed(message.window) ? "window \"" + message.window + "\" is not shown"
                                         : "no window \"" + message.window + "\""));
    return;
  }
  if (message.kind == Message::Kind::Variable) {
    window->skinSets(message.name, message.value);
    return;
  }
  window->listener().FSCommand(message.name, message.value);
}

void JsonSkinHost::deliverTray(const Message& message) {
  if (!inTray_ || !listener_) {
    diagnostic("skin input ignored: the tray icon is not shown");
    return;
  }
  if (message.name == "restore") listener_->trayRestore();
  else if (message.name == "click") listener_->trayMouse(message.button);
  else listener_->trayMenuItem(message.value);
}

void JsonSkinHost::deliverTick(const Message& message) {
  if (!options_.manualTimers) {
    diagnostic("skin input ignored: timers tick by themselves (start with --timers manual)");
    return;
  }
  for (auto& timer : timers_) {
    if (timer.name != message.name) continue;
    if (timer.running || !listener_) return;
    timer.running = true;
    try {
      listener_->timer(message.name);
    } catch (...) {
      timer.running = false;
      throw;
    }
    for (auto& t : timers_) {
      if (t.name == message.name) t.running = false;
    }
    return;
  }
  diagnostic("skin input ignored: no timer \"" + message.name + "\" is running");
}

void JsonSkinHost::deliverClock(const Message& message) {
  if (!options_.settableClock) {
    diagnostic("skin input ignored: the clock can be set only with --clock");
    return;
  }
  const auto time = parseIsoLocalTime(message.name);
  if (!time) {
    diagnostic("skin input ignored: not a time of the form YYYY-MM-DDTHH:MM:SS: " + excerpt(message.name));
    return;
  }
  options_.settableClock->setLocalTime(*time);
}

std::optional<std::string> JsonSkinHost::ask(std::string_view kind, const std::string* prompt) {
  Json event{{"ev", "ask"}, {"kind", kind}};
  if (prompt) event["prompt"] = *prompt;
  emit(encode(event));
  Wait wait{Wait::Kind::Ask};
  waits_.push_back(&wait);
  struct Pop {
    std::vector<Wait*>& waits;
    ~Pop() { waits.pop_back(); }
  } pop{waits_};
  inputSinceIdle_ = true;
  waitUntil([&wait] { return wait.answered; });
  return wait.answer;
}

// ---- windows --------------------------------------------------------------------

JsonSkinHost::Window* JsonSkinHost::newestShown(const std::string& name) const {
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    if ((*it)->windowName() == name && (*it)->visible()) return *it;
  }
  return nullptr;
}

bool JsonSkinHost::anyNamed(const std::string& name) const {
  for (const Window* window : windows_) {
    if (window->windowName() == name) return true;
  }
  return false;
}

void JsonSkinHost::forget(Window* window) {
  std::erase(windows_, window);
}

}  // namespace pgv::platform::skin
