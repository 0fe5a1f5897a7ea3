// The machine settings dialog's edits: a working copy of the 13 settings bytes that Apply sends, and the
// start-volume sliders that also move the live volume at once.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "model/parameter_store.h"
#include "model/report.h"
#include "model/store_layout.h"

namespace vireo::tuning {

using SettingsBytes = std::array<std::uint8_t, kMachineSettingsBytes>;

// Byte positions in both copies.
namespace settings_byte {
inline constexpr int saveMode = 0;      // 0 saved with power on/off, 1 saved with the mode
inline constexpr int saveModeTwin = 2;  // always equal to byte 0
inline constexpr int micStart = 3;      // 0..99, kStartVolumeOff = not enabled
inline constexpr int musicStart = 4;
inline constexpr int micMax = 5;  // 1..99
inline constexpr int musicMax = 6;
inline constexpr int powerOnMode = 11;  // 0 automatic, 1..4 mode slot 1..4
}  // namespace settings_byte

inline constexpr std::uint8_t kStartVolumeOff = 255;
inline constexpr int kMaxVolumeLowest = 1;
inline constexpr int kSettingsVolumeTop = 99;
inline constexpr int kPowerOnModes = 5;  // "Auto", "M1".."M4"

enum class StartVolume { mic, music };

SettingsBytes WorkingSettings(const ParameterStore& store);
SettingsBytes AppliedSettings(const ParameterStore& store);

// The start-volume slider's range is 0 up to the working copy's maximum of its kind.
int StartVolumeTop(const ParameterStore& store, StartVolume which);
bool StartVolumeEnabled(const ParameterStore& store, StartVolume which);

// Start slider moved to `value` (held in 0..its top): the working byte and the live volume (micVolume
// 1/14 or musicVolume 4/12, vol) both become it, the volume sent at once. Returns the value.
int MoveStartVolume(ParameterStore& store, ReportSender& sender, StartVolume which, int value);
// Maximum slider moved to `value` (held in 1..99): the working byte becomes it; an enabled start volume
// above it is pulled down to it as a start-slider move. Returns the maximum stored.
int MoveMaxVolume(ParameterStore& store, ReportSender& sender, StartVolume which, int value);
// The "启用" box: on takes the live volume (held inside the start slider's range, so that the byte is
// what the slider shows); off stores kStartVolumeOff. Nothing is sent.
void EnableStartVolume(ParameterStore& store, StartVolume which, bool on);
// Radios "by power" (0) and "by mode" (1): bytes 0 and 2.
void SetVolumeSaveMode(ParameterStore& store, int mode);
// The power-on list: byte 11 := index, held in 0..4.
void SetPowerOnMode(ParameterStore& store, int index);

// Apply: the working copy becomes the applied copy and goes to the machine with code 145. Returns the
// bytes written (0 when the link refused it; the applied copy is updated all the same).
int ApplyMachineSettings(ParameterStore& store, ReportSender& sender);
// Close without Apply: the working copy returns to the applied one.
void DiscardSettingsEdits(ParameterStore& store);

// `vireo-cli settings`: the 13 bytes by name. Names in byte order; unnamed bytes are passed on unchanged.
struct SettingsKey {
  std::string_view name;
  int byte;
  int lo;
  int hi;
};
std::span<const SettingsKey> SettingsKeys();
const SettingsKey* FindSettingsKey(std::string_view name);
// One named byte and the value a script asked for it, read but not applied.
struct SettingRequest {
  const SettingsKey* key = nullptr;
  int value = 0;  // the byte asked for (kStartVolumeOff for a start volume's "off")
};
// Reads `value` for the byte `name`: a number in the key's range, "off" for a start volume, "power" or
// "mode" for the save mode, auto or m1..m4 for the power-on mode. False with a reason for an unknown key
// or a value out of range. Nothing is changed or sent, so a script's whole list can be checked before
// any of it reaches the machine.
bool ParseSetting(std::string_view name, std::string_view value, SettingRequest* request,
                  std::string* reason);
// Sets the byte of the working copy as the dialog's control does: a start volume ("off" disables it)
// also moves the live volume, a maximum pulls an enabled start volume down, the save mode sets its twin.
// Returns the byte stored, which differs from the request where the control held it (a start volume
// above the working maximum stops at the maximum). A script that sets a maximum and a start volume gives
// the maximum first.
int ApplySetting(ParameterStore& store, ReportSender& sender, const SettingRequest& request);
// ParseSetting, then ApplySetting when the value is accepted.
bool SetWorkingSetting(ParameterStore& store, ReportSender& sender, std::string_view name,
                       std::string_view value, std::string* reason);
// "name value" lines of the applied copy, then "byte1", "byte9", ... for the unnamed bytes, in byte order.
std::string SettingsText(const SettingsBytes& bytes);

}  // namespace vireo::tuning
