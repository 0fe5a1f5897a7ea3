// The headless service: connects (and reconnects) to the machine, keeps its state read, and serves the
// remote-control API (and, when asked, the MQTT bridge) through the same tuning operations the window uses.
#include "daemon.h"

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "device/clock.h"
#include "device/connection.h"
#include "device_session.h"
#include "model/store_layout.h"
#include "remote/core_host.h"
#include "remote/mqtt_bridge.h"
#include "remote/remote_server.h"
#include "smarthome/smart_home_controller.h"
#include "token_file.h"
#include "tuning/edit_history.h"
#include "tuning/edit_sender.h"

namespace vireo::daemon {
namespace {

constexpr auto kReconnectEvery = std::chrono::seconds(2);
constexpr auto kStopCheck = std::chrono::milliseconds(100);

// The bridge's lines come from its threads and the host's; only the service's own thread writes the log.
class LineQueue {
 public:
  void Push(std::string line) {
    std::lock_guard guard(lock_);
    lines_.push_back(std::move(line));
  }
  void WriteTo(std::ostream& log) {
    std::vector<std::string> lines;
    {
      std::lock_guard guard(lock_);
      lines.swap(lines_);
    }
    for (const std::string& line : lines) log << "vireod: " << line << std::endl;
  }

 private:
  std::mutex lock_;
  std::vector<std::string> lines_;
};

// The bridge's state as it changes; the broker's address is shown without its password.
void LogMqttStatus(const remote::MqttBridge& bridge, remote::MqttStatus* last, std::ostream& log) {
  const remote::MqttStatus now = bridge.status();
  if (now == *last) return;
  *last = now;
  log << "vireod: MQTT " << remote::MqttStatusText(now) << std::endl;
}

}  // namespace

int RunDaemon(const DaemonOptions& options, std::ostream& log, const std::atomic<bool>& stop) {
  const std::string tokenPath = options.tokenFile.empty() ? DefaultTokenFile() : options.tokenFile;
  std::string problem;
  bool created = false;
  const std::string token = LoadOrCreateToken(tokenPath, &created, &problem);
  if (token.empty()) {
    log << "vireod: " << problem << std::endl;
    return 1;
  }
  if (created) log << "vireod: a new token was written to " << tokenPath << std::endl;

  Clock& clock = options.device.clock ? *options.device.clock : SystemClock();
  ParameterStore store;
  ResetStoreDefaults(store);
  std::unique_ptr<HidBackend> backend = cli::MakeBackend(options.device, clock, &problem);
  if (!backend) {
    log << "vireod: " << problem << std::endl;
    return 1;
  }
  cli::TraceWriter trace;
  if (options.device.traceFile && !trace.Open(*options.device.traceFile, &problem)) {
    log << "vireod: " << problem << std::endl;
    return 1;
  }
  remote::HostEvents events;
  MachineConnection connection(store, *backend, clock, events);
  if (trace.isOpen())
    connection.SetTraceHook([&trace](TraceDirection d, std::span<const std::uint8_t> r) { trace.Write(d, r); });
  tuning::EditSender sender(connection.sender(), clock);
  tuning::EditSession edits(store, sender, clock);
  smarthome::SmartHomeController home(store, connection.sender(), clock, nullptr);
  home.Attach(connection);
  {
    remote::CoreHost host(connection, edits, &home);
    events.Attach(&host);
    host.SetAfterReadAll([&home] { home.StartReadAll(); });

    remote::RemoteServer server(host);
    remote::ServerOptions serverOptions;
    serverOptions.listen = options.listen;
    serverOptions.token = token;
    serverOptions.allowedOrigin = options.allowOrigin;
    if (!server.Start(serverOptions, &problem)) {
      log << "vireod: " << problem << std::endl;
      events.Attach(nullptr);
      return 1;
    }
    for (const remote::ListenAddress& a : server.boundAddresses())
      log << "vireod: listening on http://" << remote::ListenAddressText(a) << std::endl;

    LineQueue mqttLines;
    remote::MqttBridge bridge(host);
    remote::MqttStatus mqttStatus;
    if (options.mqttOn) {
      bridge.SetLog([&mqttLines](std::string line) { mqttLines.Push(std::move(line)); });
      if (!bridge.Start(options.mqtt, &problem)) {
        log << "vireod: " << problem << std::endl;
        server.Stop();
        events.Attach(nullptr);
        return 1;
      }
    }

    bool wasConnected = false;
    auto nextTry = std::chrono::steady_clock::now();
    while (!stop.load()) {
      const bool connected = connection.connected();
      if (connected != wasConnected) {
        log << (connected ? "vireod: machine connected" : "vireod: machine not connected") << std::endl;
        wasConnected = connected;
      }
      mqttLines.WriteTo(log);
      if (options.mqttOn) LogMqttStatus(bridge, &mqttStatus, log);
      if (!connected && std::chrono::steady_clock::now() >= nextTry) {
        nextTry = std::chrono::steady_clock::now() + kReconnectEvery;
        host.Post([&connection] {
          if (!connection.connected() && connection.ConnectMachine()) connection.StartReadAll();
        });
      }
      std::this_thread::sleep_for(kStopCheck);
    }
    log << "vireod: stopping" << std::endl;
    bridge.Stop();
    mqttLines.WriteTo(log);
    server.Stop();
    events.Attach(nullptr);
    host.Close();
  }
  home.Detach();
  sender.Shutdown();
  connection.ExitSequence();
  return 0;
}

}  // namespace vireo::daemon
