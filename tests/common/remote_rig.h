// A remote-control server on 127.0.0.1 for tests and benchmarks (a port of its own) over the emulated machine, with every report
// the machine receives recorded, and small HTTP and WebSocket clients to talk to it.
#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>
#include <nlohmann/json.hpp>

#include "device/connection.h"
#include "device/virtual_clock.h"
#include "emulator/emulator_backend.h"
#include "model/store_layout.h"
#include "remote/core_host.h"
#include "remote/remote_server.h"
#include "smarthome/smart_home_controller.h"
#include "tuning/edit_history.h"
#include "tuning/edit_sender.h"

namespace vireo::remote::test {

using Json = nlohmann::json;
namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
using tcp = boost::asio::ip::tcp;

inline constexpr const char* kToken = "0123456789abcdef0123456789abcdef";
using Wire = std::array<std::uint8_t, kReportBytes>;

class RemoteRig {
 public:
  explicit RemoteRig(RateLimits limits = {}) {
    connection_.SetTraceHook([this](TraceDirection d, std::span<const std::uint8_t> r) {
      if (d != TraceDirection::sent) return;
      Wire w{};
      std::copy_n(r.begin(), std::min(r.size(), w.size()), w.begin());
      std::lock_guard guard(lock_);
      sent_.push_back(w);
      if (onSent_) onSent_();
    });
    home_.Attach(connection_);
    if (!connection_.ConnectMachine() || !connection_.StartReadAll()) problem_ = "the emulator did not connect";
    connection_.WaitForSync();
    if (connection_.OnSyncDone(0) != SyncOutcome::accepted) problem_ = "the read-all was not accepted";
    if (!home_.ReadAllNow().nodeListArrived) problem_ = "the smart-home read-all failed";
    events_.Attach(&host_);
    ServerOptions options;
    options.listen = {{"127.0.0.1", 0}};
    options.token = kToken;
    options.limits = limits;
    if (!server_.Start(options, &problem_)) return;
    port_ = server_.boundAddresses().at(0).port;
  }
  ~RemoteRig() {
    server_.Stop();
    events_.Attach(nullptr);
    host_.Close();
    home_.Detach();
    sender_.Shutdown();
    connection_.ExitSequence();
  }

  // Empty when the machine was read and the server listens.
  const std::string& problem() const { return problem_; }
  unsigned short port() const { return port_; }
  // Called on the thread that sends each report to the machine (benchmarks time the write).
  void SetOnSent(std::function<void()> onSent) {
    std::lock_guard guard(lock_);
    onSent_ = std::move(onSent);
  }
  ParameterStore& store() { return store_; }
  CoreHost& host() { return host_; }
  RemoteServer& server() { return server_; }
  tuning::EditSession& edits() { return edits_; }

  // Reports sent from now on.
  void ClearSent() {
    sender_.WaitIdle();
    std::lock_guard guard(lock_);
    sent_.clear();
  }
  // Every report sent since ClearSent once the edits queued so far have gone out.
  std::vector<Wire> Sent() {
    host_.Drain();
    sender_.WaitIdle();
    std::lock_guard guard(lock_);
    return sent_;
  }

 private:
  VirtualClock clock_;
  ParameterStore store_;
  emulator::EmulatorBackend backend_{clock_, emulator::EmulatorOptions{}};
  HostEvents events_;
  MachineConnection connection_{store_, backend_, clock_, events_};
  tuning::EditSender sender_{connection_.sender(), clock_};
  tuning::EditSession edits_{store_, sender_, clock_};
  smarthome::SmartHomeController home_{store_, connection_.sender(), clock_, nullptr};
  CoreHost host_{connection_, edits_, &home_};
  RemoteServer server_{host_};
  unsigned short port_ = 0;
  std::string problem_;
  std::mutex lock_;
  std::function<void()> onSent_;
  std::vector<Wire> sent_;
};

struct HttpAnswer {
  int status = 0;
  std::string body;
  std::map<std::string, std::string> headers;
  Json json() const { return Json::parse(body, nullptr, false); }
};

// One request on a connection of its own. `headers` may hold "Authorization" etc.; the token is added
// as a Bearer header unless `auth` is false.
inline HttpAnswer Request(unsigned short port, http::verb method, const std::string& target,
                          const std::string& body = {}, std::map<std::string, std::string> headers = {},
                          bool auth = true) {
  boost::asio::io_context io;
  beast::tcp_stream stream(io);
  stream.connect(tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), port));
  http::request<http::string_body> req{method, target, 11};
  req.set(http::field::host, "127.0.0.1:" + std::to_string(port));
  if (auth) req.set(http::field::authorization, std::string("Bearer ") + kToken);
  for (const auto& [name, value] : headers) req.set(name, value);
  req.body() = body;
  req.prepare_payload();
  http::write(stream, req);
  beast::flat_buffer buffer;
  http::response<http::string_body> res;
  beast::error_code ec;
  http::read(stream, buffer, res, ec);
  HttpAnswer answer;
  if (ec) return answer;
  answer.status = static_cast<int>(res.result_int());
  answer.body = res.body();
  for (const auto& field : res) answer.headers[std::string(field.name_string())] = std::string(field.value());
  return answer;
}

// A WebSocket client with its own io_context; reads wait at most `timeout` of real time.
class SocketClient {
 public:
  explicit SocketClient(unsigned short port, std::map<std::string, std::string> headers = {{"Authorization", std::string("Bearer ") + kToken}})
      : ws_(io_) {
    beast::get_lowest_layer(ws_).connect(tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), port));
    ws_.set_option(websocket::stream_base::decorator([headers](websocket::request_type& req) {
      for (const auto& [name, value] : headers) req.set(name, value);
    }));
    ws_.handshake(response_, "127.0.0.1:" + std::to_string(port), "/api/v1/ws", ec_);
  }
  bool open() const { return !ec_; }

  void SendText(const std::string& text) { ws_.write(boost::asio::buffer(text)); }

  // The next message, or nullopt after `timeout`.
  std::optional<Json> Next(std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    if (!pending_.empty()) {
      Json j = std::move(pending_.front());
      pending_.pop_front();
      return j;
    }
    bool done = false;
    beast::error_code error;
    beast::flat_buffer buffer;
    ws_.async_read(buffer, [&](beast::error_code ec, std::size_t) {
      done = true;
      error = ec;
    });
    io_.restart();
    io_.run_for(timeout);
    if (!done) {
      beast::get_lowest_layer(ws_).cancel();
      io_.restart();
      io_.run();
      return std::nullopt;
    }
    if (error) return std::nullopt;
    return Json::parse(beast::buffers_to_string(buffer.data()), nullptr, false);
  }
  // Reads until a message satisfies `match`; the others are dropped.
  template <class Match>
  std::optional<Json> WaitFor(Match match, std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
      auto m = Next(std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now()));
      if (!m) return std::nullopt;
      if (match(*m)) return m;
    }
    return std::nullopt;
  }
  std::optional<Json> WaitForChange(const std::string& name, const Json& value) {
    return WaitFor([&](const Json& m) { return m.value("type", "") == "change" && m.value("name", "") == name && m["value"] == value; });
  }

 private:
  boost::asio::io_context io_;
  websocket::stream<beast::tcp_stream> ws_;
  websocket::response_type response_;
  beast::error_code ec_;
  std::deque<Json> pending_;
};

}  // namespace vireo::remote::test
