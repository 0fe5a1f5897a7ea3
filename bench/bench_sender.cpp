// A band drag against the emulator at 5 ms per exchange, in virtual time: through the edit sender, and
// sent on the editing thread as before, for comparison.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <vector>

#include "device/connection.h"
#include "device/virtual_clock.h"
#include "emulator/emulator_backend.h"
#include "model/band.h"
#include "quiet_events.h"
#include "tuning/edit_history.h"
#include "tuning/eq_operations.h"

namespace vireo {
namespace {

constexpr int kEventsPerSecond = 240;
constexpr int kLatencyMs = 5;
constexpr int kIdentity = 0;  // microphone A, band 3 (address 21)
constexpr int kBand = 3;

// The mouse position of event i: a sweep from 100 Hz to 10 kHz with the gain rising from -12 to +12 dB.
dsp::BandShape DragPosition(int i, int events) {
  const double x = static_cast<double>(i) / std::max(events - 1, 1);
  return {1, -12.0 + 24.0 * x, 100.0 * std::pow(100.0, x), 1.41};
}

// The emulator and a connected link on a virtual clock that jumps to the next deadline once every
// thread has been quiet for 2 ms of real time: the editing thread's next event or the next reply.
struct DragRig {
  VirtualClock clock{{true, 2}};
  ParameterStore store;
  emulator::EmulatorBackend backend{clock, [] {
                                      emulator::EmulatorOptions o;
                                      o.replyLatencyMs = kLatencyMs;
                                      return o;
                                    }()};
  QuietEvents events;
  MachineConnection connection{store, backend, clock, events};
  std::mutex lock;
  std::condition_variable never;

  DragRig() { ResetStoreDefaults(store); }
  // Waits in virtual time until `ms` (the time of the next mouse event).
  void WaitUntil(std::int64_t ms) {
    std::unique_lock guard(lock);
    const std::int64_t now = clock.NowMs();
    if (ms > now) clock.WaitFor(never, guard, static_cast<int>(ms - now), [] { return false; });
  }
  bool HoldsBand(const dsp::BandShape& band) {
    const BandRecord want{static_cast<float>(band.gainDb), static_cast<int>(band.frequency),
                          static_cast<float>(band.q), static_cast<std::uint8_t>(band.type)};
    const std::vector<std::uint8_t> got = backend.machine().Block(EqBandAddress(1, kBand), kBandRecordBytes);
    const auto encoded = EncodeBandRecord(want);
    return std::equal(encoded.begin(), encoded.end(), got.begin(), got.end());
  }
};

using RealClock = std::chrono::steady_clock;

struct Stalls {
  double longestUs = 0;  // real time
  double meanUs = 0;
  double p99Us = 0;
  double longestVirtualMs = 0;  // the time the machine's link took from the editing thread
};

// Plays the drag: `edit(i)` makes event i on this thread at its time; how long the events held it.
template <class Edit>
Stalls PlayDrag(DragRig& rig, int events, Edit edit) {
  Stalls stalls;
  std::vector<double> each;
  each.reserve(static_cast<std::size_t>(events));
  const std::int64_t start = rig.clock.NowMs();
  for (int i = 0; i < events; ++i) {
    rig.WaitUntil(start + static_cast<std::int64_t>(i) * 1000 / kEventsPerSecond);
    const std::int64_t virtualBefore = rig.clock.NowMs();
    const auto before = RealClock::now();
    edit(i);
    const double us = std::chrono::duration<double, std::micro>(RealClock::now() - before).count();
    each.push_back(us);
    stalls.longestUs = std::max(stalls.longestUs, us);
    stalls.longestVirtualMs =
        std::max(stalls.longestVirtualMs, static_cast<double>(rig.clock.NowMs() - virtualBefore));
  }
  if (each.empty()) return stalls;
  stalls.meanUs = std::accumulate(each.begin(), each.end(), 0.0) / static_cast<double>(each.size());
  std::sort(each.begin(), each.end());
  stalls.p99Us = each[each.size() * 99 / 100];
  return stalls;
}

void ReportStalls(benchmark::State& state, int events, const Stalls& stalls) {
  state.counters["events"] = events;
  state.counters["stall_max_us"] = stalls.longestUs;
  state.counters["stall_mean_us"] = stalls.meanUs;
  state.counters["stall_p99_us"] = stalls.p99Us;
  state.counters["stall_max_virtual_ms"] = stalls.longestVirtualMs;
}

void BM_SenderBandDrag(benchmark::State& state) {
  const int events = static_cast<int>(state.range(0)) * kEventsPerSecond;
  for (auto _ : state) {
    DragRig rig;
    if (!rig.connection.ConnectMachine()) {
      state.SkipWithError("cannot open the emulator");
      return;
    }
    tuning::EditSender sender(rig.connection.sender(), rig.clock);
    tuning::EditSession session(rig.store, sender, rig.clock);
    session.BeginGesture();
    const Stalls stalls = PlayDrag(rig, events, [&](int i) {
      session.Run({tuning::BandValue{kIdentity, kBand, {}}}, [&](ReportSender& s, Clock&) {
        return tuning::WriteEqBand(rig.store, s, kIdentity, kBand, DragPosition(i, events));
      });
    });
    session.EndGesture();
    const std::int64_t release = rig.clock.NowMs();
    sender.WaitIdle();
    const std::int64_t settled = rig.clock.NowMs();
    if (!rig.HoldsBand(tuning::ReadEqBand(rig.store, kIdentity, kBand)) || session.undoSteps() != 1) {
      state.SkipWithError("the machine does not hold the final band");
      return;
    }
    const tuning::EditSenderCounters counters = sender.counters();
    ReportStalls(state, events, stalls);
    state.counters["reports"] = static_cast<double>(counters.reportsSent);
    state.counters["jobs_replaced"] = static_cast<double>(counters.jobsReplaced);
    state.counters["release_to_final_ms"] = static_cast<double>(settled - release);
    rig.connection.ExitSequence();
  }
}
BENCHMARK(BM_SenderBandDrag)->Arg(10)->Iterations(1)->Unit(benchmark::kSecond);

// The same drag sent on the editing thread: every event waits for its exchanges.
void BM_DirectBandDrag(benchmark::State& state) {
  const int events = static_cast<int>(state.range(0)) * kEventsPerSecond;
  for (auto _ : state) {
    DragRig rig;
    if (!rig.connection.ConnectMachine()) {
      state.SkipWithError("cannot open the emulator");
      return;
    }
    ReportSender& link = rig.connection.sender();
    const std::int64_t start = rig.clock.NowMs();
    const Stalls stalls = PlayDrag(rig, events, [&](int i) {
      tuning::WriteEqBand(rig.store, link, kIdentity, kBand, DragPosition(i, events));
    });
    // The user let go at the time of the last mouse event; the machine got it once that event returned.
    const std::int64_t release = start + static_cast<std::int64_t>(events - 1) * 1000 / kEventsPerSecond;
    ReportStalls(state, events, stalls);
    state.counters["reports"] = 2.0 * events;
    state.counters["release_to_final_ms"] = static_cast<double>(rig.clock.NowMs() - release);
    rig.connection.ExitSequence();
  }
}
BENCHMARK(BM_DirectBandDrag)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace vireo
