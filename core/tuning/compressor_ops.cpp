// The compressor switch and sliders of an output channel.
#include "tuning/compressor_ops.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "device/protocol.h"
#include "model/slot_fields.h"
#include "model/store_layout.h"

namespace vireo::tuning {
namespace {

constexpr std::array<CompSliderRange, kCompSliderCount> kRanges{{{-60, 0}, {10, 300}, {1, 100}, {1, 1000}}};

const SlotArray<kOutputChannels>& SlotsOf(CompSlider slider) {
  switch (slider) {
    case CompSlider::threshold:
      return slot::chCompThreshold;
    case CompSlider::ratio:
      return slot::chCompRatio;
    case CompSlider::attack:
      return slot::chCompAttack;
    case CompSlider::release:
      break;
  }
  return slot::chCompRelease;
}

// The ratio's slider counts tenths.
double Scale(CompSlider slider) {
  return slider == CompSlider::ratio ? 10.0 : 1.0;
}

int Held(CompSlider slider, double position) {
  const CompSliderRange r = CompSliderRangeOf(slider);
  if (std::isnan(position)) return r.lo;
  return static_cast<int>(std::clamp(position, static_cast<double>(r.lo), static_cast<double>(r.hi)));
}

float WholeMs(float ms) {
  return std::isnan(ms) ? ms : std::trunc(ms);
}

}  // namespace

CompSliderRange CompSliderRangeOf(CompSlider slider) {
  return kRanges[static_cast<std::size_t>(slider)];
}

int CompSliderPosition(const ParameterStore& store, int channel, CompSlider slider) {
  if (!IsOutputChannel(channel)) return CompSliderRangeOf(slider).lo;
  const double v = store.Float(SlotsOf(slider)[channel]) * Scale(slider);
  return Held(slider, std::trunc(v));
}

int CompSliderPositionOfValue(CompSlider slider, double value) {
  return Held(slider, std::round(value * Scale(slider)));
}

namespace {
std::string CompValueText(CompSlider slider, double value) {
  const char* format = slider == CompSlider::threshold ? "%.0fdB"
                       : slider == CompSlider::ratio   ? "%.1f:1"
                                                       : "%.0fms";
  // printf rounds to the nearest; a value that rounds to zero reads "0", never "-0".
  const double half = slider == CompSlider::ratio ? 0.05 : 0.5;
  if (!std::isfinite(value) || std::fabs(value) < half) value = 0.0;
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}
}  // namespace

std::string CompSliderText(CompSlider slider, int position) {
  return CompValueText(slider, position / Scale(slider));
}

std::string CompStoredText(const ParameterStore& store, int channel, CompSlider slider) {
  if (!IsOutputChannel(channel)) return CompSliderText(slider, CompSliderRangeOf(slider).lo);
  return CompValueText(slider, store.Float(SlotsOf(slider)[channel]));
}

bool CompressorOn(const ParameterStore& store, int channel) {
  return IsOutputChannel(channel) && store.Int(slot::chCompOff[channel]) == 0;
}

void SetCompressorOn(ParameterStore& store, ReportSender& sender, int channel, bool on) {
  if (!IsOutputChannel(channel)) return;
  store.SetInt(slot::chCompOff[channel], on ? 0 : 1);
  SendField(sender, store, *FindSlotField("chCompOff"), channel);
}

CompressorSettings MoveCompSlider(ParameterStore& store, ReportSender& sender, int channel, CompSlider slider,
                                  int position) {
  if (!IsOutputChannel(channel)) return {};
  const int p = Held(slider, position);
  const float value = static_cast<float>(p / Scale(slider));
  store.SetFloat(SlotsOf(slider)[channel], value);
  store.SetFloat(slot::chCompAttack[channel], WholeMs(store.Float(slot::chCompAttack[channel])));
  store.SetFloat(slot::chCompRelease[channel], WholeMs(store.Float(slot::chCompRelease[channel])));
  SendField(sender, store, *FindSlotField("chCompThreshold"), channel);
  return {store.Float(slot::chCompThreshold[channel]), store.Float(slot::chCompRatio[channel]),
          store.Float(slot::chCompAttack[channel]), store.Float(slot::chCompRelease[channel])};
}

}  // namespace vireo::tuning
