// The features dialog's edits: microphone boost, the music low-frequency path, the automatic sub-woofer
// decay and the music compressor. Every change is stored and sent at once.
#pragma once

#include <string>
#include <string_view>

#include "model/parameter_store.h"
#include "model/report.h"

namespace vireo::tuning {

enum class FeatureSlider {
  micBoost,       // 0..40 dB of cut: the boost is minus the position
  lowFrequency,   // 20..300 Hz, the music low-pass band (group 13 band 0)
  lowDelay,       // 0..20 ms
  lowGain,        // 0..300 %
  subRatio,       // 0..100 %
  compThreshold,  // -60..0 dB
  compRatio,      // 10..300 tenths
  compAttack,     // 1..100 ms
  compRelease,    // 1..1000 ms
};
inline constexpr int kFeatureSliders = 9;

struct FeatureSliderRange {
  int lo;
  int hi;
};
FeatureSliderRange FeatureSliderRangeOf(FeatureSlider slider);

inline constexpr float kLowPassQ = 0.70710677f;  // 1/sqrt(2): the flattest low-pass
inline constexpr int kLowPassGroup = 13;

// Where the slider stands for the stored value: truncated, then held inside the range (the store keeps
// what it holds).
int FeatureSliderPosition(const ParameterStore& store, FeatureSlider slider);
// The value text of a position: "%ddB", "%dHz", "%dms", "%d%%", "%.0fdB", "%.1f:1", "%.0fms".
std::string FeatureSliderText(FeatureSlider slider, int position);

// The slider moved to `position` (held inside its range): the field stored and its messages sent.
// Returns the position used.
int MoveFeatureSlider(ParameterStore& store, ReportSender& sender, FeatureSlider slider, int position);

// The check boxes.
bool MicBoostOn(const ParameterStore& store);
// micBoostOn and its copy; 1/37 then 1/60 with 0 while on, 1 while off.
void SetMicBoostOn(ParameterStore& store, ReportSender& sender, bool on);
bool AutoSubOn(const ParameterStore& store);
// autoSubOn 1/12 with 1 or 0.
void SetAutoSubOn(ParameterStore& store, ReportSender& sender, bool on);
bool MusicCompressorOn(const ParameterStore& store);
// musicCompOff := 0 while on, 1 while off; 4/15.
void SetMusicCompressorOn(ParameterStore& store, ReportSender& sender, bool on);

// The music AGC of the hidden group: shown from the store, never edited. Position in tenths of a dB.
int AgcSliderPosition(const ParameterStore& store);
bool AgcOn(const ParameterStore& store);
std::string AgcText(int position);  // "%.1fdB"

// Edits that have no slot of their own, by the names `vireo-cli set` and the undo history use:
// "micBoostLevel" (the boost in dB, held in -40..0) and "musicLowFrequency" (whole Hz, held in 20..300).
// ReadPseudoField reads their current values; false for any other name.
bool IsPseudoField(std::string_view name);
bool ReadPseudoField(const ParameterStore& store, std::string_view name, double* value);
bool SetPseudoField(ParameterStore& store, ReportSender& sender, std::string_view name, double value);

}  // namespace vireo::tuning
