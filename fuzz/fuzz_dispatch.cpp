// Fuzzes the reply dispatcher: arbitrary bytes, cut into 61-byte reports (the last one short), into one
// store.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "device/dispatcher.h"
#include "device/events.h"
#include "model/location.h"
#include "model/parameter_store.h"
#include "model/report.h"

namespace {

class NullEvents final : public vireo::EventSink {
 public:
  void Post(int, std::intptr_t, std::intptr_t) override {}
  void Send(int, std::intptr_t, std::intptr_t) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vireo::ParameterStore store;
  vireo::ResetStoreDefaults(store);
  NullEvents events;
  vireo::ReplyDispatcher dispatcher(store, &events);
  const std::span<const std::uint8_t> input(data, size);
  for (std::size_t at = 0; at < size; at += vireo::kReportBytes) {
    const std::size_t n = size - at < vireo::kReportBytes ? size - at : vireo::kReportBytes;
    dispatcher.DispatchReply(input.subspan(at, n));
  }
  // What the dispatcher promises whatever it is fed: texts within their capacities, and the location
  // record and its working geometry replaced together.
  if (store.modelName().size() > 29 || store.firmwareDate().size() > 10 || store.secondDate().size() > 10) {
    std::abort();
  }
  for (int i = 0; i < vireo::kModeSlots; ++i) {
    if (store.modeName(i).size() > 24) std::abort();
  }
  std::array<std::uint8_t, vireo::kLocationSettingsBytes> record{};
  store.ReadBytes(vireo::Region::locationSettings, 0, record);
  if (!(vireo::DecodeLocation(record) == store.geometry())) std::abort();
  return 0;
}
