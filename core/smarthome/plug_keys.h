// The key file of an infrared plug: 63 named keys and whether each has been learned, as UTF-8 XML.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vireo::smarthome {

inline constexpr int kPlugKeyCount = 63;

struct PlugKey {
  int index = 0;
  std::string name;  // UTF-8
  int status = 0;    // 0 not learned, 1 learned
  bool operator==(const PlugKey&) const = default;
};

// Key1 .. Key63, none learned.
std::vector<PlugKey> DefaultPlugKeys();
// "<folder>/<node>.xml".
std::string PlugKeyFilePath(const std::string& folder, int node);

// Key files are written only through the functions below. Each write replaces the file in one step, so a
// reader on another thread (the window while the controller's worker marks a learned key) sees the old
// file or the new one, never a part of it; and the writes of one process are serialised, so a rename and
// a learned key that land together both stay.

// Key files are a few kilobytes; anything larger is not one and is not read.
inline constexpr std::size_t kPlugKeyFileMaxBytes = 1 << 20;

// Reads a key file without ever writing it. Keys the file lacks keep their defaults; a Key whose Index
// is outside 0..62 is ignored. False with a one-line `error` (and the defaults in *keys) for a missing
// file, one that is not XML or has no Keys root, a folder, a pipe or device, or a file too large.
bool LoadPlugKeys(const std::string& path, std::vector<PlugKey>* keys, std::string* error);
// Writes the declaration and the Keys root with one Key (Index, Name, Status) per key.
bool SavePlugKeys(const std::string& path, const std::vector<PlugKey>& keys, std::string* error);
// Loads the file, creating it with the defaults when it does not exist yet. A file that exists but cannot
// be read (see LoadPlugKeys) is never overwritten: it is first renamed "<node>.xml.unreadable-
// YYYYMMDD-HHMMSS" beside it, a new file with the defaults takes its place, and the kept name is posted
// for TakeKeyFileNotices (and returned in *keptAs when given). False, writing nothing, when the file could
// not be read for a passing reason (too many open files) or could not be set aside.
bool LoadOrCreatePlugKeys(const std::string& path, std::vector<PlugKey>* keys, std::string* error,
                          std::string* keptAs = nullptr);
// Marks key `key` (0..62) of the plug's file learned, as LoadOrCreatePlugKeys finds the file.
bool MarkPlugKeyLearned(const std::string& folder, int node, int key, std::string* error);
// Gives key `key` (0..62) of the plug's file a new name; *keys (when given) gets the keys as written.
bool RenamePlugKey(const std::string& folder, int node, int key, const std::string& name,
                   std::vector<PlugKey>* keys, std::string* error);

// Deletes the plug's file (a plug that left the network); false when there was none or it stayed.
bool DeletePlugKeys(const std::string& folder, int node);

// An unreadable key file that was kept under another name before a new one replaced it.
struct KeyFileNotice {
  int node = -1;       // from the file's name
  std::string keptAs;  // the path the unreadable file has now
  bool operator==(const KeyFileNotice&) const = default;
};
// The unreadable key files of `folder` kept since the last call, oldest first. Each is handed out once,
// whichever thread set it aside, so the user is told once.
std::vector<KeyFileNotice> TakeKeyFileNotices(const std::string& folder);
// "Key file of plug 4 could not be read; kept as ..., a new one was made", in the language (0 Chinese,
// 1 English), UTF-8.
std::string KeyFileNoticeText(const KeyFileNotice& notice, int languageIndex);

// The documents folder followed by "/Plug": $XDG_DOCUMENTS_DIR, else the one the desktop's user-dirs.dirs
// names (as the application finds it), else $HOME/Documents.
std::string DefaultPlugFolder();
// Creates the folder (and its parents) when missing.
bool EnsureFolder(const std::string& folder, std::string* error);

// What BackUpAndClearPlugFolder did.
struct PlugFolderBackup {
  std::string folder;  // the new backup folder; empty when there was nothing to keep
  int moved = 0;       // entries moved into it
  int left = 0;        // entries that could not be moved and stay where they were
};
inline constexpr std::string_view kPlugBackupPrefix = "backup-";
// Empties the key folder for a network that starts again, without losing the names the user gave: every
// entry but earlier backups moves into a new "backup-YYYYMMDD-HHMMSS" folder inside it ("-2" ... when the
// name exists). Nothing is deleted, so an entry that cannot be moved stays in place. No folder is made
// when there is nothing to move.
PlugFolderBackup BackUpAndClearPlugFolder(const std::string& folder);

}  // namespace vireo::smarthome
