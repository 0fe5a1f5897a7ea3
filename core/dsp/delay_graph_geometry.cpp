// The delay graph's geometry.
#include "dsp/delay_graph_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vireo::dsp {

int DelayGraphGeometry::PlotRight() const {
  return std::max(width - kDelayPlotRightMargin, kDelayPlotLeft);
}

int DelayGraphGeometry::PlotBottom() const {
  return std::max(height - kDelayPlotBottomMargin, kDelayPlotTop);
}

float DelayGraphGeometry::LaneHeight() const {
  if (lanes <= 0) return 0.0f;
  return static_cast<float>(PlotBottom() - PlotTop()) / static_cast<float>(lanes);
}

int DelayGraphGeometry::LaneTop(int lane) const {
  // Never negative, so rounding half up is flooring after adding a half.
  return static_cast<int>(
      std::floor(LaneHeight() * static_cast<float>(lane) + static_cast<float>(PlotTop()) + 0.5f));
}

int DelayGraphGeometry::LaneHitY(int lane) const {
  return static_cast<int>(LaneHeight() / 2.0f + static_cast<float>(LaneTop(lane)));
}

float DelayGraphGeometry::LabelCentreY(int label) const {
  const float h = LaneHeight();
  return static_cast<float>(PlotTop()) + static_cast<float>(label) * h - h / 2.0f;
}

float DelayGraphGeometry::PixelsPerMs() const {
  return static_cast<float>(PlotWidth()) / (kDelayAxisMaxMs - kDelayAxisMinMs);
}

int DelayGraphGeometry::XOfValue(float ms) const {
  const float offset = PixelsPerMs() * (ms - kDelayAxisMinMs);
  return std::abs(static_cast<int>(offset)) + PlotLeft();
}

float DelayGraphGeometry::ValueAtX(int x, float minimum, float maximum) const {
  const float perMs = PixelsPerMs();
  // A plot without width has no scale: every x stands for the lowest delay.
  float ms = perMs > 0.0f ? static_cast<float>(x - PlotLeft()) / perMs + kDelayAxisMinMs : minimum;
  if (minimum != maximum) ms = std::clamp(ms, std::min(minimum, maximum), std::max(minimum, maximum));
  return ms;
}

int DelayGraphGeometry::MarkerTop(int lane, int markerHeight, int textHeight) const {
  const float free = LaneHeight() - static_cast<float>(markerHeight) - static_cast<float>(textHeight);
  return static_cast<int>(free / 2.0f + static_cast<float>(LaneTop(lane)));
}

int HitDelayMarker(const DelayGraphGeometry& g, std::span<const int> markerX, int markerWidth, int x, int y) {
  const int lanes = std::min(g.lanes, static_cast<int>(markerX.size()));
  for (int i = 0; i < lanes; ++i) {
    const bool across = std::abs(markerX[static_cast<std::size_t>(i)] + markerWidth / 2 - x) < kDelayHitReach;
    const bool along = std::abs(g.LaneHitY(i) - y) < kDelayHitReach;
    if (across && along) return i;
  }
  return -1;
}

std::vector<DelayAxisTick> DelayAxisTicks(const DelayGraphGeometry& g) {
  constexpr float kStepMs = 20.0f;
  const float range = kDelayAxisMaxMs - kDelayAxisMinMs;
  const int steps = static_cast<int>(range / kStepMs);
  std::vector<DelayAxisTick> ticks;
  for (int j = 0; j <= steps; ++j) {
    const double x = g.PlotLeft() + j * static_cast<double>(kStepMs) * g.PlotWidth() / range;
    ticks.push_back(
        {x, DelayMsText(kDelayAxisMinMs + kStepMs * static_cast<float>(j)), j == 0 || j == steps});
  }
  return ticks;
}

std::string DelayMsText(float ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1fms", static_cast<double>(ms));
  return text;
}

}  // namespace vireo::dsp
