// Cost of fitting an equaliser to a measurement: ten bands over 512 grid points, the window's default fit.
#include <cmath>

#include <benchmark/benchmark.h>

#include "measure/band_fit.h"

namespace {

using namespace vireo::measure;

// A loudspeaker-in-a-room shape: a bass rise with a room mode, a presence dip, a rough treble, a roll-off.
GridCurve RoomMeasurement() {
  GridCurve m = FlatTarget();
  for (int i = 0; i < vireo::dsp::kGridPoints; ++i) {
    const double f = vireo::dsp::GridFrequency(i);
    const double octave = std::log2(f / 1000.0);
    double db = 6.0 / (1.0 + std::pow(f / 120.0, 2.0));
    db += 9.0 * std::exp(-std::pow(std::log2(f / 55.0) * 6.0, 2.0));
    db -= 4.0 * std::exp(-std::pow((octave - 1.5) * 2.5, 2.0));
    db += 1.5 * std::sin(i * 0.35) * (f > 2000.0 ? 1.0 : 0.3);
    db -= f > 12000.0 ? 8.0 * std::log2(f / 12000.0) : 0.0;
    m.db[static_cast<std::size_t>(i)] = static_cast<float>(db);
  }
  return m;
}

void BM_FitTenBands(benchmark::State& state) {
  const GridCurve measurement = RoomMeasurement();
  const GridCurve target = RoomTarget({});
  const vireo::dsp::ResponseArray fixed{};
  FitOptions options;
  options.bands = 10;
  double rms = 0.0;
  for (auto _ : state) {
    const FitResult fit = FitBands(measurement, target, fixed, options);
    rms = fit.rmsAfter;
    benchmark::DoNotOptimize(fit);
  }
  state.counters["rms_after_db"] = rms;
}
BENCHMARK(BM_FitTenBands)->Unit(benchmark::kMillisecond);

}  // namespace
