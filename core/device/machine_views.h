// Several machines on one backend, each seen by its own connection as if it were alone.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/hid_backend.h"

namespace vireo {

// Which machine an interface belongs to; interfaces of one machine give the same key.
using MachineKeyFn = std::function<std::string(const HidDeviceInfo&)>;

class MachineView;

// The link opens the first interface its backend lists, so one shared list would let two links open one
// machine and leave another alone. A view lists only its own machine's interfaces (all of them, in the
// backend's order), so every machine gets one link however many HID interfaces it has.
class MachineViews {
 public:
  // `backend` must outlive the views and every view made from them.
  MachineViews(HidBackend& backend, MachineKeyFn keyOf);

  // The machines present now (the machine's vendor and product only), one key each, sorted, so that
  // machines present together are numbered the same way at every start.
  std::vector<std::string> PresentMachines();
  // A backend of the machine `key` alone; an empty key lists nothing until the view is pinned.
  std::unique_ptr<MachineView> View(std::string key);

 private:
  friend class MachineView;
  std::vector<HidDeviceInfo> InterfacesOf(const std::string& key);
  std::unique_ptr<HidDevice> Open(const std::string& path);

  HidBackend& backend_;
  MachineKeyFn keyOf_;
  std::mutex lock_;  // the connections' threads and the service's thread enumerate; hidapi is not reentrant
};

// Hot-plug is the service's to poll (PresentMachines), so a view watches nothing.
class MachineView final : public HidBackend {
 public:
  MachineView(MachineViews& views, std::string key) : views_(views), key_(std::move(key)) {}

  // Gives a view made without a machine the first one that arrives.
  void Pin(std::string key);
  std::string key() const;

  std::vector<HidDeviceInfo> Enumerate() override;
  std::unique_ptr<HidDevice> Open(const std::string& path) override { return views_.Open(path); }
  bool WatchHotplug(HotplugSink) override { return false; }
  void StopWatching() override {}

 private:
  MachineViews& views_;
  mutable std::mutex lock_;
  std::string key_;
};

}  // namespace vireo
