// `vireo-cli eq`: show, set, reset, copy and bypass of the fifteen equalisers.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli.h"

namespace vireo::cli {

// `args` follows "eq". `eq show ID --file FILE` reads a mode file; everything else talks to the machine.
// Same exit statuses as RunCli.
int RunEqCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                 std::ostream& err);

}  // namespace vireo::cli
