// The web skin host: who may talk to it, what a page gets when it opens, which page
// drives the program, and when the closing of pages ends the program.

#include "platform/skin/WebSkinHost.h"

#include <gtest/gtest.h>

// GCC's array-bounds analysis sees a false out-of-bounds index in Beast's inflate code
// when it inlines deeply; the exemption covers the Boost headers only.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>
#pragma GCC diagnostic pop
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace pgv::test {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using Json = nlohmann::json;
using namespace std::chrono_literals;
using platform::skin::WebFile;
using platform::skin::WebSkinHost;
using platform::skin::WebSkinHostOptions;

// Ending the program throws instead, so that a test can see it.
struct Ended {
  int code;
};

class TestHost : public WebSkinHost {
 public:
  using WebSkinHost::WebSkinHost;

 protected:
  [[noreturn]] void terminate(int code) override { throw Ended{code}; }
};

class Recorder : public platform::SkinCommandListener, public platform::SkinHostListener {
 public:
  void FSCommand(const std::string& command, const std::string& args) override {
    commands.push_back(command + "(" + args + ")");
  }
  void trayRestore() override {
    ++restores;
    if (onRestore) onRestore();
  }
  void trayMouse(int) override {}
  void trayMenuItem(const std::string&) override {}
  void timer(const std::string&) override {}

  std::vector<std::string> commands;
  std::atomic<int> restores{0};
  std::function<void()> onRestore;
};

struct HttpAnswer {
  int status = 0;
  std::string contentType;
  std::string body;
};

HttpAnswer get(int port, const std::string& target, const std::string& host = "",
               http::verb method = http::verb::get) {
  asio::io_context ioc;
  beast::tcp_stream stream(ioc);
  stream.connect(tcp::endpoint(asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)));
  http::request<http::string_body> request{method, target, 11};
  request.set(http::field::host, host.empty() ? "127.0.0.1:" + std::to_string(port) : host);
  http::write(stream, request);
  beast::flat_buffer buffer;
  http::response<http::string_body> response;
  http::read(stream, buffer, response);
  return {static_cast<int>(response.result_int()), std::string(response[http::field::content_type]),
          response.body()};
}

// The HTTP status a WebSocket upgrade request gets: 101 when the host takes it.
int upgradeStatus(int port, const std::string& target, const std::optional<std::string>& origin) {
  asio::io_context ioc;
  beast::tcp_stream stream(ioc);
  stream.connect(tcp::endpoint(asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)));
  http::request<http::empty_body> request{http::verb::get, target, 11};
  request.set(http::field::host, "127.0.0.1:" + std::to_string(port));
  request.set(http::field::connection, "Upgrade");
  request.set(http::field::upgrade, "websocket");
  request.set(http::field::sec_websocket_key, "dGhlIHNhbXBsZSBub25jZQ==");
  request.set(http::field::sec_websocket_version, "13");
  if (origin) request.set(http::field::origin, *origin);
  http::write(stream, request);
  beast::flat_buffer buffer;
  http::response_parser<http::string_body> parser;
  parser.skip(false);
  http::read_header(stream, buffer, parser);
  return static_cast<int>(parser.get().result_int());
}

// One page's WebSocket, as a browser would open it.
class Page {
 public:
  // 101 when the host took the page, 0 when it refused.
  int open(int port, const std::string& target, const std::optional<std::string>& origin) {
    ws_.next_layer().connect(tcp::endpoint(asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)));
    ws_.set_option(websocket::stream_base::decorator([origin](websocket::request_type& request) {
      if (origin) request.set(http::field::origin, *origin);
    }));
    websocket::response_type response;
    beast::error_code ec;
    ws_.handshake(response, "127.0.0.1:" + std::to_string(port), target, ec);
    return ec ? 0 : static_cast<int>(response.result_int());
  }

  void send(const Json& message) { ws_.write(asio::buffer(message.dump())); }

  // The next message, or nullopt when the connection closed or nothing came in time.
  std::optional<Json> next(std::chrono::milliseconds timeout = 5s) {
    if (broken_) return std::nullopt;
    std::optional<Json> message;
    bool done = false;
    buffer_.clear();
    ws_.async_read(buffer_, [&](beast::error_code ec, std::size_t) {
      done = true;
      if (!ec) message = Json::parse(beast::buffers_to_string(buffer_.data()));
    });
    ioc_.restart();
    ioc_.run_for(timeout);
    if (!done) broken_ = true;
    return message;
  }

  // The messages up to and including the first that matches.
  std::vector<Json> until(const std::function<bool(const Json&)>& match) {
    std::vector<Json> seen;
    while (auto message = next()) {
      seen.push_back(*message);
      if (match(*message)) return seen;
    }
    ADD_FAILURE() << "the awaited message did not come; got " << seen.size() << " others";
    return seen;
  }

  void close() {
    beast::error_code ec;
    ws_.close(websocket::close_code::normal, ec);
  }

 private:
  asio::io_context ioc_;
  websocket::stream<beast::tcp_stream> ws_{ioc_};
  beast::flat_buffer buffer_;
  bool broken_ = false;
};

bool isEvent(const Json& message, const std::string& kind) { return message.value("ev", "") == kind; }

class WebSkinHostTest : public ::testing::Test {
 protected:
  void start(std::chrono::milliseconds grace = 4000ms,
             std::function<std::optional<WebFile>(const std::string&)> openDocument = {}) {
    WebSkinHostOptions options;
    options.grace = grace;
    options.openDocument = std::move(openDocument);
    host_ = std::make_unique<TestHost>(std::move(options));
    host_->content().putPage("index.html", {"text/html; charset=utf-8", "<!doctype html><title>skin</title>", ""});
    host_->content().putPage("app.js", {"text/javascript; charset=utf-8", "export {};", ""});
    host_->setListener(&recorder_);
    std::string error;
    ASSERT_TRUE(host_->start(error)) << error;
    const std::string address = host_->address();
    port_ = std::stoi(address.substr(address.rfind(':') + 1));
    secret_ = address.substr(address.find('/', 7) + 1);
    secret_.pop_back();
  }

  std::string site(const std::string& path = "") const { return "/" + secret_ + "/" + path; }
  std::string origin() const { return "http://127.0.0.1:" + std::to_string(port_); }

  // Lets the user-interface side take what the pages sent.
  void settle() {
    for (int i = 0; i < 20; ++i) {
      host_->pump();
      std::this_thread::sleep_for(10ms);
    }
  }

  std::unique_ptr<platform::SkinControl> mainWindow() {
    auto window = host_->createWindow("mainfrm", recorder_);
    window->LoadMovie(0, "\\skin\\PGVX.swf");
    window->SetVariable("_root.IE_HI", "1");
    window->show(true);
    return window;
  }

  Recorder recorder_;
  std::unique_ptr<TestHost> host_;
  int port_ = 0;
  std::string secret_;
};

TEST_F(WebSkinHostTest, AnswersOnlyRequestsThatCarryTheSecretAndNameThisHost) {
  start();
  ASSERT_EQ(secret_.size(), 32u);
  struct Case {
    std::string target;
    std::string host;
    http::verb method;
    int status;
  };
  const std::string wrongSecret(32, '0');
  const std::vector<Case> cases = {
      {site(), "", http::verb::get, 200},
      {site("app.js?v=1"), "", http::verb::get, 200},
      {site("missing.js"), "", http::verb::get, 404},
      {"/", "", http::verb::get, 403},
      {"/index.html", "", http::verb::get, 403},
      {"/" + wrongSecret + "/", "", http::verb::get, 403},
      {"/" + secret_.substr(0, 31) + "/", "", http::verb::get, 403},
      {"/" + secret_, "", http::verb::get, 301},  // the secret alone: on to the site
      // A name that merely resolves here (DNS rebinding) is not this host.
      {site(), "evil.example:" + std::to_string(port_), http::verb::get, 403},
      {site(), "127.0.0.1:1", http::verb::get, 403},
      {site(), "localhost:" + std::to_string(port_), http::verb::get, 200},
      {site(), "", http::verb::post, 405},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target + " host " + c.host);
    const HttpAnswer answer = get(port_, c.target, c.host, c.method);
    EXPECT_EQ(answer.status, c.status);
    if (c.status == 403) {
      EXPECT_EQ(answer.body.find("skin"), std::string::npos);
    }
  }
  const HttpAnswer index = get(port_, site());
  EXPECT_EQ(index.contentType, "text/html; charset=utf-8");
  EXPECT_NE(index.body.find("<title>skin</title>"), std::string::npos);
}

TEST_F(WebSkinHostTest, TakesWebSocketsOnlyFromItsOwnPages) {
  start();
  const std::string own = origin();
  struct Case {
    std::string target;
    std::optional<std::string> origin;
    int status;
  };
  const std::vector<Case> cases = {
      {site("ws"), std::nullopt, 403},
      {site("ws"), std::string("http://evil.example"), 403},
      {site("ws"), std::string("null"), 403},  // a file or sandboxed page
      {site("ws"), std::string("http://127.0.0.1:" + std::to_string(port_ + 1)), 403},
      {"/ws", own, 403},
      {"/" + std::string(32, 'f') + "/ws", own, 403},
      {site("app.js"), own, 403},
      {site("ws"), own, 101},
      {site("ws"), std::string("http://localhost:" + std::to_string(port_)), 403},  // not the Host it asked
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target + " from " + c.origin.value_or("(no origin)"));
    EXPECT_EQ(upgradeStatus(port_, c.target, c.origin), c.status);
  }
}

TEST_F(WebSkinHostTest, NewPageGetsThePresentStateThenEveryEvent) {
  start();
  auto main = mainWindow();
  auto box = host_->createWindow("msgboxWindow", recorder_);
  box->LoadMovie(0, "\\skin\\ExternalMsg.swf");
  box->TGotoFrame("sign", 3);
  box->SetVariable("_root.title1", "Exit");
  host_->setTray(false, "PGVX");

  Page page;
  ASSERT_EQ(page.open(port_, site("ws"), origin()), 101);
  const auto replay = page.until([](const Json& m) { return isEvent(m, "sync") && m["phase"] == "end"; });
  ASSERT_FALSE(replay.empty());
  EXPECT_EQ(replay.front(), Json::parse(R"({"ev":"sync","phase":"begin"})"));
  const std::vector<Json> expected = {
      Json::parse(R"({"ev":"load","win":"mainfrm","movie":"\\skin\\PGVX.swf"})"),
      Json::parse(R"({"ev":"set","win":"mainfrm","name":"_root.IE_HI","value":"1"})"),
      Json::parse(R"({"ev":"show","win":"mainfrm","modal":false,"activate":true})"),
      Json::parse(R"({"ev":"load","win":"msgboxWindow","movie":"\\skin\\ExternalMsg.swf"})"),
      Json::parse(R"({"ev":"goto","win":"msgboxWindow","target":"sign","frame":3})"),
      Json::parse(R"({"ev":"set","win":"msgboxWindow","name":"_root.title1","value":"Exit"})"),
      Json::parse(R"({"ev":"tray","intray":false,"tip":"PGVX"})"),
  };
  EXPECT_EQ(std::vector<Json>(replay.begin() + 1, replay.end() - 1), expected);

  main->SetVariable("_root.RamValue", "57");
  EXPECT_EQ(page.next(), Json::parse(R"({"ev":"set","win":"mainfrm","name":"_root.RamValue","value":"57"})"));

  page.send({{"win", "mainfrm"}, {"var", "_root.IE_CO"}, {"value", "true"}});
  page.send({{"win", "mainfrm"}, {"cmd", "IDC_FS_IE"}, {"args", "0,0,0,0,1,1"}});
  settle();
  EXPECT_EQ(recorder_.commands, std::vector<std::string>{"IDC_FS_IE(0,0,0,0,1,1)"});
  EXPECT_EQ(main->GetVariable("_root.IE_CO"), "true");
}

TEST_F(WebSkinHostTest, ReloadedPageSeesWhatThePageChanged) {
  start();
  auto main = mainWindow();
  {
    Page page;
    ASSERT_EQ(page.open(port_, site("ws"), origin()), 101);
    page.until([](const Json& m) { return isEvent(m, "sync") && m["phase"] == "end"; });
    page.send({{"win", "mainfrm"}, {"var", "_root.IE_HI"}, {"value", "false"}});
    settle();
    page.close();
  }
  Page reloaded;
  ASSERT_EQ(reloaded.open(port_, site("ws"), origin()), 101);
  const auto replay = reloaded.until([](const Json& m) { return isEvent(m, "sync") && m["phase"] == "end"; });
  int found = 0;
  for (const Json& m : replay) {
    if (isEvent(m, "set") && m["name"] == "_root.IE_HI") {
      EXPECT_EQ(m["value"], "false");
      ++found;
    }
  }
  EXPECT_EQ(found, 1);
}

TEST_F(WebSkinHostTest, NewestPageDrivesTheProgramAndTheOlderOneIsToldSo) {
  start();
  auto main = mainWindow();
  Page older;
  ASSERT_EQ(older.open(port_, site("ws"), origin()), 101);
  older.until([](const Json& m) { return isEvent(m, "sync") && m["phase"] == "end"; });

  Page newer;
  ASSERT_EQ(newer.open(port_, site("ws"), origin()), 101);
  newer.until([](const Json& m) { return isEvent(m, "sync") && m["phase"] == "end"; });
  EXPECT_EQ(older.next(), Json::parse(R"({"ev":"elsewhere"})"));
  EXPECT_EQ(older.next(), std::nullopt);  // and closed

  newer.send({{"win", "mainfrm"}, {"cmd", "IDC_FS_HELP"}});
  settle();
  EXPECT_EQ(recorder_.commands, std::vector<std::string>{"IDC_FS_HELP()"});
  main->SetVariable("_root.RamValue", "12");
  EXPECT_EQ(newer.next().value_or(Json())["value"], "12");
}

TEST_F(WebSkinHostTest, ClosingTheLastPageEndsTheProgramOnlyAfterTheGracePeriod) {
  start(500ms);
  auto main = mainWindow();
  {
    Page page;
    ASSERT_EQ(page.open(port_, site("ws"), origin()), 101);
    page.until([](const Json& m) { return isEvent(m, "sync") && m["phase"] == "end"; });
    page.close();
  }
  // A reload comes back within the grace period: the program goes on.
  std::this_thread::sleep_for(50ms);
  Page reloaded;
  ASSERT_EQ(reloaded.open(port_, site("ws"), origin()), 101);
  reloaded.until([](const Json& m) { return isEvent(m, "sync") && m["phase"] == "end"; });
  std::this_thread::sleep_for(800ms);
  EXPECT_NO_THROW(settle());

  reloaded.close();
  std::this_thread::sleep_for(1000ms);
  try {
    settle();
    ADD_FAILURE() << "the program did not end";
  } catch (const Ended& ended) {
    EXPECT_EQ(ended.code, 0);
  }
}

TEST_F(WebSkinHostTest, InTheTrayTheProgramOutlivesItsPagesAndTheNextPageRestoresIt) {
  start(100ms);
  auto main = mainWindow();
  main->hide();
  host_->setTray(true, "PGVX");
  // Restoring shows the window and takes the icon down, as the program does.
  recorder_.onRestore = [&] {
    main->show(true);
    host_->setTray(false, "PGVX");
  };
  const auto restoredAfterReplay = [&](Page& page) {
    const auto seen = page.until([](const Json& m) { return isEvent(m, "tray") && m["intray"] == false; });
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(), Json::parse(R"({"ev":"sync","phase":"begin"})"));
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[seen.size() - 2], Json::parse(R"({"ev":"show","win":"mainfrm","modal":false,"activate":true})"));
  };
  {
    // The user-interface thread runs on its own, as in the program, so that the window's
    // coming back races the page's replay; the replay must still come first.
    std::atomic<bool> stop{false};
    std::thread ui([&] {
      while (!stop) {
        host_->pump();
        std::this_thread::sleep_for(1ms);
      }
    });
    Page page;
    EXPECT_EQ(page.open(port_, site("ws"), origin()), 101);
    restoredAfterReplay(page);
    stop = true;
    ui.join();
    EXPECT_EQ(recorder_.restores, 1);
    page.close();
  }
  // Back in the tray, the program outlives its last page.
  main->hide();
  host_->setTray(true, "PGVX");
  std::this_thread::sleep_for(400ms);
  EXPECT_NO_THROW(settle());

  Page again;
  ASSERT_EQ(again.open(port_, site("ws"), origin()), 101);
  again.until([](const Json& m) { return isEvent(m, "sync") && m["phase"] == "end"; });
  settle();
  EXPECT_EQ(recorder_.restores, 2);
}

TEST_F(WebSkinHostTest, ShellOpenOffersTheFileAsADocumentOfThePage) {
  std::vector<std::string> asked;
  start(4000ms, [&asked](const std::string& target) -> std::optional<WebFile> {
    asked.push_back(target);
    if (target != "C:\\Program Files\\Purgavia\\Logs\\11-12-2026_Log.txt") return std::nullopt;
    return WebFile{"text/plain; charset=windows-1252", "\"11.12.2026 08:30\"\tRemoved\tC:\\x\r\n", "11-12-2026_Log.txt"};
  });
  Page page;
  ASSERT_EQ(page.open(port_, site("ws"), origin()), 101);
  page.until([](const Json& m) { return isEvent(m, "sync") && m["phase"] == "end"; });

  host_->shell().shellExecute("Open", "C:\\Program Files\\Purgavia\\Logs\\11-12-2026_Log.txt", 3);
  const auto log = page.next().value_or(Json());
  ASSERT_TRUE(log.contains("url")) << log.dump();
  EXPECT_EQ(log["target"], "C:\\Program Files\\Purgavia\\Logs\\11-12-2026_Log.txt");
  const std::string url = log["url"];
  const HttpAnswer document = get(port_, site(url));
  EXPECT_EQ(document.status, 200);
  EXPECT_EQ(document.body, "\"11.12.2026 08:30\"\tRemoved\tC:\\x\r\n");
  EXPECT_EQ(get(port_, "/" + url).status, 403);  // documents need the secret too

  host_->shell().shellExecute("Open", "C:\\Program Files\\Purgavia\\PGVX.chm", 3);
  EXPECT_FALSE(page.next().value_or(Json()).contains("url"));
  host_->shell().shellExecute("Open", "https://www.example.com/", 1);
  EXPECT_EQ(page.next().value_or(Json()).value("url", ""), "https://www.example.com/");
  EXPECT_EQ(asked.size(), 2u);  // a web address is nothing to read
}

}  // namespace
}  // namespace pgv::test
