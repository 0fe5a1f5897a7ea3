// The effect-parameter rows and their slider moves.
#include "tuning/effect_params.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "device/protocol.h"
#include "device/sync.h"
#include "model/slot_fields.h"

namespace vireo::tuning {
namespace {

using P = EffectParam;

constexpr std::array<EffectParamRow, kEffectParamCount> kRows = {{
    {P::reverbLevel, "Reverb Level", "混响电平", "reverbLevelA", "reverbLevelB", 0, 100},
    {P::reverbPredelay, "Reverb Predelay", "混响预延时", "reverbPredelayA", "reverbPredelayB", 2, 200},
    {P::reverbTime, "Reverb Time", "混响时长", "reverbTimeA", "reverbTimeB", 0, 100},
    {P::echoLevel, "Echo Level", "回声电平", "echoLevelA", "echoLevelB", 0, 100},
    {P::echoPredelay, "Echo Predelay", "回声预延时", "echoPredelayA", "echoPredelayB", 2, 200},
    {P::echoTime, "Echo Time", "回声间隔", "echoTimeA", "echoTimeB", 2, 260},
    {P::echoStartVol, "Echo Start Vol", "回声起始音量", "echoStartVolA", "echoStartVolB", 40, 100},
    {P::echoDecay, "Echo Vol Decay", "回声衰减比例", "echoDecayA", "echoDecayB", 20, 90},
    {P::shiftFrequency, "Shift Frequency", "话筒移频", "shiftFreqA", "shiftFreqB", 1, 8},
}};

// Echo times this short would put the echo on top of the reverb's start, so the reverb waits longer.
constexpr int kCoupledEchoTimeMin = 2;
constexpr int kCoupledEchoTimeMax = 6;

const SlotField& FieldOf(EffectSet set, EffectParam param) {
  const EffectParamRow& row = EffectParamRowOf(param);
  return *FindSlotField(set == EffectSet::a ? row.fieldA : row.fieldB);
}

EffectNotice MuteNotice(const ParameterStore& store, EffectParam param, int value) {
  if (value == 0) return EffectNotice::none;
  if (param == P::reverbLevel && store.Int(slot::reverbMute) != 0) return EffectNotice::reverbMuted;
  if (param == P::echoLevel && store.Int(slot::echoMute) != 0) return EffectNotice::echoMuted;
  return EffectNotice::none;
}

std::string Format(const char* format, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

std::span<const EffectParamRow> EffectParamRows() {
  return kRows;
}

const EffectParamRow& EffectParamRowOf(EffectParam param) {
  return kRows[static_cast<std::size_t>(param)];
}

bool FindEffectField(std::string_view field, EffectParam* param, EffectSet* set) {
  for (const EffectParamRow& row : kRows) {
    if (field == row.fieldA || field == row.fieldB) {
      *param = row.param;
      *set = field == row.fieldA ? EffectSet::a : EffectSet::b;
      return true;
    }
  }
  return false;
}

int EffectParamValue(const ParameterStore& store, EffectSet set, EffectParam param) {
  const SlotField& field = FieldOf(set, param);
  if (!field.isFloat) return store.Int(field.firstSlot);
  const float v = store.Float(field.firstSlot);
  return v > -2147483648.0f && v < 2147483648.0f ? static_cast<int>(v) : 0;
}

std::string EffectParamText(EffectParam param, int value, int languageIndex) {
  switch (param) {
    case P::reverbPredelay:
    case P::echoPredelay:
    case P::echoTime:
      return std::to_string(value) + "ms";
    case P::reverbTime:
      return Format("%.0fms", value * 49.6 + 40);
    case P::shiftFrequency:
      if (value == 0 || value == 1) return languageIndex == 0 ? "关闭" : "Off";
      return std::to_string(value) + "Hz";
    default:
      return std::to_string(value) + "%";
  }
}

EffectParamResult SetEffectParam(ParameterStore& store, ReportSender& sender, EffectSet set,
                                 EffectParam param, int value) {
  const EffectParamRow& row = EffectParamRowOf(param);
  EffectParamResult result;
  result.value = std::clamp(value, row.lo, row.hi);
  if (param == P::shiftFrequency) {
    SendFrequencyShift(store, sender, set == EffectSet::b, result.value);
    return result;
  }
  const SlotField& field = FieldOf(set, param);
  if (field.isFloat) {
    store.SetFloat(field.firstSlot, static_cast<float>(result.value));
  } else {
    store.SetInt(field.firstSlot, result.value);
  }
  SendField(sender, store, field);
  result.notice = MuteNotice(store, param, result.value);
  if (param == P::echoTime && result.value >= kCoupledEchoTimeMin && result.value <= kCoupledEchoTimeMax) {
    SetEffectParam(store, sender, set, P::reverbPredelay, result.value * 10);
    result.reverbPredelayCoupled = true;
  }
  return result;
}

}  // namespace vireo::tuning
