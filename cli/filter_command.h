// `vireo-cli filter TYPE GAIN FREQ Q [--response]`: one biquad, its wire words and its response.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vireo::cli {

// `args` follows the word "filter". Same exit statuses as RunCli.
int RunFilterCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vireo::cli
