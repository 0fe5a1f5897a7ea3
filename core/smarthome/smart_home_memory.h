// The PC's mirror of the machine's smart-home memory: the plug records and the six scene lists.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <vector>

namespace vireo::smarthome {

inline constexpr int kNodeCount = 233;  // Z-Wave node ids 0..232
inline constexpr int kControllerNode = 1;
inline constexpr int kFirstPlugNode = 2;
inline constexpr int kLastPlugNode = 232;
inline constexpr int kPlugRecordBytes = 28;
inline constexpr int kPlugNameChars = 12;
inline constexpr int kPlugTableBytes = kNodeCount * kPlugRecordBytes;  // 6524
inline constexpr int kSceneCount = 6;
inline constexpr int kSceneSteps = 28;
inline constexpr int kSceneBytes = 2 * kSceneSteps;  // 56
inline constexpr int kSceneTableAddress = kPlugTableBytes;
inline constexpr int kMemoryBytes = kPlugTableBytes + kSceneCount * kSceneBytes;  // 6860

// Scene step node ids that are not plugs.
inline constexpr int kWaitNode = 240;  // value = seconds
inline constexpr int kHdmiNode = 254;  // value = HDMI input 0..3

// Node values with a meaning of their own.
inline constexpr int kValueOff = 0;
inline constexpr int kValueOn = 99;
inline constexpr int kValueFull = 255;
inline constexpr int kEmitKeyBase = 128;   // 128 + k emits remote key k
inline constexpr int kLearnKeyBase = 192;  // 192 + k learns remote key k

enum class PlugType : std::uint8_t { none = 0, switchPlug = 1, knobPlug = 2 };

struct PlugRecord {
  std::uint8_t type = 0;
  std::u16string name;  // at most 12 characters
  bool operator==(const PlugRecord&) const = default;
};

struct SceneStep {
  std::uint8_t node = 0;
  std::uint8_t value = 0;
  bool operator==(const SceneStep&) const = default;
};

inline constexpr int PlugAddress(int node) {
  return node * kPlugRecordBytes;
}
inline constexpr int SceneAddress(int scene) {
  return kSceneTableAddress + scene * kSceneBytes;
}

// Type byte, three zero bytes, the name as UTF-16 little-endian, zero-filled (cut at 12 characters).
std::array<std::uint8_t, kPlugRecordBytes> EncodePlugRecord(const PlugRecord& record);
// The name ends at the first zero character.
PlugRecord DecodePlugRecord(std::span<const std::uint8_t> bytes);

// [node, value] pairs up to the first node id 0; zeros after the last step. More than 28 steps are cut.
std::array<std::uint8_t, kSceneBytes> EncodeScene(std::span<const SceneStep> steps);
std::vector<SceneStep> DecodeScene(std::span<const std::uint8_t> bytes);

// Thread-safe: the read thread fills it while the front end reads it.
class SmartHomeMemory {
 public:
  // A memory reply: data for 0..6523 go to the plug record that contains the address, 6524..6859 to
  // the scene list that contains it, each from the start of its record and never beyond it. False
  // (nothing stored) for a higher address.
  bool ApplyReply(int address, std::span<const std::uint8_t> data);

  PlugRecord plug(int node) const;
  void setPlug(int node, const PlugRecord& record);
  std::vector<SceneStep> scene(int index) const;
  std::array<std::uint8_t, kSceneBytes> sceneBytes(int index) const;
  void setScene(int index, std::span<const SceneStep> steps);
  void ClearScenes();
  void Clear();

 private:
  mutable std::mutex lock_;
  std::array<std::uint8_t, kMemoryBytes> bytes_{};
};

// Display name of scene `index` (0 TV .. 5 PowerOFF) in the given language (0 Chinese, 1 English).
std::u16string SceneName(int index, int languageIndex);

}  // namespace vireo::smarthome
