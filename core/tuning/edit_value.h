// One thing a user edit sets (a band, a named store field, an EQ bypass flag): read it from the store,
// apply it through the tuning operations, and name it as a sender target.
#pragma once

#include <span>
#include <string>
#include <variant>
#include <vector>

#include "device/clock.h"
#include "dsp/band_response.h"
#include "model/location.h"
#include "model/parameter_store.h"
#include "model/report.h"
#include "tuning/field_setter.h"

namespace vireo::tuning {

// Band `band` of EQ identity `identity` (0..14, eq_identity.h).
struct BandValue {
  int identity = 0;
  int band = 0;
  dsp::BandShape shape{};
};

// Element `element` of the store field `name`, set through SetFieldValue (routing twins, the echo
// time's reverb predelay, volume limits and fades come with it).
struct FieldValue {
  std::string name;
  int element = 0;
  double value = 0.0;
};

// The EQ bypass flag of an identity.
struct BypassValue {
  int identity = 0;
  bool bypass = false;
};

// The working geometry of the sound-field location page (sent as the location record).
struct LocationValue {
  LocationGeometry geometry{};
};

// The location correction of output channel `channel`, dB (chLocationGain).
struct LocationGainValue {
  int channel = 0;
  float db = 0.0f;
};

using EditValue = std::variant<BandValue, FieldValue, BypassValue, LocationValue, LocationGainValue>;

bool SameTarget(const EditValue& a, const EditValue& b);
bool SameValue(const EditValue& a, const EditValue& b);

// "band:7:3", "field:micToChannelA[2]", "bypass:7", "location", "locationGain:2".
std::string TargetKey(const EditValue& target);
// The keys of `targets` joined with '+': the sender target of an edit that sets all of them.
std::string TargetKey(std::span<const EditValue> targets);

// `target` with the value the store holds now (a band as its record holds it).
EditValue ReadValue(const ParameterStore& store, const EditValue& target);
std::vector<EditValue> ReadValues(const ParameterStore& store, std::span<const EditValue> targets);

// Everything an edit of `targets` can change: an output channel's crossover band 9 brings its sections
// 10..12, an echo time brings the reverb predelay of its set. Order is kept; nothing appears twice.
std::vector<EditValue> ExpandTargets(std::span<const EditValue> targets);

// Every band of an identity, in band order: the targets of a paste into it or of its Reset EQ.
std::vector<EditValue> AllBandTargets(int identity);
// The two split bands (13 and 14) of an output channel's identity, which hold its high-frequency delay
// split: every edit that moves the split names them, so its undo step brings the split back.
std::vector<EditValue> SplitBandTargets(int identity);

// Applies the values in order through the tuning operations: a band as its record then its
// coefficients (an output channel's band 9 with the sections 10..12 given after it, else as the store
// holds them, in one crossover write), a field through SetFieldValue, a bypass through SetEqBypass.
// ok while every value was accepted; the first refusal's reason, the first notice, every field also set.
FieldSetResult ApplyValues(ParameterStore& store, ReportSender& sender, Clock& clock,
                           std::span<const EditValue> values);

}  // namespace vireo::tuning
