// The damped least-squares refinement behind the band fit: bands' log frequency, gain and log Q moved
// together to bring their summed response closest to an error curve, within the machine's limits.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace vireo::measure::fit_detail {

// A band while it is being fitted; the machine's values are derived from it when the fit ends.
struct FreeBand {
  int type = 1;
  double lnHz = 0.0;
  double gainDb = 0.0;
  double lnQ = 0.0;
};

struct BandLimits {
  double lnHzMin = 0.0, lnHzMax = 0.0;
  double gainMin = 0.0, gainMax = 0.0;
  double lnQMin = 0.0, lnQMaxPeaking = 0.0, lnQMaxShelf = 0.0;
};

// Moves the band's parameters inside the limits.
void Clamp(FreeBand& band, const BandLimits& limits);

// The band's response in dB at the given values of phi = sin^2(pi f / fs), with the machine's biquad.
void BandDb(int type, double gainDb, double hz, double q, std::span<const double> phi, double* out);

// The points of the fit and the error the bands should make up there (target - measurement - fixed). The
// level is free: the bands make up the error's shape, and the preamp whatever constant is left. The bands
// together may not lift any point by more than `boostLimit` dB.
struct FitPoints {
  std::vector<double> phi;
  std::vector<double> error;
  double boostLimit = 6.0;
};

// Weight of the squared excess over the boost limit: stacked bands are pushed back under it firmly, and the
// last excess is taken off after quantisation.
inline constexpr double kBoostPenalty = 30.0;

// Sum of squares of error - sum of the bands' responses with its mean (the level) removed, plus the weighted
// squared excess over the limit.
double Cost(const std::vector<FreeBand>& bands, const FitPoints& points);

// Levenberg-Marquardt on the bands [from, bands.size()) (the others held), all three parameters of each, or
// the gains only. Steps are clamped to the limits; a step is kept only when it lowers the cost, so the
// result is never worse than the start. Returns the final cost.
double Refine(std::vector<FreeBand>& bands, std::size_t from, const FitPoints& points,
              const BandLimits& limits, int maxIterations, bool gainsOnly);

}  // namespace vireo::measure::fit_detail
