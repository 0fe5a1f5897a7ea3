// The largest lift of a chain of equaliser bands above 0 dB on the frequency grid, and where it is.
#pragma once

#include <span>

#include "dsp/band_response.h"

namespace vireo::dsp {

struct Headroom {
  double boostDb = 0.0;    // the largest gain of the summed curve on the frequency grid
  double frequency = 0.0;  // the grid frequency where it is reached (the lowest one on a tie)
  bool atRisk() const { return boostDb > 0.05; }  // what "+0.0 dB" would print is no warning
};

// The largest value of the sum of the bands' responses on the grid (types 0 left out), each evaluated as
// the filter itself (no snap of a drawn peak to its marker). With no band, or none lifting anything,
// 0 dB at the grid's first frequency or less.
Headroom LargestBoost(std::span<const BandShape> bands);

}  // namespace vireo::dsp
