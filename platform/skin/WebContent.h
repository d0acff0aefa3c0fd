#pragma once
// What the web skin host serves over HTTP: the skin pages, loaded once at start, and the
// documents the program opened (the day's log file), added while it runs. Thread-safe:
// the user-interface thread adds, the network thread reads.

#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace pgv::platform::skin {

struct WebFile {
  std::string contentType;
  std::string body;
  // Sent as Content-Disposition: inline with this file name ("" = none).
  std::string fileName;
};

class WebContent {
 public:
  // Documents beyond this many are forgotten, oldest first.
  static constexpr std::size_t kMaxDocuments = 8;

  // A page file under its path relative to the site ("index.html", "app.js").
  void putPage(const std::string& path, WebFile file);
  // A document; returns its path ("doc/<id>/<name>"), unguessable.
  std::string putDocument(WebFile file);

  // The file at a path relative to the site; "" is the start page.
  std::shared_ptr<const WebFile> find(std::string_view path) const;

  // The content type that fits a file name's extension.
  static std::string typeOf(std::string_view name);

 private:
  mutable std::mutex mutex_;
  std::map<std::string, std::shared_ptr<const WebFile>, std::less<>> files_;
  std::deque<std::string> documents_;  // oldest first
};

// A new random token of 32 hexadecimal digits (128 bits).
std::string randomToken();

}  // namespace pgv::platform::skin
