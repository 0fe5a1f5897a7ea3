// The A/B switch against the emulator at 1 ms per exchange, in virtual time: two tunings that differ in
// 20 bands and 5 levels, and the write-all that a reload of the other tuning would send instead.
#include <benchmark/benchmark.h>

#include <atomic>

#include "device/connection.h"
#include "device/sync.h"
#include "device/virtual_clock.h"
#include "emulator/emulator_backend.h"
#include "model/store_layout.h"
#include "quiet_events.h"
#include "tuning/ab_compare.h"
#include "tuning/eq_operations.h"

namespace vireo {
namespace {

class CountingSender final : public ReportSender {
 public:
  int SendPaced(const Report&) override { return Count(); }
  int SendUnpaced(const Report&) override { return Count(); }
  int reports = 0;

 private:
  int Count() {
    ++reports;
    return static_cast<int>(kReportBytes);
  }
};

// B: the music equaliser and output channel 1's first ten bands lifted, five mix levels moved.
void MakeTuningB(ParameterStore& store) {
  CountingSender quiet;
  for (int band = 0; band < 10; ++band) {
    const dsp::BandShape shape{1, 3.0, tuning::ReadEqBand(store, 6, band).frequency, 2.0};
    tuning::WriteEqBand(store, quiet, 6, band, shape);
    tuning::WriteEqBand(store, quiet, 7, band, shape);
  }
  for (int channel = 0; channel < 5; ++channel) store.SetInt(slot::chMusicLevel[channel], 40 + channel);
}

void BM_AbSwitch(benchmark::State& state) {
  for (auto _ : state) {
    VirtualClock clock{{true, 2}};
    ParameterStore store;
    ResetStoreDefaults(store);
    emulator::EmulatorOptions options;
    options.replyLatencyMs = 1;
    emulator::EmulatorBackend backend{clock, options};
    QuietEvents events;
    MachineConnection connection{store, backend, clock, events};
    if (!connection.ConnectMachine()) {
      state.SkipWithError("cannot open the emulator");
      return;
    }
    std::atomic<int> sent{0};
    connection.SetTraceHook([&sent](TraceDirection direction, std::span<const std::uint8_t>) {
      if (direction == TraceDirection::sent) ++sent;
    });
    tuning::AbTunings ab;
    ab.Switch(store);  // B starts as a copy of A
    MakeTuningB(store);
    const std::vector<tuning::EditValue> toA = ab.Switch(store);
    const int before = sent.load();
    const std::int64_t start = clock.NowMs();
    tuning::ApplyValues(store, connection.sender(), clock, toA);
    state.counters["values"] = static_cast<double>(toA.size());
    state.counters["reports"] = sent.load() - before;
    state.counters["virtual_ms"] = static_cast<double>(clock.NowMs() - start);
    CountingSender writeAll;
    RunWriteAllSequence(store, writeAll, [](int) { return true; });
    state.counters["write_all_reports"] = writeAll.reports;
    connection.ExitSequence();
  }
}
BENCHMARK(BM_AbSwitch)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vireo
