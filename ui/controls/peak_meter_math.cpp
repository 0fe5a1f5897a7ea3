// LED peak meter model.
#include "controls/peak_meter_math.h"

#include <algorithm>

namespace {

// Counts and the range below 1 would divide by zero or draw nothing at all.
PeakMeterSettings Sane(PeakMeterSettings s) {
  s.bands = std::max(1, s.bands);
  s.leds = std::max(1, s.leds);
  s.maximum = std::max(1, s.maximum);
  s.holdCount = std::max(0, s.holdCount);
  return s;
}

// Like LitLedCount, for a limit that may lie outside the range.
int LedsBelow(const PeakMeterSettings& s, int limit) {
  return int(static_cast<long long>(s.leds) * limit / s.maximum);
}

}  // namespace

PeakMeterSettings InputMeterSettings() {
  PeakMeterSettings s;
  s.bands = 1;
  s.leds = 15;
  return s;
}

int LitLedCount(const PeakMeterSettings& s, int level) {
  const PeakMeterSettings sane = Sane(s);
  return std::clamp(LedsBelow(sane, level), 0, sane.leds);
}

LedZone ZoneOfLed(const PeakMeterSettings& s, int led) {
  const PeakMeterSettings sane = Sane(s);
  if (led < LedsBelow(sane, sane.low)) return LedZone::green;
  if (led < LedsBelow(sane, sane.medium)) return LedZone::yellow;
  return LedZone::red;
}

MeterCell MeterCellRect(const PeakMeterSettings& s, bool horizontal, int width, int height, int band,
                        int led) {
  const PeakMeterSettings sane = Sane(s);
  const int across = horizontal ? height : width;  // shared by the bands
  const int along = horizontal ? width : height;   // shared by the LEDs of a band
  const int bandSize = across / sane.bands;
  const int ledSize = along / sane.leds;
  const int bandAt = across - bandSize * sane.bands + band * bandSize;
  const int ledGap = sane.leds > 1 ? 1 : 0;
  const int bandGap = sane.bands > 1 ? 1 : 0;
  if (horizontal) {
    return {led * ledSize + ledGap, bandAt + bandGap, ledSize - ledGap, bandSize - 2 * bandGap};
  }
  // LED 0 sits at the bottom; the gap goes on each cell's upper edge.
  return {bandAt + bandGap, along - (led + 1) * ledSize + ledGap, bandSize - 2 * bandGap, ledSize - ledGap};
}

PeakMeterBallistics::PeakMeterBallistics(const PeakMeterSettings& settings) {
  Configure(settings);
}

void PeakMeterBallistics::Configure(const PeakMeterSettings& settings) {
  settings_ = Sane(settings);
  bands_.assign(std::size_t(settings_.bands), Band{});
}

void PeakMeterBallistics::SetData(std::span<const int> values, int firstBand) {
  for (std::size_t i = 0; i < values.size(); ++i) {
    const long long index = static_cast<long long>(firstBand) + static_cast<long long>(i);
    if (index < 0 || index >= static_cast<long long>(bands_.size())) continue;
    Band& band = bands_[std::size_t(index)];
    band.level = std::clamp(values[i], 0, settings_.maximum);
    if (band.level > band.peak) {
      band.peak = band.level;
      band.hold = settings_.holdCount;
    }
  }
}

int PeakMeterBallistics::FalloffStep() const {
  const int step = settings_.leds < 2 ? settings_.maximum * 10 / 100 : settings_.maximum / settings_.leds;
  return std::max(1, step);  // a step below one would freeze the meter
}

bool PeakMeterBallistics::Tick() {
  const int step = FalloffStep();
  const int peakStep = settings_.leds < 2 ? 5 : std::max(1, step / 2);
  bool active = false;
  for (Band& band : bands_) {
    band.level = std::max(0, band.level - step);
    if (band.hold <= 1 && band.peak > 0) band.peak = std::max(0, band.peak - peakStep);
    if (band.hold > 0) --band.hold;
    active = active || band.level > 0 || band.hold > 0;
  }
  return active;
}

int PeakMeterBallistics::Level(int band) const {
  return band >= 0 && band < int(bands_.size()) ? bands_[std::size_t(band)].level : 0;
}

int PeakMeterBallistics::Peak(int band) const {
  return band >= 0 && band < int(bands_.size()) ? bands_[std::size_t(band)].peak : 0;
}

int PeakMeterBallistics::Hold(int band) const {
  return band >= 0 && band < int(bands_.size()) ? bands_[std::size_t(band)].hold : 0;
}
