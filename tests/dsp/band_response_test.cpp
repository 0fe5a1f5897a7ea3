// The frequency grid, band responses on it, the peak alignment index and the total curve.
#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "dsp/band_response.h"
#include "dsp/biquad.h"

namespace vireo::dsp {
namespace {

ResponseArray Filled(float value) {
  ResponseArray a;
  a.fill(value);
  return a;
}

TEST(FrequencyGrid, RunsFromEighteenHertzToOneStepShortOfTheRightEdge) {
  EXPECT_EQ(GridFrequency(0), 18.0);
  EXPECT_NEAR(GridFrequency(256), 643.4283176858164, 1e-9);  // geometric mean of 18 and 23000
  EXPECT_NEAR(GridFrequency(511), 22680.91340412416, 1e-8);
  EXPECT_NEAR(GridFrequency(512), 23000.0, 1e-8);  // the edge itself is not a grid point
  const GridTable& f = GridFrequencies();
  const GridTable& phi = GridPhis();
  for (int i = 0; i < kGridPoints; ++i) {
    const auto u = static_cast<std::size_t>(i);
    EXPECT_EQ(f[u], GridFrequency(i));
    const double s = std::sin(3.141592653589793 * f[u] / 48000.0);
    EXPECT_DOUBLE_EQ(phi[u], s * s);
    if (i > 0) {
      EXPECT_GT(f[u], f[u - 1]);
      EXPECT_NEAR(f[u] / f[u - 1], f[1] / f[0], 1e-12);  // evenly spaced on the log axis
    }
  }
}

TEST(ComputeBandResponse, TypeZeroLeavesTheArrayAlone) {
  ResponseArray r = Filled(7.5f);
  EXPECT_FALSE(ComputeBandResponse(0, 6.0, 1000.0, 1.41, 1024.0, r));
  EXPECT_EQ(r, Filled(7.5f));
}

TEST(ComputeBandResponse, EvaluatesTheSectionAtEveryGridPoint) {
  for (int type : {2, 4, 6, 11, 19}) {
    SCOPED_TRACE(type);
    ResponseArray r = Filled(99.0f);
    ASSERT_TRUE(ComputeBandResponse(type, 3.0, 700.0, 0.8, 1024.0, r));
    const BiquadCoefficients c = ComputeBiquad(type, 3.0, 700.0, 0.8);
    for (int i = 0; i < kGridPoints; ++i) {
      EXPECT_NEAR(r[static_cast<std::size_t>(i)], MagnitudeDb(c, GridFrequency(i)), 1e-5) << i;
    }
  }
}

// The grid pass takes its logarithms its own way; every value must still be the scalar formula's float, or
// one float step from it where the double sits on a rounding boundary (or within 1e-12 dB of zero, where
// the scalar quotient's own rounding is all that differs). Gains of -3000 and -7000 dB drive N below the
// normal range and to zero, down the library's path.
TEST(ComputeBandResponse, MatchesTheScalarFormulaToFloatRounding) {
  struct Case {
    int type;
    double gain, f0, q;
  };
  const GridTable& phi = GridPhis();
  std::vector<Case> cases = {{2, -3000, 1000, 0.7}, {2, -7000, 1000, 0.7}, {1, 0.001, 1000, 1.41}};
  for (int type = 1; type <= 21; ++type) {
    for (double f0 : {20.0, 137.0, 1000.0, 9000.0, 20000.0}) {
      cases.push_back({type, -12.5, f0, 0.3});
      cases.push_back({type, 7.0, f0, 12.0});
    }
  }
  for (const Case& c : cases) {
    ResponseArray r{};
    ASSERT_TRUE(ComputeBandResponse(c.type, c.gain, c.f0, c.q, 1024.0, r));
    const MagnitudePolynomial m = MakeMagnitudePolynomial(ComputeBiquad(c.type, c.gain, c.f0, c.q));
    const int peak = c.type == 1 ? PeakingGridIndex(c.f0, 1024.0).value_or(-1) : -1;
    for (std::size_t i = 0; i < r.size(); ++i) {
      if (static_cast<int>(i) == peak) continue;
      const float scalar = static_cast<float>(m.DbAtPhi(phi[i]));
      if (r[i] == scalar || (std::isnan(r[i]) && std::isnan(scalar))) continue;
      const bool oneStep = std::nextafter(scalar, r[i]) == r[i];
      EXPECT_TRUE(oneStep || std::fabs(r[i] - scalar) < 1e-12f)
          << c.type << " " << c.gain << " " << c.f0 << " @" << i << ": " << r[i] << " vs " << scalar;
    }
  }
}

TEST(ComputeBandResponse, OutOfRangeCodesAreComputedFlat) {
  ResponseArray r = Filled(5.0f);
  EXPECT_TRUE(ComputeBandResponse(22, 6.0, 1000.0, 1.0, 1024.0, r));
  for (float v : r) {
    EXPECT_NEAR(v, 0.0f, 1e-6f);
  }
}

TEST(ComputeBandResponse, PeakingValueAtItsOwnIndexIsTheGain) {
  ResponseArray r{};
  ASSERT_TRUE(ComputeBandResponse(1, 4.5, 1234.5, 6.0, 1024.0, r));
  ASSERT_EQ(PeakingGridIndex(1234.5, 1024.0), 302);
  EXPECT_EQ(r[302], 4.5f);
  const BiquadCoefficients c = ComputeBiquad(1, 4.5, 1234.5, 6.0);
  EXPECT_NEAR(r[301], MagnitudeDb(c, GridFrequency(301)), 1e-5);
  EXPECT_NEAR(r[303], MagnitudeDb(c, GridFrequency(303)), 1e-5);
  EXPECT_LT(r[301], 4.5f);  // without the replacement the grid point misses the peak
}

TEST(ComputeBandResponse, PeakingWithoutGainIsZeroAndExactlyZeroAtItsIndex) {
  ResponseArray r = Filled(1.0f);
  ASSERT_TRUE(ComputeBandResponse(1, 0.0, 1000.0, 1.41, 1024.0, r));
  for (float v : r) {
    EXPECT_NEAR(v, 0.0f, 1e-6f);
  }
  EXPECT_EQ(r[287], 0.0f);
}

TEST(ComputeBandResponse, OnlyPeakingReplacesAValue) {
  ResponseArray r{};
  ASSERT_TRUE(ComputeBandResponse(4, 9.0, 1000.0, 0.7, 1024.0, r));
  EXPECT_NEAR(r[287], MagnitudeDb(ComputeBiquad(4, 9.0, 1000.0, 0.7), GridFrequency(287)), 1e-5);
  EXPECT_NE(r[287], 9.0f);
}

TEST(ComputeBandResponse, ShapeOverloadMatches) {
  ResponseArray a{}, b{};
  ComputeBandResponse(1, -3.0, 90.0, 2.0, 777.0, a);
  ComputeBandResponse(BandShape{1, -3.0, 90.0, 2.0}, 777.0, b);
  EXPECT_EQ(a, b);
}

TEST(PeakingGridIndex, FollowsTheMarkersPixelColumn) {
  // Expected indices from Python: floor(floor(W p) / (W / 512)), p = log10(f/18) / log10(23000/18).
  EXPECT_EQ(PeakingGridIndex(18.0, 1024.0), 0);
  EXPECT_EQ(PeakingGridIndex(20.0, 1024.0), 7);
  EXPECT_EQ(PeakingGridIndex(100.0, 1024.0), 122);
  EXPECT_EQ(PeakingGridIndex(1000.0, 1024.0), 287);
  EXPECT_EQ(PeakingGridIndex(20000.0, 1024.0), 501);
  // A narrow plot's coarse pixel column pulls the index below floor(512 p) (287 and 7 here).
  EXPECT_EQ(PeakingGridIndex(1000.0, 300.0), 286);
  EXPECT_EQ(PeakingGridIndex(20.0, 300.0), 6);
  EXPECT_EQ(PeakingGridIndex(27.0, 700.0), 28);
}

TEST(PeakingGridIndex, StaysInsideTheArray) {
  EXPECT_EQ(PeakingGridIndex(30000.0, 1024.0), 511);  // unclamped 531
  EXPECT_EQ(PeakingGridIndex(23000.0, 1024.0), 511);  // unclamped 512
  EXPECT_EQ(PeakingGridIndex(10.0, 1024.0), 0);       // unclamped -43
  EXPECT_EQ(PeakingGridIndex(0.0, 1024.0), 0);
  EXPECT_EQ(PeakingGridIndex(std::numeric_limits<double>::infinity(), 1024.0), 511);
  EXPECT_FALSE(PeakingGridIndex(-5.0, 1024.0).has_value());
  EXPECT_FALSE(PeakingGridIndex(std::numeric_limits<double>::quiet_NaN(), 1024.0).has_value());
  EXPECT_FALSE(PeakingGridIndex(1000.0, 0.0).has_value());
  EXPECT_FALSE(PeakingGridIndex(1000.0, -10.0).has_value());

  ResponseArray r{};
  ASSERT_TRUE(ComputeBandResponse(1, 5.0, 30000.0, 1.0, 1024.0, r));
  EXPECT_EQ(r[511], 5.0f);
  ASSERT_TRUE(ComputeBandResponse(1, -5.0, 10.0, 1.0, 1024.0, r));
  EXPECT_EQ(r[0], -5.0f);
}

TEST(TotalCurve, SumsTheBandsThatHaveAType) {
  const ResponseArray three = Filled(3.0f), four = Filled(4.0f), stale = Filled(100.0f);
  const BandCurve bands[] = {{1, &three}, {0, &stale}, {2, &four}, {5, nullptr}};
  const ResponseArray total = TotalCurve(bands);
  for (float v : total) {
    EXPECT_EQ(v, 7.0f);
  }
  EXPECT_EQ(TotalCurve({}), Filled(0.0f));
}

TEST(TotalCurve, IsNotClamped) {
  ResponseArray peak{};
  ComputeBandResponse(1, 12.0, 1000.0, 1.0, 1024.0, peak);
  const std::vector<BandCurve> bands(3, BandCurve{1, &peak});
  EXPECT_FLOAT_EQ(TotalCurve(bands)[287], 36.0f);
  EXPECT_FLOAT_EQ(TotalCurve(bands)[100], 3.0f * peak[100]);
}

TEST(TotalCurve, WorksOverBandRecords) {
  struct Band {
    int type;
    ResponseArray response;
  };
  std::vector<Band> bands = {{1, Filled(1.5f)}, {0, Filled(-40.0f)}, {-1, Filled(0.25f)}};
  const ResponseArray total = TotalCurveOf(std::span<const Band>(bands));
  for (float v : total) {
    EXPECT_EQ(v, 1.75f);
  }
}

}  // namespace
}  // namespace vireo::dsp
