// Plug key files with pugixml; every failure is a message, never an exception or a crash.
#include "smarthome/plug_keys.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <string_view>
#include <system_error>

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

bool LoadPlugKeys(const std::string& path, std::vector<PlugKey>* keys, std::string* error) {
  *keys = DefaultPlugKeys();
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_file(path.c_str(), pugi::parse_default, pugi::encoding_utf8);
  if (!parsed) {
    if (error != nullptr) *error = path + ": " + parsed.description();
    return false;
  }
  const pugi::xml_node root = doc.child("Keys");
  if (!root) {
    if (error != nullptr) *error = path + ": no Keys element";
    return false;
  }
  for (const pugi::xml_node key : root.children("Key")) {
    const int index = key.child("Index").text().as_int(-1);
    if (index < 0 || index >= kPlugKeyCount) continue;
    PlugKey& k = (*keys)[static_cast<std::size_t>(index)];
    if (key.child("Name")) k.name = key.child("Name").text().as_string();
    k.status = key.child("Status").text().as_int(0) == 1 ? 1 : 0;
  }
  return true;
}

bool SavePlugKeys(const std::string& path, const std::vector<PlugKey>& keys, std::string* error) {
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
  if (!doc.save_file(path.c_str(), "  ", pugi::format_default, pugi::encoding_utf8)) {
    if (error != nullptr) *error = path + ": cannot write";
    return false;
  }
  return true;
}

bool LoadOrCreatePlugKeys(const std::string& path, std::vector<PlugKey>* keys, std::string* error) {
  std::error_code ec;
  if (!fs::exists(path, ec)) {
    *keys = DefaultPlugKeys();
    return SavePlugKeys(path, *keys, error);
  }
  return LoadPlugKeys(path, keys, error);
}

bool MarkPlugKeyLearned(const std::string& folder, int node, int key, std::string* error) {
  if (key < 0 || key >= kPlugKeyCount) {
    if (error != nullptr) *error = "key " + std::to_string(key) + " out of range";
    return false;
  }
  const std::string path = PlugKeyFilePath(folder, node);
  std::vector<PlugKey> keys;
  // An unreadable file is replaced: a learned key is worth more than a broken file.
  LoadOrCreatePlugKeys(path, &keys, nullptr);
  keys[static_cast<std::size_t>(key)].status = 1;
  return SavePlugKeys(path, keys, error);
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

int EmptyFolder(const std::string& folder) {
  std::error_code ec;
  int removed = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    std::error_code one;
    const auto n = fs::remove_all(entry.path(), one);
    if (!one && n != static_cast<std::uintmax_t>(-1)) removed += static_cast<int>(n);
  }
  return removed;
}

}  // namespace vireo::smarthome
