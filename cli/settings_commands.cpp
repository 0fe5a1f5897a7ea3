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
bool IsMaximum(const t::SettingRequest& r) {
  return r.key->byte == t::settings_byte::micMax || r.key->byte == t::settings_byte::musicMax;
}

int Apply(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
          std::ostream& err) {
  if (args.size() < 2) return UsageError(err, "settings apply takes KEY=VALUE ...");
  // Every value is checked before the machine is touched: a start volume goes out as soon as it is
  // set, so a refusal found halfway would leave the machine playing part of the script.
  std::vector<t::SettingRequest> requests;
  for (std::size_t i = 1; i < args.size(); ++i) {
    Assignment a;
    if (!Split(args[i], &a)) return UsageError(err, "settings apply takes KEY=VALUE, not '" + args[i] + "'");
    if (t::FindSettingsKey(a.key) == nullptr) return UsageError(err, "unknown setting '" + a.key + "'");
    t::SettingRequest request;
    std::string reason;
    if (!t::ParseSetting(a.key, a.value, &request, &reason)) return Failure(err, reason);
    requests.push_back(request);
  }
  std::stable_partition(requests.begin(), requests.end(), IsMaximum);
  int status = kExitFailure;
  auto session = ConnectAndRead(options, err, &status);
  if (!session) return status;
  ParameterStore& store = session->store();
  CheckedSender sender(session->connection().sender());
  std::string notes;
  for (const t::SettingRequest& r : requests) {
    const int stored = t::ApplySetting(store, sender, r);
    if (stored != r.value) {
      notes += "note: " + std::string(r.key->name) + ' ' + std::to_string(r.value) + " limited to " +
               std::to_string(stored) + ", the maximum volume\n";
    }
  }
  t::ApplyMachineSettings(store, sender);
  if (sender.refused())
    return Failure(err, "the machine did not take the settings: it is no longer connected");
  out << t::SettingsText(t::AppliedSettings(store)) << notes;
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
