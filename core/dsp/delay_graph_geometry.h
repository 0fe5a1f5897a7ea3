// Pixel geometry of the delay graph: one lane per output channel, a time axis from 0 to 106 ms, the
// markers' positions and the hit test of a press. The painter and the mouse handling only use what this
// computes.
#pragma once

#include <span>
#include <string>
#include <vector>

namespace vireo::dsp {

// Room for the lane labels (left), the top edge, the right edge and the axis labels (bottom).
inline constexpr int kDelayPlotLeft = 78;
inline constexpr int kDelayPlotTop = 5;
inline constexpr int kDelayPlotRightMargin = 18;
inline constexpr int kDelayPlotBottomMargin = 20;
// The axis runs a little past the largest delay, so the last label and its marker keep clear of the edge.
inline constexpr float kDelayAxisMinMs = 0.0f;
inline constexpr float kDelayAxisMaxMs = 106.0f;
inline constexpr float kDelayItemMinMs = 1.5f;
inline constexpr float kDelayItemMaxMs = 100.0f;
// A press this close to a marker, across and along its lane, grabs it (strictly closer).
inline constexpr int kDelayHitReach = 15;

// The graph of a client area of `width` x `height` pixels with `lanes` lanes.
struct DelayGraphGeometry {
  int width = 0;
  int height = 0;
  int lanes = 0;

  int PlotLeft() const { return kDelayPlotLeft; }
  int PlotTop() const { return kDelayPlotTop; }
  int PlotRight() const;   // width - 18, never left of the plot's left edge
  int PlotBottom() const;  // height - 20, never above the plot's top edge
  int PlotWidth() const { return PlotRight() - PlotLeft(); }
  // (plot bottom - plot top) / lanes, unrounded; 0 without lanes.
  float LaneHeight() const;
  // Client y of lane i's top edge: trunc((height - 25) / lanes * i + 5 + 0.5).
  int LaneTop(int lane) const;
  // Client y at which a press meets lane i: trunc(lane height / 2 + lane top).
  int LaneHitY(int lane) const;
  // Client y of the centre of lane label k (1..lanes): plot top + k H - H / 2.
  float LabelCentreY(int label) const;
  // Pixels per millisecond, as a float: plot width / 106.
  float PixelsPerMs() const;
  // Marker x of a delay: the product with PixelsPerMs truncated, from the plot's left edge.
  int XOfValue(float ms) const;
  // The delay at marker x, held inside minimum..maximum (not held when the two are equal).
  float ValueAtX(int x, float minimum = kDelayItemMinMs, float maximum = kDelayItemMaxMs) const;
  // Client y of a marker of height `markerHeight` in lane i, above a line of text `textHeight` high.
  int MarkerTop(int lane, int markerHeight, int textHeight) const;
};

// The first lane (in lane order) whose marker, `markerWidth` wide and at `markerX[lane]`, is within reach
// of a press at (x, y); -1 when none is.
int HitDelayMarker(const DelayGraphGeometry& g, std::span<const int> markerX, int markerWidth, int x, int y);

// One label of the time axis: its centre x, its text ("%.1fms") and whether a vertical line marks it.
struct DelayAxisTick {
  double x = 0.0;
  std::string label;
  bool line = false;
};
// Every 20 ms from 0.0ms to 100.0ms; lines only at the first and the last.
std::vector<DelayAxisTick> DelayAxisTicks(const DelayGraphGeometry& g);

// "%.1fms".
std::string DelayMsText(float ms);

}  // namespace vireo::dsp
