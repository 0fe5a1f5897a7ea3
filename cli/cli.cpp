// vireo-cli: global options, then dispatch to the offline (mode, filter) or the device commands.
#include "cli.h"

#include <string_view>

#include "cli_common.h"
#include "delay_commands.h"
#include "device/clock.h"
#include "device_commands.h"
#include "eq_commands.h"
#include "filter_command.h"
#include "location_commands.h"
#include "mode_commands.h"
#include "settings_commands.h"
#include "smarthome_commands.h"

namespace vireo::cli {
namespace {

// "--name value" or "--name=value".
bool TakeValue(const std::vector<std::string>& args, std::size_t* next, std::string_view name,
               std::string* value, std::string* problem) {
  const std::string& arg = args[*next];
  if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 && arg[name.size()] == '=') {
    *value = arg.substr(name.size() + 1);
    return true;
  }
  if (*next + 1 >= args.size()) {
    *problem = std::string(name) + " needs a value";
    return false;
  }
  *value = args[++*next];
  return true;
}

bool IsOption(const std::string& arg, std::string_view name) {
  return arg == name ||
         (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 && arg[name.size()] == '=');
}

bool TakeInt(const std::vector<std::string>& args, std::size_t* next, std::string_view name, long long lowest,
             long long highest, std::optional<int>* out, std::string* problem) {
  std::string text;
  if (!TakeValue(args, next, name, &text, problem)) return false;
  long long v = 0;
  if (!ParseInt(text, &v) || v < lowest || v > highest) {
    *problem = std::string(name) + " takes a whole number from " + std::to_string(lowest) + " to " +
               std::to_string(highest) + ", not '" + text + "'";
    return false;
  }
  *out = static_cast<int>(v);
  return true;
}

bool TakeText(const std::vector<std::string>& args, std::size_t* next, std::string_view name,
              std::optional<std::string>* out, std::string* problem) {
  std::string text;
  if (!TakeValue(args, next, name, &text, problem)) return false;
  *out = text;
  return true;
}

bool IsDeviceCommand(std::string_view command) {
  return command == "info" || command == "backup" || command == "restore" || command == "backups" ||
         command == "get" || command == "set";
}

}  // namespace

bool ParseGlobalOptions(const std::vector<std::string>& args, std::size_t* next, GlobalOptions* options,
                        std::string* problem) {
  for (; *next < args.size(); ++*next) {
    const std::string& arg = args[*next];
    if (arg.rfind("--", 0) != 0) return true;  // the command
    bool ok = true;
    if (arg == "--emulator") {
      options->emulator = true;
    } else if (IsOption(arg, "--emulator-model")) {
      ok = TakeText(args, next, "--emulator-model", &options->emulatorModel, problem);
    } else if (IsOption(arg, "--emulator-kind")) {
      ok = TakeInt(args, next, "--emulator-kind", 0, 255, &options->emulatorKind, problem);
    } else if (IsOption(arg, "--emulator-latency")) {
      ok = TakeInt(args, next, "--emulator-latency", 0, 60000, &options->emulatorLatencyMs, problem);
    } else if (IsOption(arg, "--emulator-state")) {
      ok = TakeText(args, next, "--emulator-state", &options->emulatorState, problem);
    } else if (IsOption(arg, "--emulator-unplug-after")) {
      ok = TakeInt(args, next, "--emulator-unplug-after", 1, 1000000, &options->emulatorUnplugAfter, problem);
    } else if (IsOption(arg, "--trace")) {
      ok = TakeText(args, next, "--trace", &options->traceFile, problem);
    } else {
      *problem = "unknown option '" + arg + "'";
      return false;
    }
    if (!ok) return false;
  }
  return true;
}

int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err) {
  return RunCli(argc, argv, out, err, SystemClock());
}

int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err, Clock& clock) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);

  if (!args.empty() && (args[0] == "--help" || args[0] == "-h" || args[0] == "help")) {
    out << kUsage;
    return kExitOk;
  }
  GlobalOptions options;
  options.clock = &clock;
  std::size_t next = 0;
  std::string problem;
  if (!ParseGlobalOptions(args, &next, &options, &problem)) return UsageError(err, problem);
  if (next >= args.size()) return UsageError(err, "no command given");

  const std::string& command = args[next];
  const std::vector<std::string> commandArgs(args.begin() + static_cast<std::ptrdiff_t>(next + 1),
                                             args.end());
  if (command == "mode") return RunModeCommand(commandArgs, out, err);
  if (command == "filter") return RunFilterCommand(commandArgs, out, err);
  if (command == "eq") return RunEqCommand(options, commandArgs, out, err);
  if (command == "location") return RunLocationCommand(options, commandArgs, out, err);
  if (command == "delay") return RunDelayCommand(options, commandArgs, out, err);
  if (command == "settings") return RunSettingsCommand(options, commandArgs, out, err);
  if (command == "plug") return RunPlugCommand(options, commandArgs, out, err);
  if (command == "scene") return RunSceneCommand(options, commandArgs, out, err);
  if (command == "remote") return RunRemoteCommand(options, commandArgs, out, err);
  if (IsDeviceCommand(command)) {
    return RunDeviceCommand(
        options, std::vector<std::string>(args.begin() + static_cast<std::ptrdiff_t>(next), args.end()), out,
        err);
  }
  return UsageError(err, "unknown command '" + command + "'");
}

}  // namespace vireo::cli
