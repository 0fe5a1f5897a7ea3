// The emulated machine as one HID interface (2010:1031 at "emulator:0"), with simulated plugging.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "device/clock.h"
#include "device/hid_backend.h"
#include "emulator/machine_emulator.h"

namespace vireo::emulator {

inline constexpr const char* kEmulatorPath = "emulator:0";

// Devices opened from this backend share its state through a shared pointer, so a device that the
// link's read thread still holds stays valid after the backend is gone. The clock must outlive both.
class EmulatorBackend final : public HidBackend {
 public:
  explicit EmulatorBackend(Clock& clock, EmulatorOptions options = {});
  ~EmulatorBackend() override;
  EmulatorBackend(const EmulatorBackend&) = delete;
  EmulatorBackend& operator=(const EmulatorBackend&) = delete;

  std::vector<HidDeviceInfo> Enumerate() override;
  std::unique_ptr<HidDevice> Open(const std::string& path) override;
  bool WatchHotplug(HotplugSink sink) override;
  void StopWatching() override;
  int MonitorFd() override;
  bool DrainMonitor(const HotplugSink& sink) override;

  MachineEmulator& machine();
  // The cable: removal fails every open device at once and announces the removal; replugging
  // announces an arrival. The machine keeps its memories across both.
  void Unplug();
  void Replug();
  bool plugged() const;
  // Unplugs once `count` more requests have been received (0 disarms).
  void UnplugAfter(int count);

  struct Shared;

 private:
  void Announce(HotplugEvent event);
  void WatcherMain();

  std::shared_ptr<Shared> shared_;
  std::mutex hotplugLock_;
  std::condition_variable hotplugCv_;
  std::deque<HotplugEvent> hotplugQueue_;
  HotplugSink sink_;
  bool stopWatcher_ = false;
  std::thread watcher_;
  int eventFd_ = -1;
};

}  // namespace vireo::emulator
