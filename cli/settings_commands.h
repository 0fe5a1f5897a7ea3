// `vireo-cli settings`: the machine's 13 settings bytes, shown by name and applied as the settings
// dialog does.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli.h"

namespace vireo::cli {

// `args` follows "settings": "show", or "apply KEY=VALUE ...". Same exit statuses as RunCli.
int RunSettingsCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                       std::ostream& err);

}  // namespace vireo::cli
