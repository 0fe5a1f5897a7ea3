// `vireo-cli delay`: the delay page's operations from a script.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli.h"

namespace vireo::cli {

// `args` follows "delay". Same exit statuses as RunCli; a channel or index out of range fails with one line.
int RunDelayCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                    std::ostream& err);

}  // namespace vireo::cli
