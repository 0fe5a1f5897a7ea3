// The features dialog: boost, low-frequency path, sub-woofer decay and music compressor.
#include "tuning/feature_ops.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "device/protocol.h"
#include "device/sync.h"
#include "model/band.h"
#include "model/slot_fields.h"
#include "model/store_layout.h"
#include "model/wire_rules.h"

namespace vireo::tuning {
namespace {

constexpr std::array<FeatureSliderRange, kFeatureSliders> kRanges{
    {{0, 40}, {20, 300}, {0, 20}, {0, 300}, {0, 100}, {-60, 0}, {10, 300}, {1, 100}, {1, 1000}}};
constexpr int kLowPassType = 2;
constexpr int kAgcLo = -500;
constexpr int kAgcHi = 0;

int Held(FeatureSlider slider, double value) {
  const FeatureSliderRange r = FeatureSliderRangeOf(slider);
  if (std::isnan(value)) return r.lo;
  return static_cast<int>(
      std::clamp(std::trunc(value), static_cast<double>(r.lo), static_cast<double>(r.hi)));
}

// The stored value in the slider's unit (the ratio in tenths, the boost as a cut).
double StoredValue(const ParameterStore& store, FeatureSlider slider) {
  switch (slider) {
    case FeatureSlider::micBoost:
      return -static_cast<double>(MicBoostLevelDb(store));
    case FeatureSlider::lowFrequency:
      return ReadBand(store, kLowPassGroup, 0).frequency;
    case FeatureSlider::lowDelay:
      return store.Int(slot::musicLowDelay);
    case FeatureSlider::lowGain:
      return store.Int(slot::musicLowGain);
    case FeatureSlider::subRatio:
      return store.Int(slot::autoSubRatio);
    case FeatureSlider::compThreshold:
      return store.Float(slot::musicCompThreshold);
    case FeatureSlider::compRatio:
      return store.Float(slot::musicCompRatio) * 10.0;
    case FeatureSlider::compAttack:
      return store.Float(slot::musicCompAttack);
    case FeatureSlider::compRelease:
      break;
  }
  return store.Float(slot::musicCompRelease);
}

void SendLowPass(ParameterStore& store, ReportSender& sender, int hz) {
  const BandRecord band{0.0f, hz, kLowPassQ, kLowPassType};
  WriteBand(store, sender, kLowPassGroup, 0, band);
  // The exact 1/sqrt(2) for the coefficients; the record keeps Q in thousandths.
  const auto words = BandCoefficientRecord(kLowPassType, 0.0f, hz, kLowPassQ);
  WriteParamValues(sender, 4, 10, words);
}

void SendMusicCompressor(ParameterStore& store, ReportSender& sender, FeatureSlider slider, int position) {
  const int s = slider == FeatureSlider::compThreshold ? slot::musicCompThreshold
                : slider == FeatureSlider::compRatio   ? slot::musicCompRatio
                : slider == FeatureSlider::compAttack  ? slot::musicCompAttack
                                                       : slot::musicCompRelease;
  const double scale = slider == FeatureSlider::compRatio ? 10.0 : 1.0;
  store.SetFloat(s, static_cast<float>(position / scale));
  SendField(sender, store, *FindSlotField("musicCompThreshold"));
}

void SendIntSlot(ParameterStore& store, ReportSender& sender, const char* field, int value) {
  const SlotField& f = *FindSlotField(field);
  store.SetInt(f.SlotOf(0), value);
  SendField(sender, store, f);
}

}  // namespace

FeatureSliderRange FeatureSliderRangeOf(FeatureSlider slider) {
  return kRanges[static_cast<std::size_t>(slider)];
}

int FeatureSliderPosition(const ParameterStore& store, FeatureSlider slider) {
  return Held(slider, StoredValue(store, slider));
}

std::string FeatureSliderText(FeatureSlider slider, int position) {
  char text[32];
  switch (slider) {
    case FeatureSlider::micBoost:
      std::snprintf(text, sizeof text, "%ddB", position);
      break;
    case FeatureSlider::lowFrequency:
      std::snprintf(text, sizeof text, "%dHz", position);
      break;
    case FeatureSlider::lowDelay:
      std::snprintf(text, sizeof text, "%dms", position);
      break;
    case FeatureSlider::lowGain:
    case FeatureSlider::subRatio:
      std::snprintf(text, sizeof text, "%d%%", position);
      break;
    case FeatureSlider::compThreshold:
      std::snprintf(text, sizeof text, "%.0fdB", static_cast<double>(position));
      break;
    case FeatureSlider::compRatio:
      std::snprintf(text, sizeof text, "%.1f:1", position / 10.0);
      break;
    case FeatureSlider::compAttack:
    case FeatureSlider::compRelease:
      std::snprintf(text, sizeof text, "%.0fms", static_cast<double>(position));
      break;
  }
  return text;
}

int MoveFeatureSlider(ParameterStore& store, ReportSender& sender, FeatureSlider slider, int position) {
  const int v = Held(slider, position);
  switch (slider) {
    case FeatureSlider::micBoost:
      SendMicBoost(store, sender, static_cast<float>(-v));
      break;
    case FeatureSlider::lowFrequency:
      SendLowPass(store, sender, v);
      break;
    case FeatureSlider::lowDelay:
      SendIntSlot(store, sender, "musicLowDelay", v);  // msint: trunc(ms x 48 + 0.5) samples
      break;
    case FeatureSlider::lowGain:
      SendIntSlot(store, sender, "musicLowGain", v);
      break;
    case FeatureSlider::subRatio:
      SendIntSlot(store, sender, "autoSubRatio", v);
      break;
    default:
      SendMusicCompressor(store, sender, slider, v);
      break;
  }
  return v;
}

bool MicBoostOn(const ParameterStore& store) {
  return store.Int(slot::micBoostOn) != 0;
}
void SetMicBoostOn(ParameterStore& store, ReportSender& sender, bool on) {
  store.SetInt(slot::micBoostOnCopy, on ? 1 : 0);
  SendIntSlot(store, sender, "micBoostOn", on ? 1 : 0);  // invbyte to 1/37, then 1/60
}

bool AutoSubOn(const ParameterStore& store) {
  return store.Int(slot::autoSubOn) != 0;
}
void SetAutoSubOn(ParameterStore& store, ReportSender& sender, bool on) {
  SendIntSlot(store, sender, "autoSubOn", on ? 1 : 0);
}

bool MusicCompressorOn(const ParameterStore& store) {
  return store.Int(slot::musicCompOff) == 0;
}
void SetMusicCompressorOn(ParameterStore& store, ReportSender& sender, bool on) {
  SendIntSlot(store, sender, "musicCompOff", on ? 0 : 1);
}

int AgcSliderPosition(const ParameterStore& store) {
  const double v = store.Float(slot::musicAgcLevel) * 10.0;
  if (std::isnan(v)) return kAgcLo;
  return static_cast<int>(
      std::clamp(std::trunc(v), static_cast<double>(kAgcLo), static_cast<double>(kAgcHi)));
}
bool AgcOn(const ParameterStore& store) {
  return store.Int(slot::musicAgcOn) != 0;
}
std::string AgcText(int position) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1fdB", position / 10.0);
  return text;
}

bool IsPseudoField(std::string_view name) {
  return name == "micBoostLevel" || name == "musicLowFrequency";
}

bool ReadPseudoField(const ParameterStore& store, std::string_view name, double* value) {
  if (name == "micBoostLevel") {
    *value = MicBoostLevelDb(store);
    return true;
  }
  if (name == "musicLowFrequency") {
    *value = ReadBand(store, kLowPassGroup, 0).frequency;
    return true;
  }
  return false;
}

bool SetPseudoField(ParameterStore& store, ReportSender& sender, std::string_view name, double value) {
  if (name == "micBoostLevel") {
    // Held inside the slider's reach; not rounded, so that an undo restores a machine's fractional boost.
    SendMicBoost(store, sender, static_cast<float>(std::clamp(value, -40.0, 0.0)));
    return true;
  }
  if (name == "musicLowFrequency") {
    MoveFeatureSlider(store, sender, FeatureSlider::lowFrequency,
                      static_cast<int>(std::lround(std::clamp(value, 0.0, 1000.0))));
    return true;
  }
  return false;
}

}  // namespace vireo::tuning
