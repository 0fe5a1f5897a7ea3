// The bands of one equaliser as the EQ graph holds them: records, their setters with the graph's rules,
// responses on the grid, marker positions, and the curves to draw.
#pragma once

#include <array>

#include "dsp/eq_graph_geometry.h"
#include "dsp/frequency_grid.h"

namespace vireo::dsp {

// One band record; owners read it with every notification and may write the frequency and the limits
// directly (then call RecomputeBand).
struct EqBand {
  float markerX = 0.0f;  // marker centre, offset from the plot's top-left corner
  float markerY = 0.0f;
  int bandNumber = 0;  // 0-based index in its equaliser
  int type = 1;        // FilterType code
  float frequency = 100.0f;
  float gain = 0.0f;
  float q = 1.0f;
  ResponseArray response{};
  // Limits of mouse and keyboard edits.
  float minFrequency = 20.0f;
  float maxFrequency = 20000.0f;
  float minGain = -15.0f;
  float maxGain = 15.0f;
};

inline constexpr int kEqBandSlots = 40;
inline constexpr int kDefaultBandCount = 10;
// An output channel shows its first ten bands; slot 9 is its crossover, slots 10..12 the crossover's
// further sections.
inline constexpr int kChannelShownBands = 10;
inline constexpr int kCrossoverSlot = 9;
inline constexpr int kLastCrossoverSection = 12;

// EQ identities 7..14 are the output channels.
constexpr bool IsChannelIdentity(int identity) {
  return identity >= 7 && identity <= 14;
}

class EqBandSet {
 public:
  EqBandSet();

  int bandCount() const { return bandCount_; }
  int identity() const { return identity_; }
  void SetIdentity(int identity) { identity_ = identity; }
  bool isChannel() const { return IsChannelIdentity(identity_); }
  // Bands drawn and hit-tested: slots 0..9 on a channel whatever the band count, else the band count.
  int ShownBandCount() const;
  bool IsShown(int slot) const { return slot >= 0 && slot < ShownBandCount(); }

  const PlotArea& plot() const { return plot_; }
  // A new client size moves every marker and the peak alignment of every response.
  void SetClientSize(int width, int height);

  // A slot outside 0..39 reads the nearest one; owners check slots against the band count.
  const EqBand& band(int slot) const;
  EqBand& band(int slot);

  // n = 7 or 10 also lays out the standard Peaking bands (31 Hz .. 2 or 16 kHz, Q 1.41); any n numbers the
  // bands below it, zeroes their gains and recomputes them. n is kept within 0..40.
  void SetBandCount(int n);
  // Peaking gets Q 1.41; types 2..5 get gain 0 and Q 0.7; other codes keep gain and Q.
  void SetBandType(int slot, int type);
  // Gain within -15..+15 dB; LowPass, HighPass and codes above 5 keep 0 dB.
  void SetBandGain(int slot, double gain);
  // Ignored when |q| < 1e-7; within 0.1..30 for Peaking, 0.1..2 for every other type.
  void SetBandQ(int slot, double q);
  // Within the band's frequency limits.
  void SetBandFrequency(int slot, double frequency);
  // The type menu's path: on a channel the band's gain goes to 0 first, and the crossover slot sets all four
  // of its sections from the menu entry.
  void ApplyMenuType(int slot, int type);
  // Only the crossover slot: its four sections become the family's, low- or high-pass after its current
  // type.
  void ApplyCrossoverFamily(int slot, int family);
  // Response and marker of one band; a channel's crossover first hands its frequency and Q, with gain 0, to
  // its further sections.
  void RecomputeBand(int slot);

  // Sum of every band below the band count whose type is not 0.
  ResponseArray TotalResponse() const;
  // What a selected band fills: its own response, or for a channel's crossover the sum of its sections.
  ResponseArray FillResponse(int slot) const;

 private:
  void ComputeOne(int slot);

  std::array<EqBand, kEqBandSlots> bands_{};
  int bandCount_ = kDefaultBandCount;
  int identity_ = 0;
  PlotArea plot_;
};

}  // namespace vireo::dsp
