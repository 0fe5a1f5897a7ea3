// EQ graph geometry on a 1042 x 338 client: plot 1000 x 300 px at (36, 18), 10 px per dB.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "dsp/eq_graph_geometry.h"

namespace vireo::dsp {
namespace {

const PlotArea kPlot = PlotAreaForClient(1042, 338);

TEST(EqGraphGeometry, PlotKeepsItsMarginsAndNeverTurnsNegative) {
  EXPECT_EQ(kPlot.left, 36);
  EXPECT_EQ(kPlot.top, 18);
  EXPECT_EQ(kPlot.width(), 1000);
  EXPECT_EQ(kPlot.height(), 300);
  const PlotArea tiny = PlotAreaForClient(20, 10);
  EXPECT_EQ(tiny.width(), 0);
  EXPECT_EQ(tiny.height(), 0);
}

TEST(EqGraphGeometry, AxesMapBothWaysBetweenTheirLimits) {
  struct Case {
    double hz, db, x, y;
  };
  for (const Case& c : {Case{18, 15, 0, 0}, Case{23000, -15, 1000, 300}, Case{1000, 0, 561.6457695, 150},
                        Case{100, -6, 239.7354591, 210}}) {
    SCOPED_TRACE(c.hz);
    const PointF m = MarkerOffset(kPlot, c.hz, c.db);
    EXPECT_NEAR(m.x, c.x, 1e-6);
    EXPECT_NEAR(m.y, c.y, 1e-9);
    EXPECT_NEAR(FrequencyAtOffset(c.x, 1000), c.hz, c.hz * 1e-9);
    EXPECT_NEAR(GainAtOffset(c.y, 300), c.db, 1e-12);
  }
}

TEST(EqGraphGeometry, LevelLinesEveryThreeDbWithSignedLabels) {
  const std::vector<GridLine> lines = LevelGridLines(kPlot);
  ASSERT_EQ(lines.size(), 11u);
  const char* labels[] = {"+15dB", "+12dB", "+9dB", "+6dB",  "+3dB", "-0dB",
                          "-3dB",  "-6dB",  "-9dB", "-12dB", "-15dB"};
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].pos, 18 + 30.0 * static_cast<double>(i));
    EXPECT_EQ(lines[i].label, labels[i]);
  }
}

TEST(EqGraphGeometry, FrequencyLinesSitOnWholePixels) {
  const std::vector<GridLine> lines = FrequencyGridLines(kPlot);
  ASSERT_EQ(lines.size(), 30u);
  struct Case {
    std::size_t index;
    double x;
    const char* label;
  };
  for (const Case& c : {Case{0, 36, ""}, Case{1, 50, "20Hz"}, Case{9, 275, "100Hz"}, Case{18, 597, "1kHz"},
                        Case{27, 919, "10kHz"}, Case{28, 1016, "20kHz"}, Case{29, 1036, ""}}) {
    EXPECT_EQ(lines[c.index].pos, c.x) << c.index;
    EXPECT_EQ(lines[c.index].label, c.label) << c.index;
  }
  int labelled = 0;
  for (const GridLine& line : lines) labelled += line.label.empty() ? 0 : 1;
  EXPECT_EQ(labelled, 10);
}

TEST(EqGraphGeometry, NumberFormats) {
  EXPECT_EQ(FormatHz(1000.4), "1000Hz");
  EXPECT_EQ(FormatHz(2124.6), "2124Hz");  // the whole hertz the record carries
  EXPECT_EQ(FormatDb(15.0), "+15.0dB");
  EXPECT_EQ(FormatDb(-0.04), "-0.0dB");
  EXPECT_EQ(FormatQ(1.414), "1.41");
}

TEST(EqGraphGeometry, GainToneBoundaries) {
  struct Case {
    double gain;
    GainTone tone;
  };
  for (const Case& c :
       {Case{6.0, GainTone::calm}, Case{-6.0, GainTone::calm}, Case{6.05, GainTone::raised},
        Case{-10.05, GainTone::raised}, Case{10.1, GainTone::extreme}, Case{-15, GainTone::extreme}}) {
    EXPECT_EQ(ToneOfGain(c.gain), c.tone) << c.gain;
  }
}

TEST(EqGraphGeometry, CurveValuesStayFinite) {
  EXPECT_EQ(CurveY(kPlot, 3.0), 138);
  EXPECT_EQ(CurveY(kPlot, -std::numeric_limits<double>::infinity()), 18 + 115 * 10);
  EXPECT_EQ(CurveY(kPlot, std::numeric_limits<double>::infinity()), 18 - 85 * 10);
  EXPECT_EQ(CurveY(kPlot, std::nan("")), 168);
}

TEST(EqGraphGeometry, TotalCurveAndFillOutlinePoints) {
  ResponseArray values;
  values.fill(3.0f);
  const std::vector<PointF> total = TotalCurvePoints(kPlot, values);
  ASSERT_EQ(total.size(), 512u);
  EXPECT_EQ(total[0], (PointF{36, 138}));
  EXPECT_EQ(total[511], (PointF{36 + 511 * 1000.0 / 512, 138}));

  const std::vector<PointF> open = BandFillOutline(kPlot, values, false);
  ASSERT_EQ(open.size(), 514u);
  EXPECT_EQ(open[0], (PointF{36, 168}));
  EXPECT_EQ(open[1], (PointF{36 + 1000.0 / 512, 138}));
  EXPECT_EQ(open[512], (PointF{1036, 138}));
  EXPECT_EQ(open[513], (PointF{1036, 168}));

  const std::vector<PointF> below = BandFillOutline(kPlot, values, true);
  EXPECT_EQ(below[0], (PointF{36 + 1000.0 / 512, 338}));
  EXPECT_EQ(below[513], (PointF{1036, 338}));
}

TEST(EqGraphGeometry, CardinalSplineControlPoints) {
  const std::vector<PointF> points = {{0, 0}, {3, 0}, {6, 3}};
  const std::vector<PointF> curve = CardinalBezier(points, 0.5);
  const std::vector<PointF> expected = {{0, 0}, {0.5, 0}, {2, -0.5}, {3, 0}, {4, 0.5}, {5.5, 2.5}, {6, 3}};
  ASSERT_EQ(curve.size(), expected.size());
  for (std::size_t i = 0; i < curve.size(); ++i) {
    EXPECT_NEAR(curve[i].x, expected[i].x, 1e-12) << i;
    EXPECT_NEAR(curve[i].y, expected[i].y, 1e-12) << i;
  }
  // Tension 0 draws straight segments: control points on the end points.
  const std::vector<PointF> straight = CardinalBezier(points, 0.0);
  EXPECT_EQ(straight[1], points[0]);
  EXPECT_EQ(straight[2], points[1]);
}

TEST(EqGraphGeometry, ReadoutBelowTheMarkerUnlessTheGainIsNegative) {
  const std::array<int, 3> lengths = {6, 6, 4};  // "1000Hz", "+2.0dB", "1.41"
  const PlotArea wide{0, 0, 800, 300};
  const auto below = ReadoutLayout({100.4, 50.6}, 3, 2.0, lengths, wide);
  EXPECT_EQ(below[0].labelX, 73);
  EXPECT_EQ(below[0].valueX, 85);
  EXPECT_EQ(below[2].labelX, 79);
  EXPECT_EQ(below[2].valueX, 91);
  EXPECT_EQ(below[0].y, 65);
  EXPECT_EQ(below[1].y, 74);
  EXPECT_EQ(below[2].y, 83);
  EXPECT_EQ(ReadoutLayout({100.4, 50.6}, 3, -0.01, lengths, wide)[0].y, 65);
  const auto above = ReadoutLayout({100.4, 50.6}, 10, -0.02, lengths, wide);
  EXPECT_EQ(above[0].labelX, 70);  // a two-digit band number shifts the readout 3 px further left
  EXPECT_EQ(above[0].y, 5);
  EXPECT_EQ(above[2].y, 23);
}

TEST(EqGraphGeometry, ReadoutStaysInsideThePlotAtItsEdges) {
  const std::array<int, 3> lengths = {4, 6, 4};  // "20Hz", "+2.0dB", "1.41": rows 36, 48 and 36 px wide
  const PlotArea plot{40, 10, 600, 300};
  // At 20 Hz the rows would start at 40 - 4 - 24 + 1 = 13: all move right until the widest starts at 40.
  const auto left = ReadoutLayout({40.0, 100.0}, 1, 2.0, lengths, plot);
  EXPECT_EQ(left[1].labelX, 40);
  EXPECT_EQ(left[0].labelX, 46);
  EXPECT_EQ(left[1].valueX, 52);
  // At the right edge the widest row ends exactly at 600.
  const auto right = ReadoutLayout({598.0, 100.0}, 1, 2.0, lengths, plot);
  EXPECT_EQ(right[1].valueX + 6 * 6, 600);
  // Inside, nothing moves.
  EXPECT_EQ(ReadoutLayout({300.0, 100.0}, 1, 2.0, lengths, plot)[1].labelX, 300 - 4 - 24 + 1);
}

}  // namespace
}  // namespace vireo::dsp
