// `vireo-cli plug`, `scene` and `remote`: the smart-plug window's operations and the remote keys.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli.h"

namespace vireo::cli {

// `args` follows the command word. Same exit statuses as RunCli; a missing machine, an absent node
// and a time-out are failures (1).
int RunPlugCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                   std::ostream& err);
int RunSceneCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                    std::ostream& err);
int RunRemoteCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                     std::ostream& err);

}  // namespace vireo::cli
