// The commands that talk to the machine (or its emulator): info, backup, restore, get, set.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli.h"

namespace vireo::cli {

// `args` starts with the command name. Same exit statuses as RunCli.
int RunDeviceCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                     std::ostream& err);

}  // namespace vireo::cli
