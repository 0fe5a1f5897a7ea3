// The compressor page's edits of one output channel: the "Comp ON" switch and the four sliders.
#pragma once

#include <string>

#include "model/parameter_store.h"
#include "model/report.h"
#include "model/wire_rules.h"

namespace vireo::tuning {

enum class CompSlider { threshold, ratio, attack, release };
inline constexpr int kCompSliderCount = 4;

struct CompSliderRange {
  int lo;
  int hi;
};
// Threshold -60..0 dB, ratio 10..300 (tenths), attack 1..100 ms, release 1..1000 ms.
CompSliderRange CompSliderRangeOf(CompSlider slider);

// Where the slider stands for the channel's stored value: truncated (the ratio in tenths), then held
// inside the slider's range.
int CompSliderPosition(const ParameterStore& store, int channel, CompSlider slider);
// The slider's position nearest to `value` given in the field's own unit (dB, x:1, ms), inside its range.
int CompSliderPositionOfValue(CompSlider slider, double value);
// "%.0fdB", "%.1f:1" of the ratio, "%.0fms".
std::string CompSliderText(CompSlider slider, int position);
// The text of the value the store holds, which a file or the machine may give with a fraction the slider
// cannot show: -12.7 dB reads "-13dB", 4.06:1 "4.1:1", 10.6 ms "11ms".
std::string CompStoredText(const ParameterStore& store, int channel, CompSlider slider);

bool CompressorOn(const ParameterStore& store, int channel);
// Stores chCompOff (0 while on) and sends it: module 5 + channel, parameter 28, one int.
void SetCompressorOn(ParameterStore& store, ReportSender& sender, int channel, bool on);

// The slider of channel `channel` (0..7) moved to `position` (held inside its range): its value is
// stored, the channel's attack and release become whole milliseconds, and the seven words go out
// (parameter 27) with all four values of the channel. Returns the four values as stored.
CompressorSettings MoveCompSlider(ParameterStore& store, ReportSender& sender, int channel, CompSlider slider,
                                  int position);

}  // namespace vireo::tuning
