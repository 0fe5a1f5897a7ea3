#include "dsp/headroom.h"

#include <gtest/gtest.h>

#include <vector>

namespace vireo::dsp {
namespace {

BandShape Peak(double gain, double frequency) {
  return {1, gain, frequency, 1.41};
}

TEST(HeadroomTest, LargestBoostOfKnownCurves) {
  // A peaking band reaches its gain at its own frequency; the grid's points lie about 0.7% apart, which
  // costs far less than 0.05 dB of a 1.41-Q peak.
  const std::vector<BandShape> one{Peak(6, 1000)};
  Headroom h = LargestBoost(one);
  EXPECT_NEAR(h.boostDb, 6.0, 0.05);
  EXPECT_NEAR(h.frequency, 1000.0, 15.0);
  EXPECT_TRUE(h.atRisk());

  // Two peaks at the same frequency add in dB.
  const std::vector<BandShape> stacked{Peak(6, 1000), Peak(4, 1000)};
  EXPECT_NEAR(LargestBoost(stacked).boostDb, 10.0, 0.1);

  // A 200 Hz low-pass (Q 0.7, no resonance) takes the 1 kHz peak down by far more than it lifts.
  const std::vector<BandShape> filtered{Peak(6, 1000), {2, 0, 200, 0.7}};
  EXPECT_LT(LargestBoost(filtered).boostDb, 1.0);

  // Cuts, type-0 bands and no bands at all lift nothing.
  const std::vector<BandShape> cuts{Peak(-6, 1000), {0, 12, 1000, 1.41}};
  EXPECT_FALSE(LargestBoost(cuts).atRisk());
  EXPECT_FALSE(LargestBoost({}).atRisk());
}

}  // namespace
}  // namespace vireo::dsp
