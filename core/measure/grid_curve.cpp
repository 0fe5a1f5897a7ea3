#include "measure/grid_curve.h"

#include <algorithm>
#include <cmath>

namespace vireo::measure {

namespace {

constexpr int kLastPoint = dsp::kGridPoints - 1;

double Clamped(double value, double low, double high, double fallback) {
  return std::isnan(value) ? fallback : std::clamp(value, low, high);
}

}  // namespace

GridCurve OnGrid(const Response& r) {
  GridCurve out;
  const std::size_t n = std::min(r.hz.size(), r.db.size());
  if (n == 0) return out;
  const dsp::GridTable& f = dsp::GridFrequencies();
  out.first = dsp::kGridPoints;
  out.last = -1;
  std::size_t k = 0;  // r.hz[k] <= f < r.hz[k + 1] while inside the data
  for (int i = 0; i < dsp::kGridPoints; ++i) {
    const double hz = f[static_cast<std::size_t>(i)];
    double value = 0.0;
    if (hz <= r.hz.front()) {
      value = r.db.front();
    } else if (hz >= r.hz[n - 1]) {
      value = r.db[n - 1];
    } else {
      while (k + 1 < n && r.hz[k + 1] <= hz) ++k;
      const double t = std::log(hz / r.hz[k]) / std::log(r.hz[k + 1] / r.hz[k]);
      value = r.db[k] + t * (r.db[k + 1] - r.db[k]);
    }
    if (hz >= r.hz.front() && hz <= r.hz[n - 1]) {
      out.first = std::min(out.first, i);
      out.last = i;
    }
    out.db[static_cast<std::size_t>(i)] = static_cast<float>(value);
  }
  if (out.last < 0) out.first = 0;
  return out;
}

GridCurve PowerAverage(std::span<const GridCurve> curves) {
  GridCurve out;
  if (curves.empty()) return out;
  out.first = 0;
  out.last = kLastPoint;
  for (const GridCurve& c : curves) {
    out.first = std::max(out.first, c.first);
    out.last = std::min(out.last, c.last);
  }
  for (std::size_t i = 0; i < out.db.size(); ++i) {
    // Relative to the loudest curve, so that no power overflows or vanishes.
    double loudest = curves.front().db[i];
    for (const GridCurve& c : curves) loudest = std::max(loudest, static_cast<double>(c.db[i]));
    double power = 0.0;
    for (const GridCurve& c : curves) power += std::pow(10.0, (c.db[i] - loudest) / 10.0);
    out.db[i] = static_cast<float>(loudest + 10.0 * std::log10(power / static_cast<double>(curves.size())));
  }
  return out;
}

GridCurve FlatTarget() {
  GridCurve out;
  out.first = 0;
  out.last = kLastPoint;
  return out;
}

GridCurve RoomTarget(const RoomCurve& c) {
  const RoomCurve defaults;
  const double tilt = Clamped(c.tiltDbPerDecade, kRoomTiltMin, kRoomTiltMax, defaults.tiltDbPerDecade);
  const double rise = Clamped(c.bassRiseDb, 0.0, kRoomBassRiseMax, defaults.bassRiseDb);
  GridCurve out = FlatTarget();
  const dsp::GridTable& f = dsp::GridFrequencies();
  for (std::size_t i = 0; i < out.db.size(); ++i) {
    const double x = f[i] / kRoomBassCornerHz;
    out.db[i] = static_cast<float>(tilt * std::log10(f[i] / 1000.0) + rise / (1.0 + x * x));
  }
  return out;
}

}  // namespace vireo::measure
