// The generic field setter: picks the tuning operation of the field's control.
#include "tuning/field_setter.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "device/protocol.h"
#include "device/sync.h"
#include "model/band.h"
#include "model/slot_fields.h"
#include "model/wire_rules.h"
#include "tuning/compressor_ops.h"
#include "tuning/delay_ops.h"
#include "tuning/effect_params.h"
#include "tuning/eq_identity.h"
#include "tuning/eq_operations.h"
#include "tuning/feature_ops.h"
#include "tuning/mic_inputs.h"
#include "tuning/music_source_ops.h"

namespace vireo::tuning {
namespace {

std::int32_t RoundToInt(double value) {
  return static_cast<std::int32_t>(std::lround(std::clamp(value, -2147483648.0, 2147483647.0)));
}

FieldSetResult Done(VolumeNotice notice = VolumeNotice::none) {
  return {true, {}, notice, {}};
}

FieldSetResult Refuse(std::string reason) {
  return {false, std::move(reason), VolumeNotice::none, {}};
}

// Master levels, mutes, noise gates and pitch have operations of their own.
bool SetInputControl(ParameterStore& store, ReportSender& sender, Clock& clock, std::string_view name,
                     int element, std::int32_t v, FieldSetResult* result) {
  if (name == "micVolume") return *result = Done(SetMicVolume(store, sender, v).notice), true;
  if (name == "effectVolume") return *result = Done(SetEffectVolume(store, sender, v).notice), true;
  if (name == "reverbVolume") return *result = Done(SetReverbVolume(store, sender, v).notice), true;
  if (name == "echoVolume") return *result = Done(SetEchoVolume(store, sender, v).notice), true;
  if (name == "musicVolume") return *result = Done(SetMusicVolume(store, sender, v).notice), true;
  if (name == "musicNoiseGate") return SetMusicNoiseGate(store, sender, v), *result = Done(), true;
  if (name == "micNoiseGate") return SetMicNoiseGate(store, sender, element, v), *result = Done(), true;
  if (name == "musicPitch") return SetMusicPitch(store, sender, v), *result = Done(), true;
  if (name == "micMute") return SetMicMute(store, sender, v != 0), *result = Done(), true;
  if (name == "reverbMute") return SetReverbMute(store, sender, v != 0), *result = Done(), true;
  if (name == "echoMute") return SetEchoMute(store, sender, v != 0), *result = Done(), true;
  if (name == "musicMute") return SetMusicMute(store, sender, clock, v != 0), *result = Done(), true;
  return false;
}

// The effect-parameter list, with its mute notices and the echo time's hold on the reverb predelay.
bool SetEffectControl(ParameterStore& store, ReportSender& sender, std::string_view name, std::int32_t v,
                      FieldSetResult* result) {
  EffectParam param{};
  EffectSet set{};
  if (!FindEffectField(name, &param, &set)) return false;
  const EffectParamResult r = SetEffectParam(store, sender, set, param, v);
  *result = Done(r.notice == EffectNotice::none ? VolumeNotice::none : VolumeNotice::muted);
  if (r.reverbPredelayCoupled)
    result->alsoSet.push_back(set == EffectSet::a ? "reverbPredelayA" : "reverbPredelayB");
  return true;
}

// The EQ bypass flags of the pages' equalisers.
bool SetBypassControl(ParameterStore& store, ReportSender& sender, std::string_view name, int element,
                      std::int32_t v) {
  for (const EqIdentity& eq : EqIdentities()) {
    if (eq.bypassField == name && eq.bypassElement == element) {
      SetEqBypass(store, sender, eq.id, v != 0);
      return true;
    }
  }
  return false;
}

// An output channel's compressor, through its page's switch and sliders (whole slider steps).
bool SetCompressorControl(ParameterStore& store, ReportSender& sender, std::string_view name, int element,
                          double value) {
  if (name == "chCompOff") return SetCompressorOn(store, sender, element, RoundToInt(value) == 0), true;
  constexpr std::pair<std::string_view, CompSlider> kSliders[] = {{"chCompThreshold", CompSlider::threshold},
                                                                  {"chCompRatio", CompSlider::ratio},
                                                                  {"chCompAttack", CompSlider::attack},
                                                                  {"chCompRelease", CompSlider::release}};
  for (const auto& [field, slider] : kSliders) {
    if (name == field) {
      MoveCompSlider(store, sender, element, slider, CompSliderPositionOfValue(slider, value));
      return true;
    }
  }
  return false;
}

// Like the field's slider, a value beyond its range stops at the end of the range.
void StoreValue(ParameterStore& store, const SlotField& field, int element, double value) {
  value = std::clamp(value, field.lo, field.hi);
  const int s = field.SlotOf(element);
  if (!field.isFloat) {
    store.SetInt(s, RoundToInt(value));
  } else if (field.rule == WireRule::ms) {
    store.SetFloat(s, RaiseMs(static_cast<float>(value), MinimumMs(field)));
  } else {
    store.SetFloat(s, static_cast<float>(value));
  }
}

}  // namespace

// The music source radios (an HDMI port selects its input) and the boost box with its twin.
bool SetDialogControl(ParameterStore& store, ReportSender& sender, std::string_view name, double value,
                      FieldSetResult* result) {
  const std::int32_t v = RoundToInt(value);
  if (name == "musicSource") {
    *result = SetMusicSourceField(store, sender, v) ? Done() : Refuse("musicSource takes 0, 2, 3 or 4");
    if (result->ok && v == 2) result->alsoSet.push_back("hdmiPort");
    return true;
  }
  if (name == "hdmiPort") {
    SetHdmiPortField(store, sender, v);
    *result = Done();
    result->alsoSet.push_back("musicSource");
    return true;
  }
  if (name == "micBoostOn") return SetMicBoostOn(store, sender, v != 0), *result = Done(), true;
  return false;
}

FieldSetResult SetFieldValue(ParameterStore& store, ReportSender& sender, Clock& clock, std::string_view name,
                             int element, double value) {
  double pseudo = 0.0;
  if (ReadPseudoField(store, name, &pseudo)) {
    if (element != 0) return Refuse("index out of range for " + std::string(name));
    if (!std::isfinite(value)) return Refuse("not a number");
    SetPseudoField(store, sender, name, value);
    return Done();
  }
  const SlotField* field = FindSlotField(name);
  if (field == nullptr) return Refuse("unknown field: " + std::string(name));
  if (element < 0 || element >= field->count) return Refuse("index out of range for " + std::string(name));
  if (!std::isfinite(value)) return Refuse("not a number");
  if (field->param == 0 || field->rule == WireRule::none)
    return Refuse(std::string(name) + " is not sent to the machine");

  FieldSetResult result;
  const std::int32_t v = RoundToInt(value);
  if (SetInputControl(store, sender, clock, name, element, v, &result)) return result;
  if (SetDialogControl(store, sender, name, value, &result)) return result;
  if (name == "shiftOffA" || name == "shiftOffB") {
    if (v == 0) return Refuse("set shiftFreq" + std::string(1, name.back()) + " to switch the shift on");
    SendFrequencyShift(store, sender, name == "shiftOffB", 1);
    return Done();
  }
  if (name == "micToChannelA" || name == "micToChannelB") {
    const bool toA = (name == "micToChannelA") == (v != 0);
    RouteMicInput(store, sender, element, toA ? MicChannel::a : MicChannel::b);
    return Done();
  }
  if (name == "micInputVolume") return SetMicInputVolume(store, sender, element, v), Done();
  if (SetEffectControl(store, sender, name, v, &result)) return result;
  if (SetBypassControl(store, sender, name, element, v)) return Done();
  if (SetCompressorControl(store, sender, name, element, value)) return Done();
  // The delay page's path: at least 1.5 ms, and a delay already stored sends nothing.
  if (name == "chDelay") {
    SetChannelDelay(store, sender, element, static_cast<float>(std::clamp(value, field->lo, field->hi)));
    return Done();
  }
  StoreValue(store, *field, element, value);
  SendField(sender, store, *field, element);
  if (name == "chDelayMode") {
    const int band13 = ReadBand(store, element + 5, 13).frequency;
    SendSplitBands(store, sender, element, SplitIndexOfFrequency(band13));
  }
  return Done();
}

}  // namespace vireo::tuning
