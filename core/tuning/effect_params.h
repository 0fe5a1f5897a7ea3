// The effect-parameter list: reverb and echo of effect set A or B, and the microphone shift frequency.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "model/parameter_store.h"
#include "model/report.h"

namespace vireo::tuning {

enum class EffectSet { a, b };

// The list's rows, in order.
enum class EffectParam {
  reverbLevel,
  reverbPredelay,
  reverbTime,
  echoLevel,
  echoPredelay,
  echoTime,
  echoStartVol,
  echoDecay,
  shiftFrequency,
};
inline constexpr int kEffectParamCount = 9;

struct EffectParamRow {
  EffectParam param;
  std::string_view english;
  std::string_view chinese;
  std::string_view fieldA;  // store field of set A
  std::string_view fieldB;
  int lo;  // the slider's range
  int hi;
};

std::span<const EffectParamRow> EffectParamRows();
const EffectParamRow& EffectParamRowOf(EffectParam param);
// The row and set of a store field ("echoTimeB"); false for any other field.
bool FindEffectField(std::string_view field, EffectParam* param, EffectSet* set);

// The row's stored value as the list shows it: float fields truncated to a whole number.
int EffectParamValue(const ParameterStore& store, EffectSet set, EffectParam param);
// The value text of a row (languageIndex 0 Chinese, 1 English): "%d%%", "%dms", the reverb time
// step as "%.0fms" of step x 49.6 + 40, the shift as "Off" / "关闭" for 0 and 1, else "%dHz".
std::string EffectParamText(EffectParam param, int value, int languageIndex);

enum class EffectNotice { none, reverbMuted, echoMuted };  // "Reverb vol is mute" / "Echo vol is mute"

struct EffectParamResult {
  int value = 0;  // stored and sent, inside the row's range
  EffectNotice notice = EffectNotice::none;
  bool reverbPredelayCoupled = false;  // the echo time also set the reverb predelay to ten times it
};

// Moves the row's slider to `value` (clamped to the row's range): the field of the set is stored and
// sent (levels, start volume and decay as v/100; predelays and echo time as samples; the reverb time
// step as step/100 to both of its parameters; the shift frequency with its off flag). A level above 0
// on a muted reverb or echo asks for its notice; an echo time of 2..6 ms also sets the reverb predelay
// of the same set to ten times it, through the predelay row.
EffectParamResult SetEffectParam(ParameterStore& store, ReportSender& sender, EffectSet set,
                                 EffectParam param, int value);

}  // namespace vireo::tuning
