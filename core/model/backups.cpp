#include "model/backups.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "model/mode_file.h"

namespace vireo {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kExtension = ".noveq";
constexpr std::size_t kStampLength = 15;  // YYYYMMDD-HHMMSS

bool IsStamp(std::string_view name) {
  if (name.size() < kStampLength) return false;
  for (std::size_t i = 0; i < kStampLength; ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(name[i])) != 0;
    if (i == 8 ? name[i] != '-' : !digit) return false;
  }
  return true;
}

// The backups' file names, oldest first: by their stamps, and within one second by when they were written.
std::vector<std::string> BackupNames(const std::string& folder) {
  struct Found {
    std::string name;
    fs::file_time_type written;
  };
  std::vector<Found> found;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (!IsStamp(name) || !name.ends_with(kExtension) || !entry.is_regular_file(ec)) continue;
    found.push_back({name, entry.last_write_time(ec)});
  }
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    const int stamp = a.name.compare(0, kStampLength, b.name, 0, kStampLength);
    if (stamp != 0) return stamp < 0;
    return a.written != b.written ? a.written < b.written : a.name < b.name;
  });
  std::vector<std::string> names;
  for (Found& f : found) names.push_back(std::move(f.name));
  return names;
}

std::string CleanSource(std::string_view source) {
  std::string out;
  for (char c : source) {
    if (std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-') out += c;
  }
  return out.empty() ? std::string("backup") : out;
}

}  // namespace

std::string DefaultBackupFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  std::string base;
  if (data != nullptr && *data == '/') {
    base = data;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : ".") + "/.local/share";
  }
  return base + "/Calyx V1.0/Vireo/backups";
}

std::string SaveBackup(const ParameterStore& store, const std::string& folder, std::string_view source,
                       std::time_t now, std::string* error) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) {
    if (error) *error = "cannot create " + folder + ": " + ec.message();
    return {};
  }
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string stem = folder + "/" + stamp + "-" + CleanSource(source);
  std::string path = stem + std::string(kExtension);
  for (int n = 2; fs::exists(path, ec); ++n) path = stem + "-" + std::to_string(n) + std::string(kExtension);
  const ModeFileResult written = WriteModeFile(store, path);
  if (!written.ok) {
    if (error) *error = written.reason.empty() ? "cannot write " + path : written.reason;
    return {};
  }
  PruneBackups(folder, kBackupsKept);
  return path;
}

std::vector<BackupEntry> ListBackups(const std::string& folder) {
  std::vector<BackupEntry> out;
  const std::vector<std::string> names = BackupNames(folder);
  for (auto it = names.rbegin(); it != names.rend(); ++it) {
    const std::string& name = *it;
    BackupEntry entry;
    entry.path = folder + "/" + name;
    entry.time = name.substr(0, 4) + "-" + name.substr(4, 2) + "-" + name.substr(6, 2) + " " +
                 name.substr(9, 2) + ":" + name.substr(11, 2) + ":" + name.substr(13, 2);
    const std::size_t end = name.size() - kExtension.size();
    entry.source = end > kStampLength + 1 ? name.substr(kStampLength + 1, end - kStampLength - 1) : "";
    out.push_back(std::move(entry));
  }
  return out;
}

int PruneBackups(const std::string& folder, int keep) {
  const std::vector<std::string> names = BackupNames(folder);
  int removed = 0;
  const std::size_t kept = static_cast<std::size_t>(std::max(keep, 0));
  for (std::size_t i = 0; i + kept < names.size(); ++i) {
    std::error_code ec;
    if (fs::remove(folder + "/" + names[i], ec)) ++removed;
  }
  return removed;
}

}  // namespace vireo
