// Plug records, scene lists and the mirror that holds them.
#include "smarthome/smart_home_memory.h"

#include <algorithm>

namespace vireo::smarthome {
namespace {

constexpr int kNameOffset = 4;

bool ValidNode(int node) {
  return node >= 0 && node < kNodeCount;
}
bool ValidScene(int index) {
  return index >= 0 && index < kSceneCount;
}

}  // namespace

std::array<std::uint8_t, kPlugRecordBytes> EncodePlugRecord(const PlugRecord& record) {
  std::array<std::uint8_t, kPlugRecordBytes> out{};
  out[0] = record.type;
  const std::size_t n = std::min<std::size_t>(record.name.size(), kPlugNameChars);
  for (std::size_t i = 0; i < n; ++i) {
    out[kNameOffset + 2 * i] = static_cast<std::uint8_t>(record.name[i] & 0xFF);
    out[kNameOffset + 2 * i + 1] = static_cast<std::uint8_t>(record.name[i] >> 8);
  }
  return out;
}

PlugRecord DecodePlugRecord(std::span<const std::uint8_t> bytes) {
  PlugRecord record;
  if (bytes.empty()) return record;
  record.type = bytes[0];
  for (std::size_t i = kNameOffset; i + 1 < bytes.size() && i + 1 < kPlugRecordBytes; i += 2) {
    const auto c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (c == 0) break;
    record.name.push_back(c);
  }
  return record;
}

std::array<std::uint8_t, kSceneBytes> EncodeScene(std::span<const SceneStep> steps) {
  std::array<std::uint8_t, kSceneBytes> out{};
  for (std::size_t i = 0; i < steps.size() && i < kSceneSteps; ++i) {
    if (steps[i].node == 0) break;  // a zero node id ends the list
    out[2 * i] = steps[i].node;
    out[2 * i + 1] = steps[i].value;
  }
  return out;
}

std::vector<SceneStep> DecodeScene(std::span<const std::uint8_t> bytes) {
  std::vector<SceneStep> steps;
  for (std::size_t i = 0; i + 1 < bytes.size() && i + 1 < kSceneBytes; i += 2) {
    if (bytes[i] == 0) break;
    steps.push_back({bytes[i], bytes[i + 1]});
  }
  return steps;
}

bool SmartHomeMemory::ApplyReply(int address, std::span<const std::uint8_t> data) {
  if (address < 0 || address >= kMemoryBytes) return false;
  const int recordBytes = address < kSceneTableAddress ? kPlugRecordBytes : kSceneBytes;
  const int start = address < kSceneTableAddress
                        ? address / kPlugRecordBytes * kPlugRecordBytes
                        : kSceneTableAddress + (address - kSceneTableAddress) / kSceneBytes * kSceneBytes;
  const std::size_t n = std::min<std::size_t>(data.size(), static_cast<std::size_t>(recordBytes));
  std::lock_guard guard(lock_);
  std::copy_n(data.begin(), n, bytes_.begin() + start);
  return true;
}

PlugRecord SmartHomeMemory::plug(int node) const {
  if (!ValidNode(node)) return {};
  std::lock_guard guard(lock_);
  return DecodePlugRecord(
      std::span(bytes_).subspan(static_cast<std::size_t>(PlugAddress(node)), kPlugRecordBytes));
}

void SmartHomeMemory::setPlug(int node, const PlugRecord& record) {
  if (!ValidNode(node)) return;
  const auto bytes = EncodePlugRecord(record);
  std::lock_guard guard(lock_);
  std::copy(bytes.begin(), bytes.end(), bytes_.begin() + PlugAddress(node));
}

std::array<std::uint8_t, kSceneBytes> SmartHomeMemory::sceneBytes(int index) const {
  std::array<std::uint8_t, kSceneBytes> out{};
  if (!ValidScene(index)) return out;
  std::lock_guard guard(lock_);
  std::copy_n(bytes_.begin() + SceneAddress(index), kSceneBytes, out.begin());
  return out;
}

std::vector<SceneStep> SmartHomeMemory::scene(int index) const {
  return DecodeScene(sceneBytes(index));
}

void SmartHomeMemory::setScene(int index, std::span<const SceneStep> steps) {
  if (!ValidScene(index)) return;
  const auto bytes = EncodeScene(steps);
  std::lock_guard guard(lock_);
  std::copy(bytes.begin(), bytes.end(), bytes_.begin() + SceneAddress(index));
}

void SmartHomeMemory::ClearScenes() {
  std::lock_guard guard(lock_);
  std::fill(bytes_.begin() + kSceneTableAddress, bytes_.end(), 0);
}

void SmartHomeMemory::Clear() {
  std::lock_guard guard(lock_);
  bytes_.fill(0);
}

std::u16string SceneName(int index, int languageIndex) {
  static constexpr std::u16string_view kNames[kSceneCount][2] = {
      {u"电视", u"TV"},    {u"电影", u"Movie"},   {u"K歌", u"Karaoke"},
      {u"音乐", u"Music"}, {u"开机", u"PowerON"}, {u"关机", u"PowerOFF"}};
  if (!ValidScene(index)) return {};
  return std::u16string(kNames[index][languageIndex == 1 ? 1 : 0]);
}

}  // namespace vireo::smarthome
