// Fuzzes the Z-Wave frame decoder and the smart-home memory records: arbitrary bytes never read out of
// bounds, and every frame that decodes encodes back to the same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "smarthome/smart_home_memory.h"
#include "smarthome/zwave_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  vireo::zwave::Frame frame;
  if (vireo::zwave::DecodeFrame(input, &frame) == vireo::zwave::DecodeStatus::frame) {
    const auto again = vireo::zwave::EncodeFrame(frame.function, frame.params, frame.type);
    if (again.size() > input.size() || !std::equal(again.begin(), again.end(), input.begin())) std::abort();
  }
  vireo::smarthome::SmartHomeMemory memory;
  if (size >= 2) memory.ApplyReply((data[0] << 8) | data[1], input.subspan(2));
  (void)vireo::smarthome::DecodePlugRecord(input);
  (void)vireo::smarthome::DecodeScene(input);
  return 0;
}
