// Automatic backups: before anything rewrites the machine's whole tuning, the tuning as last read is kept
// as a version-8 mode file, so a wrong file or a wrong slot can always be undone.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "model/parameter_store.h"

namespace vireo {

inline constexpr int kBackupsKept = 50;

struct BackupEntry {
  std::string path;
  std::string time;    // "2026-12-10 00:58:03", local time
  std::string source;  // what was about to overwrite the machine: "open-file", "restore", "slot-2", ...
};

// "$XDG_DATA_HOME/Calyx V1.0/Vireo/backups" (~/.local/share without the variable): the folder the
// application's QStandardPaths::AppDataLocation names, so the command-line tool shares it.
std::string DefaultBackupFolder();

// Writes "<folder>/YYYYMMDD-HHMMSS-<source>.noveq" (a "-2", "-3" ... before the extension when that name
// exists), creating the folder, then keeps the newest kBackupsKept backups. The path written, or empty
// with the reason in *error. `source` is reduced to letters, digits and '-'.
std::string SaveBackup(const ParameterStore& store, const std::string& folder, std::string_view source,
                       std::time_t now, std::string* error);

// The backups of the folder, newest first; files of other names are left out.
std::vector<BackupEntry> ListBackups(const std::string& folder);

// Deletes all but the newest `keep` backups; the number deleted.
int PruneBackups(const std::string& folder, int keep);

}  // namespace vireo
