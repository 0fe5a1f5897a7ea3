// The delay graph's time-to-pixel map, its lanes, the hit test of a press and the time axis.
#include <gtest/gtest.h>

#include <array>

#include "dsp/delay_graph_geometry.h"

namespace vireo::dsp {
namespace {

// A client of 1156 x 600 has a plot 1060 pixels wide: ten pixels per millisecond; eight lanes of 71.875.
constexpr DelayGraphGeometry kTenPerMs{1156, 600, 8};
// 1104 pixels for 106 ms: 10.415... pixels per millisecond, where truncation and rounding differ.
constexpr DelayGraphGeometry kUneven{1200, 600, 8};

struct XCase {
  DelayGraphGeometry g;
  float ms;
  int x;
};

TEST(DelayGraphGeometryTest, DelaysMapToTruncatedPixels) {
  const XCase cases[] = {{kTenPerMs, 0.0f, 78},    {kTenPerMs, 1.5f, 93}, {kTenPerMs, 100.0f, 1078},
                         {kTenPerMs, 33.33f, 411}, {kUneven, 1.5f, 93},   {kUneven, 100.0f, 1119},
                         {kUneven, 50.0f, 598},    {kTenPerMs, -2.0f, 98}};  // the distance from 0, as |.|
  for (const XCase& c : cases) {
    SCOPED_TRACE(c.ms);
    EXPECT_EQ(c.g.XOfValue(c.ms), c.x);
  }
}

struct ValueCase {
  int x;
  float ms;
};

TEST(DelayGraphGeometryTest, PixelsMapBackInsideTheDelayRange) {
  const ValueCase cases[] = {{578, 50.0f},   {93, 1.5f},     {94, 1.6f},
                             {0, 1.5f},      {78, 1.5f},      // past the left end
                             {1138, 100.0f}, {2000, 100.0f},  // the plot's right edge (106 ms) and beyond
                             {1077, 99.9f}};
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_FLOAT_EQ(kTenPerMs.ValueAtX(c.x), c.ms);
  }
  EXPECT_FLOAT_EQ(kTenPerMs.ValueAtX(2000, 5.0f, 5.0f), 192.2f);  // equal limits hold nothing
}

TEST(DelayGraphGeometryTest, LanesSplitThePlotHeight) {
  EXPECT_FLOAT_EQ(kTenPerMs.LaneHeight(), 71.875f);
  const std::array<int, 4> lanes{0, 1, 2, 7};
  const std::array<int, 4> tops{5, 77, 149, 508};
  const std::array<int, 4> hitY{40, 112, 184, 543};
  for (std::size_t i = 0; i < lanes.size(); ++i) {
    SCOPED_TRACE(lanes[i]);
    EXPECT_EQ(kTenPerMs.LaneTop(lanes[i]), tops[i]);
    EXPECT_EQ(kTenPerMs.LaneHitY(lanes[i]), hitY[i]);
  }
  EXPECT_FLOAT_EQ(kTenPerMs.LabelCentreY(1), 40.9375f);
  EXPECT_FLOAT_EQ(kTenPerMs.LabelCentreY(8), 544.0625f);
  EXPECT_EQ(kTenPerMs.MarkerTop(0, 11, 12), 29);  // (71.875 - 23) / 2 + 5
}

TEST(DelayGraphGeometryTest, AClientSmallerThanTheMarginsHasAnEmptyPlot) {
  const DelayGraphGeometry tiny{50, 10, 8};
  EXPECT_EQ(tiny.PlotWidth(), 0);
  EXPECT_EQ(tiny.LaneHeight(), 0.0f);
  EXPECT_EQ(tiny.XOfValue(50.0f), 78);
  EXPECT_EQ(tiny.ValueAtX(500), 1.5f);
  EXPECT_EQ((DelayGraphGeometry{1156, 600, 0}).LaneHeight(), 0.0f);
}

struct HitCase {
  DelayGraphGeometry g;
  int x;
  int y;
  int lane;
};

TEST(DelayGraphGeometryTest, APressGrabsTheFirstMarkerWithinFourteenPixels) {
  // 11-pixel markers at 1.5 ms (centre x 98) in every lane.
  const std::array<int, 8> markers{93, 93, 93, 93, 93, 93, 93, 93};
  // Lanes 21.875 pixels high: presses at y 26 reach the first two lanes (y 15 and 37).
  constexpr DelayGraphGeometry kLow{1156, 200, 8};
  const HitCase cases[] = {{kTenPerMs, 112, 40, 0}, {kTenPerMs, 84, 40, 0},  {kTenPerMs, 113, 40, -1},
                           {kTenPerMs, 83, 40, -1}, {kTenPerMs, 98, 54, 0},  {kTenPerMs, 98, 55, -1},
                           {kTenPerMs, 98, 25, -1}, {kTenPerMs, 98, 112, 1}, {kLow, 98, 26, 0},
                           {kLow, 98, 36, 1}};
  for (const HitCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    EXPECT_EQ(HitDelayMarker(c.g, markers, 11, c.x, c.y), c.lane);
  }
  EXPECT_EQ(HitDelayMarker(kTenPerMs, std::span<const int>(markers).first(1), 11, 98, 112), -1);
}

TEST(DelayGraphGeometryTest, TheAxisIsLabelledEveryTwentyMillisecondsUpTo100) {
  const std::vector<DelayAxisTick> ticks = DelayAxisTicks(kTenPerMs);
  ASSERT_EQ(ticks.size(), 6u);
  const char* labels[] = {"0.0ms", "20.0ms", "40.0ms", "60.0ms", "80.0ms", "100.0ms"};
  for (std::size_t j = 0; j < ticks.size(); ++j) {
    SCOPED_TRACE(j);
    EXPECT_DOUBLE_EQ(ticks[j].x, 78.0 + 200.0 * static_cast<double>(j));
    EXPECT_EQ(ticks[j].label, labels[j]);
    EXPECT_EQ(ticks[j].line, j == 0 || j == 5);
  }
  // The 100 ms line stands left of the plot's right edge.
  EXPECT_LT(ticks[5].x, kTenPerMs.PlotRight());
  EXPECT_NEAR(DelayAxisTicks(kUneven)[5].x, 1119.509, 1e-3);
}

}  // namespace
}  // namespace vireo::dsp
