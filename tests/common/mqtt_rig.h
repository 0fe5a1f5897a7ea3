// The remote-control rig (emulated machine, host, server) with an MQTT bridge on a test broker, keeping
// the bridge's log lines and letting a test wait for a line or a state of the bridge.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "common/remote_rig.h"
#include "remote/mqtt_bridge.h"

namespace vireo::remote::test {

inline MqttOptions LocalBroker(int port, std::string machineId) {
  MqttOptions options;
  options.host = "127.0.0.1";
  options.port = port;
  options.machineId = std::move(machineId);
  return options;
}

class BridgeRig {
 public:
  BridgeRig(int port, std::string machineId) {
    bridge_.SetLog([this](std::string line) {
      std::lock_guard guard(lock_);
      lines_.push_back(std::move(line));
      changed_.notify_all();
    });
    bridge_.SetOnStatusChanged([this] {
      std::lock_guard guard(lock_);
      changed_.notify_all();
    });
    if (!rig_.problem().empty()) {
      problem_ = rig_.problem();
      return;
    }
    bridge_.Start(LocalBroker(port, std::move(machineId)), &problem_);
  }

  // Empty when the machine was read and the bridge started.
  const std::string& problem() const { return problem_; }
  RemoteRig& rig() { return rig_; }
  MqttBridge& bridge() { return bridge_; }

  // The first log line holding `text`, or "" after `timeout`.
  std::string WaitForLine(const std::string& text,
                          std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::unique_lock lk(lock_);
    std::string found;
    changed_.wait_for(lk, timeout, [&] {
      for (const std::string& line : lines_) {
        if (line.find(text) != std::string::npos) {
          found = line;
          return true;
        }
      }
      return false;
    });
    return found;
  }
  bool WaitForStatus(const std::function<bool(const MqttStatus&)>& match,
                     std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    std::unique_lock lk(lock_);
    return changed_.wait_for(lk, timeout, [&] { return match(bridge_.status()); });
  }
  bool WaitForState(MqttState state, std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    return WaitForStatus([state](const MqttStatus& s) { return s.state == state; }, timeout);
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<std::string> lines_;
  std::string problem_;
  RemoteRig rig_;
  MqttBridge bridge_{rig_.host()};
};

}  // namespace vireo::remote::test
