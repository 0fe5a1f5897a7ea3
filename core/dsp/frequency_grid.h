// The fixed logarithmic frequency grid on which the graphs evaluate every band.
#pragma once

#include <array>

namespace vireo::dsp {

inline constexpr int kGridPoints = 512;
// The graph's axis limits; the grid starts at the left one and stops one step short of the right one.
inline constexpr double kGridMinHz = 18.0;
inline constexpr double kGridMaxHz = 23000.0;

using GridTable = std::array<double, kGridPoints>;
using ResponseArray = std::array<float, kGridPoints>;

// f_i = 18 * 10^((i / 512) * log10(23000 / 18)), computed on the spot (i need not lie in 0..511).
double GridFrequency(int i);

// f_i for i = 0..511, computed once.
const GridTable& GridFrequencies();

// sin^2(pi f_i / 48000) for i = 0..511: everything of the magnitude formula that does not depend on
// the band, computed once.
const GridTable& GridPhis();

// Position of frequency f along the log axis, 0 at 18 Hz and 1 at 23000 Hz.
double AxisFraction(double f);

}  // namespace vireo::dsp
