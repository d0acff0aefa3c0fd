#pragma once
// The web skin host's network side: an HTTP and WebSocket server (Boost.Beast) on
// 127.0.0.1 with one network thread.
//
// Every request must carry the per-start secret as the first path segment
// (http://127.0.0.1:PORT/SECRET/...) and name this server in its Host header; a
// WebSocket upgrade (at /SECRET/ws) must also come from a page of this server (its
// Origin header is http:// + that Host). Everything else is refused with 403, so that
// neither another web page in the user's browser nor a rebound host name can drive
// the program. Files come from a WebContent; nothing is read from the disk here.
//
// The network thread only moves bytes: it hands every page event to the Handler, which
// must only queue or note what it gets.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/skin/WebContent.h"

namespace pgv::platform::skin {

class WebServer {
 public:
  using PageId = std::uint64_t;

  // Called on the network thread.
  class Handler {
   public:
    virtual ~Handler() = default;
    // A page's WebSocket is open; it receives what is sent to it from now on.
    virtual void pageOpened(PageId page) = 0;
    // A text message of a page.
    virtual void pageMessage(PageId page, std::string text) = 0;
    // A page's WebSocket has closed (page closed, reloaded, gone silent, or closed here).
    virtual void pageClosed(PageId page) = 0;
  };

  // A page message longer than this closes the page's connection.
  static constexpr std::size_t kMaxMessage = 1u << 20;
  // A page that lets more than this pile up unsent is dropped.
  static constexpr std::size_t kMaxQueued = 64u << 20;

  WebServer(WebContent& content, Handler& handler);
  ~WebServer();
  WebServer(const WebServer&) = delete;
  WebServer& operator=(const WebServer&) = delete;

  // Listens on 127.0.0.1:port (0 = a port the system picks) with a new secret and starts
  // the network thread. False and a one-line reason when the port cannot be had.
  bool start(int port, std::string& error);
  int port() const;
  const std::string& secret() const;
  // http://127.0.0.1:PORT/SECRET/
  std::string address() const;

  // Any thread. Messages to one page keep their order; what the Handler sends from the
  // network thread goes out before anything other threads send afterwards. Unknown or
  // closed pages are ignored.
  void send(PageId page, std::string text);
  // Closes a page's connection once what was sent to it before has gone out.
  void close(PageId page);
  // Runs fn on the network thread after delay.
  void after(std::chrono::milliseconds delay, std::function<void()> fn);
  // Sends what is queued, closes every page and stops the network thread; waits at most
  // timeout for the pages to take their last messages. Idempotent.
  void stop(std::chrono::milliseconds timeout);

 private:
  class Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace pgv::platform::skin
