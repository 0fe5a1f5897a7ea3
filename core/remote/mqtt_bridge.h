// The machine in a home-automation system: an MQTT client (libmosquitto, a network thread of its own)
// that announces the machine's entities to Home Assistant, keeps their retained states current and
// turns commands into the remote's commands on the host's thread.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "remote/mqtt_options.h"
#include "remote/remote_host.h"

namespace vireo::remote {

enum class MqttState {
  stopped,
  naming,      // no machine id was given: waiting for the machine to tell its model name
  connecting,  // the first connection is on its way
  connected,
  reconnecting,  // the connection was lost or refused; retried after 1, 4, 9 ... 30 s
};

struct MqttStatus {
  MqttState state = MqttState::stopped;
  std::string broker;     // MqttUrlText: never the password
  std::string machineId;  // once known
  std::string lastError;  // why the last connection failed or ended; empty once connected
  bool operator==(const MqttStatus&) const = default;
};

// One line for a log or a window: "connected to mqtt://10.0.0.2:1883 as calyx-room-3".
std::string MqttStatusText(const MqttStatus& status);

class MqttBridge {
 public:
  explicit MqttBridge(RemoteHost& host);
  ~MqttBridge();  // Stop()
  MqttBridge(const MqttBridge&) = delete;
  MqttBridge& operator=(const MqttBridge&) = delete;

  // Checks the options and starts the bridge's thread, which connects (and keeps reconnecting) to the
  // broker; returns at once, whether the broker is there or not. False with one line when the options
  // cannot work (no host, a bad machine id, an unreadable CA file); a running bridge is stopped first.
  bool Start(const MqttOptions& options, std::string* problem);
  // When connected, removes the entities from Home Assistant (empty retained configs) and says
  // "offline"; then disconnects and joins the threads. Idempotent; never waits for the host.
  void Stop();
  bool running() const;
  MqttStatus status() const;

  // Set before Start. Both may be called on the bridge's threads or the host's, never after Stop
  // returned, and must not call back into the bridge.
  // A status change (not the one Stop makes).
  void SetOnStatusChanged(std::function<void()> callback);
  // One line per refused command, and per failure to publish.
  void SetLog(std::function<void(std::string)> log);

  struct Core;

 private:
  void StopLocked();

  RemoteHost& host_;
  std::mutex control_;           // one Start or Stop at a time
  mutable std::mutex coreLock_;  // guards core_ for status() and running()
  std::shared_ptr<Core> core_;
  std::function<void()> onStatusChanged_;
  std::function<void(std::string)> log_;
};

}  // namespace vireo::remote
