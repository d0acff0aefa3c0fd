// The web skin host's HTTP and WebSocket server, on Boost.Beast.

#include "platform/skin/WebServer.h"

#include <atomic>
// GCC's array-bounds analysis sees a false out-of-bounds index in Beast's inflate code
// when it inlines deeply (-O3); the exemption covers the Boost headers only.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>
#pragma GCC diagnostic pop
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string_view>
#include <thread>

namespace pgv::platform::skin {
namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using Request = http::request<http::string_body>;
using Response = http::response<http::string_body>;

constexpr std::size_t kMaxRequestHeader = 16 * 1024;
constexpr std::size_t kMaxRequestBody = 16 * 1024;
constexpr auto kRequestTimeout = std::chrono::seconds(30);

// Compares without leaking through the time taken where the first difference lies.
bool sameSecret(std::string_view given, std::string_view secret) {
  if (given.size() != secret.size()) return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < given.size(); ++i) {
    difference |= static_cast<unsigned char>(given[i] ^ secret[i]);
  }
  return difference == 0;
}

// Beast's own string view, as the standard one.
std::string_view view(beast::string_view text) { return {text.data(), text.size()}; }

std::string_view withoutQuery(std::string_view target) {
  const auto mark = target.find_first_of("?#");
  return mark == std::string_view::npos ? target : target.substr(0, mark);
}

}  // namespace

class WebServer::Impl {
 public:
  class WsSession;
  class HttpSession;

  Impl(WebContent& content, Handler& handler) : content_(content), handler_(handler), acceptor_(ioc_) {}

  WebContent& content_;
  Handler& handler_;
  asio::io_context ioc_{1};
  tcp::acceptor acceptor_;
  std::thread thread_;
  std::string secret_;
  int port_ = 0;
  std::atomic<bool> stopped_{false};

  // Network thread only.
  PageId nextPage_ = 1;
  std::map<PageId, std::weak_ptr<WsSession>> pages_;
  std::atomic<std::size_t> openPages_{0};

  // Which Host header values name this server.
  bool ownHost(std::string_view host) const {
    const std::string port = ":" + std::to_string(port_);
    return host == "127.0.0.1" + port || host == "localhost" + port;
  }

  void accept();
  void onAccept(beast::error_code ec, tcp::socket socket);
  template <class Fn>
  void withPage(PageId page, Fn fn);
  void opened(const std::shared_ptr<WsSession>& session);
  void closed(PageId page);
  void closeAll();
};

// One page's WebSocket.
class WebServer::Impl::WsSession : public std::enable_shared_from_this<WsSession> {
 public:
  WsSession(Impl& server, tcp::socket&& socket, PageId id) : server_(server), ws_(std::move(socket)), id_(id) {}

  PageId id() const { return id_; }

  void accept(Request request) {
    // Pings keep a page that has quietly gone (a crashed browser) from counting as open
    // for ever.
    websocket::stream_base::timeout timeout = websocket::stream_base::timeout::suggested(beast::role_type::server);
    timeout.idle_timeout = std::chrono::seconds(30);
    timeout.keep_alive_pings = true;
    ws_.set_option(timeout);
    ws_.read_message_max(kMaxMessage);
    ws_.set_option(websocket::stream_base::decorator(
        [](websocket::response_type& response) { response.set(http::field::server, "Purgavia"); }));
    ws_.async_accept(request, beast::bind_front_handler(&WsSession::onAccept, shared_from_this()));
  }

  void send(std::string text) {
    if (closing_ || ended_) return;
    queuedBytes_ += text.size();
    if (queuedBytes_ > kMaxQueued) {
      // The page does not keep up; dropping it beats holding the program's memory.
      queue_.clear();
      queuedBytes_ = 0;
      beast::get_lowest_layer(ws_).socket().close();
      return;
    }
    queue_.push_back(std::move(text));
    if (queue_.size() == 1) write();
  }

  void close() {
    if (closing_ || ended_) return;
    closing_ = true;
    if (queue_.empty()) closeNow();
  }

 private:
  void onAccept(beast::error_code ec) {
    if (ec) return;
    server_.opened(shared_from_this());
    read();
  }

  void read() { ws_.async_read(buffer_, beast::bind_front_handler(&WsSession::onRead, shared_from_this())); }

  void onRead(beast::error_code ec, std::size_t /*bytes*/) {
    if (ec) {
      end();
      return;
    }
    if (ws_.got_text()) server_.handler_.pageMessage(id_, beast::buffers_to_string(buffer_.data()));
    buffer_.consume(buffer_.size());
    read();
  }

  void write() {
    ws_.text(true);
    ws_.async_write(asio::buffer(queue_.front()), beast::bind_front_handler(&WsSession::onWrite, shared_from_this()));
  }

  void onWrite(beast::error_code ec, std::size_t /*bytes*/) {
    if (ec) return;  // the read fails as well and ends the session
    queuedBytes_ -= queue_.front().size();
    queue_.pop_front();
    if (!queue_.empty()) write();
    else if (closing_) closeNow();
  }

  void closeNow() {
    ws_.async_close(websocket::close_code::normal, [self = shared_from_this()](beast::error_code) {});
  }

  void end() {
    if (ended_) return;
    ended_ = true;
    server_.closed(id_);
  }

  Impl& server_;
  websocket::stream<beast::tcp_stream> ws_;
  PageId id_;
  beast::flat_buffer buffer_;
  std::deque<std::string> queue_;
  std::size_t queuedBytes_ = 0;
  bool closing_ = false;
  bool ended_ = false;
};

// One HTTP connection: the pages, the documents and the WebSocket upgrade.
class WebServer::Impl::HttpSession : public std::enable_shared_from_this<HttpSession> {
 public:
  HttpSession(Impl& server, tcp::socket&& socket) : server_(server), stream_(std::move(socket)) {}

  void read() {
    parser_.emplace();
    parser_->header_limit(kMaxRequestHeader);
    parser_->body_limit(kMaxRequestBody);
    stream_.expires_after(kRequestTimeout);
    http::async_read(stream_, buffer_, *parser_, beast::bind_front_handler(&HttpSession::onRead, shared_from_this()));
  }

 private:
  void onRead(beast::error_code ec, std::size_t /*bytes*/) {
    if (ec) {
      beast::error_code ignored;
      stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
      return;
    }
    Request request = parser_->release();
    if (websocket::is_upgrade(request)) {
      upgrade(std::move(request));
      return;
    }
    respond(answer(request));
  }

  // The part of the target after /SECRET/, or nullopt when the secret is missing or wrong.
  std::optional<std::string_view> sitePath(std::string_view target) const {
    target = withoutQuery(target);
    if (target.size() < 2 || target[0] != '/') return std::nullopt;
    target.remove_prefix(1);
    const auto slash = target.find('/');
    if (!sameSecret(target.substr(0, slash), server_.secret_)) return std::nullopt;
    if (slash == std::string_view::npos) return std::nullopt;
    return target.substr(slash + 1);
  }

  bool hostAllowed(const Request& request) const {
    const auto host = request.find(http::field::host);
    return host != request.end() && server_.ownHost(view(host->value()));
  }

  Response answer(const Request& request) const {
    if (!hostAllowed(request)) return plain(request, http::status::forbidden, "Forbidden\n");
    const std::string_view target = withoutQuery(view(request.target()));
    // The secret alone, without the closing slash: the pages' relative links need it.
    if (target.size() == server_.secret_.size() + 1 && sameSecret(target.substr(1), server_.secret_)) {
      Response response = plain(request, http::status::moved_permanently, "");
      response.set(http::field::location, std::string(target) + "/");
      return response;
    }
    const auto path = sitePath(view(request.target()));
    if (!path) return plain(request, http::status::forbidden, "Forbidden\n");
    if (request.method() != http::verb::get && request.method() != http::verb::head) {
      Response response = plain(request, http::status::method_not_allowed, "Method not allowed\n");
      response.set(http::field::allow, "GET, HEAD");
      return response;
    }
    const auto file = server_.content_.find(*path);
    if (!file) return plain(request, http::status::not_found, "Not found\n");

    Response response{http::status::ok, request.version()};
    secure(response, request);
    response.set(http::field::content_type, file->contentType);
    if (!file->fileName.empty()) response.set(http::field::content_disposition, "inline; filename=\"" + file->fileName + "\"");
    if (request.method() == http::verb::head) {
      response.content_length(file->body.size());
    } else {
      response.body() = file->body;
      response.prepare_payload();
    }
    response.keep_alive(request.keep_alive());
    return response;
  }

  // Headers of every answer: nothing cached, nothing framed, no address handed on to
  // the sites the pages open (the secret is in it), scripts and connections only from here.
  static void secure(Response& response, const Request& request) {
    response.set(http::field::server, "Purgavia");
    response.set(http::field::cache_control, "no-store");
    response.set("X-Content-Type-Options", "nosniff");
    response.set("X-Frame-Options", "DENY");
    response.set("Referrer-Policy", "no-referrer");
    std::string self = "'self'";
    if (const auto host = request.find(http::field::host); host != request.end()) {
      self += " ws://" + std::string(view(host->value()));
    }
    response.set("Content-Security-Policy",
                 "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; connect-src " + self +
                     "; base-uri 'none'; form-action 'none'; frame-ancestors 'none'");
  }

  static Response plain(const Request& request, http::status status, std::string_view text) {
    Response response{status, request.version()};
    secure(response, request);
    response.set(http::field::content_type, "text/plain; charset=utf-8");
    response.body() = std::string(text);
    response.prepare_payload();
    // A refused or odd request gets no second one on the same connection.
    response.keep_alive(status == http::status::ok ? request.keep_alive() : false);
    return response;
  }

  void respond(Response response) {
    auto shared = std::make_shared<Response>(std::move(response));
    http::async_write(stream_, *shared,
                      [self = shared_from_this(), shared](beast::error_code ec, std::size_t) {
                        if (ec || shared->need_eof()) {
                          beast::error_code ignored;
                          self->stream_.socket().shutdown(tcp::socket::shutdown_send, ignored);
                          return;
                        }
                        self->read();
                      });
  }

  void upgrade(Request request) {
    const auto path = sitePath(view(request.target()));
    const auto origin = request.find(http::field::origin);
    const auto host = request.find(http::field::host);
    const bool allowed = hostAllowed(request) && path && *path == "ws" && origin != request.end() &&
                         host != request.end() && view(origin->value()) == "http://" + std::string(view(host->value()));
    if (!allowed) {
      respond(plain(request, http::status::forbidden, "Forbidden\n"));
      return;
    }
    stream_.expires_never();
    auto session = std::make_shared<WsSession>(server_, stream_.release_socket(), server_.nextPage_++);
    session->accept(std::move(request));
  }

  Impl& server_;
  beast::tcp_stream stream_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
};

void WebServer::Impl::accept() {
  acceptor_.async_accept(ioc_, beast::bind_front_handler(&Impl::onAccept, this));
}

void WebServer::Impl::onAccept(beast::error_code ec, tcp::socket socket) {
  if (ec == asio::error::operation_aborted || !acceptor_.is_open()) return;
  if (!ec) std::make_shared<HttpSession>(*this, std::move(socket))->read();
  accept();
}

void WebServer::Impl::opened(const std::shared_ptr<WsSession>& session) {
  pages_[session->id()] = session;
  ++openPages_;
  handler_.pageOpened(session->id());
}

void WebServer::Impl::closed(PageId page) {
  if (pages_.erase(page) == 0) return;
  --openPages_;
  handler_.pageClosed(page);
}

void WebServer::Impl::closeAll() {
  beast::error_code ignored;
  acceptor_.close(ignored);
  for (auto& [id, weak] : pages_) {
    if (auto session = weak.lock()) session->close();
  }
}

WebServer::WebServer(WebContent& content, Handler& handler) : impl_(std::make_unique<Impl>(content, handler)) {}

WebServer::~WebServer() { stop(std::chrono::milliseconds(0)); }

bool WebServer::start(int port, std::string& error) {
  Impl& s = *impl_;
  s.secret_ = randomToken();
  beast::error_code ec;
  const tcp::endpoint endpoint(asio::ip::make_address_v4("127.0.0.1"), static_cast<unsigned short>(port));
  s.acceptor_.open(endpoint.protocol(), ec);
  if (!ec) s.acceptor_.set_option(asio::socket_base::reuse_address(true), ec);
  if (!ec) s.acceptor_.bind(endpoint, ec);
  if (!ec) s.acceptor_.listen(asio::socket_base::max_listen_connections, ec);
  if (ec) {
    error = "cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + ec.message();
    return false;
  }
  s.port_ = s.acceptor_.local_endpoint().port();
  s.accept();
  s.thread_ = std::thread([&s] {
    for (;;) {
      try {
        s.ioc_.run();
        return;
      } catch (const std::exception&) {
        // A failing handler costs its connection, not the server.
      }
    }
  });
  return true;
}

int WebServer::port() const { return impl_->port_; }
const std::string& WebServer::secret() const { return impl_->secret_; }

std::string WebServer::address() const {
  return "http://127.0.0.1:" + std::to_string(impl_->port_) + "/" + impl_->secret_ + "/";
}

// Runs fn with the page's session on the network thread. On that thread it runs at once:
// a handler's own posts would wait until it returns and could fall behind what another
// thread posts meanwhile, and the replay of a new page must go out before anything else.
template <class Fn>
void WebServer::Impl::withPage(PageId page, Fn fn) {
  auto act = [this, page, fn = std::move(fn)]() mutable {
    const auto it = pages_.find(page);
    if (it == pages_.end()) return;
    if (auto session = it->second.lock()) fn(*session);
  };
  if (ioc_.get_executor().running_in_this_thread()) act();
  else asio::post(ioc_, std::move(act));
}

void WebServer::send(PageId page, std::string text) {
  impl_->withPage(page, [text = std::move(text)](Impl::WsSession& session) mutable { session.send(std::move(text)); });
}

void WebServer::close(PageId page) {
  impl_->withPage(page, [](Impl::WsSession& session) { session.close(); });
}

void WebServer::after(std::chrono::milliseconds delay, std::function<void()> fn) {
  auto timer = std::make_shared<asio::steady_timer>(impl_->ioc_, delay);
  timer->async_wait([timer, fn = std::move(fn)](beast::error_code ec) {
    if (!ec) fn();
  });
}

void WebServer::stop(std::chrono::milliseconds timeout) {
  Impl& s = *impl_;
  if (s.stopped_.exchange(true)) return;
  if (!s.thread_.joinable()) return;
  asio::post(s.ioc_, [&s] { s.closeAll(); });
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (s.openPages_ > 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  s.ioc_.stop();
  s.thread_.join();
}

}  // namespace pgv::platform::skin
