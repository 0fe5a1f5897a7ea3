// Telling the machines on one backend apart by their keys, and one backend per machine.
#include "device/machine_views.h"

#include <algorithm>

namespace vireo {
namespace {

bool IsMachine(const HidDeviceInfo& info) {
  return info.vendorId == kMachineVendorId && info.productId == kMachineProductId;
}

}  // namespace

MachineViews::MachineViews(HidBackend& backend, MachineKeyFn keyOf)
    : backend_(backend), keyOf_(std::move(keyOf)) {}

std::vector<std::string> MachineViews::PresentMachines() {
  std::vector<std::string> keys;
  {
    std::lock_guard guard(lock_);
    for (const HidDeviceInfo& info : backend_.Enumerate())
      if (IsMachine(info)) keys.push_back(keyOf_(info));
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

std::unique_ptr<MachineView> MachineViews::View(std::string key) {
  return std::make_unique<MachineView>(*this, std::move(key));
}

std::vector<HidDeviceInfo> MachineViews::InterfacesOf(const std::string& key) {
  std::vector<HidDeviceInfo> mine;
  if (key.empty()) return mine;
  std::lock_guard guard(lock_);
  for (const HidDeviceInfo& info : backend_.Enumerate())
    if (IsMachine(info) && keyOf_(info) == key) mine.push_back(info);
  return mine;
}

std::unique_ptr<HidDevice> MachineViews::Open(const std::string& path) {
  std::lock_guard guard(lock_);
  return backend_.Open(path);
}

void MachineView::Pin(std::string key) {
  std::lock_guard guard(lock_);
  key_ = std::move(key);
}

std::string MachineView::key() const {
  std::lock_guard guard(lock_);
  return key_;
}

std::vector<HidDeviceInfo> MachineView::Enumerate() {
  return views_.InterfacesOf(key());
}

}  // namespace vireo
