// The compressor picture's level-to-pixel map and the points of its curve.
#include <gtest/gtest.h>

#include "dsp/compressor_curve.h"

namespace vireo::dsp {
namespace {

// A client of 1020 x 1005 has a plot of 960 x 960: ten pixels per dB on both axes.
constexpr CompCurveAxes kTenPerDb{1020, 1005};

struct MapCase {
  double db;
  int x;
  int y;
};

TEST(CompressorCurveTest, LevelsMapToTruncatedPixelsAndBack) {
  const MapCase cases[] = {{-90, 40, 980}, {6, 1000, 20}, {0, 940, 80}, {-12.34, 816, 203}, {-0.05, 939, 80}};
  for (const MapCase& c : cases) {
    SCOPED_TRACE(c.db);
    EXPECT_EQ(kTenPerDb.X(c.db), c.x);
    EXPECT_EQ(kTenPerDb.Y(c.db), c.y);
  }
  EXPECT_NEAR(kTenPerDb.DbAtX(816.6), -12.34, 1e-9);
  EXPECT_NEAR(kTenPerDb.DbAtY(203.4), -12.34, 1e-9);
  const CompCurveAxes tiny{30, 30};  // smaller than the margins: an empty plot, not a negative one
  EXPECT_EQ(tiny.PlotWidth(), 0);
  EXPECT_EQ(tiny.X(-40), 40);
  EXPECT_EQ(tiny.DbAtY(25), 6.0);
}

TEST(CompressorCurveTest, NoCompressionIsOneDiagonal) {
  const CompCurve c = CompressorCurve(kTenPerDb, 0.0f, 1.0f);
  EXPECT_EQ(c.low, (PixelPoint{40, 980}));
  EXPECT_EQ(c.start, (PixelPoint{40, 980}));
  EXPECT_EQ(c.threshold, (PixelPoint{940, 80}));
  EXPECT_EQ(c.end, (PixelPoint{1000, 20}));  // (+6, +6)
  EXPECT_EQ((std::vector<int>{c.bandLeft, c.bandTop, c.bandWidth, c.bandHeight}),
            (std::vector<int>{40, 20, 960, 960}));
}

TEST(CompressorCurveTest, AboveTheThresholdTheOutputRisesByOneRatioth) {
  // -60 dB at 30:1: 66 dB of input above the threshold raise the output 2.2 dB.
  const CompCurve c = CompressorCurve(kTenPerDb, -60.0f, 1.0f / 30.0f);
  EXPECT_EQ(c.threshold, (PixelPoint{340, 680}));
  EXPECT_EQ(c.end, (PixelPoint{1000, 658}));
  EXPECT_EQ((std::vector<int>{c.bandTop, c.bandHeight}), (std::vector<int>{658, 322}));
  // A later start stretches the first segment down by the start offset factor.
  const CompCurve s = CompressorCurve(kTenPerDb, -20.0f, 0.5f, -50.0f, 0.5f);
  EXPECT_EQ(s.start, (PixelPoint{440, 580}));
  EXPECT_EQ(s.low, (PixelPoint{40, 780}));
  EXPECT_EQ(s.end, (PixelPoint{1000, 150}));
}

}  // namespace
}  // namespace vireo::dsp
