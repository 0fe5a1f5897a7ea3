// What HidLink needs from a transport: the real machine through hidraw, or the in-process emulator.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace vireo {

struct HidDeviceInfo {
  std::string path;  // device node (e.g. /dev/hidraw3) or the emulator's name
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
};

inline constexpr std::uint16_t kMachineVendorId = 0x2010;
inline constexpr std::uint16_t kMachineProductId = 0x1031;
inline constexpr int kMaxInterfacesExamined = 32;

// One open HID interface. Reads and writes may run on different threads at the same time.
class HidDevice {
 public:
  virtual ~HidDevice() = default;
  // Writes one 61-byte output report (byte 0 = report id); returns the bytes written or -1.
  virtual int Write(std::span<const std::uint8_t> report) = 0;
  // Reads one input report into `report` (61 bytes, byte 0 = report id), waiting at most `timeoutMs`
  // (-1 = forever). Returns the bytes read, 0 on time-out, -1 when the device failed or went away.
  virtual int Read(std::span<std::uint8_t> report, int timeoutMs) = 0;
  // Makes a blocked Read return -1 soon; used by the bounded close.
  virtual void Cancel() = 0;
};

// Arrival and removal of HID interfaces.
struct HotplugEvent {
  enum class Kind { arrival, removal } kind;
  std::string path;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // The HID interfaces present, in the system's order.
  virtual std::vector<HidDeviceInfo> Enumerate() = 0;
  virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
  // Starts delivering arrival/removal events to `sink` (from any thread); false when not possible.
  virtual bool WatchHotplug(std::function<void(const HotplugEvent&)> sink) = 0;
  virtual void StopWatching() = 0;
};

}  // namespace vireo
