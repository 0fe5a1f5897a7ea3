// The master levels and mutes of the ribbon.
#include "tuning/input_controls.h"

#include <algorithm>

#include "device/protocol.h"
#include "model/store_layout.h"
#include "model/wire_rules.h"

namespace vireo::tuning {
namespace {

constexpr int kFadeSteps = 9;

// Step 5 of a volume change: a muted path gets the mute notice, which replaces a limit notice.
VolumeResult Finish(const ParameterStore& store, int value, bool limited, int muteSlot) {
  VolumeResult result{value, limited ? VolumeNotice::overMaximum : VolumeNotice::none};
  if (muteSlot >= 0 && store.Int(muteSlot) != 0) result.notice = VolumeNotice::muted;
  return result;
}

void SendMute(ParameterStore& store, ReportSender& sender, int slotIndex, int module, int param, int count,
              bool muted) {
  store.SetInt(slotIndex, muted ? 1 : 0);
  WriteParam(sender, module, param, EncodeInv(muted ? 1 : 0), count);
}

// The microphone and music volumes may not pass the maximum the machine settings hold.
struct LimitedVolume {
  int slotIndex;
  int maximum;
  int module;
  int param;
  int muteSlot;
};

VolumeResult SetLimitedVolume(ParameterStore& store, ReportSender& sender, const LimitedVolume& volume,
                              int value) {
  int v = std::clamp(value, 0, kVolumeMax);
  const bool limited = v > volume.maximum;
  if (limited) v = volume.maximum;
  store.SetInt(volume.slotIndex, v);
  WriteParam(sender, volume.module, volume.param, EncodeVol(v));
  return Finish(store, v, limited, volume.muteSlot);
}

}  // namespace

int MaxMicVolume(const ParameterStore& store) {
  return store.Byte(Region::machineSettings, 5);
}
int MaxMusicVolume(const ParameterStore& store) {
  return store.Byte(Region::machineSettings, 6);
}

VolumeResult SetMicVolume(ParameterStore& store, ReportSender& sender, int value) {
  return SetLimitedVolume(store, sender, {slot::micVolume, MaxMicVolume(store), 1, 14, slot::micMute}, value);
}

VolumeResult SetEffectVolume(ParameterStore& store, ReportSender& sender, int value) {
  const int v = std::clamp(value, 0, kVolumeMax);
  store.SetInt(slot::effectVolume, v);
  WriteParam(sender, 1, 34, EncodeVol(v));
  WriteParam(sender, 1, 57, EncodeVol(v));
  return Finish(store, v, false, -1);
}

VolumeResult SetReverbVolume(ParameterStore& store, ReportSender& sender, int value) {
  const int v = std::clamp(value, 0, kVolumeMax);
  store.SetInt(slot::reverbVolume, v);
  WriteParam(sender, 3, 24, EncodePct(v), 2);
  return Finish(store, v, false, slot::reverbMute);
}

VolumeResult SetEchoVolume(ParameterStore& store, ReportSender& sender, int value) {
  const int v = std::clamp(value, 0, kVolumeMax);
  store.SetInt(slot::echoVolume, v);
  WriteParam(sender, 2, 26, EncodePct(v));
  return Finish(store, v, false, slot::echoMute);
}

VolumeResult SetMusicVolume(ParameterStore& store, ReportSender& sender, int value) {
  return SetLimitedVolume(store, sender, {slot::musicVolume, MaxMusicVolume(store), 4, 12, slot::musicMute},
                          value);
}

int SetMusicNoiseGate(ParameterStore& store, ReportSender& sender, int value) {
  const int v = std::clamp(value, 0, kNoiseGateMax);
  store.SetInt(slot::musicNoiseGate, v);
  WriteParam(sender, 4, 22, EncodeT4(v));
  return v;
}

int SetMicNoiseGate(ParameterStore& store, ReportSender& sender, int input, int value) {
  if (input < 0 || input > 3) return -1;
  const int v = std::clamp(value, 0, kNoiseGateMax);
  store.SetInt(slot::micNoiseGate[input], v);
  WriteParam(sender, 1, 8 + input, EncodeT4(v));
  return v;
}

int SetMusicPitch(ParameterStore& store, ReportSender& sender, int value) {
  const int v = std::clamp(value, kPitchMin, kPitchMax);
  store.SetInt(slot::musicPitch, v);
  WriteParam(sender, 4, 21, EncodePitch(v));
  return v;
}

void SetMicMute(ParameterStore& store, ReportSender& sender, bool muted) {
  SendMute(store, sender, slot::micMute, 1, 15, 1, muted);
}

void SetReverbMute(ParameterStore& store, ReportSender& sender, bool muted) {
  SendMute(store, sender, slot::reverbMute, 3, 25, 2, muted);
}

void SetEchoMute(ParameterStore& store, ReportSender& sender, bool muted) {
  SendMute(store, sender, slot::echoMute, 2, 27, 1, muted);
}

// Unmuting fades the music in so it does not come back at full level with a click.
void SetMusicMute(ParameterStore& store, ReportSender& sender, Clock& clock, bool muted) {
  store.SetInt(slot::musicMute, muted ? 1 : 0);
  if (muted) {
    WriteParam(sender, 4, 13, FloatBits(0.0f));
    return;
  }
  for (int i = 0; i < kFadeSteps; ++i) {
    WriteParam(sender, 4, 13, FloatBits(static_cast<float>(i / 10.0)));
    clock.SleepMs(kFadeInPauseMs);
  }
  WriteParam(sender, 4, 13, FloatBits(1.0f));
}

bool ToggleMicMute(ParameterStore& store, ReportSender& sender) {
  const bool muted = store.Int(slot::micMute) == 0;
  SetMicMute(store, sender, muted);
  return muted;
}

bool ToggleReverbMute(ParameterStore& store, ReportSender& sender) {
  const bool muted = store.Int(slot::reverbMute) == 0;
  SetReverbMute(store, sender, muted);
  return muted;
}

bool ToggleEchoMute(ParameterStore& store, ReportSender& sender) {
  const bool muted = store.Int(slot::echoMute) == 0;
  SetEchoMute(store, sender, muted);
  return muted;
}

bool ToggleMusicMute(ParameterStore& store, ReportSender& sender, Clock& clock) {
  const bool muted = store.Int(slot::musicMute) == 0;
  SetMusicMute(store, sender, clock, muted);
  return muted;
}

}  // namespace vireo::tuning
