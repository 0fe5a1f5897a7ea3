// Response of one band on the frequency grid, and the total curve of an equaliser.
#pragma once

#include <cmath>
#include <optional>
#include <span>

#include "dsp/frequency_grid.h"

namespace vireo::dsp {

// The parameters of a band that shape its section.
struct BandShape {
  int type = 1;
  double gainDb = 0.0;
  double frequency = 100.0;
  double q = 1.0;
};

// The frequency a band holds on the machine: its record and its coefficients take the whole hertz below
// it, and every text of a band shows that number, so what is read is what was sent.
inline double WholeHertz(double frequency) {
  return std::isfinite(frequency) ? std::trunc(frequency) : 0.0;
}

// Grid index whose value a Peaking band replaces by its gain, so the drawn peak meets the marker:
// floor(floor(W p) / (W / 512)), p the band frequency's axis fraction, W the plot width in pixels.
// A frequency outside the axis is clamped to the first or last point; no index exists when the
// width is not positive or the frequency not a number.
std::optional<int> PeakingGridIndex(double f0, double plotWidth);

// Fills `response` with the band's magnitude in dB at every grid point (fs = 48000). A band of type 0
// is not evaluated: `response` keeps its contents and the result is false.
bool ComputeBandResponse(int type, double gainDb, double f0, double q, double plotWidth,
                         ResponseArray& response);
bool ComputeBandResponse(const BandShape& band, double plotWidth, ResponseArray& response);

// One band's contribution to a total curve.
struct BandCurve {
  int type = 0;
  const ResponseArray* response = nullptr;
};

// Point-by-point sum in dB of the bands whose type is not 0 (and whose response is given). The sum is
// not clamped; drawing clips it. With no contributing band the curve is 0 dB.
ResponseArray TotalCurve(std::span<const BandCurve> bands);

// The same over any band records exposing `type` and `response` members.
template <typename Band>
ResponseArray TotalCurveOf(std::span<const Band> bands) {
  ResponseArray total{};
  for (const Band& band : bands) {
    if (band.type == 0) {
      continue;
    }
    for (std::size_t i = 0; i < total.size(); ++i) {
      total[i] += band.response[i];
    }
  }
  return total;
}

}  // namespace vireo::dsp
