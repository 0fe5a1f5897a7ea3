// vireo-cli's entry point and its global options, shared by the offline and the device commands.
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace vireo {
class Clock;
}

namespace vireo::cli {

// Options given before the command. Only the device commands use them.
struct GlobalOptions {
  bool emulator = false;                     // --emulator: talk to the in-process machine
  std::optional<std::string> emulatorModel;  // --emulator-model NAME
  std::optional<int> emulatorKind;           // --emulator-kind N (0..255)
  std::optional<int> emulatorLatencyMs;      // --emulator-latency MS
  std::optional<std::string> emulatorState;  // --emulator-state FILE.noveq
  std::optional<int> emulatorUnplugAfter;    // --emulator-unplug-after N: the cable goes after N requests
  std::optional<std::string> traceFile;      // --trace FILE
  // Not an option: the clock that every sleep, pause and time-out of the command goes through. Null
  // means the system's; tests give a virtual one, so that a command's waits cost no real time.
  Clock* clock = nullptr;
};

// Reads the global options from args[*next] on and leaves *next at the command. False with a
// one-line `problem` for an unknown option or a missing or bad value.
bool ParseGlobalOptions(const std::vector<std::string>& args, std::size_t* next, GlobalOptions* options,
                        std::string* problem);

// Runs one vireo-cli invocation. Exit status: 0 success, 1 failure (one line on err), 2 usage error.
int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err);
// The same with every wait of the command on `clock`.
int RunCli(int argc, char** argv, std::ostream& out, std::ostream& err, Clock& clock);

}  // namespace vireo::cli
