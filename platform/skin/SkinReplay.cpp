// The skin's present state, for pages that open late.

#include "platform/skin/SkinReplay.h"

#include <nlohmann/json.hpp>
#include <optional>

namespace pgv::platform::skin {
namespace {

using Json = nlohmann::ordered_json;

std::string encode(const Json& event) { return event.dump(-1, ' ', false, Json::error_handler_t::replace); }

std::optional<Json> parseObject(std::string_view text) {
  Json j = Json::parse(text, nullptr, false);
  if (j.is_discarded() || !j.is_object()) return std::nullopt;
  return j;
}

std::string textOf(const Json& j, const char* key) {
  const auto it = j.find(key);
  return it != j.end() && it->is_string() ? it->get<std::string>() : std::string();
}

struct Window {
  std::string name;
  std::string movie;
  Json frames = Json::object();     // target -> frame, in the order first set
  Json variables = Json::object();  // name -> value, in the order first set
  std::optional<Json> move;
  std::optional<Json> show;  // the last "show" while shown
};

}  // namespace

struct SkinReplay::State {
  std::vector<Window> windows;  // in creation order
  std::optional<Json> tray;
  bool busy = false;
  std::vector<Json> asks;  // waiting, innermost last
  std::optional<Json> idle;
  std::optional<Json> exit;

  Window* newest(const std::string& name) {
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
      if (it->name == name) return &*it;
    }
    return nullptr;
  }
  Window* newestShown(const std::string& name) {
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
      if (it->name == name && it->show) return &*it;
    }
    return nullptr;
  }
  void load(const std::string& name, std::string movie) {
    std::erase_if(windows, [&](const Window& w) { return w.name == name && !w.show; });
    windows.push_back(Window{name, std::move(movie)});
  }
};

SkinReplay::SkinReplay() : state_(std::make_unique<State>()) {}
SkinReplay::~SkinReplay() = default;

void SkinReplay::programEvent(std::string_view json) {
  const auto event = parseObject(json);
  if (!event) return;
  State& s = *state_;
  const std::string kind = textOf(*event, "ev");
  const std::string name = textOf(*event, "win");
  s.idle.reset();
  if (kind == "load") {
    s.load(name, textOf(*event, "movie"));
  } else if (kind == "set") {
    if (Window* w = s.newest(name)) w->variables[textOf(*event, "name")] = textOf(*event, "value");
  } else if (kind == "goto") {
    if (Window* w = s.newest(name)) w->frames[textOf(*event, "target")] = event->value("frame", 0);
  } else if (kind == "move") {
    if (Window* w = s.newest(name)) w->move = *event;
  } else if (kind == "show") {
    if (Window* w = s.newest(name)) w->show = *event;
  } else if (kind == "hide") {
    if (Window* w = s.newestShown(name)) w->show.reset();
  } else if (kind == "tray") {
    s.tray = *event;
  } else if (kind == "cursor") {
    s.busy = textOf(*event, "value") == "busy";
  } else if (kind == "ask") {
    s.asks.push_back(*event);
  } else if (kind == "idle") {
    s.idle = *event;
  } else if (kind == "exit") {
    s.exit = *event;
  }
}

void SkinReplay::pageMessage(std::string_view json) {
  const auto message = parseObject(json);
  if (!message) return;
  State& s = *state_;
  if (message->contains("var")) {
    const auto value = message->find("value");
    if (value == message->end() || !value->is_string()) return;
    if (Window* w = s.newestShown(textOf(*message, "win"))) w->variables[textOf(*message, "var")] = *value;
  } else if (message->contains("answer") && !s.asks.empty()) {
    s.asks.pop_back();
  }
}

std::vector<std::string> SkinReplay::replay() const {
  const State& s = *state_;
  std::vector<std::string> events;
  for (const Window& w : s.windows) {
    events.push_back(encode(Json{{"ev", "load"}, {"win", w.name}, {"movie", w.movie}}));
    for (const auto& [target, frame] : w.frames.items()) {
      events.push_back(encode(Json{{"ev", "goto"}, {"win", w.name}, {"target", target}, {"frame", frame}}));
    }
    for (const auto& [name, value] : w.variables.items()) {
      events.push_back(encode(Json{{"ev", "set"}, {"win", w.name}, {"name", name}, {"value", value}}));
    }
    if (w.move) events.push_back(encode(*w.move));
    if (w.show) events.push_back(encode(*w.show));
  }
  if (s.tray) events.push_back(encode(*s.tray));
  if (s.busy) events.push_back(encode(Json{{"ev", "cursor"}, {"value", "busy"}}));
  for (const Json& ask : s.asks) events.push_back(encode(ask));
  if (s.idle) events.push_back(encode(*s.idle));
  if (s.exit) events.push_back(encode(*s.exit));
  return events;
}

bool SkinReplay::inTray() const {
  const State& s = *state_;
  return s.tray && s.tray->value("intray", false);
}

}  // namespace pgv::platform::skin
