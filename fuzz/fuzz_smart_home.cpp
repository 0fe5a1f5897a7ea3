// Fuzzes what the smart home takes from outside: received reports through the dispatcher into the
// controller (frames and memory replies, acknowledged on a sender that records nothing), and the same
// bytes as a remote file and as a plug key file. A key file that loads must save and load back alike.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "device/dispatcher.h"
#include "device/events.h"
#include "model/parameter_store.h"
#include "model/report.h"
#include "smarthome/plug_keys.h"
#include "smarthome/remote_keys.h"
#include "smarthome/smart_home_controller.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

class NullEvents final : public vireo::EventSink {
 public:
  void Post(int, std::intptr_t, std::intptr_t) override {}
  void Send(int, std::intptr_t, std::intptr_t) override {}
};

class NullSender final : public vireo::ReportSender {
 public:
  int SendPaced(const vireo::Report&) override { return static_cast<int>(vireo::kReportBytes); }
  int SendUnpaced(const vireo::Report&) override { return static_cast<int>(vireo::kReportBytes); }
};

// Time that passes only when slept, so the acknowledgement pause costs nothing.
class InstantClock final : public vireo::Clock {
 public:
  std::int64_t NowMs() override { return now_; }
  void SleepMs(int ms) override { now_ += ms; }
  bool WaitFor(std::condition_variable&, std::unique_lock<std::mutex>&, int timeoutMs,
               const std::function<bool()>& ready) override {
    if (timeoutMs > 0) now_ += timeoutMs;
    return ready();
  }

 private:
  std::int64_t now_ = 0;
};

std::string ScratchFile() {
  return "/tmp/vireo-fuzz-smart-home-" + std::to_string(::getpid());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vireo::ParameterStore store;
  vireo::ResetStoreDefaults(store);
  NullEvents events;
  NullSender sender;
  InstantClock clock;
  {
    vireo::smarthome::SmartHomeController controller(store, sender, clock, &events);
    vireo::ReplyDispatcher dispatcher(store, &events);
    dispatcher.SetSmartHomeHandler([&controller](std::span<const std::uint8_t> r) { controller.OnReply(r); });
    const std::span<const std::uint8_t> input(data, size);
    for (std::size_t at = 0; at < size; at += vireo::kReportBytes) {
      const std::size_t n = size - at < vireo::kReportBytes ? size - at : vireo::kReportBytes;
      dispatcher.DispatchReply(input.subspan(at, n));
    }
    for (int node : controller.presentPlugs()) Check(node > 1 && node < vireo::smarthome::kNodeCount);
  }

  const std::string path = ScratchFile();
  if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
    if (size > 0) std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  vireo::smarthome::RemoteKeyTable table{};
  table.fill(0xA5);
  std::string error;
  if (!vireo::smarthome::ReadRemoteFile(path, &table, &error)) {
    for (std::uint8_t b : table) Check(b == 0xA5);  // a refused file leaves the table alone
  }
  std::vector<vireo::smarthome::PlugKey> keys;
  if (vireo::smarthome::LoadPlugKeys(path, &keys, &error)) {
    Check(keys.size() == static_cast<std::size_t>(vireo::smarthome::kPlugKeyCount));
    Check(vireo::smarthome::SavePlugKeys(path, keys, &error));
    std::vector<vireo::smarthome::PlugKey> again;
    Check(vireo::smarthome::LoadPlugKeys(path, &again, &error) && again == keys);
  }
  std::remove(path.c_str());
  return 0;
}
