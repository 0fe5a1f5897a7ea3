// Parsing vireod's command line and config file into one set of options.
#include "daemon_options.h"

#include <charconv>
#include <cstdlib>

#include "files/file_access.h"

namespace vireo::daemon {
namespace {

std::string Trim(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool ParseMachineCount(const std::string& text, int* count) {
  int n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || n < 1 || n > kMaxMachines)
    return false;
  *count = n;
  return true;
}

// One option by its long name (without dashes) and its value; `flag` for one given without a value.
bool ApplyOption(const std::string& name, const std::string& value, bool flag, DaemonOptions* o, bool* listenGiven,
                 std::string* problem) {
  if (name == "listen") {
    remote::ListenAddress address;
    if (flag || !remote::ParseListenAddress(value, &address, problem)) {
      if (flag) *problem = "--listen needs ADDR:PORT";
      return false;
    }
    if (!*listenGiven) o->listen.clear();  // the command line replaces the config's list
    *listenGiven = true;
    o->listen.push_back(address);
    return true;
  }
  if (name == "mqtt") {
    if (flag) return *problem = "--mqtt needs mqtt://HOST[:PORT]", false;
    if (!remote::ParseMqttUrl(value, &o->mqtt, problem)) return false;
    o->mqttOn = true;
    return true;
  }
  if (name == "machine-id") {
    if (flag || !remote::IsValidMachineId(value))
      return *problem = "--machine-id needs 1 to 64 of a-z, 0-9, '-' and '_'", false;
    o->mqtt.machineId = value;
    return true;
  }
  if (name == "mqtt-ca") {
    if (flag || value.empty()) return *problem = "--mqtt-ca needs a FILE", false;
    o->mqtt.caFile = value;
    return true;
  }
  if (name == "token-file" || name == "allow-origin") {
    if (flag || value.empty()) return *problem = "--" + name + " needs a value", false;
    (name == "token-file" ? o->tokenFile : o->allowOrigin) = value;
    return true;
  }
  if (name == "emulators") {
    if (flag || !ParseMachineCount(value, &o->emulators))
      return *problem = "--emulators needs a number 1.." + std::to_string(kMaxMachines), false;
    o->device.emulator = true;
    return true;
  }
  if (name == "emulator" && (flag || value == "true" || value == "false")) {
    o->device.emulator = flag || value == "true";
    return true;
  }
  // The device options are vireo-cli's: let its parser check them.
  std::vector<std::string> args{"--" + name};
  if (!flag) args.push_back(value);
  std::size_t next = 0;
  if (!cli::ParseGlobalOptions(args, &next, &o->device, problem)) return false;
  if (next != args.size()) return *problem = "unknown option '--" + name + "'", false;
  return true;
}

bool ReadConfig(const std::string& path, DaemonOptions* o, std::string* problem) {
  std::string text;
  if (const files::FileRead read = files::ReadBoundedFile(path, 64 * 1024, &text); !read.ok()) {
    *problem = "cannot read the config file " + path + ": " + files::DescribeFileProblem(read);
    return false;
  }
  bool listenGiven = false;
  int lineNumber = 0;
  std::size_t start = 0;
  while (start <= text.size()) {
    const auto end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    start = end == std::string::npos ? text.size() + 1 : end + 1;
    ++lineNumber;
    if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    line = Trim(line);
    if (line.empty()) continue;
    const auto equals = line.find('=');
    const std::string name = Trim(line.substr(0, equals));
    const std::string value = equals == std::string::npos ? std::string() : Trim(line.substr(equals + 1));
    std::string why;
    if (name == "config" || !ApplyOption(name, value, equals == std::string::npos, o, &listenGiven, &why)) {
      *problem = path + ":" + std::to_string(lineNumber) + ": " + (why.empty() ? "unknown option '" + name + "'" : why);
      return false;
    }
  }
  return true;
}

}  // namespace

bool ParseDaemonOptions(const std::vector<std::string>& args, DaemonOptions* options, std::string* problem) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--config" || args[i].rfind("--config=", 0) == 0) {
      const bool joined = args[i] != "--config";
      if (!joined && i + 1 >= args.size()) return *problem = "--config needs a FILE", false;
      if (!ReadConfig(joined ? args[i].substr(9) : args[i + 1], options, problem)) return false;
    }
  }
  bool listenGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options->help = true;
      continue;
    }
    if (arg.rfind("--", 0) != 0) return *problem = "unexpected argument '" + arg + "'", false;
    std::string name = arg.substr(2);
    std::string value;
    bool flag = true;
    if (const auto equals = name.find('='); equals != std::string::npos) {
      value = name.substr(equals + 1);
      name.erase(equals);
      flag = false;
    } else if (name != "emulator" && i + 1 < args.size()) {
      value = args[++i];
      flag = false;
    }
    if (name == "config") continue;
    if (!ApplyOption(name, value, flag, options, &listenGiven, problem)) return false;
  }
  if (!options->mqttOn && (!options->mqtt.caFile.empty() || !options->mqtt.machineId.empty()))
    return *problem = "--mqtt-ca and --machine-id need --mqtt", false;
  return true;
}

std::string DefaultTokenFile() {
  if (const char* state = std::getenv("STATE_DIRECTORY"); state && *state) {
    std::string first(state);
    return first.substr(0, first.find(':')) + "/remote-token";
  }
  if (const char* xdg = std::getenv("XDG_STATE_HOME"); xdg && *xdg) return std::string(xdg) + "/vireo/remote-token";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : ".") + "/.local/state/vireo/remote-token";
}

}  // namespace vireo::daemon
