// Tables of the frequency grid, built on first use.
#include "dsp/frequency_grid.h"

#include <cmath>
#include <numbers>

#include "dsp/biquad.h"

namespace vireo::dsp {

double GridFrequency(int i) {
  return kGridMinHz *
         std::pow(10.0, (static_cast<double>(i) / kGridPoints) * std::log10(kGridMaxHz / kGridMinHz));
}

const GridTable& GridFrequencies() {
  static const GridTable table = [] {
    GridTable t{};
    for (int i = 0; i < kGridPoints; ++i) {
      t[static_cast<std::size_t>(i)] = GridFrequency(i);
    }
    return t;
  }();
  return table;
}

const GridTable& GridPhis() {
  static const GridTable table = [] {
    GridTable t{};
    const GridTable& f = GridFrequencies();
    for (std::size_t i = 0; i < t.size(); ++i) {
      const double s = std::sin(std::numbers::pi * f[i] / kSampleRate);
      t[i] = s * s;
    }
    return t;
  }();
  return table;
}

double AxisFraction(double f) {
  return std::log10(f / kGridMinHz) / std::log10(kGridMaxHz / kGridMinHz);
}

}  // namespace vireo::dsp
