// Hit tests and the mouse, wheel and key edits of the EQ graph.
#include "dsp/eq_graph_editing.h"

#include <algorithm>
#include <cmath>

#include "dsp/filter_type.h"

namespace vireo::dsp {
namespace {

constexpr double kPressReach = 10.0;
constexpr double kWideReach = 16.0;

bool Near(const EqBand& b, double x, double y, double reach) {
  return std::fabs(x - b.markerX) < reach && std::fabs(y - b.markerY) < reach;
}

bool IsPassOrShelf(int type) {
  return type >= ToCode(FilterType::LowPass) && type <= ToCode(FilterType::HighShelf);
}

// Drags and keys hold the pass and shelf types to a gentle Q.
double MaxEditQ(int type) {
  return IsPassOrShelf(type) ? 2.0 : 30.0;
}

double RoundToTenth(double v) {
  return std::round(v * 10.0) / 10.0;  // halves away from zero
}

// Finer steps low in the spectrum, where a hertz matters more.
double FrequencyStep(double f) {
  if (f > 10000.0) return 100.0;
  if (f > 1000.0) return 10.0;
  if (f > 100.0) return 5.0;
  return 2.0;
}

void KeepWithinLimits(EqBand& b) {
  b.gain = std::clamp(b.gain, b.minGain, b.maxGain);
  b.q = static_cast<float>(std::clamp<double>(b.q, 0.1, MaxEditQ(b.type)));
  b.frequency = std::clamp(b.frequency, b.minFrequency, b.maxFrequency);
}

int NewSelection(const EqBandSet& bands, int selected, EqKey key) {
  const int last = std::max(bands.ShownBandCount() - 1, 0);
  switch (key) {
    case EqKey::previousBand:
      return std::max(selected - 1, 0);
    case EqKey::nextBand:
      return std::min(selected + 1, last);
    case EqKey::firstBand:
      return 0;
    default:  // the last band
      return last;
  }
}

// The edit of one key on the selected band; false for keys that are no edit.
bool EditBand(EqBandSet& bands, int slot, EqKey key, bool fine) {
  EqBand& b = bands.band(slot);
  const bool crossover = bands.isChannel() && slot == kCrossoverSlot;
  const double gainStep = fine ? 0.1 : 0.2;
  const double qStep = fine ? 0.01 : 0.1;
  switch (key) {
    case EqKey::frequencyDown:
      b.frequency = static_cast<float>(b.frequency - FrequencyStep(b.frequency) - (fine ? 1.0 : 0.0));
      return true;
    case EqKey::frequencyUp:
      b.frequency = static_cast<float>(b.frequency + FrequencyStep(b.frequency) + (fine ? 1.0 : 0.0));
      return true;
    case EqKey::gainUp:
    case EqKey::gainDown:
      if (HasEditableGain(b.type)) {
        b.gain = static_cast<float>(b.gain + (key == EqKey::gainUp ? gainStep : -gainStep));
      }
      return true;
    case EqKey::qUp:
      b.q = static_cast<float>(b.q + qStep);
      return true;
    case EqKey::qDown:
      b.q = static_cast<float>(b.q - qStep);
      return true;
    case EqKey::typeDown:
      if (!crossover && b.type >= 2 && b.type <= 5) bands.SetBandType(slot, b.type - 1);
      return true;
    case EqKey::typeUp:
      if (!crossover && b.type >= 1 && b.type <= 4) bands.SetBandType(slot, b.type + 1);
      return true;
    default:
      return false;
  }
}

}  // namespace

int LeftPressHit(const EqBandSet& bands, double x, double y) {
  for (int i = 0; i < bands.ShownBandCount(); ++i) {
    if (bands.band(i).type != 0 && Near(bands.band(i), x, y, kPressReach)) {
      return i;
    }
  }
  return -1;
}

int RightPressHit(const EqBandSet& bands, double x, double y) {
  for (int i = 0; i < bands.ShownBandCount(); ++i) {
    if (Near(bands.band(i), x, y, kWideReach)) {
      return i;
    }
  }
  return -1;
}

int HoverHit(const EqBandSet& bands, double x, double y) {
  for (int i = bands.ShownBandCount() - 1; i >= 0; --i) {
    if (bands.band(i).type != 0 && Near(bands.band(i), x, y, kWideReach)) {
      return i;
    }
  }
  return -1;
}

void DragBand(EqBandSet& bands, int slot, double x, double y, double grabOffsetY) {
  const PlotArea& plot = bands.plot();
  if (!(plot.width() > 0.0) || !(plot.height() > 0.0)) {
    return;
  }
  EqBand& b = bands.band(slot);
  const double frequency = FrequencyAtOffset(x, plot.width());
  const double gain =
      HasEditableGain(b.type) ? RoundToTenth(GainAtOffset(y - grabOffsetY, plot.height())) : 0.0;
  b.gain = static_cast<float>(std::clamp<double>(gain, b.minGain, b.maxGain));
  b.frequency = static_cast<float>(std::clamp<double>(frequency, b.minFrequency, b.maxFrequency));
  bands.RecomputeBand(slot);
}

void DragBandQ(EqBandSet& bands, int slot, double dx) {
  EqBand& b = bands.band(slot);
  const double pixelsPerUnit = IsPassOrShelf(b.type) ? 80.0 : 12.0;
  b.q = static_cast<float>(std::clamp(b.q + dx / pixelsPerUnit, 0.1, MaxEditQ(b.type)));
  bands.RecomputeBand(slot);
}

bool WheelBand(EqBandSet& bands, int slot, int delta) {
  EqBand& b = bands.band(slot);
  if (!HasEditableGain(b.type) || delta == 0) {
    return false;
  }
  const double gain = b.gain + (delta > 0 ? 0.1 : -0.1);
  b.gain = static_cast<float>(std::clamp<double>(gain, b.minGain, b.maxGain));
  bands.RecomputeBand(slot);
  return true;
}

EqKeyResult ApplyEqKey(EqBandSet& bands, int selected, EqKey key, bool fine) {
  if (selected < 0) {
    return {selected, EqKeyResult::Notice::none};
  }
  if (key >= EqKey::digit1 && key <= EqKey::digit0) {
    const int slot = static_cast<int>(key) - static_cast<int>(EqKey::digit1);
    if (!bands.IsShown(slot)) {
      return {selected, EqKeyResult::Notice::none};
    }
    return {slot, EqKeyResult::Notice::bandPicked};
  }
  const bool selectionKey = key == EqKey::previousBand || key == EqKey::nextBand || key == EqKey::firstBand ||
                            key == EqKey::lastBand;
  const int slot = selectionKey ? NewSelection(bands, selected, key) : selected;
  if (!selectionKey && !EditBand(bands, slot, key, fine)) {
    return {selected, EqKeyResult::Notice::none};
  }
  KeepWithinLimits(bands.band(slot));
  bands.RecomputeBand(slot);
  return {slot, EqKeyResult::Notice::bandChanged};
}

}  // namespace vireo::dsp
