// Remote files and the learning texts of the machine's remote functions.
#include "smarthome/remote_keys.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace vireo::smarthome {

std::string RemoteFilePath(const std::string& chosen) {
  std::filesystem::path p(chosen);
  p.replace_extension("remo");
  return p.string();
}

bool WriteRemoteFile(const std::string& path, const RemoteKeyTable& table, int* errorCode) {
  errno = 0;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out.write(reinterpret_cast<const char*>(table.data()), static_cast<std::streamsize>(table.size()));
  if (out) out.close();
  if (!out) {
    if (errorCode != nullptr) *errorCode = errno;
    return false;
  }
  return true;
}

bool ReadRemoteFile(const std::string& path, RemoteKeyTable* table, std::string* error, int* openError) {
  errno = 0;
  if (openError != nullptr) *openError = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (openError != nullptr) *openError = errno != 0 ? errno : EIO;
    if (error != nullptr) *error = path + ": " + (errno != 0 ? std::strerror(errno) : "cannot open");
    return false;
  }
  // One byte more than a remote file holds tells a long file from a right one.
  std::vector<char> bytes(kRemoteFileBytes + 1);
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (in.gcount() != kRemoteFileBytes) {
    if (error != nullptr) {
      *error = path + ": not a remote file (" + std::to_string(kRemoteFileBytes) + " bytes expected)";
    }
    return false;
  }
  std::memcpy(table->data(), bytes.data(), kRemoteFileBytes);
  return true;
}

std::string LearningText(int index, int languageIndex) {
  static constexpr const char* kTexts[kRemoteFunctions][2] = {
      {"您正在学习的键：启动/待机", "Learning key:Power key"},
      {"您正在学习的键：音乐源切换", "Learning key: Audio music source switch"},
      {"您正在学习的键：视频(HDMI)切换", "Learning key: Video HDMI switch "},
      {"您正在学习的键：M1/方向上", "Learning key: M1/Up "},
      {"您正在学习的键：M4/方向下", "Learning key:M4/Down "},
      {"您正在学习的键：M3/方向左", "Learning key: M3/Left "},
      {"您正在学习的键：M2/方向右", "Learning key: M2/Right "},
      {"您正在学习的键：确认键", "Learning key: OK key"},
      {"您正在学习的键：进入视频菜单", "Learning key:  Enter video menu"},
      {"您正在学习的键：静音键", "Learning key:  Mute "},
      {"您正在学习的键：退出视频菜单", "Learning key: Esc video menu "},
      {"您正在学习的键：增大话筒音量", "Learning key: Mic vol increase"},
      {"您正在学习的键：减小话筒音量", "Learning key:Mic vol decrease"},
      {"您正在学习的键：增大效果音量", "Learning key: Effect vol increase"},
      {"您正在学习的键：减小效果音量", "Learning key: Effect vol decrease"},
      {"您正在学习的键：增大音乐音量", "Learning key: Music vol increase"},
      {"您正在学习的键：减小音乐音量", "Learning key: Music vol decrease"},
  };
  if (index < 1 || index > kRemoteFunctions) return {};
  return kTexts[index - 1][languageIndex == 1 ? 1 : 0];
}

}  // namespace vireo::smarthome
