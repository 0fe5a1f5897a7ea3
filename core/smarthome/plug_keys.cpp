// Plug key files with pugixml; every failure is a message, never an exception or a crash.
#include "smarthome/plug_keys.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <pugixml.hpp>
#include <sstream>
#include <string_view>
#include <system_error>
#include <utility>

#include "files/file_access.h"

namespace vireo::smarthome {
namespace fs = std::filesystem;

std::vector<PlugKey> DefaultPlugKeys() {
  std::vector<PlugKey> keys;
  for (int i = 0; i < kPlugKeyCount; ++i) keys.push_back({i, "Key" + std::to_string(i + 1), 0});
  return keys;
}

std::string PlugKeyFilePath(const std::string& folder, int node) {
  return (fs::path(folder) / (std::to_string(node) + ".xml")).string();
}

namespace {

// Every write of a key file in the process, and every read that decides what to write, holds this lock:
// the window and the controller's worker both change key files.
std::mutex& KeyFilesLock() {
  static std::mutex lock;
  return lock;
}

struct NoticeBoard {
  std::mutex lock;
  std::vector<std::pair<fs::path, KeyFileNotice>> notices;  // by folder
};
NoticeBoard& Notices() {
  static NoticeBoard board;
  return board;
}

fs::path FolderKey(const std::string& folder) {
  // Through a child so that "a/b" and "a/b/" name the same folder.
  return (fs::path(folder) / "x").lexically_normal().parent_path();
}

enum class KeyFileState : std::uint8_t { read, missing, unreadable, failed };

// What the reader found; *keys holds the defaults unless the file was read.
KeyFileState ReadKeyFile(const std::string& path, std::vector<PlugKey>* keys, std::string* error) {
  *keys = DefaultPlugKeys();
  std::string text;
  const files::FileRead read = files::ReadBoundedFile(path, kPlugKeyFileMaxBytes, &text);
  if (!read.ok()) {
    if (error != nullptr) *error = path + ": " + files::DescribeFileProblem(read);
    if (read.problem != files::FileProblem::cannotOpen) return KeyFileState::unreadable;
    switch (read.errorCode) {
      case ENOENT:
        return KeyFileState::missing;
      case EACCES:
      case EPERM:
      case EISDIR:
      case ELOOP:
        return KeyFileState::unreadable;
      default:  // out of descriptors or memory: the file may be fine
        return KeyFileState::failed;
    }
  }
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed =
      doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!parsed) {
    if (error != nullptr) *error = path + ": " + parsed.description();
    return KeyFileState::unreadable;
  }
  const pugi::xml_node root = doc.child("Keys");
  if (!root) {
    if (error != nullptr) *error = path + ": no Keys element";
    return KeyFileState::unreadable;
  }
  for (const pugi::xml_node key : root.children("Key")) {
    const int index = key.child("Index").text().as_int(-1);
    if (index < 0 || index >= kPlugKeyCount) continue;
    PlugKey& k = (*keys)[static_cast<std::size_t>(index)];
    if (key.child("Name")) k.name = key.child("Name").text().as_string();
    k.status = key.child("Status").text().as_int(0) == 1 ? 1 : 0;
  }
  return KeyFileState::read;
}

std::string TimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  return stamp;
}

// `base`, else `base`-2, -3 ...: the first name nothing in the folder has.
std::string FreeName(const std::string& base) {
  std::string name = base;
  std::error_code ec;
  for (int n = 2; fs::symlink_status(name, ec).type() != fs::file_type::not_found; ++n) {
    name = base + "-" + std::to_string(n);
  }
  return name;
}

int NodeOfKeyFile(const std::string& path) {
  const std::string stem = fs::path(path).stem().string();
  int node = -1;
  const auto [end, ec] = std::from_chars(stem.data(), stem.data() + stem.size(), node);
  return ec == std::errc() && end == stem.data() + stem.size() ? node : -1;
}

void PostKeptFileNotice(const std::string& path, const std::string& keptAs) {
  NoticeBoard& board = Notices();
  std::lock_guard guard(board.lock);
  board.notices.push_back({FolderKey(fs::path(path).parent_path().string()), {NodeOfKeyFile(path), keptAs}});
}

bool SaveLocked(const std::string& path, const std::vector<PlugKey>& keys, std::string* error) {
  pugi::xml_document doc;
  pugi::xml_node decl = doc.append_child(pugi::node_declaration);
  decl.append_attribute("version") = "1.0";
  decl.append_attribute("encoding") = "UTF-8";
  pugi::xml_node root = doc.append_child("Keys");
  for (const PlugKey& k : keys) {
    pugi::xml_node key = root.append_child("Key");
    key.append_child("Index").text().set(k.index);
    key.append_child("Name").text().set(k.name.c_str());
    key.append_child("Status").text().set(k.status);
  }
  std::ostringstream text;
  doc.save(text, "  ", pugi::format_default, pugi::encoding_utf8);
  const int failure = files::WriteFileAtomically(path, text.str());
  if (failure != 0) {
    if (error != nullptr) *error = path + ": cannot write: " + std::strerror(failure);
    return false;
  }
  return true;
}

bool LoadOrCreateLocked(const std::string& path, std::vector<PlugKey>* keys, std::string* error,
                        std::string* keptAs) {
  switch (ReadKeyFile(path, keys, error)) {
    case KeyFileState::read:
      return true;
    case KeyFileState::failed:
      return false;
    case KeyFileState::missing:
      break;
    case KeyFileState::unreadable: {
      // The user's names may still be in there: the file is kept, never overwritten.
      const std::string kept = FreeName(path + ".unreadable-" + TimeStamp());
      if (::rename(path.c_str(), kept.c_str()) != 0) {
        if (error != nullptr) *error = path + ": cannot be read or set aside: " + std::strerror(errno);
        return false;
      }
      PostKeptFileNotice(path, kept);
      if (keptAs != nullptr) *keptAs = kept;
      break;
    }
  }
  *keys = DefaultPlugKeys();
  return SaveLocked(path, *keys, error);
}

// Loads (or creates) the plug's file, applies `change` and writes it, all under the lock.
bool UpdatePlugKeys(const std::string& folder, int node, int key, const std::function<void(PlugKey&)>& change,
                    std::vector<PlugKey>* result, std::string* error) {
  if (key < 0 || key >= kPlugKeyCount) {
    if (error != nullptr) *error = "key " + std::to_string(key) + " out of range";
    return false;
  }
  const std::string path = PlugKeyFilePath(folder, node);
  std::lock_guard guard(KeyFilesLock());
  std::vector<PlugKey> keys;
  if (!LoadOrCreateLocked(path, &keys, error, nullptr)) return false;
  change(keys[static_cast<std::size_t>(key)]);
  if (!SaveLocked(path, keys, error)) return false;
  if (result != nullptr) *result = std::move(keys);
  return true;
}

}  // namespace

bool LoadPlugKeys(const std::string& path, std::vector<PlugKey>* keys, std::string* error) {
  return ReadKeyFile(path, keys, error) == KeyFileState::read;
}

bool SavePlugKeys(const std::string& path, const std::vector<PlugKey>& keys, std::string* error) {
  std::lock_guard guard(KeyFilesLock());
  return SaveLocked(path, keys, error);
}

bool LoadOrCreatePlugKeys(const std::string& path, std::vector<PlugKey>* keys, std::string* error,
                          std::string* keptAs) {
  // Most calls find a good file: they need no lock, as a write replaces the file in one step.
  if (ReadKeyFile(path, keys, nullptr) == KeyFileState::read) return true;
  std::lock_guard guard(KeyFilesLock());
  return LoadOrCreateLocked(path, keys, error, keptAs);
}

bool MarkPlugKeyLearned(const std::string& folder, int node, int key, std::string* error) {
  return UpdatePlugKeys(
      folder, node, key, [](PlugKey& k) { k.status = 1; }, nullptr, error);
}

bool RenamePlugKey(const std::string& folder, int node, int key, const std::string& name,
                   std::vector<PlugKey>* keys, std::string* error) {
  return UpdatePlugKeys(
      folder, node, key, [&](PlugKey& k) { k.name = name; }, keys, error);
}

bool DeletePlugKeys(const std::string& folder, int node) {
  std::lock_guard guard(KeyFilesLock());
  std::error_code ec;
  return fs::remove(PlugKeyFilePath(folder, node), ec);
}

std::vector<KeyFileNotice> TakeKeyFileNotices(const std::string& folder) {
  const fs::path key = FolderKey(folder);
  NoticeBoard& board = Notices();
  std::lock_guard guard(board.lock);
  std::vector<KeyFileNotice> taken;
  std::erase_if(board.notices, [&](auto& entry) {
    if (entry.first != key) return false;
    taken.push_back(std::move(entry.second));
    return true;
  });
  return taken;
}

std::string KeyFileNoticeText(const KeyFileNotice& notice, int languageIndex) {
  const std::string node = std::to_string(notice.node);
  if (languageIndex == 1) {
    return "Key file of plug " + node + " could not be read; kept as " + notice.keptAs +
           ", a new one was made";
  }
  return "插座" + node + "的Key文件无法读取，已保存为" + notice.keptAs + "，已新建文件";
}

namespace {
// XDG_DOCUMENTS_DIR as the desktop's user-dirs.dirs names it ("$HOME/文档"), or empty.
fs::path UserDirsDocuments(const fs::path& home) {
  fs::path config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg == '/') {
    config = xdg;
  } else {
    config = home / ".config";
  }
  std::ifstream in(config / "user-dirs.dirs");
  constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=\"";
  for (std::string line; std::getline(in, line);) {
    if (!line.starts_with(kKey) || line.size() < kKey.size() + 1 || line.back() != '"') continue;
    std::string value = line.substr(kKey.size(), line.size() - kKey.size() - 1);
    if (value.starts_with("$HOME")) return home / fs::path(value.substr(5)).relative_path();
    if (value.starts_with('/')) return value;
  }
  return {};
}
}  // namespace

std::string DefaultPlugFolder() {
  fs::path documents;
  const char* home = std::getenv("HOME");
  if (const char* xdg = std::getenv("XDG_DOCUMENTS_DIR"); xdg != nullptr && *xdg != '\0') {
    documents = xdg;
  } else if (home != nullptr && *home != '\0') {
    documents = UserDirsDocuments(home);
    if (documents.empty()) documents = fs::path(home) / "Documents";
  } else {
    documents = ".";
  }
  return (documents / "Plug").string();
}

bool EnsureFolder(const std::string& folder, std::string* error) {
  std::error_code ec;
  if (fs::is_directory(folder, ec)) return true;
  fs::create_directories(folder, ec);
  if (ec || !fs::is_directory(folder, ec)) {
    if (error != nullptr) *error = "创建Key目录失败!";
    return false;
  }
  return true;
}

PlugFolderBackup BackUpAndClearPlugFolder(const std::string& folder) {
  PlugFolderBackup result;
  std::lock_guard guard(KeyFilesLock());
  std::error_code ec;
  std::vector<fs::path> entries;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    if (!entry.path().filename().string().starts_with(kPlugBackupPrefix)) entries.push_back(entry.path());
  }
  if (entries.empty()) return result;
  // Claimed by creating it, so two clearings in one second never share a folder.
  const std::string base = (fs::path(folder) / (std::string(kPlugBackupPrefix) + TimeStamp())).string();
  std::string backup = base;
  for (int n = 2; !fs::create_directory(backup, ec); ++n) {
    if (ec || n > 1000) {
      result.left = static_cast<int>(entries.size());
      return result;
    }
    backup = base + "-" + std::to_string(n);
  }
  result.folder = backup;
  for (const fs::path& entry : entries) {
    std::error_code one;
    fs::rename(entry, fs::path(backup) / entry.filename(), one);
    ++(one ? result.left : result.moved);
  }
  return result;
}

}  // namespace vireo::smarthome
