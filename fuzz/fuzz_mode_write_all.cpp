// libFuzzer target: arbitrary bytes as a mode file and, when the file loads, the whole write-all that
// would push it to the machine, in either volume save mode. Every value on the wire must lie in the range
// of its control and the write-all must end within a fixed number of reports.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "device/sync.h"
#include "model/mode_file.h"
#include "model/parameter_store.h"
#include "wire_range_check.h"

namespace {

// A write-all is about 450 reports plus the volume ramps (at most 20 and 30 steps).
constexpr std::size_t kMaxWriteAllReports = 600;

class CheckingSender final : public vireo::ReportSender {
 public:
  int SendPaced(const vireo::Report& report) override { return Take(report); }
  int SendUnpaced(const vireo::Report& report) override { return Take(report); }
  std::size_t reports = 0;
  vireo::test::WireRangeCheck check;

 private:
  int Take(const vireo::Report& report) {
    if (++reports > kMaxWriteAllReports) std::abort();
    check.Check(report);
    return static_cast<int>(vireo::kReportBytes);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Bytes past a layout are ignored by the reader, so the length's parity is free to pick the volume
  // save mode and the fuzzer meets both.
  vireo::ParameterStore store;
  vireo::ResetStoreDefaults(store);
  store.SetByte(vireo::Region::machineSettings, 0, static_cast<std::uint8_t>(size & 1));
  if (!vireo::ParseModeFile(std::span(data, size), store).ok) return 0;
  CheckingSender sender;
  const vireo::SyncPause noWait = [](int) { return true; };
  if (!vireo::RunWriteAllSequence(store, sender, noWait)) std::abort();
  if (!sender.check.problems.empty()) {
    std::fprintf(stderr, "out of range on the wire: %s\n", sender.check.problems.front().c_str());
    std::abort();
  }
  return 0;
}
