// Placeholder until the device link is part of this build: every device command fails cleanly.
#include "device_commands.h"

namespace vireo::cli {

int RunDeviceCommand(const GlobalOptions& /*options*/, const std::vector<std::string>& /*args*/,
                     std::ostream& /*out*/, std::ostream& err) {
  err << "vireo-cli: no device support in this build\n";
  return 1;
}

}  // namespace vireo::cli
