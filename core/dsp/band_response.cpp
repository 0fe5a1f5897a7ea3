// Band response on the grid from the precomputed phi table; peak alignment; total curve.
#include "dsp/band_response.h"

#include <cmath>

#include "dsp/biquad.h"
#include "dsp/filter_type.h"

namespace vireo::dsp {
namespace {

// A separate function whose arguments cannot alias lets the compiler vectorise the sum.
void AddInto(ResponseArray& __restrict total, const ResponseArray& __restrict band) {
  for (std::size_t i = 0; i < total.size(); ++i) {
    total[i] += band[i];
  }
}

}  // namespace

std::optional<int> PeakingGridIndex(double f0, double plotWidth) {
  if (!(plotWidth > 0.0) || !std::isfinite(plotWidth)) {
    return std::nullopt;
  }
  const double markerColumn = std::floor(plotWidth * AxisFraction(f0));
  const double k = std::floor(markerColumn / (plotWidth / kGridPoints));
  if (std::isnan(k)) {
    return std::nullopt;
  }
  // The band limits keep a frequency inside the axis in normal use, but a band read from a file or
  // the machine may lie outside it; such a band must not write beyond the array.
  if (k < 0.0) {
    return 0;
  }
  if (k > kGridPoints - 1) {
    return kGridPoints - 1;
  }
  return static_cast<int>(k);
}

bool ComputeBandResponse(int type, double gainDb, double f0, double q, double plotWidth,
                         ResponseArray& response) {
  if (type == ToCode(FilterType::AllPass)) {
    return false;
  }
  const MagnitudePolynomial m = MakeMagnitudePolynomial(ComputeBiquad(type, gainDb, f0, q, kSampleRate));
  const GridTable& phi = GridPhis();
  for (std::size_t i = 0; i < response.size(); ++i) {
    response[i] = static_cast<float>(m.DbAtPhi(phi[i]));
  }
  if (type == ToCode(FilterType::Peaking)) {
    if (const std::optional<int> k = PeakingGridIndex(f0, plotWidth)) {
      response[static_cast<std::size_t>(*k)] = static_cast<float>(gainDb);
    }
  }
  return true;
}

bool ComputeBandResponse(const BandShape& band, double plotWidth, ResponseArray& response) {
  return ComputeBandResponse(band.type, band.gainDb, band.frequency, band.q, plotWidth, response);
}

ResponseArray TotalCurve(std::span<const BandCurve> bands) {
  ResponseArray total{};
  for (const BandCurve& band : bands) {
    if (band.type == 0 || band.response == nullptr) {
      continue;
    }
    AddInto(total, *band.response);
  }
  return total;
}

}  // namespace vireo::dsp
