// Responses on the graph's 512-point grid: interpolation, the power average of several positions, targets.
#pragma once

#include <span>

#include "dsp/frequency_grid.h"
#include "measure/response_import.h"

namespace vireo::measure {

// Points [first, last] are covered by the data; outside them the edge values are held. first > last when
// no grid point lies inside the data's frequencies.
struct GridCurve {
  dsp::ResponseArray db{};
  int first = 0;
  int last = -1;
};

// Linear interpolation on log frequency between the two neighbouring data points.
GridCurve OnGrid(const Response& r);

// 10 log10 of the mean power at every point, as for several microphone positions; the covered range is
// the intersection of the curves' ranges. No curve gives an uncovered flat curve.
GridCurve PowerAverage(std::span<const GridCurve> curves);

// 0 dB everywhere, covering the whole grid.
GridCurve FlatTarget();

// A room curve: a straight tilt on the log axis through 0 dB at 1 kHz, plus a low-frequency rise
//   L(f) = tilt * log10(f / 1000) + rise / (1 + (f / 150)^2)
// whose half lies at 150 Hz (a second-order transition: nearly all of `rise` below 50 Hz, under a fifth of
// it above 300 Hz). The defaults are a gentle curve most rooms and listeners accept.
struct RoomCurve {
  double tiltDbPerDecade = -1.0;  // -3..+1
  double bassRiseDb = 4.0;        // 0..12
};
inline constexpr double kRoomTiltMin = -3.0;
inline constexpr double kRoomTiltMax = 1.0;
inline constexpr double kRoomBassRiseMax = 12.0;
inline constexpr double kRoomBassCornerHz = 150.0;

// Parameters outside their limits (or not numbers) are clamped to them (a NaN takes the default).
GridCurve RoomTarget(const RoomCurve& c);

}  // namespace vireo::measure
