// `vireo-cli mode show|diff|convert`: mode files inspected and rewritten without a machine.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vireo::cli {

// `args` follows the word "mode". Same exit statuses as RunCli.
int RunModeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vireo::cli
