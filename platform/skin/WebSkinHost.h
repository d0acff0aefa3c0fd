#pragma once
// The web skin host: the skin is a set of web pages in the user's browser, served by the
// program itself on 127.0.0.1, and the wire protocol travels as WebSocket text frames,
// one message per frame, exactly as the stdio host speaks it on its streams.
//
// One page drives the program at a time: the newest. A page that opens (or reloads)
// first gets the present state as ordinary events between {"ev":"sync","phase":"begin"}
// and {"ev":"sync","phase":"end"}, then every event as it happens; a page that another
// one replaces gets {"ev":"elsewhere"} and is closed.
//
// When the last page has closed and none has come back within the grace period (a
// reload), the skin is gone: the program ends as the profile window's "EXIT" does,
// unless the main window is in the tray. Then the program keeps running, and any page
// that opens restores the window as the tray icon's restore event does.
//
// A shell "Open" of a file (the day's log) is offered to the page as a document: the
// event gets a "url" under which the page can show the file's contents; a web address
// gets its own address as "url".

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "platform/skin/JsonSkinHost.h"
#include "platform/skin/SkinReplay.h"
#include "platform/skin/WebContent.h"
#include "platform/skin/WebServer.h"

namespace pgv::platform::skin {

struct WebSkinHostOptions {
  JsonSkinHostOptions json;
  int port = 0;  // 0 = a port the system picks
  std::chrono::milliseconds grace{4000};
  // The file a shell "Open" names, read for a page; nullopt when there is none. Called on
  // the user-interface thread.
  std::function<std::optional<WebFile>(const std::string& target)> openDocument;
};

class WebSkinHost : public JsonSkinHost, private WebServer::Handler {
 public:
  explicit WebSkinHost(WebSkinHostOptions options);
  ~WebSkinHost() override;

  // The pages to serve; fill before start().
  WebContent& content() { return content_; }
  // Starts listening. False and a one-line reason when the port cannot be had.
  bool start(std::string& error);
  // http://127.0.0.1:PORT/SECRET/
  std::string address() const { return server_.address(); }

 protected:
  void writeEvent(const std::string& json) override;
  [[noreturn]] void terminate(int code) override;

 private:
  using PageId = WebServer::PageId;

  // WebServer::Handler (network thread)
  void pageOpened(PageId page) override;
  void pageMessage(PageId page, std::string text) override;
  void pageClosed(PageId page) override;

  std::string withDocument(const std::string& json);

  WebSkinHostOptions options_;
  WebContent content_;
  WebServer server_;

  std::mutex mutex_;
  SkinReplay replay_;             // guarded by mutex_
  std::optional<PageId> active_;  // guarded by mutex_

  // Network thread only.
  std::size_t openPages_ = 0;
  std::uint64_t graceRound_ = 0;
};

}  // namespace pgv::platform::skin
