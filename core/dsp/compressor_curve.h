// Pixel geometry of the compressor's transfer-curve picture: input and output both run from -90 dB to
// +6 dB, the grid with its labels, and the points of the curve. The painter only draws what this computes.
#pragma once

#include <span>
#include <string_view>

#include "dsp/small_eq_preview.h"  // PixelPoint

namespace vireo::dsp {

// Room for the left labels, the top edge, the right edge and the bottom labels.
inline constexpr int kCompPlotLeft = 40;
inline constexpr int kCompPlotTop = 20;
inline constexpr int kCompPlotRightMargin = 20;
inline constexpr int kCompPlotBottomMargin = 25;
inline constexpr double kCompAxisLowDb = -90.0;
inline constexpr double kCompAxisHighDb = 6.0;
// Where the curve starts on the input axis: the page always draws it from the bottom of the scale.
inline constexpr float kCompCurveStartDb = -90.0f;

// The axes of a client area of `width` x `height` pixels.
struct CompCurveAxes {
  int width = 0;
  int height = 0;
  int PlotWidth() const;   // width - 60, never below 0
  int PlotHeight() const;  // height - 45, never below 0
  // Input level to client x, truncated to a whole pixel: -90 dB at x = 40, +6 dB at 40 + plot width.
  int X(double db) const;
  // Output level to client y: +6 dB at y = 20, -90 dB at 20 + plot height.
  int Y(double db) const;
  // The level at a client x or y (the inverse of X and Y before truncation).
  double DbAtX(double x) const;
  double DbAtY(double y) const;
};

// The static curve: from the lower end through the start point to the threshold at slope 1, then to the
// right edge at slope `slope` (1 / ratio), and the band between the lower end and the top of the curve.
struct CompCurve {
  PixelPoint low;        // the first segment's lower end, on the left edge
  PixelPoint start;      // the curve start
  PixelPoint threshold;  // where compression begins (the dot)
  PixelPoint end;        // the right edge
  int bandLeft = 0;
  int bandTop = 0;
  int bandWidth = 0;
  int bandHeight = 0;
};

// `startFactor` stretches the first segment below the start point.
CompCurve CompressorCurve(const CompCurveAxes& axes, float thresholdDb, float slope,
                          float startDb = kCompCurveStartDb, float startFactor = 1.0f);

// One grid level and its label.
struct CompGridLine {
  double db;
  std::string_view label;
};
// Horizontal lines (left labels), top to bottom.
std::span<const CompGridLine> CompOutputGrid();
// Vertical lines (bottom labels), left to right.
std::span<const CompGridLine> CompInputGrid();

}  // namespace vireo::dsp
