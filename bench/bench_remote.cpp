// The remote-control server over loopback: a PUT until its report is written to the emulated link
// (the link's pacing after the write is not counted), and a change until each of 50 WebSocket clients
// has it.
#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>

#include "remote_rig.h"

namespace vireo::remote::test {
namespace {

void BM_RemotePutToLinkWrite(benchmark::State& state) {
  RemoteRig rig;
  if (!rig.problem().empty()) {
    state.SkipWithError(rig.problem().c_str());
    return;
  }
  std::atomic<std::int64_t> writtenNs{0};
  rig.SetOnSent([&] {
    writtenNs.store(std::chrono::steady_clock::now().time_since_epoch().count());
  });
  boost::asio::io_context io;
  beast::tcp_stream stream(io);
  stream.connect(tcp::endpoint(boost::asio::ip::make_address("127.0.0.1"), rig.port()));
  beast::flat_buffer buffer;
  int value = 0;
  double worstMs = 0;
  for (auto _ : state) {
    value = (value + 1) % 100;
    http::request<http::string_body> req{http::verb::put, "/api/v1/fields/micVolume", 11};
    req.set(http::field::host, "127.0.0.1");
    req.set(http::field::authorization, std::string("Bearer ") + kToken);
    req.body() = "{\"value\": " + std::to_string(value) + "}";
    req.prepare_payload();
    writtenNs.store(0);
    const auto start = std::chrono::steady_clock::now();
    http::write(stream, req);
    http::response<http::string_body> res;
    http::read(stream, buffer, res);
    while (writtenNs.load() == 0) std::this_thread::yield();
    const double ms =
        static_cast<double>(writtenNs.load() - start.time_since_epoch().count()) / 1e6;
    worstMs = std::max(worstMs, ms);
    state.SetIterationTime(ms / 1000.0);
  }
  state.counters["worst_ms"] = worstMs;
}
BENCHMARK(BM_RemotePutToLinkWrite)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_RemoteChangeToFiftyClients(benchmark::State& state) {
  RemoteRig rig;
  if (!rig.problem().empty()) {
    state.SkipWithError(rig.problem().c_str());
    return;
  }
  std::vector<std::unique_ptr<SocketClient>> clients;
  for (int i = 0; i < 50; ++i) {
    clients.push_back(std::make_unique<SocketClient>(rig.port()));
    clients.back()->WaitFor([](const Json& m) { return m.value("type", "") == "state"; });
  }
  int value = 0;
  double worstMs = 0;
  for (auto _ : state) {
    value = (value + 1) % 100;
    const auto start = std::chrono::steady_clock::now();
    rig.host().Post([&rig, value] { rig.edits().Apply({tuning::FieldValue{"echoVolume", 0, double(value)}}); });
    // Every client has it once the last one has read it: they are read one after another.
    for (auto& c : clients) {
      if (!c->WaitForChange("echoVolume", value)) state.SkipWithError("a client missed the change");
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    worstMs = std::max(worstMs, ms);
    state.SetIterationTime(ms / 1000.0);
  }
  state.counters["worst_ms"] = worstMs;
}
BENCHMARK(BM_RemoteChangeToFiftyClients)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace
}  // namespace vireo::remote::test
