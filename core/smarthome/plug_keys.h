// The key file of an infrared plug: 63 named keys and whether each has been learned, as UTF-8 XML.
#pragma once

#include <string>
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

// Reads a key file. Keys the file lacks keep their defaults; a Key whose Index is outside 0..62 is
// ignored. False with a one-line `error` (and the defaults in *keys) for a missing or unreadable file
// or one without a Keys root.
bool LoadPlugKeys(const std::string& path, std::vector<PlugKey>* keys, std::string* error);
// Writes the declaration and the Keys root with one Key (Index, Name, Status) per key.
bool SavePlugKeys(const std::string& path, const std::vector<PlugKey>& keys, std::string* error);
// Loads the file, creating it with the defaults when it does not exist yet.
bool LoadOrCreatePlugKeys(const std::string& path, std::vector<PlugKey>* keys, std::string* error);
// Marks key `key` of the plug's file learned (creating the file when missing).
bool MarkPlugKeyLearned(const std::string& folder, int node, int key, std::string* error);

// The documents folder followed by "/Plug": $XDG_DOCUMENTS_DIR, else the one the desktop's user-dirs.dirs
// names (as the application finds it), else $HOME/Documents.
std::string DefaultPlugFolder();
// Creates the folder (and its parents) when missing.
bool EnsureFolder(const std::string& folder, std::string* error);
// Deletes every file below the folder, keeping the folder itself; the count of entries removed.
int EmptyFolder(const std::string& folder);

}  // namespace vireo::smarthome
