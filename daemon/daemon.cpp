// The headless service: connects (and reconnects) to each machine, keeps its state read, and serves the
// remote-control API (and, when asked, the MQTT bridge) through the same tuning operations the window uses.
#include "daemon.h"

#include <chrono>
#include <thread>

#include "device/clock.h"
#include "machine_roster.h"
#include "remote/remote_server.h"
#include "remote/token_file.h"

namespace vireo::daemon {
namespace {

constexpr auto kStopCheck = std::chrono::milliseconds(100);

}  // namespace

int RunDaemon(const DaemonOptions& options, std::ostream& log, const std::atomic<bool>& stop) {
  const std::string tokenPath = options.tokenFile.empty() ? DefaultTokenFile() : options.tokenFile;
  std::string problem;
  bool created = false;
  const std::string token = remote::LoadOrCreateToken(tokenPath, &created, &problem);
  if (token.empty()) {
    log << "vireod: " << problem << std::endl;
    return 1;
  }
  if (created) log << "vireod: a new token was written to " << tokenPath << std::endl;

  Clock& clock = options.device.clock ? *options.device.clock : SystemClock();
  MachineRoster machines(options, clock, log);
  if (!machines.Start(&problem)) {
    log << "vireod: " << problem << std::endl;
    return 1;
  }
  // The HTTP API has no notion of several machines: it serves the first, which a phone page shows.
  remote::RemoteServer server(machines.first().host());
  remote::ServerOptions serverOptions;
  serverOptions.listen = options.listen;
  serverOptions.token = token;
  serverOptions.allowedOrigin = options.allowOrigin;
  if (!server.Start(serverOptions, &problem)) {
    log << "vireod: " << problem << std::endl;
    return 1;
  }
  for (const remote::ListenAddress& a : server.boundAddresses())
    log << "vireod: listening on http://" << remote::ListenAddressText(a) << std::endl;
  if (options.mqttOn && !machines.StartMqtt(&problem)) {
    log << "vireod: " << problem << std::endl;
    machines.StopMqtt();
    server.Stop();
    return 1;
  }

  while (!stop.load()) {
    machines.Tick();
    std::this_thread::sleep_for(kStopCheck);
  }
  log << "vireod: stopping" << std::endl;
  machines.StopMqtt();
  server.Stop();
  return 0;
}

}  // namespace vireo::daemon
