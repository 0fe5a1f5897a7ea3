// The ribbon's master levels and mutes: each call writes the store, then sends the machine's messages.
#pragma once

#include <cstdint>

#include "device/clock.h"
#include "model/parameter_store.h"
#include "model/report.h"

namespace vireo::tuning {

// Slider ranges of the master levels.
inline constexpr int kVolumeMax = 99;
inline constexpr int kNoiseGateMax = 100;
inline constexpr int kPitchMin = -5;
inline constexpr int kPitchMax = 5;
inline constexpr int kFadeInPauseMs = 30;

// Which timed notice (1100 ms) the front end shows after a volume change. A mute notice replaces a
// limit notice, so at most one is returned.
enum class VolumeNotice {
  none,
  overMaximum,  // "不能超过最大话筒音量!" (microphone) or "不能超过最大音乐音量!" (music)
  muted,        // "当前是静音状态" / "vol is mute"
};

struct VolumeResult {
  int value = 0;  // what was stored and sent (after range and maximum-volume limits)
  VolumeNotice notice = VolumeNotice::none;
};

// Maximum volumes from the machine settings (bytes 5 and 6; 0 until a machine reported them).
int MaxMicVolume(const ParameterStore& store);
int MaxMusicVolume(const ParameterStore& store);

// micVolume 1/14 (vol), limited to the maximum microphone volume.
VolumeResult SetMicVolume(ParameterStore& store, ReportSender& sender, int value);
// effectVolume 1/34 then 1/57 (vol). Never a notice.
VolumeResult SetEffectVolume(ParameterStore& store, ReportSender& sender, int value);
// reverbVolume 3/24 count 2 (pct).
VolumeResult SetReverbVolume(ParameterStore& store, ReportSender& sender, int value);
// echoVolume 2/26 (pct).
VolumeResult SetEchoVolume(ParameterStore& store, ReportSender& sender, int value);
// musicVolume 4/12 (vol), limited to the maximum music volume.
VolumeResult SetMusicVolume(ParameterStore& store, ReportSender& sender, int value);

// musicNoiseGate 4/22 (t4), 0..100. Returns the stored value.
int SetMusicNoiseGate(ParameterStore& store, ReportSender& sender, int value);
// micNoiseGate[input] 1/(8 + input) (t4), input 0..3. Returns the stored value (or -1 for a bad input).
int SetMicNoiseGate(ParameterStore& store, ReportSender& sender, int input, int value);
// musicPitch 4/21 (pitch), -5..+5. Returns the stored value.
int SetMusicPitch(ParameterStore& store, ReportSender& sender, int value);

// Mutes: store the flag (1 = muted) and send the inv value. The music unmute fades in: nine messages
// 0.0 .. 0.8 with a 30 ms pause after each, then 1.0.
void SetMicMute(ParameterStore& store, ReportSender& sender, bool muted);
void SetReverbMute(ParameterStore& store, ReportSender& sender, bool muted);
void SetEchoMute(ParameterStore& store, ReportSender& sender, bool muted);
void SetMusicMute(ParameterStore& store, ReportSender& sender, Clock& clock, bool muted);

// The mute box clicks: flip the flag; return the new state.
bool ToggleMicMute(ParameterStore& store, ReportSender& sender);
bool ToggleReverbMute(ParameterStore& store, ReportSender& sender);
bool ToggleEchoMute(ParameterStore& store, ReportSender& sender);
bool ToggleMusicMute(ParameterStore& store, ReportSender& sender, Clock& clock);

}  // namespace vireo::tuning
