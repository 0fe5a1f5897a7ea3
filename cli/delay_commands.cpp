// The delay commands: the same tuning operations as the delay page.
#include "delay_commands.h"

#include <sstream>

#include "cli_common.h"
#include "device_session.h"
#include "model/store_layout.h"
#include "model/wire_rules.h"
#include "tuning/delay_ops.h"

namespace vireo::cli {
namespace {

// The split slider of channel CH (1..8) moved to INDEX (0..25).
int Split(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
          std::ostream& err) {
  long long channel = 0;
  long long index = 0;
  if (args.size() != 3 || !ParseInt(args[1], &channel) || channel < 1 || channel > kOutputChannels ||
      !ParseInt(args[2], &index) || index < 0 || index >= kSplitEntries) {
    return Failure(err, "delay split takes a channel 1..8 and a split index 0..25");
  }
  const int c = static_cast<int>(channel) - 1;
  const int i = static_cast<int>(index);
  return EditOnMachine(
      options, out, err, [c, i](ParameterStore& store, ReportSender& sender, std::ostream& text) {
        tuning::MoveSplit(store, sender, c, i);
        text << "split " << tuning::ChannelSplitIndex(store, c) << ' ' << tuning::SplitText(i) << '\n';
      });
}

}  // namespace

int RunDelayCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                    std::ostream& err) {
  if (args.empty()) return UsageError(err, "delay needs split");
  if (args[0] == "split") return Split(options, args, out, err);
  return UsageError(err, "unknown delay command '" + args[0] + "'");
}

}  // namespace vireo::cli
