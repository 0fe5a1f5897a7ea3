// The device commands of vireo-cli: info, backup, restore, get and set against the machine or emulator.
#include "device_commands.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

#include "cli_common.h"
#include "device_session.h"
#include "json_output.h"
#include "mode_view.h"
#include "model/backups.h"
#include "model/mode_file.h"
#include "model/slot_fields.h"
#include "tuning/feature_ops.h"
#include "tuning/field_setter.h"

namespace vireo::cli {
namespace {

int Info(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
         std::ostream& err) {
  const bool json = args.size() == 2 && args[1] == "--json";
  if (args.size() > 2 || (args.size() == 2 && !json)) return UsageError(err, "info takes only --json");
  int status = kExitFailure;
  auto session = ConnectAndRead(options, err, &status);
  if (!session) return status;
  const ParameterStore& s = session->store();
  if (json) {
    Json names = Json::array();
    for (int i = 0; i < kModeSlots; ++i) names.push_back(Utf8(s.modeName(i)));
    WriteJson(out, Json{{"model", Utf8(s.modelName())},
                        {"kind", s.deviceKind()},
                        {"firmwareDate", Utf8(s.firmwareDate())},
                        {"secondDate", Utf8(s.secondDate())},
                        {"currentMode", s.currentMode()},
                        {"modeNames", std::move(names)}});
    return kExitOk;
  }
  out << "model: " << Utf8(s.modelName()) << '\n'
      << "kind: " << static_cast<int>(s.deviceKind()) << '\n'
      << "firmware date: " << Utf8(s.firmwareDate()) << '\n'
      << "second date: " << Utf8(s.secondDate()) << '\n'
      << "current mode: " << s.currentMode() + 1 << " (" << Utf8(s.modeName(s.currentMode())) << ")\n";
  for (int i = 0; i < kModeSlots; ++i) out << "mode " << i + 1 << ": " << Utf8(s.modeName(i)) << '\n';
  return kExitOk;
}

int Backup(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
           std::ostream& err) {
  if (args.size() != 2) return UsageError(err, "backup takes one FILE");
  int status = kExitFailure;
  if (!CheckOutputPath(err, args[1], &status)) return status;
  auto session = ConnectAndRead(options, err, &status);
  if (!session) return status;
  const ModeFileResult written = WriteModeFile(session->store(), args[1]);
  if (!written.ok) return Failure(err, "cannot write " + args[1] + ": " + std::strerror(written.errorCode));
  out << "saved " << args[1] << '\n';
  return kExitOk;
}

// Writes `path` to the machine after keeping the machine's tuning as a backup; `force` goes on without
// one when the backup cannot be written.
int RestoreFile(const GlobalOptions& options, const std::string& path, bool force, std::ostream& out,
                std::ostream& err) {
  // Refuse a file that cannot load before talking to the machine at all.
  std::vector<std::uint8_t> bytes;
  if (const ModeFileResult read = ReadModeFileBytes(path, &bytes); !read.ok) {
    return ModeFileFailure(err, path, read);
  }
  ParameterStore scratch;
  ResetStoreDefaults(scratch);
  if (const ModeFileResult check = ParseModeFile(bytes, scratch); !check.ok) {
    return ModeFileFailure(err, path, check);
  }
  int status = kExitFailure;
  auto session = ConnectAndRead(options, err, &status);
  if (!session) return status;
  std::string problem;
  const std::string backup =
      SaveBackup(session->store(), DefaultBackupFolder(), "restore", std::time(nullptr), &problem);
  if (backup.empty() && !force)
    return Failure(err, "no backup of the machine's tuning (" + problem +
                            "); nothing was restored (--force restores without one)");
  const ModeFileResult loaded = ParseModeFile(bytes, session->store());
  if (!loaded.ok) return ModeFileFailure(err, path, loaded);
  if (!loaded.clamped.empty()) WarnClamped(err, path, loaded.clamped);
  const int slot = ModeSlotOfFileName(path);
  session->connection().setPendingSlot(slot);
  if (!session->WriteAll(&problem)) return Failure(err, problem);
  out << "restored " << path;
  if (slot >= 0) out << " and stored it in mode " << slot + 1;
  out << '\n';
  if (!backup.empty()) out << "backup " << backup << '\n';
  return kExitOk;
}

int Restore(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err) {
  const bool force = args.size() == 3 && args[2] == "--force";
  if (args.size() != 2 && !force) return UsageError(err, "restore takes one FILE and optionally --force");
  return RestoreFile(options, args[1], force, out, err);
}

// The backups, newest first: "N  TIME  SOURCE"; `show N` the fields where backup N differs from the
// machine's tuning; `restore N` writes it back (after a backup of its own).
int Backups(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
            std::ostream& err) {
  const std::vector<BackupEntry> list = ListBackups(DefaultBackupFolder());
  if (args.size() == 2 && args[1] == "list") {
    for (std::size_t i = 0; i < list.size(); ++i)
      out << i + 1 << "  " << list[i].time << "  " << list[i].source << '\n';
    return kExitOk;
  }
  long long n = 0;
  const bool indexed =
      args.size() >= 3 && (args[1] == "show" || args[1] == "restore") && ParseInt(args[2], &n);
  if (!indexed || (args[1] == "show" && args.size() != 3) ||
      (args[1] == "restore" && args.size() != 3 && !(args.size() == 4 && args[3] == "--force")))
    return UsageError(err, "backups list | backups show N | backups restore N [--force]");
  if (n < 1 || n > static_cast<long long>(list.size()))
    return Failure(err, "there is no backup " + args[2] + " (" + std::to_string(list.size()) + " kept)");
  const BackupEntry& entry = list[static_cast<std::size_t>(n - 1)];
  if (args[1] == "restore") return RestoreFile(options, entry.path, args.size() == 4, out, err);
  ParameterStore backup;
  ResetStoreDefaults(backup);
  if (const ModeFileResult read = ReadModeFile(backup, entry.path); !read.ok)
    return ModeFileFailure(err, entry.path, read);
  int status = kExitFailure;
  auto session = ConnectAndRead(options, err, &status);
  if (!session) return status;
  const auto machine = DescribeStore(session->store());
  const auto kept = DescribeStore(backup);
  int differing = 0;
  for (std::size_t i = 0; i < machine.size() && i < kept.size(); ++i) {
    if (machine[i].raw == kept[i].raw) continue;
    ++differing;
    out << machine[i].name << ": " << machine[i].value << " -> " << kept[i].value << '\n';
  }
  out << differing << " field(s) differ from the machine (" << entry.time << ", " << entry.source << ")\n";
  return kExitOk;
}

// "NAME" or "NAME[i]"; element -1 when there is no index.
bool SplitName(const std::string& text, std::string* name, int* element) {
  const auto open = text.find('[');
  if (open == std::string::npos) {
    *name = text;
    *element = -1;
    return !text.empty();
  }
  long long index = 0;
  if (text.back() != ']' ||
      !ParseInt(std::string_view(text).substr(open + 1, text.size() - open - 2), &index) || index < 0 ||
      index > 255) {
    return false;
  }
  *name = text.substr(0, open);
  *element = static_cast<int>(index);
  return !name->empty();
}

// Store fields beyond the persisted regions: identity, flags and the small tables.
bool ExtraField(const ParameterStore& s, const std::string& name, int element, std::string* value) {
  const auto byteOf = [&](Region region, std::size_t size) {
    if (element < 0 || static_cast<std::size_t>(element) >= size) return false;
    *value = std::to_string(s.Byte(region, static_cast<std::size_t>(element)));
    return true;
  };
  if (element < 0) {
    if (name == "modelName") return *value = Utf8(s.modelName()), true;
    if (name == "firmwareDate") return *value = Utf8(s.firmwareDate()), true;
    if (name == "secondDate") return *value = Utf8(s.secondDate()), true;
    if (name == "deviceKind") return *value = std::to_string(s.deviceKind()), true;
    if (name == "currentMode") return *value = std::to_string(s.currentMode()), true;
    if (name == "writeAck") return *value = std::to_string(s.writeAck()), true;
    if (name == "connected") return *value = std::to_string(s.connected()), true;
  }
  if (name == "modeName" && element >= 0 && element < kModeSlots)
    return *value = Utf8(s.modeName(element)), true;
  if (name == "machineSettings") return byteOf(Region::machineSettings, kMachineSettingsBytes);
  if (name == "machineSettingsEdit") return byteOf(Region::machineSettingsEdit, kMachineSettingsBytes);
  if (name == "remoteKeyTable") return byteOf(Region::remoteKeyTable, kRemoteKeyTableBytes);
  if (name == "levelMeters") return byteOf(Region::levelMeters, kLevelMeterBytes);
  return false;
}

int Get(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
        std::ostream& err) {
  if (args.size() != 2) return UsageError(err, "get takes one NAME");
  // Band records have two indexes ("band[5][13]"); they are looked up by their whole name.
  std::string name = args[1];
  int element = -1;
  const bool single = SplitName(args[1], &name, &element);
  const SlotField* field = single ? FindSlotField(name) : nullptr;
  if (field && element >= field->count) return UsageError(err, "index out of range for " + name);
  int status = kExitFailure;
  auto session = ConnectAndRead(options, err, &status);
  if (!session) return status;
  std::string text;
  if (!FieldText(session->store(), args[1], &text))
    return Failure(err, "no store field named '" + args[1] + "'");
  out << text;
  return kExitOk;
}

int Set(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
        std::ostream& err) {
  if (args.size() != 3) return UsageError(err, "set takes NAME and VALUE");
  std::string name;
  int element = -1;
  double value = 0;
  if (!SplitName(args[1], &name, &element)) return UsageError(err, "bad field name '" + args[1] + "'");
  if (!ParseDouble(args[2], &value)) return UsageError(err, "VALUE must be a number, not '" + args[2] + "'");
  const SlotField* field = FindSlotField(name);
  const bool pseudo = field == nullptr && tuning::IsPseudoField(name);
  if (field == nullptr && !pseudo) return Failure(err, "no settable field named '" + name + "'");
  if (field && field->count > 1 && element < 0)
    return UsageError(err, name + " needs an index: " + name + "[i]");
  int status = kExitFailure;
  auto session = ConnectAndRead(options, err, &status);
  if (!session) return status;
  CheckedSender sender(session->connection().sender());
  const tuning::FieldSetResult result = tuning::SetFieldValue(
      session->store(), sender, session->connection().clock(), name, std::max(element, 0), value);
  if (!result.ok) return Failure(err, result.reason);
  if (sender.refused())
    return Failure(err, "the machine did not take " + args[1] + ": it is no longer connected");
  double pseudoValue = 0;
  if (pseudo && tuning::ReadPseudoField(session->store(), name, &pseudoValue)) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", pseudoValue);
    out << name << ' ' << text << '\n';
  }
  // The field, then what the page changed along with it.
  std::vector<std::string> shown{pseudo             ? std::string()
                                 : field->count > 1 ? name + "[" + std::to_string(element) + "]"
                                                    : name};
  shown.insert(shown.end(), result.alsoSet.begin(), result.alsoSet.end());
  const std::vector<FieldLine> lines = DescribeStore(session->store());
  for (const std::string& wanted : shown) {
    for (const FieldLine& line : lines) {
      if (line.name == wanted) out << wanted << ' ' << line.value << '\n';
    }
  }
  if (result.notice == tuning::VolumeNotice::overMaximum)
    out << "note: limited to the machine's maximum volume\n";
  if (result.notice == tuning::VolumeNotice::muted) out << "note: this path is muted\n";
  return kExitOk;
}

}  // namespace

bool FieldText(const ParameterStore& store, const std::string& arg, std::string* text) {
  std::string name = arg;
  int element = -1;
  const bool single = SplitName(arg, &name, &element);
  std::string value;
  if (single && ExtraField(store, name, element, &value)) {
    *text = value + '\n';
    return true;
  }
  // An indexed field without an index prints every element, one "NAME[i] value" a line.
  text->clear();
  const std::string prefix = arg + "[";
  for (const FieldLine& line : DescribeStore(store)) {
    if (line.name == arg) {
      *text = line.value + '\n';
      return true;
    }
    if (line.name.compare(0, prefix.size(), prefix) == 0) *text += line.name + ' ' + line.value + '\n';
  }
  double pseudo = 0;
  if (text->empty() && tuning::ReadPseudoField(store, arg, &pseudo)) {
    char number[32];
    std::snprintf(number, sizeof number, "%g", pseudo);  // as `set` prints it
    *text = std::string(number) + '\n';
  }
  return !text->empty();
}

int RunDeviceCommand(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
                     std::ostream& err) {
  if (args.empty()) return UsageError(err, "no command given");
  const std::string& command = args[0];
  if (command == "info") return Info(options, args, out, err);
  if (command == "backup") return Backup(options, args, out, err);
  if (command == "restore") return Restore(options, args, out, err);
  if (command == "backups") return Backups(options, args, out, err);
  if (command == "get") return Get(options, args, out, err);
  if (command == "set") return Set(options, args, out, err);
  return UsageError(err, "unknown command '" + command + "'");
}

}  // namespace vireo::cli
