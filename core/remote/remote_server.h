// The remote-control server: HTTP and WebSocket on the chosen addresses, one thread of its own. Every
// request is checked (token, size, JSON, range) on that thread or by the commands, then made on the
// host's thread; every change of the state, whatever made it, is pushed to each WebSocket client.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "remote/access_guard.h"
#include "remote/remote_host.h"

namespace vireo::remote {

inline constexpr unsigned short kDefaultPort = 8719;
inline constexpr std::size_t kBodyLimit = 16 * 1024;

struct ListenAddress {
  std::string host;  // an IP address: "127.0.0.1", "0.0.0.0", "::1", "::"
  unsigned short port = kDefaultPort;
  bool operator==(const ListenAddress&) const = default;
};

// "127.0.0.1:8719", "[::1]:8719", "0.0.0.0" (the default port); false with one line for anything else.
bool ParseListenAddress(std::string_view text, ListenAddress* address, std::string* problem);
// "127.0.0.1:8719", "[::1]:8719".
std::string ListenAddressText(const ListenAddress& address);

struct ServerOptions {
  std::vector<ListenAddress> listen;  // empty: 127.0.0.1 on the default port
  std::string token;                  // 32 hex digits
  std::string allowedOrigin;          // a web origin allowed to call the API from its pages; empty: none
  RateLimits limits;
  std::chrono::milliseconds changePoll{20};  // how often the state is compared while clients listen
  std::chrono::seconds idleTimeout{60};      // a connection that says nothing this long is closed
};

struct ClientInfo {
  std::string address;  // "192.168.1.20:51544"
  std::chrono::system_clock::time_point since;
};

struct ServerCounters {
  std::uint64_t requests = 0;      // HTTP requests answered
  std::uint64_t unauthorized = 0;  // 401
  std::uint64_t limited = 0;       // 429
  std::uint64_t changesSent = 0;   // change messages queued to clients
};

class RemoteServer {
 public:
  explicit RemoteServer(RemoteHost& host);
  ~RemoteServer();  // Stop()
  RemoteServer(const RemoteServer&) = delete;
  RemoteServer& operator=(const RemoteServer&) = delete;

  // Binds every address and starts the thread; false with one line (nothing left listening) when an
  // address cannot be used or the token is not well formed.
  bool Start(const ServerOptions& options, std::string* problem);
  // Closes every connection and joins the thread. Idempotent; never waits for the host.
  void Stop();
  bool running() const;
  // The addresses as bound (a port 0 replaced by the one the system chose).
  std::vector<ListenAddress> boundAddresses() const;

  // A new token from now on; every WebSocket client of the old one is closed.
  void SetToken(std::string token);
  // The WebSocket clients now connected.
  std::vector<ClientInfo> clients() const;
  // Called on the server's thread when a client came or went.
  void SetOnClientsChanged(std::function<void()> callback);
  ServerCounters counters() const;

  struct Core;

 private:
  RemoteHost& host_;
  std::shared_ptr<Core> core_;
  std::function<void()> onClientsChanged_;
};

}  // namespace vireo::remote
