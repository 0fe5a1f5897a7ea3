// `vireo-cli location`: the sound-field location page's operations from a script.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli.h"

namespace vireo::cli {

// `args` follows "location". Same exit statuses as RunCli.
int RunLocationCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                       std::ostream& err);

}  // namespace vireo::cli
