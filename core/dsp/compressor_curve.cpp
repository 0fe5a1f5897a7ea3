// The compressor picture's axes, curve and grid.
#include "dsp/compressor_curve.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace vireo::dsp {
namespace {

constexpr double kSpanDb = kCompAxisHighDb - kCompAxisLowDb;

constexpr std::array<CompGridLine, 11> kOutputGrid{{{6, "+6dB"},
                                                    {0, "0dB"},
                                                    {-10, "-10dB"},
                                                    {-20, "-20dB"},
                                                    {-30, "-30dB"},
                                                    {-40, "-40dB"},
                                                    {-50, "-50dB"},
                                                    {-60, "-60dB"},
                                                    {-70, "-70dB"},
                                                    {-80, "-80dB"},
                                                    {-90, "-90dB"}}};
constexpr std::array<CompGridLine, 6> kInputGrid{
    {{-90, "-90dB"}, {-70, "-70dB"}, {-50, "-50dB"}, {-30, "-30dB"}, {-10, "-10dB"}, {6, "6dB"}}};

// Whole pixels, truncated toward zero; a level far outside the axes still gives a finite pixel.
int Trunc(double v) {
  return static_cast<int>(std::clamp(std::trunc(v), -1.0e6, 1.0e6));
}

}  // namespace

int CompCurveAxes::PlotWidth() const {
  return std::max(width - kCompPlotLeft - kCompPlotRightMargin, 0);
}

int CompCurveAxes::PlotHeight() const {
  return std::max(height - kCompPlotTop - kCompPlotBottomMargin, 0);
}

int CompCurveAxes::X(double db) const {
  return Trunc((db - kCompAxisLowDb) * PlotWidth() / kSpanDb) + kCompPlotLeft;
}

int CompCurveAxes::Y(double db) const {
  return Trunc(std::abs(db - kCompAxisHighDb) * PlotHeight() / kSpanDb) + kCompPlotTop;
}

double CompCurveAxes::DbAtX(double x) const {
  if (PlotWidth() == 0) return kCompAxisLowDb;
  return (x - kCompPlotLeft) * kSpanDb / PlotWidth() + kCompAxisLowDb;
}

double CompCurveAxes::DbAtY(double y) const {
  if (PlotHeight() == 0) return kCompAxisHighDb;
  return kCompAxisHighDb - (y - kCompPlotTop) * kSpanDb / PlotHeight();
}

CompCurve CompressorCurve(const CompCurveAxes& axes, float thresholdDb, float slope, float startDb,
                          float startFactor) {
  const double perDb = axes.PlotHeight() / kSpanDb;
  const int below = Trunc(std::abs(kCompAxisLowDb - startDb) * perDb * startFactor);
  const int rise = Trunc(std::abs(kCompAxisHighDb - thresholdDb) * perDb * slope);
  CompCurve c;
  c.start = {axes.X(startDb), axes.Y(startDb)};
  c.low = {kCompPlotLeft, c.start.y + below};
  c.threshold = {axes.X(thresholdDb), axes.Y(thresholdDb)};
  c.end = {axes.PlotWidth() + kCompPlotLeft, c.threshold.y - rise};
  c.bandLeft = kCompPlotLeft;
  c.bandWidth = axes.PlotWidth();
  c.bandTop = std::min(c.end.y, c.low.y);
  c.bandHeight = std::abs(c.end.y - c.low.y);
  return c;
}

std::span<const CompGridLine> CompOutputGrid() {
  return kOutputGrid;
}

std::span<const CompGridLine> CompInputGrid() {
  return kInputGrid;
}

}  // namespace vireo::dsp
