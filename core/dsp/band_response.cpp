// Band response on the grid from the precomputed phi table; peak alignment; total curve.
#include "dsp/band_response.h"

#include <cmath>
#include <cstdint>

#include "dsp/biquad.h"
#include "dsp/fast_log.h"
#include "dsp/filter_type.h"

// On x86-64 the loader picks an AVX-512 or AVX2 build of the grid pass where the processor has it: eight or
// four points per instruction instead of two. The file is compiled without fused multiply-adds, so every
// build rounds alike and a response has the same bits on every processor.
// ThreadSanitizer cannot run the loader's choice: its resolver runs before the sanitizer is set up.
#if defined(__SANITIZE_THREAD__)
#define VIREO_NO_GRID_CLONES
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VIREO_NO_GRID_CLONES
#endif
#endif
#if defined(__x86_64__) && defined(__has_attribute) && !defined(VIREO_NO_GRID_CLONES)
#if __has_attribute(target_clones)
#define VIREO_GRID_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
#endif
#endif
#ifndef VIREO_GRID_CLONES
#define VIREO_GRID_CLONES
#endif

namespace vireo::dsp {
namespace {

// A separate function whose arguments cannot alias lets the compiler vectorise the sum.
void AddInto(ResponseArray& __restrict total, const ResponseArray& __restrict band) {
  for (std::size_t i = 0; i < total.size(); ++i) {
    total[i] += band[i];
  }
}

// 10 log10(N / D) at every grid point in one pass the compiler vectorises; the points where N or D is
// zero, negative or not a number (found without a branch) then get the library's answer: -infinity or
// not a number, as in MagnitudePolynomial::DbAtPhi.
VIREO_GRID_CLONES void GridDb(const MagnitudePolynomial& m, ResponseArray& response) {
  const GridTable& phi = GridPhis();
  std::uint64_t outside = 0;
  for (std::size_t i = 0; i < phi.size(); ++i) {
    const double p = phi[i];
    const double n = m.n0 + p * (m.n1 + p * m.n2);
    const double d = m.d0 + p * (m.d1 + p * m.d2);
    outside |= OutsideLnDomain(n) | OutsideLnDomain(d);
    response[i] = static_cast<float>(kTenOverLn10 * LnOfQuotient(n, d));
  }
  if (outside == 0) {
    return;
  }
  for (std::size_t i = 0; i < phi.size(); ++i) {
    const double n = m.n0 + phi[i] * (m.n1 + phi[i] * m.n2);
    const double d = m.d0 + phi[i] * (m.d1 + phi[i] * m.d2);
    if (OutsideLnDomain(n) != 0 || OutsideLnDomain(d) != 0) {
      response[i] = static_cast<float>(kTenOverLn10 * std::log(n / d));
    }
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
  GridDb(MakeMagnitudePolynomial(ComputeBiquad(type, gainDb, f0, q, kSampleRate)), response);
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
