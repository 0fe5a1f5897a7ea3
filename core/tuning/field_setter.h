// Setting any named store field the way its control does: the scriptable surface of `vireo-cli set`.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "device/clock.h"
#include "model/parameter_store.h"
#include "model/report.h"
#include "tuning/input_controls.h"

namespace vireo::tuning {

struct FieldSetResult {
  bool ok = false;
  std::string reason;  // why nothing was set, when !ok
  VolumeNotice notice = VolumeNotice::none;
  std::vector<std::string> alsoSet;  // other fields the edit changed (the echo time's reverb predelay)
};

// Sets element `element` of the field `name` to `value` (a float for float slots, rounded for the
// others) with the tuning operation of the control that edits it: the master levels and mutes with
// their limits and fade, the frequency shift with its off flag, the routing with its twin, the delay
// mode with its split bands, delays raised to their minimum, the effect parameters with their mute
// notices and the echo time's reverb predelay, the EQ bypass flags, an output channel's compressor through
// its switch and sliders (values rounded to the slider's step), and every other field by its wire rule.
// The music source as its radios (musicSource 2 selects HDMI at the stored port; hdmiPort P selects
// HDMI P+1), and two edits without a slot: micBoostLevel (dB) and musicLowFrequency (Hz).
// Fields without a machine address (reserved slots, micBoostOnCopy) are refused.
FieldSetResult SetFieldValue(ParameterStore& store, ReportSender& sender, Clock& clock, std::string_view name,
                             int element, double value);

}  // namespace vireo::tuning
