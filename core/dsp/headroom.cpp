#include "dsp/headroom.h"

#include "dsp/frequency_grid.h"

namespace vireo::dsp {

Headroom LargestBoost(std::span<const BandShape> bands) {
  ResponseArray total{};
  ResponseArray one{};
  for (const BandShape& band : bands) {
    if (!ComputeBandResponse(band, 0.0, one)) continue;
    for (std::size_t i = 0; i < total.size(); ++i) total[i] += one[i];
  }
  Headroom result{static_cast<double>(total[0]), GridFrequency(0)};
  for (int i = 1; i < kGridPoints; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (total[at] > result.boostDb) result = {static_cast<double>(total[at]), GridFrequency(i)};
  }
  return result;
}

}  // namespace vireo::dsp
