// `vireo-cli settings show | apply`.
#include "settings_commands.h"

#include <algorithm>

#include "cli_common.h"
#include "device_session.h"
#include "tuning/machine_settings_ops.h"

namespace vireo::cli {
namespace {

namespace t = tuning;

struct Assignment {
  std::string key;
  std::string value;
};

bool Split(const std::string& arg, Assignment* a) {
  const std::size_t eq = arg.find('=');
  if (eq == std::string::npos || eq == 0 || eq + 1 == arg.size()) return false;
  *a = {arg.substr(0, eq), arg.substr(eq + 1)};
  return true;
}

// A maximum first, so that a start volume given with it is held below the new maximum, not the old.
bool IsMaximum(const Assignment& a) {
  return a.key == "micMax" || a.key == "musicMax";
}

int Apply(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
          std::ostream& err) {
  if (args.size() < 2) return UsageError(err, "settings apply takes KEY=VALUE ...");
  std::vector<Assignment> assignments;
  for (std::size_t i = 1; i < args.size(); ++i) {
    Assignment a;
    if (!Split(args[i], &a)) return UsageError(err, "settings apply takes KEY=VALUE, not '" + args[i] + "'");
    if (t::FindSettingsKey(a.key) == nullptr) return UsageError(err, "unknown setting '" + a.key + "'");
    assignments.push_back(a);
  }
  std::stable_partition(assignments.begin(), assignments.end(), IsMaximum);
  int status = kExitFailure;
  auto session = ConnectAndRead(options, err, &status);
  if (!session) return status;
  ParameterStore& store = session->store();
  CheckedSender sender(session->connection().sender());
  for (const Assignment& a : assignments) {
    std::string reason;
    if (!t::SetWorkingSetting(store, sender, a.key, a.value, &reason)) {
      t::DiscardSettingsEdits(store);
      return Failure(err, reason);
    }
  }
  t::ApplyMachineSettings(store, sender);
  if (sender.refused())
    return Failure(err, "the machine did not take the settings: it is no longer connected");
  out << t::SettingsText(t::AppliedSettings(store));
  return kExitOk;
}

}  // namespace

int RunSettingsCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                       std::ostream& err) {
  if (args.empty()) return UsageError(err, "settings needs show or apply");
  if (args[0] == "show") {
    if (args.size() != 1) return UsageError(err, "settings show takes no arguments");
    int status = kExitFailure;
    auto session = ConnectAndRead(options, err, &status);
    if (!session) return status;
    out << t::SettingsText(t::AppliedSettings(session->store()));
    return kExitOk;
  }
  if (args[0] == "apply") return Apply(options, args, out, err);
  return UsageError(err, "unknown settings command '" + args[0] + "'");
}

}  // namespace vireo::cli
