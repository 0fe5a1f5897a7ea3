// The small preview on a 300 x 150 client: plot 296 x 146 at (2, 2), 0 dB on row 75. Expected pixels come
// from an independent Python evaluation of the cookbook formulas.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "dsp/small_eq_preview.h"

namespace vireo::dsp {
namespace {

const PreviewPlot kPlot = PreviewPlotForClient(300, 150);

TEST(SmallEqPreview, PlotAndPointsFollowTheClient) {
  EXPECT_EQ(kPlot.width, 296);
  EXPECT_EQ(kPlot.height, 146);
  EXPECT_EQ(kPlot.CentreY(), 75);
  struct Case {
    int u, x, hz;
  };
  for (const Case& c :
       {Case{0, 2, 10}, Case{1, 7, 11}, Case{28, 150, 501}, Case{33, 176, 996}, Case{55, 292, 21432}}) {
    EXPECT_EQ(PreviewPointX(kPlot, c.u), c.x) << c.u;
    EXPECT_EQ(PreviewPointFrequency(kPlot, c.u), c.hz) << c.u;
  }
  const PreviewPlot tiny = PreviewPlotForClient(3, 3);
  EXPECT_EQ(tiny.width, 0);
  EXPECT_EQ(tiny.height, 0);
  EXPECT_EQ(PreviewPointFrequency(tiny, 30), 10);
  EXPECT_EQ(tiny.GainOfY(0), 0.0);
}

TEST(SmallEqPreview, SectionsOfEachType) {
  // At 12 kHz cos w0 = 0 and sin w0 = 1; with Q 1, alpha = 1/2. Peaking gain 40 log10(2) dB makes A = 2.
  const double peakDb = 40.0 * std::log10(2.0);
  struct Case {
    int type;
    double gain, a1, a2, b0, b1, b2;
  };
  for (const Case& c :
       {Case{1, peakDb, 0, 0.6, 1.6, 0, 0}, Case{2, 9, 0, 1 / 3.0, 1 / 3.0, 2 / 3.0, 1 / 3.0},
        Case{3, 9, 0, 1 / 3.0, 1 / 3.0, -2 / 3.0, 1 / 3.0}, Case{6, 9, 0, 1 / 3.0, 1 / 3.0, 0, -1 / 3.0},
        Case{7, 9, 0, 1 / 3.0, 2 / 3.0, 0, 2 / 3.0}}) {
    SCOPED_TRACE(c.type);
    const std::optional<BiquadCoefficients> k = PreviewCoefficients(c.type, c.gain, 12000.0, 1.0);
    ASSERT_TRUE(k.has_value());
    EXPECT_NEAR(k->a1, c.a1, 1e-12);
    EXPECT_NEAR(k->a2, c.a2, 1e-12);
    EXPECT_NEAR(k->b0, c.b0, 1e-12);
    EXPECT_NEAR(k->b1, c.b1, 1e-12);
    EXPECT_NEAR(k->b2, c.b2, 1e-12);
  }
  for (int type : {0, 8, 21, 22, -1}) {
    EXPECT_FALSE(PreviewCoefficients(type, 3.0, 1000.0, 1.0).has_value()) << type;
  }
  EXPECT_EQ(PreviewCoefficients(6, 0.0, 1000.0, 0.0), BiquadCoefficients{});  // Q 0: unity, not infinities
}

TEST(SmallEqPreview, BandCurvesOnThePlot) {
  struct Case {
    int type;
    double gain, hz;
    int u, y;
  };
  for (const Case& c :
       {Case{1, 6, 1000, 0, 75}, Case{1, 6, 1000, 30, 63}, Case{1, 6, 1000, 33, 46}, Case{1, 6, 1000, 45, 74},
        Case{4, 6, 1000, 10, 46}, Case{4, 6, 1000, 33, 60}, Case{6, 0, 996, 33, 75}, Case{6, 0, 996, 20, 166},
        Case{7, 0, 996, 20, 75}, Case{7, 0, 996, 33, 562},  // the notch's zero, held 100 dB down
        Case{9, 6, 1000, 33, 75}}) {
    const double q = c.type == 4 ? 0.7 : 1.414;
    const PreviewCurve curve = PreviewBandCurve(kPlot, c.type, c.gain, c.hz, q);
    EXPECT_EQ(curve[static_cast<std::size_t>(c.u)], (PixelPoint{PreviewPointX(kPlot, c.u), c.y}))
        << c.type << " " << c.u;
  }
}

TEST(SmallEqPreview, TotalAddsLevelsRoundedToATenth) {
  // Each band is n pixels above (negative: below) 0 dB at point 7.
  struct Case {
    int clientHeight, n, totalOffset;
  };
  for (const Case& c : {Case{150, 3, -20},    // 3 px = 0.616 dB -> 0.6; 7 x 0.6 = 4.2 dB = 20.44 px, not 21
                        Case{124, 1, -8},     // 1 px = 0.25 dB -> 0.3 (halves up); 2.1 dB = 8.4 px
                        Case{124, -1, 6}}) {  // -0.25 dB -> -0.2 (truncation toward zero); -1.4 dB = 5.6 px
    const PreviewPlot plot = PreviewPlotForClient(300, c.clientHeight);
    std::array<PreviewBand, kPreviewBands> bands{};
    for (PreviewBand& b : bands) {
      b.points.fill({0, plot.CentreY()});
      b.points[7].y = plot.CentreY() - c.n;
    }
    const PreviewCurve total = PreviewTotalCurve(plot, bands);
    EXPECT_EQ(total[7], (PixelPoint{PreviewPointX(plot, 7), plot.CentreY() + c.totalOffset})) << c.n;
    EXPECT_EQ(total[8].y, plot.CentreY());
  }
}

TEST(SmallEqPreview, DefaultsAreSevenFlatPeakingBands) {
  SmallEqPreview p;
  p.SetClientSize(300, 150);
  const float hz[] = {31, 62, 125, 250, 500, 1000, 2000};
  for (int i = 0; i < kPreviewBands; ++i) {
    EXPECT_EQ(p.band(i).type, 1);
    EXPECT_EQ(p.band(i).frequency, hz[i]);
    EXPECT_EQ(p.band(i).gain, 0.0f);
    EXPECT_EQ(p.band(i).q, 1.414f);
  }
  for (const PixelPoint& point : p.total()) {
    EXPECT_EQ(point.y, 75);
  }
}

TEST(SmallEqPreview, SixDbAtOneKilohertzRaisesTheTotalThere) {
  SmallEqPreview p;
  p.SetClientSize(300, 150);
  EXPECT_TRUE(p.SetPreviewGain(5, 6.0));
  EXPECT_EQ(p.total()[33].y, 46);  // 996 Hz: 29 px up, 5.96 dB
  EXPECT_EQ(p.total()[30].y, 63);
  EXPECT_EQ(p.total()[0].y, 75);
  p.SetClientSize(600, 304);  // a resize lays the bands out again: twice the pixels per dB
  EXPECT_EQ(p.band(5).points[33].y, 152 - 60);
}

TEST(SmallEqPreview, SettersClampOrIgnore) {
  SmallEqPreview p;
  struct Case {
    double hz;
    bool taken;
    float stored;
  };
  for (const Case& c : {Case{0.0, false, 1000}, Case{5e-8, false, 1000}, Case{30000, true, 20000},
                        Case{10, true, 20}, Case{-5, true, 20}, Case{440, true, 440},
                        Case{std::numeric_limits<double>::quiet_NaN(), false, 1000}}) {
    p.band(5).frequency = 1000.0f;
    EXPECT_EQ(p.SetPreviewFrequency(5, c.hz), c.taken) << c.hz;
    EXPECT_EQ(p.band(5).frequency, c.stored) << c.hz;
  }
  EXPECT_TRUE(p.SetPreviewGain(2, 20.0));
  EXPECT_EQ(p.band(2).gain, 15.0f);
  EXPECT_TRUE(p.SetPreviewGain(2, -20.0));
  EXPECT_EQ(p.band(2).gain, -15.0f);
  EXPECT_FALSE(p.SetPreviewGain(7, 3.0));
  EXPECT_FALSE(p.SetPreviewFrequency(-1, 300.0));
}

TEST(SmallEqPreview, GridLines) {
  const std::vector<PreviewLevelLine> levels = PreviewLevelLines(kPlot);
  ASSERT_EQ(levels.size(), 42u);
  EXPECT_EQ(levels[0].y, 148);  // -15 dB, faint lines first, one per dB
  EXPECT_EQ(levels[16].y, 70);  // +1 dB
  EXPECT_EQ(levels[30].y, 2);
  EXPECT_EQ(levels[31].y, 148);
  EXPECT_EQ(levels[31].weight, PreviewLineWeight::edge);
  EXPECT_EQ(levels[35].y, 90);  // -3 dB
  EXPECT_EQ(levels[35].weight, PreviewLineWeight::major);
  EXPECT_EQ(levels[41].weight, PreviewLineWeight::edge);
  const std::vector<int> hz = PreviewFrequencyLines(kPlot);
  ASSERT_EQ(hz.size(), 29u);
  EXPECT_EQ(hz[0], 2);     // 10 Hz
  EXPECT_EQ(hz[1], 28);    // 20 Hz
  EXPECT_EQ(hz[9], 89);    // 100 Hz
  EXPECT_EQ(hz[18], 176);  // 1 kHz
  EXPECT_EQ(hz[27], 263);  // 10 kHz
  EXPECT_EQ(hz[28], 289);  // 20 kHz
}

}  // namespace
}  // namespace vireo::dsp
