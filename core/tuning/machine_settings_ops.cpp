// The machine settings: working copy, start and maximum volumes, Apply, and the named bytes of the CLI.
#include "tuning/machine_settings_ops.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "device/protocol.h"
#include "model/wire_rules.h"

namespace vireo::tuning {
namespace {

struct VolumeBytes {
  int start;
  int max;
  int liveSlot;
  int module;
  int param;
};

VolumeBytes BytesOf(StartVolume which) {
  if (which == StartVolume::mic)
    return {settings_byte::micStart, settings_byte::micMax, slot::micVolume, 1, 14};
  return {settings_byte::musicStart, settings_byte::musicMax, slot::musicVolume, 4, 12};
}

void SetWorking(ParameterStore& store, int byte, int value) {
  store.SetByte(Region::machineSettingsEdit, static_cast<std::size_t>(byte),
                static_cast<std::uint8_t>(value));
}
int Working(const ParameterStore& store, int byte) {
  return store.Byte(Region::machineSettingsEdit, static_cast<std::size_t>(byte));
}

SettingsBytes Copy(const ParameterStore& store, Region region) {
  SettingsBytes bytes{};
  store.ReadBytes(region, 0, bytes);
  return bytes;
}

bool ParseInt(std::string_view text, int* value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return ec == std::errc() && end == text.data() + text.size();
}

constexpr std::array<SettingsKey, 6> kKeys{{
    {"saveMode", settings_byte::saveMode, 0, 1},
    {"micStart", settings_byte::micStart, 0, kSettingsVolumeTop},
    {"musicStart", settings_byte::musicStart, 0, kSettingsVolumeTop},
    {"micMax", settings_byte::micMax, kMaxVolumeLowest, kSettingsVolumeTop},
    {"musicMax", settings_byte::musicMax, kMaxVolumeLowest, kSettingsVolumeTop},
    {"powerOnMode", settings_byte::powerOnMode, 0, kPowerOnModes - 1},
}};

// Words a script may use besides the numbers.
int Keyword(std::string_view key, std::string_view value) {
  if (key == "saveMode") return value == "power" ? 0 : value == "mode" ? 1 : -1;
  if (key == "micStart" || key == "musicStart") return value == "off" ? kStartVolumeOff : -1;
  if (key == "powerOnMode") {
    if (value == "auto") return 0;
    if (value.size() == 2 && value[0] == 'm' && value[1] >= '1' && value[1] <= '4') return value[1] - '0';
  }
  return -1;
}

}  // namespace

SettingsBytes WorkingSettings(const ParameterStore& store) {
  return Copy(store, Region::machineSettingsEdit);
}
SettingsBytes AppliedSettings(const ParameterStore& store) {
  return Copy(store, Region::machineSettings);
}

int StartVolumeTop(const ParameterStore& store, StartVolume which) {
  return std::min(Working(store, BytesOf(which).max), kSettingsVolumeTop);
}

bool StartVolumeEnabled(const ParameterStore& store, StartVolume which) {
  return Working(store, BytesOf(which).start) != kStartVolumeOff;
}

int MoveStartVolume(ParameterStore& store, ReportSender& sender, StartVolume which, int value) {
  const VolumeBytes b = BytesOf(which);
  const int v = std::clamp(value, 0, StartVolumeTop(store, which));
  SetWorking(store, b.start, v);
  store.SetInt(b.liveSlot, v);
  WriteParam(sender, b.module, b.param, EncodeVol(v));
  return v;
}

int MoveMaxVolume(ParameterStore& store, ReportSender& sender, StartVolume which, int value) {
  const VolumeBytes b = BytesOf(which);
  const int v = std::clamp(value, kMaxVolumeLowest, kSettingsVolumeTop);
  SetWorking(store, b.max, v);
  // A disabled start slider stands at its lowest position, so only an enabled one can stand above.
  if (StartVolumeEnabled(store, which) && Working(store, b.start) > v)
    MoveStartVolume(store, sender, which, v);
  return v;
}

void EnableStartVolume(ParameterStore& store, StartVolume which, bool on) {
  const VolumeBytes b = BytesOf(which);
  const int live = std::clamp(static_cast<int>(store.Int(b.liveSlot)), 0, StartVolumeTop(store, which));
  SetWorking(store, b.start, on ? live : kStartVolumeOff);
}

void SetVolumeSaveMode(ParameterStore& store, int mode) {
  const int m = mode != 0 ? 1 : 0;
  SetWorking(store, settings_byte::saveMode, m);
  SetWorking(store, settings_byte::saveModeTwin, m);
}

void SetPowerOnMode(ParameterStore& store, int index) {
  SetWorking(store, settings_byte::powerOnMode, std::clamp(index, 0, kPowerOnModes - 1));
}

int ApplyMachineSettings(ParameterStore& store, ReportSender& sender) {
  const SettingsBytes bytes = WorkingSettings(store);
  store.WriteBytes(Region::machineSettings, 0, bytes);
  return SendCommand(sender, code::applySettings, bytes);
}

void DiscardSettingsEdits(ParameterStore& store) {
  store.WriteBytes(Region::machineSettingsEdit, 0, AppliedSettings(store));
}

std::span<const SettingsKey> SettingsKeys() {
  return kKeys;
}

const SettingsKey* FindSettingsKey(std::string_view name) {
  for (const SettingsKey& k : kKeys)
    if (k.name == name) return &k;
  return nullptr;
}

bool ParseSetting(std::string_view name, std::string_view value, SettingRequest* request,
                  std::string* reason) {
  const SettingsKey* key = FindSettingsKey(name);
  if (key == nullptr) {
    *reason = "unknown setting: " + std::string(name);
    return false;
  }
  const bool start = key->byte == settings_byte::micStart || key->byte == settings_byte::musicStart;
  int v = Keyword(name, value);
  if (v < 0 && (!ParseInt(value, &v) || v < key->lo || v > key->hi)) {
    *reason = std::string(name) + " takes " + std::to_string(key->lo) + ".." + std::to_string(key->hi) +
              (start ? " or off" : "");
    return false;
  }
  *request = {key, v};
  return true;
}

int ApplySetting(ParameterStore& store, ReportSender& sender, const SettingRequest& request) {
  const int byte = request.key->byte;
  const int v = request.value;
  const bool mic = byte == settings_byte::micStart || byte == settings_byte::micMax;
  const StartVolume which = mic ? StartVolume::mic : StartVolume::music;
  switch (byte) {
    case settings_byte::saveMode:
      SetVolumeSaveMode(store, v);
      break;
    case settings_byte::powerOnMode:
      SetPowerOnMode(store, v);
      break;
    case settings_byte::micMax:
    case settings_byte::musicMax:
      MoveMaxVolume(store, sender, which, v);
      break;
    default:
      if (v == kStartVolumeOff) {
        EnableStartVolume(store, which, false);
      } else {
        MoveStartVolume(store, sender, which, v);
      }
      break;
  }
  return Working(store, byte);
}

bool SetWorkingSetting(ParameterStore& store, ReportSender& sender, std::string_view name,
                       std::string_view value, std::string* reason) {
  SettingRequest request;
  if (!ParseSetting(name, value, &request, reason)) return false;
  ApplySetting(store, sender, request);
  return true;
}

std::string SettingsText(const SettingsBytes& bytes) {
  std::string text;
  for (const SettingsKey& k : kKeys) {
    const int v = bytes[static_cast<std::size_t>(k.byte)];
    const bool start = k.byte == settings_byte::micStart || k.byte == settings_byte::musicStart;
    text += std::string(k.name) + ' ' + (start && v == kStartVolumeOff ? "off" : std::to_string(v)) + '\n';
  }
  for (int unnamed : {1, 7, 8, 9, 10, 12})
    text += "byte" + std::to_string(unnamed) + ' ' +
            std::to_string(bytes[static_cast<std::size_t>(unnamed)]) + '\n';
  return text;
}

}  // namespace vireo::tuning
