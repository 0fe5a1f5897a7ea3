// Cost of the filter maths the EQ graph runs on every edit: one design, one band, one total curve.
#include <array>

#include <benchmark/benchmark.h>

#include "dsp/band_response.h"
#include "dsp/biquad.h"

namespace {

using namespace vireo::dsp;

void BM_ComputeBiquad(benchmark::State& state) {
  double f0 = 1000.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f0);
    benchmark::DoNotOptimize(ComputeBiquad(1, 6.0, f0, 1.41));
  }
}
BENCHMARK(BM_ComputeBiquad);

void BM_BandResponse512(benchmark::State& state) {
  ResponseArray response{};
  GridPhis();  // the tables are built once per process, not per band
  double f0 = 1000.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f0);
    ComputeBandResponse(1, 6.0, f0, 1.41, 1024.0, response);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BandResponse512);

// A channel equaliser: ten bands, the crossover in slot 9 and its three further sections.
void BM_TotalCurve13Bands(benchmark::State& state) {
  std::array<ResponseArray, 13> responses{};
  std::array<BandCurve, 13> bands{};
  const double frequencies[] = {31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
  for (std::size_t i = 0; i < 10; ++i) {
    ComputeBandResponse(1, 3.0, frequencies[i], 1.41, 1024.0, responses[i]);
    bands[i] = {1, &responses[i]};
  }
  for (std::size_t i = 10; i < 13; ++i) {
    ComputeBandResponse(18, 0.0, 2000.0, 1.0, 1024.0, responses[i]);
    bands[i] = {18, &responses[i]};
  }
  bands[9] = {0, &responses[9]};  // a switched-off band costs nothing
  for (auto _ : state) {
    ResponseArray total = TotalCurve(bands);
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_TotalCurve13Bands);

}  // namespace
