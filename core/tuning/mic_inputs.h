// The microphone inputs of the microphone and music page: routing to channel A or B, and input volume.
#pragma once

#include "model/parameter_store.h"
#include "model/report.h"

namespace vireo::tuning {

inline constexpr int kMicInputs = 4;

enum class MicChannel { a, b };

// The channel that input `input` (0..3) feeds: A while its micToChannelA entry is not 0.
MicChannel MicInputChannel(const ParameterStore& store, int input);

// "CH A" / "CH B" of input `input`: the input feeds exactly one channel, so micToChannelA and
// micToChannelB take 100 and 0 and both are sent (1/27+input, then 1/50+input). Returns the bytes
// written; 0 for an input outside 0..3.
int RouteMicInput(ParameterStore& store, ReportSender& sender, int input, MicChannel channel);

// micInputVolume[input] 1/(4 + input) (pct), 0..100. Returns the stored value, -1 for a bad input.
// (The input's noise gate is SetMicNoiseGate of input_controls.h.)
int SetMicInputVolume(ParameterStore& store, ReportSender& sender, int input, int value);

}  // namespace vireo::tuning
