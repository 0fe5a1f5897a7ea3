// The machine link against the emulator: exchanges per second, and read-all / write-all against their floor.
#include <benchmark/benchmark.h>

#include <chrono>

#include "device/clock.h"
#include "device/connection.h"
#include "device/dispatcher.h"
#include "device/hid_link.h"
#include "emulator/emulator_backend.h"
#include "quiet_events.h"

namespace vireo {
namespace {

emulator::EmulatorOptions WithLatency(int ms) {
  emulator::EmulatorOptions options;
  options.replyLatencyMs = ms;
  return options;
}

// One paced request and its reply through HidLink, the read thread and the dispatcher.
void BM_PacedExchange(benchmark::State& state) {
  ParameterStore store;
  ResetStoreDefaults(store);
  emulator::EmulatorBackend backend(SystemClock(), WithLatency(0));
  ReplyDispatcher dispatcher(store, nullptr);
  HidLink link(store, SystemClock());
  if (!link.Open(backend) ||
      !link.StartReader([&](std::span<const std::uint8_t> r) { dispatcher.DispatchReply(r); })) {
    state.SkipWithError("cannot open the emulator");
    return;
  }
  const Report request = MakeReadParam(1, 14);
  for (auto _ : state) benchmark::DoNotOptimize(link.SendPaced(request));
  state.SetItemsProcessed(state.iterations());
  link.CloseLink();
}
BENCHMARK(BM_PacedExchange)->UseRealTime();

// A whole transfer on the worker, timed from its start to its end. Every request is answered, so
// the floor is one latency per request plus the transfer's fixed pauses.
void RunTransfer(benchmark::State& state, bool readAll) {
  const int latencyMs = static_cast<int>(state.range(0));
  ParameterStore store;
  ResetStoreDefaults(store);
  emulator::EmulatorBackend backend(SystemClock(), WithLatency(latencyMs));
  QuietEvents events;
  MachineConnection connection(store, backend, SystemClock(), events);
  if (!connection.ConnectMachine()) {
    state.SkipWithError("cannot open the emulator");
    return;
  }
  const int fixedPausesMs = readAll ? 3200 + 200 : 100 + 9 * 30 + 50;
  double requests = 0;
  double totalSeconds = 0;
  for (auto _ : state) {
    const std::size_t before = backend.machine().requestCount();
    const auto start = std::chrono::steady_clock::now();
    if (readAll) {
      connection.StartReadAll();
    } else {
      connection.StartWriteAll();
    }
    connection.WaitForSync();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(elapsed.count());
    totalSeconds += elapsed.count();
    requests = static_cast<double>(backend.machine().requestCount() - before);
  }
  const double floorMs = requests * latencyMs + fixedPausesMs;
  state.counters["requests"] = requests;
  state.counters["floor_ms"] = floorMs;
  state.counters["fixed_pauses_ms"] = fixedPausesMs;
  const double overheadMs = totalSeconds * 1000.0 / static_cast<double>(state.iterations()) - floorMs;
  state.counters["overhead_ms"] = overheadMs;
  state.counters["overhead_per_request_us"] = requests > 0 ? overheadMs * 1000.0 / requests : 0;
  connection.ExitSequence();
}

void BM_ReadAll(benchmark::State& state) {
  RunTransfer(state, true);
}
void BM_WriteAll(benchmark::State& state) {
  RunTransfer(state, false);
}
BENCHMARK(BM_ReadAll)->Arg(0)->Arg(1)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteAll)->Arg(0)->Arg(1)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vireo
