// Band records of the EQ graph and the rules of their setters.
#include "dsp/eq_band_set.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "dsp/band_response.h"
#include "dsp/crossover.h"
#include "dsp/filter_type.h"

namespace vireo::dsp {
namespace {

constexpr std::array<float, 10> kStandardFrequencies = {31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
constexpr float kStandardQ = 1.41f;
constexpr float kPassQ = 0.7f;
constexpr int kPeaking = ToCode(FilterType::Peaking);

bool IsPassOrShelf(int type) {
  return type >= ToCode(FilterType::LowPass) && type <= ToCode(FilterType::HighShelf);
}

// LowPass, HighPass and the fixed sections above 5 carry no gain of their own.
bool KeepsZeroGain(int type) {
  return type == ToCode(FilterType::LowPass) || type == ToCode(FilterType::HighPass) ||
         type > ToCode(FilterType::HighShelf);
}

}  // namespace

EqBandSet::EqBandSet() {
  for (int i = 0; i < kEqBandSlots; ++i) {
    bands_[static_cast<std::size_t>(i)].bandNumber = i;
  }
}

int EqBandSet::ShownBandCount() const {
  return isChannel() ? kChannelShownBands : bandCount_;
}

void EqBandSet::SetClientSize(int width, int height) {
  plot_ = PlotAreaForClient(width, height);
  for (int i = 0; i < kEqBandSlots; ++i) {
    ComputeOne(i);
  }
}

const EqBand& EqBandSet::band(int slot) const {
  return bands_[static_cast<std::size_t>(std::clamp(slot, 0, kEqBandSlots - 1))];
}

EqBand& EqBandSet::band(int slot) {
  return bands_[static_cast<std::size_t>(std::clamp(slot, 0, kEqBandSlots - 1))];
}

void EqBandSet::SetBandCount(int n) {
  bandCount_ = std::clamp(n, 0, kEqBandSlots);
  if (bandCount_ == 7 || bandCount_ == 10) {
    for (int i = 0; i < bandCount_; ++i) {
      EqBand& b = band(i);
      b.frequency = kStandardFrequencies[static_cast<std::size_t>(i)];
      b.type = kPeaking;
      b.q = kStandardQ;
    }
  }
  for (int i = 0; i < bandCount_; ++i) {
    band(i).bandNumber = i;
    band(i).gain = 0.0f;
    RecomputeBand(i);
  }
}

void EqBandSet::SetBandType(int slot, int type) {
  band(slot).type = type;
  if (type == kPeaking) {
    SetBandQ(slot, kStandardQ);
  } else if (IsPassOrShelf(type)) {
    SetBandGain(slot, 0.0);
    SetBandQ(slot, kPassQ);
  }
  RecomputeBand(slot);
}

void EqBandSet::SetBandGain(int slot, double gain) {
  if (!std::isfinite(gain)) {
    return;
  }
  EqBand& b = band(slot);
  b.gain = KeepsZeroGain(b.type) ? 0.0f : static_cast<float>(std::clamp(gain, -kAxisDb, kAxisDb));
  RecomputeBand(slot);
}

void EqBandSet::SetBandQ(int slot, double q) {
  if (!std::isfinite(q) || std::fabs(q) < 1e-7) {
    return;
  }
  EqBand& b = band(slot);
  b.q = static_cast<float>(std::clamp(q, 0.1, b.type == kPeaking ? 30.0 : 2.0));
  RecomputeBand(slot);
}

void EqBandSet::SetBandFrequency(int slot, double frequency) {
  if (!std::isfinite(frequency)) {
    return;
  }
  EqBand& b = band(slot);
  b.frequency = static_cast<float>(std::clamp<double>(frequency, b.minFrequency, b.maxFrequency));
  RecomputeBand(slot);
}

void EqBandSet::ApplyMenuType(int slot, int type) {
  if (!isChannel()) {
    SetBandType(slot, type);
    return;
  }
  band(slot).gain = 0.0f;
  if (slot != kCrossoverSlot) {
    SetBandType(slot, type);
    return;
  }
  const CrossoverSections sections = CrossoverMenuSectionTypes(type);
  // The crossover slot goes last: its recomputation hands its frequency and Q to the other sections.
  for (int s = kLastCrossoverSection; s >= kCrossoverSlot; --s) {
    band(s).gain = 0.0f;
    SetBandType(s, sections[static_cast<std::size_t>(s - kCrossoverSlot)]);
  }
}

void EqBandSet::ApplyCrossoverFamily(int slot, int family) {
  if (!isChannel() || slot != kCrossoverSlot) {
    return;
  }
  const CrossoverSections sections = CrossoverSectionTypes(family, CrossoverIsLowPass(band(slot).type));
  for (int s = kCrossoverSlot; s <= kLastCrossoverSection; ++s) {
    SetBandGain(s, 0.0);
  }
  for (int s = kLastCrossoverSection; s >= kCrossoverSlot; --s) {
    SetBandType(s, sections[static_cast<std::size_t>(s - kCrossoverSlot)]);
  }
}

void EqBandSet::RecomputeBand(int slot) {
  if (isChannel() && slot == kCrossoverSlot) {
    const EqBand& crossover = band(kCrossoverSlot);
    for (int s = kCrossoverSlot + 1; s <= kLastCrossoverSection; ++s) {
      band(s).frequency = crossover.frequency;
      band(s).q = crossover.q;
      band(s).gain = 0.0f;
      ComputeOne(s);
    }
  }
  ComputeOne(slot);
}

void EqBandSet::ComputeOne(int slot) {
  EqBand& b = band(slot);
  ComputeBandResponse(b.type, b.gain, b.frequency, b.q, plot_.width(), b.response);
  const PointF marker = MarkerOffset(plot_, b.frequency, b.gain);
  b.markerX = static_cast<float>(marker.x);
  b.markerY = static_cast<float>(marker.y);
}

ResponseArray EqBandSet::TotalResponse() const {
  return TotalCurveOf(std::span<const EqBand>(bands_.data(), static_cast<std::size_t>(bandCount_)));
}

ResponseArray EqBandSet::FillResponse(int slot) const {
  if (isChannel() && slot == kCrossoverSlot) {
    return TotalCurveOf(std::span<const EqBand>(&bands_[kCrossoverSlot], 4));
  }
  return band(slot).response;
}

}  // namespace vireo::dsp
