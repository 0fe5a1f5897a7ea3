// vireod's options: the emulator and trace options of vireo-cli, the listen addresses, the token file,
// the origin allowed to call the API and the MQTT broker, from the command line and a config file of the
// same names.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli.h"
#include "remote/mqtt_options.h"
#include "remote/remote_server.h"

namespace vireo::daemon {

// Never more machines than this: each costs a handful of threads and, with MQTT, a broker connection.
inline constexpr int kMaxMachines = 16;

inline constexpr const char* kDaemonUsage =
    "usage: vireod [--emulator] [--emulator-model NAME] [--emulator-kind N] [--emulator-latency MS]\n"
    "              [--emulator-state FILE.noveq] [--emulators N] [--trace FILE] [--config FILE]\n"
    "              [--listen ADDR:PORT]... [--token-file FILE] [--allow-origin ORIGIN]\n"
    "              [--mqtt mqtt[s]://[USER[:PASS]@]HOST[:PORT]] [--mqtt-ca FILE] [--machine-id NAME]\n"
    "Every machine attached is served, numbered by its USB device's sysfs path at start (machines plugged\n"
    "in later get the next numbers); --emulators N serves N emulated machines (1..16) instead. Each machine\n"
    "is on MQTT under its own id: the first takes NAME (or model-host), the Nth NAME-N; --trace FILE\n"
    "writes the Nth machine's reports to FILE-N (before the extension). The HTTP server and the phone page\n"
    "serve machine 1.\n"
    "The config file holds the same options without their dashes, one 'name = value' a line\n"
    "('emulator = true'); '#' begins a comment. The command line wins over the file.\n";

struct DaemonOptions {
  cli::GlobalOptions device;
  int emulators = 1;                          // with the emulator: how many machines it emulates
  std::vector<remote::ListenAddress> listen;  // empty: 127.0.0.1:8719
  std::string tokenFile;                      // empty: $STATE_DIRECTORY or ~/.local/state/vireo, "remote-token"
  std::string allowOrigin;
  // The MQTT bridge runs when `mqttOn`; --mqtt-ca and --machine-id go into `mqtt` too.
  bool mqttOn = false;
  remote::MqttOptions mqtt;
  bool help = false;
};

// Reads the command line (after the program name). A --config file is read first, wherever it stands;
// the options given on the command line then replace its values (--listen replaces the whole list).
// False with one line for anything unknown, malformed or unreadable.
bool ParseDaemonOptions(const std::vector<std::string>& args, DaemonOptions* options, std::string* problem);

// The token file when none is given: $STATE_DIRECTORY/remote-token under systemd, else
// $XDG_STATE_HOME/vireo/remote-token (~/.local/state/vireo/remote-token).
std::string DefaultTokenFile();

}  // namespace vireo::daemon
