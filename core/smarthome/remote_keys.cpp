// Remote files and the learning texts of the machine's remote functions.
#include "smarthome/remote_keys.h"

#include <cstring>
#include <filesystem>
#include <string_view>

#include "files/file_access.h"

namespace vireo::smarthome {

std::string RemoteFilePath(const std::string& chosen) {
  std::filesystem::path p(chosen);
  p.replace_extension("remo");
  return p.string();
}

bool WriteRemoteFile(const std::string& path, const RemoteKeyTable& table, int* errorCode) {
  const int error = files::WriteFileAtomically(
      path, std::string_view(reinterpret_cast<const char*>(table.data()), table.size()));
  if (errorCode != nullptr) *errorCode = error;
  return error == 0;
}

bool ReadRemoteFile(const std::string& path, RemoteKeyTable* table, std::string* error, int* openError) {
  std::string bytes;
  const files::FileRead read = files::ReadBoundedFile(path, kRemoteFileBytes, &bytes);
  if (openError != nullptr) *openError = read.problem == files::FileProblem::cannotOpen ? read.errorCode : 0;
  const bool wrongSize = read.problem == files::FileProblem::tooLarge ||
                         (read.ok() && bytes.size() != static_cast<std::size_t>(kRemoteFileBytes));
  if (wrongSize) {
    if (error != nullptr) {
      *error = path + ": not a remote file (" + std::to_string(kRemoteFileBytes) + " bytes expected)";
    }
    return false;
  }
  if (!read.ok()) {
    if (error != nullptr) *error = path + ": " + files::DescribeFileProblem(read);
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
