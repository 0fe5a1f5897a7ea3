// The remote-control server on Boost.Beast: one io_context on one thread owns every socket; the host's
// thread runs the commands and builds the states, and hands the results back to this thread.
#include "remote/remote_server.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <deque>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include <utility>

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ip/v6_only.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include "remote/remote_api.h"
#include "remote/remote_state.h"
#include "remote/web_assets.h"

namespace vireo::remote {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = asio::ip::tcp;
using Request = http::request<http::string_body>;
using Response = http::response<http::string_body>;

namespace {

constexpr std::size_t kHeaderLimit = 8 * 1024;
constexpr std::size_t kSocketQueueLimit = 512;  // messages a slow WebSocket client may fall behind

std::string PeerText(const tcp::endpoint& peer) {
  const std::string ip = peer.address().to_string();
  return (peer.address().is_v6() ? "[" + ip + "]" : ip) + ":" + std::to_string(peer.port());
}

// Security headers every answer carries: nothing is cached, sniffed, framed or leaked as a referrer
// (the page's first address holds the token).
void CommonHeaders(Response& res) {
  res.set(http::field::server, "vireo");
  res.set(http::field::cache_control, "no-store");
  res.set("X-Content-Type-Options", "nosniff");
  res.set("Referrer-Policy", "no-referrer");
  res.set("X-Frame-Options", "DENY");
}

std::string_view ContentType(std::string_view file) {
  if (file.ends_with(".html")) return "text/html; charset=utf-8";
  if (file.ends_with(".css")) return "text/css; charset=utf-8";
  if (file.ends_with(".js")) return "text/javascript; charset=utf-8";
  return "application/octet-stream";
}

}  // namespace

class HttpSession;
class SocketSession;

struct RemoteServer::Core : std::enable_shared_from_this<RemoteServer::Core> {
  Core(RemoteHost& h, ServerOptions o) : host(h), options(std::move(o)), limiter(options.limits), pollTimer(io) {}

  RemoteHost& host;
  ServerOptions options;
  FailureLimiter limiter;
  asio::io_context io;
  std::vector<std::unique_ptr<tcp::acceptor>> acceptors;
  std::vector<ListenAddress> bound;
  std::thread thread;

  // Only on the server's thread.
  std::set<std::shared_ptr<SocketSession>> sockets;
  std::set<std::shared_ptr<HttpSession>> waiting;  // requests the host is working on
  std::optional<Json> lastState;
  asio::steady_timer pollTimer;
  bool pollPending = false;  // a state is being built on the host's thread
  bool pollArmed = false;

  mutable std::mutex shared;  // guards the members below, read from other threads
  std::vector<ClientInfo> clientList;
  std::function<void()> onClientsChanged;
  std::atomic<std::uint64_t> requests{0}, unauthorized{0}, limited{0}, changesSent{0};

  void Accept(tcp::acceptor& acceptor);
  // Runs `work` on the host's thread and `done` with its result back on this thread, unless the
  // server stopped in between.
  // Neither closure may own a socket: the host may keep a closure after the server is gone, and a
  // socket must not outlive its io_context.
  template <class Work, class Done>
  void OnHost(Work work, Done done) {
    std::weak_ptr<Core> weak = weak_from_this();
    host.Post([weak, work = std::move(work), done = std::move(done)]() mutable {
      auto self = weak.lock();
      if (!self) return;
      auto result = work(self->host);
      asio::post(self->io, [weak, result = std::move(result), done = std::move(done)]() mutable {
        if (weak.lock()) done(std::move(result));
      });
    });
  }

  void Join(const std::shared_ptr<SocketSession>& session);
  void Leave(const std::shared_ptr<SocketSession>& session);
  void PublishClients();
  // Compares the state now with the last one soon (at once when `now`).
  void SchedulePoll(bool now);
  void Poll();
  void TakeState(Json state, const std::shared_ptr<SocketSession>& joining);
};

// One WebSocket client: the state first, then every change; its commands go to the host in order.
class SocketSession : public std::enable_shared_from_this<SocketSession> {
 public:
  SocketSession(RemoteServer::Core* core, tcp::socket socket, std::string peer)
      : core_(core), ws_(std::move(socket)), peer_(std::move(peer)) {}

  void Start(Request request) {
    ws_.set_option(websocket::stream_base::timeout::suggested(beast::role_type::server));
    ws_.read_message_max(kBodyLimit);
    ws_.set_option(websocket::stream_base::decorator(
        [](websocket::response_type& res) { res.set(http::field::server, "vireo"); }));
    auto self = shared_from_this();
    ws_.async_accept(request, [self](beast::error_code ec) {
      if (ec) return;
      self->since_ = std::chrono::system_clock::now();
      std::weak_ptr<SocketSession> weak = self;
      RemoteServer::Core* core = self->core_;
      core->OnHost([](RemoteHost& host) { return BuildState(host); },
                   [core, weak](Json state) {
                     auto session = weak.lock();
                     if (session && !session->closed_) core->TakeState(std::move(state), session);
                   });
      self->Read();
    });
  }

  void Send(std::shared_ptr<const std::string> text) {
    if (closed_) return;
    if (queue_.size() >= kSocketQueueLimit) {  // it cannot keep up: better gone than ever later
      Close();
      return;
    }
    queue_.push_back(std::move(text));
    if (queue_.size() == 1) WriteNext();
  }

  void Close() {
    if (closed_) return;
    closed_ = true;
    core_->Leave(shared_from_this());
    beast::error_code ignored;
    beast::get_lowest_layer(ws_).socket().shutdown(tcp::socket::shutdown_both, ignored);
    beast::get_lowest_layer(ws_).socket().close(ignored);
  }

  const std::string& peer() const { return peer_; }
  std::chrono::system_clock::time_point since() const { return since_; }

 private:
  void Read() {
    auto self = shared_from_this();
    ws_.async_read(buffer_, [self](beast::error_code ec, std::size_t) {
      if (ec) {
        self->Close();
        return;
      }
      std::string message = beast::buffers_to_string(self->buffer_.data());
      self->buffer_.consume(self->buffer_.size());
      std::weak_ptr<SocketSession> weak = self;
      RemoteServer::Core* core = self->core_;
      core->OnHost([message = std::move(message)](RemoteHost& host) { return HandleSocketCommand(host, message); },
                   [weak, core](Json answer) {
                     if (auto session = weak.lock()) session->Send(std::make_shared<const std::string>(JsonText(answer)));
                     core->SchedulePoll(true);
                   });
      self->Read();
    });
  }

  void WriteNext() {
    auto self = shared_from_this();
    ws_.text(true);
    ws_.async_write(asio::buffer(*queue_.front()), [self](beast::error_code ec, std::size_t) {
      if (ec) {
        self->Close();
        return;
      }
      self->queue_.pop_front();
      if (!self->queue_.empty() && !self->closed_) self->WriteNext();
    });
  }

  RemoteServer::Core* core_;  // outlives the session: the session lives in the core's handlers
  websocket::stream<beast::tcp_stream> ws_;
  std::string peer_;
  beast::flat_buffer buffer_;
  std::deque<std::shared_ptr<const std::string>> queue_;
  std::chrono::system_clock::time_point since_{};
  bool closed_ = false;
};

// One HTTP connection: requests one after another; an upgrade hands the socket to a SocketSession.
class HttpSession : public std::enable_shared_from_this<HttpSession> {
 public:
  HttpSession(RemoteServer::Core* core, tcp::socket socket) : core_(core), stream_(std::move(socket)) {
    beast::error_code ec;
    const tcp::endpoint peer = stream_.socket().remote_endpoint(ec);
    if (!ec) {
      peer_ = PeerText(peer);
      address_ = peer.address().to_string();
    }
  }

  void Read() {
    parser_.emplace();
    parser_->body_limit(kBodyLimit);
    parser_->header_limit(kHeaderLimit);
    stream_.expires_after(core_->options.idleTimeout);
    auto self = shared_from_this();
    http::async_read(stream_, buffer_, *parser_, [self](beast::error_code ec, std::size_t) { self->OnRead(ec); });
  }

 private:
  void OnRead(beast::error_code ec) {
    if (ec == http::error::body_limit) return Refuse(413, "the request body is larger than 16 KiB", false);
    if (ec == http::error::header_limit) return Refuse(431, "the request headers are too large", false);
    if (ec == http::error::end_of_stream || ec) return Shut();
    Request request = parser_->release();
    Handle(std::move(request));
  }

  void Handle(Request request) {
    const auto now = FailureLimiter::Clock::now();
    const std::string_view target = request.target();
    const auto query = target.find('?');
    const std::string path(target.substr(0, query));
    const std::string_view params = query == std::string_view::npos ? std::string_view() : target.substr(query + 1);
    keepAlive_ = request.keep_alive();
    if (core_->limiter.Blocked(address_, now)) {
      ++core_->limited;
      return Refuse(429, "too many wrong tokens from this address; try again later", true);
    }
    // The QR code's address: the token is swapped for a cookie and leaves the address bar.
    if (request.method() == http::verb::get && path == "/" && params.starts_with("token=")) {
      if (!Authorised(std::string(params.substr(6)), now)) return Unauthorised(true);
      Response res{http::status::see_other, request.version()};
      CommonHeaders(res);
      res.set(http::field::location, "/");
      res.set(http::field::set_cookie,
              "vireo_token=" + std::string(params.substr(6)) + "; Path=/; HttpOnly; SameSite=Strict");
      res.prepare_payload();
      return Write(std::move(res));
    }
    if (request.method() == http::verb::options && CorsAllowed(request)) return Preflight(request);
    const std::string presented =
        PresentedToken(request[http::field::authorization], request[http::field::cookie]);
    if (!Authorised(presented, now)) return Unauthorised(!path.starts_with("/api/"));
    if (websocket::is_upgrade(request)) return Upgrade(std::move(request), path);
    if (!path.starts_with("/api/")) return ServeFile(request, path);
    ApiRequest api{std::string(request.method_string()), path, std::move(request.body())};
    const bool cors = CorsAllowed(request);
    RemoteServer::Core* core = core_;
    core->waiting.insert(shared_from_this());
    std::weak_ptr<HttpSession> weak = shared_from_this();
    core->OnHost([api = std::move(api)](RemoteHost& host) { return HandleApi(host, api); },
                 [weak, cors, core](ApiResponse answer) {
                   auto self = weak.lock();
                   if (!self) return;
                   core->waiting.erase(self);
                   self->WriteJson(answer.status, answer.body, cors);
                   if (answer.status < 300) core->SchedulePoll(true);
                 });
  }

  bool Authorised(const std::string& presented, FailureLimiter::Clock::time_point now) {
    if (TokensEqual(presented, core_->options.token)) return true;
    core_->limiter.Failed(address_, now);
    ++core_->unauthorized;
    return false;
  }

  bool CorsAllowed(const Request& request) const {
    return !core_->options.allowedOrigin.empty() && request[http::field::origin] == core_->options.allowedOrigin;
  }

  void Preflight(const Request& request) {
    Response res{http::status::no_content, request.version()};
    CommonHeaders(res);
    res.set(http::field::access_control_allow_origin, core_->options.allowedOrigin);
    res.set(http::field::access_control_allow_methods, "GET, PUT, POST");
    res.set(http::field::access_control_allow_headers, "Authorization, Content-Type");
    res.set(http::field::vary, "Origin");
    Write(std::move(res));
  }

  void Upgrade(Request request, const std::string& path) {
    if (path != "/api/v1/ws") return WriteJson(404, ErrorResponse(404, "no such endpoint").body, false);
    // A page of another site must not drive the machine with the cookie this browser holds.
    const std::string_view origin = request[http::field::origin];
    const std::string own = "http://" + std::string(request[http::field::host]);
    if (!origin.empty() && origin != own && origin != core_->options.allowedOrigin)
      return WriteJson(403, ErrorResponse(403, "a WebSocket from another origin is refused").body, false);
    auto session = std::make_shared<SocketSession>(core_, stream_.release_socket(), peer_);
    session->Start(std::move(request));
  }

  void ServeFile(const Request& request, const std::string& path) {
    if (request.method() != http::verb::get && request.method() != http::verb::head)
      return WriteJson(405, ErrorResponse(405, "the page takes GET").body, false);
    const std::string name = path == "/" ? "index.html" : path.substr(1);
    const std::string_view bytes = EmbeddedFile(name);
    if (bytes.empty() || name.find('/') != std::string::npos)
      return WriteJson(404, ErrorResponse(404, "no such page").body, false);
    Response res{http::status::ok, request.version()};
    CommonHeaders(res);
    res.set(http::field::content_type, ContentType(name));
    res.set("Content-Security-Policy",
            "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
            "connect-src 'self'; frame-ancestors 'none'; base-uri 'none'; form-action 'none'");
    if (request.method() == http::verb::get) res.body() = std::string(bytes);
    res.content_length(bytes.size());
    Write(std::move(res));
  }

  void Unauthorised(bool page) {
    if (!page) return Refuse(401, "a valid token is required", true);
    // A person with a browser: say what to do rather than show JSON.
    Response res{http::status::unauthorized, 11};
    CommonHeaders(res);
    res.set(http::field::content_type, "text/html; charset=utf-8");
    res.body() =
        "<!doctype html><meta name=viewport content=\"width=device-width\"><title>Vireo</title>"
        "<p style=\"font:18px sans-serif;margin:2em\">Scan the code in Vireo's Remote control window again."
        "<br>请重新扫描 Vireo 远程控制窗口中的二维码。";
    res.prepare_payload();
    Write(std::move(res));
  }

  void Refuse(int status, std::string message, bool keep) {
    keepAlive_ = keepAlive_ && keep;
    WriteJson(status, ErrorResponse(status, std::move(message)).body, false);
  }

  void WriteJson(int status, const Json& body, bool cors) {
    Response res{static_cast<http::status>(status), 11};
    CommonHeaders(res);
    res.set(http::field::content_type, "application/json");
    if (status == 401) res.set(http::field::www_authenticate, "Bearer");
    if (status == 429) res.set(http::field::retry_after, "60");
    if (cors) {
      res.set(http::field::access_control_allow_origin, core_->options.allowedOrigin);
      res.set(http::field::vary, "Origin");
    }
    res.body() = JsonText(body);
    res.prepare_payload();
    Write(std::move(res));
  }

  void Write(Response res) {
    ++core_->requests;
    res.keep_alive(keepAlive_);
    auto response = std::make_shared<Response>(std::move(res));
    auto self = shared_from_this();
    http::async_write(stream_, *response, [self, response](beast::error_code ec, std::size_t) {
      if (ec || !self->keepAlive_) return self->Shut();
      self->Read();
    });
  }

  void Shut() {
    beast::error_code ignored;
    stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
  }

  RemoteServer::Core* core_;
  beast::tcp_stream stream_;
  beast::flat_buffer buffer_;
  std::optional<http::request_parser<http::string_body>> parser_;
  std::string peer_;
  std::string address_;
  bool keepAlive_ = true;
};

void RemoteServer::Core::Accept(tcp::acceptor& acceptor) {
  // Handlers in the io_context hold the core by its address: the core owns the io_context.
  acceptor.async_accept(io, [this, &acceptor](beast::error_code ec, tcp::socket socket) {
    if (ec == asio::error::operation_aborted || !acceptor.is_open()) return;
    if (!ec) std::make_shared<HttpSession>(this, std::move(socket))->Read();
    Accept(acceptor);
  });
}

void RemoteServer::Core::Join(const std::shared_ptr<SocketSession>& session) {
  sockets.insert(session);
  PublishClients();
  SchedulePoll(false);
}

void RemoteServer::Core::Leave(const std::shared_ptr<SocketSession>& session) {
  if (sockets.erase(session) == 0) return;
  if (sockets.empty()) lastState.reset();
  PublishClients();
}

void RemoteServer::Core::PublishClients() {
  std::function<void()> callback;
  {
    std::lock_guard guard(shared);
    clientList.clear();
    for (const auto& s : sockets) clientList.push_back({s->peer(), s->since()});
    callback = onClientsChanged;
  }
  if (callback) callback();
}

void RemoteServer::Core::SchedulePoll(bool now) {
  if (sockets.empty() || pollPending) return;
  if (now) {
    pollTimer.cancel();
    pollArmed = false;
    Poll();
    return;
  }
  if (pollArmed) return;
  pollArmed = true;
  pollTimer.expires_after(options.changePoll);
  pollTimer.async_wait([this](beast::error_code ec) {
    if (ec) return;
    pollArmed = false;
    Poll();
  });
}

void RemoteServer::Core::Poll() {
  pollPending = true;
  OnHost([](RemoteHost& h) { return BuildState(h); },
         [this](Json state) {
           pollPending = false;
           TakeState(std::move(state), nullptr);
           SchedulePoll(false);
         });
}

void RemoteServer::Core::TakeState(Json state, const std::shared_ptr<SocketSession>& joining) {
  // Every client already listening hears what changed up to this state before a newcomer starts from
  // it, so nobody misses a change and a change is never older than the state it follows.
  if (lastState) {
    for (const Json& change : StateChanges(*lastState, state)) {
      auto text = std::make_shared<const std::string>(JsonText(change));
      const auto listeners = sockets;  // a client that cannot keep up leaves the set while we send
      for (const auto& s : listeners) s->Send(text);
      changesSent += listeners.size();
    }
  }
  if (joining) {
    joining->Send(std::make_shared<const std::string>(JsonText(Json{{"type", "state"}, {"state", state}})));
    lastState = std::move(state);
    Join(joining);
    return;
  }
  if (!sockets.empty()) lastState = std::move(state);
}

bool ParseListenAddress(std::string_view text, ListenAddress* address, std::string* problem) {
  const std::string whole(text);
  std::string host = whole;
  std::string portText;
  bool hasPort = false;
  if (!text.empty() && text.front() == '[') {  // [v6] or [v6]:port
    const auto close = text.find(']');
    if (close == std::string_view::npos) return *problem = "no closing ']' in '" + whole + "'", false;
    host = whole.substr(1, close - 1);
    if (close + 1 < text.size()) {
      if (text[close + 1] != ':') return *problem = "expected ':' after ']' in '" + whole + "'", false;
      portText = whole.substr(close + 2);
      hasPort = true;
    }
  } else if (std::count(text.begin(), text.end(), ':') == 1) {  // v4:port; a bare v6 has several
    const auto colon = text.find(':');
    host = whole.substr(0, colon);
    portText = whole.substr(colon + 1);
    hasPort = true;
  }
  unsigned short port = kDefaultPort;
  if (hasPort) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(portText.data(), portText.data() + portText.size(), value);
    if (portText.empty() || ec != std::errc() || end != portText.data() + portText.size() || value > 65535)
      return *problem = "the port in '" + whole + "' is not 0..65535", false;
    port = static_cast<unsigned short>(value);
  }
  beast::error_code ec;
  asio::ip::make_address(host, ec);
  if (ec) return *problem = "'" + host + "' is not an IP address", false;
  *address = {host, port};
  return true;
}

std::string ListenAddressText(const ListenAddress& address) {
  const bool v6 = address.host.find(':') != std::string::npos;
  return (v6 ? "[" + address.host + "]" : address.host) + ":" + std::to_string(address.port);
}

RemoteServer::RemoteServer(RemoteHost& host) : host_(host) {}

RemoteServer::~RemoteServer() {
  Stop();
}

bool RemoteServer::Start(const ServerOptions& options, std::string* problem) {
  Stop();
  if (!IsWellFormedToken(options.token)) return *problem = "the token is not 32 hexadecimal digits", false;
  auto core = std::make_shared<Core>(host_, options);
  if (core->options.listen.empty()) core->options.listen.push_back({"127.0.0.1", kDefaultPort});
  core->onClientsChanged = onClientsChanged_;
  for (const ListenAddress& a : core->options.listen) {
    beast::error_code ec;
    const tcp::endpoint endpoint(asio::ip::make_address(a.host, ec), a.port);
    if (ec) return *problem = "'" + a.host + "' is not an IP address", false;
    auto acceptor = std::make_unique<tcp::acceptor>(core->io);
    acceptor->open(endpoint.protocol(), ec);
    if (!ec) acceptor->set_option(asio::socket_base::reuse_address(true), ec);
    if (!ec && endpoint.address().is_v6()) acceptor->set_option(asio::ip::v6_only(true), ec);
    if (!ec) acceptor->bind(endpoint, ec);
    if (!ec) acceptor->listen(asio::socket_base::max_listen_connections, ec);
    if (ec) return *problem = "cannot listen on " + ListenAddressText(a) + ": " + ec.message(), false;
    core->bound.push_back({a.host, acceptor->local_endpoint().port()});
    core->acceptors.push_back(std::move(acceptor));
  }
  for (auto& acceptor : core->acceptors) core->Accept(*acceptor);
  core->thread = std::thread([raw = core.get()] { raw->io.run(); });
  core_ = std::move(core);
  return true;
}

void RemoteServer::Stop() {
  if (!core_) return;
  core_->io.stop();
  if (core_->thread.joinable()) core_->thread.join();
  {
    std::lock_guard guard(core_->shared);
    core_->clientList.clear();
  }
  // Handlers still queued hold the sessions; they go with the io_context when the last owner lets go
  // (a command on the host's thread may hold the core a moment longer).
  core_->sockets.clear();
  core_->waiting.clear();
  core_->acceptors.clear();
  core_.reset();
}

bool RemoteServer::running() const {
  return core_ != nullptr;
}

std::vector<ListenAddress> RemoteServer::boundAddresses() const {
  return core_ ? core_->bound : std::vector<ListenAddress>{};
}

void RemoteServer::SetToken(std::string token) {
  if (!core_) return;
  // The core's own io_context must not hold the core: a stop before this runs would keep both alive.
  Core* core = core_.get();
  asio::post(core->io, [core, token = std::move(token)] {
    core->options.token = token;
    const auto sessions = core->sockets;  // Close() leaves the set
    for (const auto& s : sessions) s->Close();
  });
}

std::vector<ClientInfo> RemoteServer::clients() const {
  if (!core_) return {};
  std::lock_guard guard(core_->shared);
  return core_->clientList;
}

void RemoteServer::SetOnClientsChanged(std::function<void()> callback) {
  onClientsChanged_ = callback;
  if (!core_) return;
  std::lock_guard guard(core_->shared);
  core_->onClientsChanged = std::move(callback);
}

ServerCounters RemoteServer::counters() const {
  if (!core_) return {};
  return {core_->requests.load(), core_->unauthorized.load(), core_->limited.load(), core_->changesSent.load()};
}

}  // namespace vireo::remote
