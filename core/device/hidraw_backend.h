// The real machine on Linux: HID interfaces through hidapi (hidraw) and hot-plug through a libudev monitor.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "device/hid_backend.h"

namespace vireo {

// Hot-plug arrives either on the backend's own thread (WatchHotplug) or through MonitorFd/DrainMonitor
// polled by an event loop; use one of the two, not both. Without a working udev the monitor cannot be
// created: WatchHotplug and DrainMonitor then return false and MonitorFd -1, and discovery still works.
class HidrawBackend final : public HidBackend {
 public:
  HidrawBackend();
  ~HidrawBackend() override;
  HidrawBackend(const HidrawBackend&) = delete;
  HidrawBackend& operator=(const HidrawBackend&) = delete;

  std::vector<HidDeviceInfo> Enumerate() override;
  std::unique_ptr<HidDevice> Open(const std::string& path) override;
  bool WatchHotplug(HotplugSink sink) override;
  void StopWatching() override;
  int MonitorFd() override;
  bool DrainMonitor(const HotplugSink& sink) override;

 private:
  class Monitor;
  bool EnsureMonitor();  // with monitorLock_ held

  std::mutex monitorLock_;
  std::unique_ptr<Monitor> monitor_;
  bool monitorFailed_ = false;
  std::thread watcher_;
  int wakeFd_ = -1;  // eventfd that ends the watcher thread
};

// Which machine a hidraw interface belongs to: the sysfs path of its USB device (the same for every
// interface of one machine, and for the same USB port after a replug); the node itself when udev does
// not know it.
std::string HidrawMachineKey(const std::string& devicePath);

}  // namespace vireo
