// The web skin host: pages, replay, grace period and documents around the wire protocol.

#include "platform/skin/WebSkinHost.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>

namespace pgv::platform::skin {
namespace {

using Json = nlohmann::ordered_json;

constexpr const char* kSyncBegin = R"({"ev":"sync","phase":"begin"})";
constexpr const char* kSyncEnd = R"({"ev":"sync","phase":"end"})";
constexpr const char* kElsewhere = R"({"ev":"elsewhere"})";
constexpr const char* kTrayRestore = R"({"tray":"restore"})";
// How long an ending program waits for its pages to take the last events.
constexpr auto kGoodbyeTime = std::chrono::milliseconds(1000);

bool startsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

bool isWebAddress(std::string_view target) {
  return startsWith(target, "http://") || startsWith(target, "https://");
}

}  // namespace

WebSkinHost::WebSkinHost(WebSkinHostOptions options)
    : JsonSkinHost(options.json), options_(std::move(options)), server_(content_, *this) {}

WebSkinHost::~WebSkinHost() { server_.stop(std::chrono::milliseconds(0)); }

bool WebSkinHost::start(std::string& error) { return server_.start(options_.port, error); }

// ---- program -> pages (user-interface thread) ---------------------------------------

void WebSkinHost::writeEvent(const std::string& json) {
  const std::string event = startsWith(json, R"({"ev":"shell")") ? withDocument(json) : json;
  std::lock_guard<std::mutex> lock(mutex_);
  replay_.programEvent(event);
  if (active_) server_.send(*active_, event);
}

std::string WebSkinHost::withDocument(const std::string& json) {
  Json event = Json::parse(json, nullptr, false);
  if (!event.is_object() || !equalsNoCase(event.value("verb", ""), "open")) return json;
  const std::string target = event.value("target", "");
  if (isWebAddress(target)) {
    event["url"] = target;
  } else if (options_.openDocument) {
    std::optional<WebFile> document;
    try {
      document = options_.openDocument(target);
    } catch (const std::exception&) {
      document.reset();
    }
    if (!document) return json;
    event["url"] = content_.putDocument(std::move(*document));
  } else {
    return json;
  }
  return event.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void WebSkinHost::terminate(int code) {
  server_.stop(kGoodbyeTime);
  std::fflush(nullptr);
  std::exit(code);
}

// ---- pages -> program (network thread) ----------------------------------------------

void WebSkinHost::pageOpened(PageId page) {
  ++openPages_;
  ++graceRound_;
  bool restore = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (active_) {
      server_.send(*active_, kElsewhere);
      server_.close(*active_);
    }
    active_ = page;
    server_.send(page, kSyncBegin);
    for (std::string& event : replay_.replay()) server_.send(page, std::move(event));
    server_.send(page, kSyncEnd);
    restore = replay_.inTray();
  }
  // Opening the address again is how the user gets the window back from the tray (a
  // page that another one replaces may not even have noticed that it is gone).
  if (restore) postLines({kTrayRestore});
}

void WebSkinHost::pageMessage(PageId page, std::string text) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    // A replaced page no longer drives the program.
    if (active_ != page) return;
    replay_.pageMessage(text);
  }
  postLines({std::move(text)});
}

void WebSkinHost::pageClosed(PageId page) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (active_ == page) active_.reset();
  }
  if (--openPages_ > 0) return;
  const std::uint64_t round = ++graceRound_;
  server_.after(options_.grace, [this, round] {
    if (round != graceRound_ || openPages_ > 0) return;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (replay_.inTray()) return;
    }
    postEndOfInput();
  });
}

}  // namespace pgv::platform::skin
