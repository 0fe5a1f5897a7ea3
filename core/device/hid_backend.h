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

// One open HID interface. Read runs on the read thread while writes come from other threads.
// HidLink holds the device in a shared_ptr that its read thread co-owns, so the device is destroyed
// only after a Read has returned.
class HidDevice {
 public:
  virtual ~HidDevice() = default;
  // Writes one 61-byte output report (byte 0 = report id 0x02); returns the bytes written or -1.
  virtual int Write(std::span<const std::uint8_t> report) = 0;
  // Reads one input report into `report` (room for 61 bytes), waiting at most `timeoutMs`
  // (-1 = until a report arrives, the device fails or Cancel() is called). Returns the bytes read:
  // 61 with byte 0 the report id, or 60 when the device has no numbered reports (no id byte);
  // 0 on time-out; -1 when the device failed, went away or the read was cancelled.
  virtual int Read(std::span<std::uint8_t> report, int timeoutMs) = 0;
  // Makes a blocked Read return -1 soon, and every later Read at once; used by the bounded close.
  virtual void Cancel() = 0;
};

// Arrival and removal of HID interfaces.
struct HotplugEvent {
  enum class Kind { arrival, removal } kind;
  std::string path;
};
using HotplugSink = std::function<void(const HotplugEvent&)>;

class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // The HID interfaces present, in the system's order; a backend may list only the machine's
  // vendor/product.
  virtual std::vector<HidDeviceInfo> Enumerate() = 0;
  // nullptr when the interface cannot be opened.
  virtual std::unique_ptr<HidDevice> Open(const std::string& path) = 0;
  // Starts delivering arrival/removal events to `sink` from a thread of the backend; false when not
  // possible (no monitor available).
  virtual bool WatchHotplug(HotplugSink sink) = 0;
  virtual void StopWatching() = 0;
  // The polled alternative for event loops (a QSocketNotifier): a file descriptor that becomes readable
  // when hot-plug events wait, or -1 when the backend has none. DrainMonitor hands every waiting event
  // to `sink` without blocking; false when there is no monitor.
  virtual int MonitorFd() { return -1; }
  virtual bool DrainMonitor(const HotplugSink& sink) {
    (void)sink;
    return false;
  }
};

}  // namespace vireo
