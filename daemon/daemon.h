// One run of the headless service: the machine (or its emulator), the edit path and the remote-control
// server, until a stop is asked for.
#pragma once

#include <atomic>
#include <ostream>

#include "daemon_options.h"

namespace vireo::daemon {

// Exit status: 0 after a stop, 1 when the service could not start (one line on `log`).
// Runs until `stop` becomes true; every log line goes to `log` (the journal takes stderr).
int RunDaemon(const DaemonOptions& options, std::ostream& log, const std::atomic<bool>& stop);

}  // namespace vireo::daemon
