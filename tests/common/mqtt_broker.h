// A Mosquitto broker of the test's own on a free port of 127.0.0.1, and a small MQTT client built on
// libmosquitto that keeps every message it receives and lets a test wait for one.
#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <mosquitto.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "spawned_process.h"


namespace vireo::remote::test {

inline constexpr const char* kMosquitto = "/usr/sbin/mosquitto";

// A port nobody listens on now; another process may take it before the broker does (Start retries).
inline int FreeLoopbackPort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
    port = ntohs(address.sin_port);
  ::close(fd);
  return port;
}

inline bool AcceptsConnections(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return ok;
}

class Broker {
 public:
  // Its configuration and log go into `folder`.
  explicit Broker(std::string folder) : folder_(std::move(folder)) {
    for (int attempt = 0; attempt < 5 && !running(); ++attempt) Start(FreeLoopbackPort());
  }
  ~Broker() { Stop(); }
  Broker(const Broker&) = delete;
  Broker& operator=(const Broker&) = delete;

  // Starts on `port` and returns once it accepts connections; false when it ended instead.
  bool Start(int port) {
    Stop();
    port_ = port;
    const std::string conf = folder_ + "/mosquitto.conf";
    std::ofstream(conf) << "listener " << port << " 127.0.0.1\nallow_anonymous true\npersistence false\n"
                        << "log_dest stderr\nlog_type error\nlog_type warning\nlog_type notice\n";
    const std::string log = folder_ + "/mosquitto.log";
    std::vector<std::string> args = {kMosquitto, "-c", conf};
    pid_ = vireo::test::SpawnWithStderrTo(args, log, true);
    if (pid_ == 0) return false;
    while (!AcceptsConnections(port)) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = 0;
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }
  // SIGTERM, then waits for the process to end.
  void Stop() {
    if (pid_ == 0) return;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = 0;
  }
  bool running() const { return pid_ != 0; }
  int port() const { return port_; }

 private:
  std::string folder_;
  pid_t pid_ = 0;
  int port_ = 0;
};

struct MqttMessage {
  std::string topic;
  std::string payload;
  bool retained = false;
};

class MqttClient {
 public:
  MqttClient(int port, const std::string& id) {
    mosquitto_lib_init();
    client_ = mosquitto_new(id.c_str(), true, this);
    mosquitto_connect_callback_set(client_, [](mosquitto*, void* self, int rc) {
      auto* c = static_cast<MqttClient*>(self);
      std::lock_guard guard(c->lock_);
      c->connected_ = rc == 0;
      c->changed_.notify_all();
    });
    mosquitto_subscribe_callback_set(client_, [](mosquitto*, void* self, int, int, const int*) {
      auto* c = static_cast<MqttClient*>(self);
      std::lock_guard guard(c->lock_);
      ++c->subscribed_;
      c->changed_.notify_all();
    });
    mosquitto_message_callback_set(client_, [](mosquitto*, void* self, const mosquitto_message* m) {
      auto* c = static_cast<MqttClient*>(self);
      std::lock_guard guard(c->lock_);
      c->messages_.push_back(
          {m->topic,
           std::string(static_cast<const char*>(m->payload), static_cast<std::size_t>(m->payloadlen)),
           m->retain});
      c->changed_.notify_all();
    });
    if (mosquitto_connect(client_, "127.0.0.1", port, 30) != MOSQ_ERR_SUCCESS) return;
    mosquitto_loop_start(client_);
    std::unique_lock lk(lock_);
    changed_.wait_for(lk, std::chrono::seconds(10), [this] { return connected_; });
  }
  ~MqttClient() {
    mosquitto_disconnect(client_);
    mosquitto_loop_stop(client_, false);
    mosquitto_destroy(client_);
  }
  MqttClient(const MqttClient&) = delete;
  MqttClient& operator=(const MqttClient&) = delete;

  bool connected() const {
    std::lock_guard guard(lock_);
    return connected_;
  }
  // Returns once the broker has acknowledged: its retained messages are on their way.
  bool Subscribe(const std::string& filter) {
    std::unique_lock lk(lock_);
    const int before = subscribed_;
    if (mosquitto_subscribe(client_, nullptr, filter.c_str(), 1) != MOSQ_ERR_SUCCESS) return false;
    return changed_.wait_for(lk, std::chrono::seconds(10), [&] { return subscribed_ > before; });
  }
  void Publish(const std::string& topic, const std::string& payload) {
    mosquitto_publish(client_, nullptr, topic.c_str(), static_cast<int>(payload.size()), payload.data(), 1,
                      false);
  }

  // The first message so far or from now on that matches, or nullopt after `timeout`.
  std::optional<MqttMessage> WaitFor(const std::function<bool(const MqttMessage&)>& match,
                                     std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::unique_lock lk(lock_);
    std::optional<MqttMessage> found;
    changed_.wait_for(lk, timeout, [&] {
      for (const MqttMessage& m : messages_) {
        if (match(m)) {
          found = m;
          return true;
        }
      }
      return false;
    });
    return found;
  }
  std::optional<MqttMessage> WaitFor(const std::string& topic,
                                     std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    return WaitFor([&](const MqttMessage& m) { return m.topic == topic; }, timeout);
  }
  std::optional<MqttMessage> WaitFor(const std::string& topic, const std::string& payload,
                                     std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    return WaitFor([&](const MqttMessage& m) { return m.topic == topic && m.payload == payload; }, timeout);
  }
  std::vector<MqttMessage> messages() const {
    std::lock_guard guard(lock_);
    return messages_;
  }

 private:
  mosquitto* client_ = nullptr;
  mutable std::mutex lock_;
  std::condition_variable changed_;
  bool connected_ = false;
  int subscribed_ = 0;
  std::vector<MqttMessage> messages_;
};

}  // namespace vireo::remote::test
