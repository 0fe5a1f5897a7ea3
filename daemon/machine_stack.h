// One attached machine as vireod serves it: its store, link, edit path, smart home, host and MQTT bridge.
#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "device/clock.h"
#include "device/connection.h"
#include "device/hid_backend.h"
#include "device_session.h"
#include "model/parameter_store.h"
#include "remote/core_host.h"
#include "remote/mqtt_bridge.h"
#include "smarthome/smart_home_controller.h"
#include "tuning/edit_history.h"
#include "tuning/edit_sender.h"

namespace vireo::daemon {

// Lines come from the bridge's threads and the host's; only the service's own thread writes the log.
class LineQueue {
 public:
  void Push(std::string line);
  void WriteTo(std::ostream& log);

 private:
  std::mutex lock_;
  std::vector<std::string> lines_;
};

// The trace file of the Nth machine: FILE for the first, FILE with "-N" before its extension for the
// others ("trace.txt", "trace-2.txt"), so each machine's reports read as one conversation.
std::string NumberedTraceFile(const std::string& path, int number);

// Everything the window would own for one machine, built in dependency order and shut down in reverse.
// The connection only ever sees `backend`, which for several real machines lists one machine alone.
class MachineStack {
 public:
  // `number` counts from 1 in the order the service found its machines.
  MachineStack(int number, std::unique_ptr<HidBackend> backend, Clock& clock);
  ~MachineStack();
  MachineStack(const MachineStack&) = delete;
  MachineStack& operator=(const MachineStack&) = delete;

  // Before the first Tick, which is what connects.
  bool OpenTrace(const std::string& path, std::string* problem);
  // The bridge under this machine's number (see MqttOptions::machineNumber).
  bool StartMqtt(remote::MqttOptions options, std::string* problem);
  // Says "offline" and removes the entities; before the server over this host stops.
  void StopMqtt(std::ostream& log);

  // One round of the service's loop: logs what changed and asks for a reconnection every 2 s while the
  // machine is away.
  void Tick(std::ostream& log);

  int number() const { return number_; }
  remote::CoreHost& host() { return host_; }

 private:
  struct DefaultStore {
    DefaultStore();
    ParameterStore store;
  };

  int number_;
  DefaultStore defaults_;
  std::unique_ptr<HidBackend> backend_;
  cli::TraceWriter trace_;
  remote::HostEvents events_;
  MachineConnection connection_;
  tuning::EditSender sender_;
  tuning::EditSession edits_;
  smarthome::SmartHomeController home_;
  remote::CoreHost host_;
  LineQueue lines_;  // the bridge's and the host's lines
  remote::MqttBridge bridge_;
  bool mqttOn_ = false;
  remote::MqttStatus mqttStatus_;
  bool wasConnected_ = false;
  std::chrono::steady_clock::time_point nextTry_;
};

}  // namespace vireo::daemon
