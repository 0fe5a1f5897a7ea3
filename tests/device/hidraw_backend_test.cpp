// The hidraw backend on a machine without HID devices or a udev daemon: everything degrades cleanly.
#include "device/hidraw_backend.h"

#include <gtest/gtest.h>

#include <chrono>

#include "device/hid_link.h"
#include "device/virtual_clock.h"

namespace vireo {
namespace {

TEST(HidrawBackendTest, MissingDevicesAreReportedNotFatal) {
  HidrawBackend backend;
  for (const HidDeviceInfo& info : backend.Enumerate()) {  // only the machine is ever listed
    EXPECT_FALSE(info.path.empty());
    EXPECT_EQ(info.vendorId, kMachineVendorId);
    EXPECT_EQ(info.productId, kMachineProductId);
  }
  EXPECT_EQ(backend.Open("/nonexistent/hidraw99"), nullptr);
  EXPECT_EQ(backend.Open(""), nullptr);
}

TEST(HidrawBackendTest, MonitorFdAndDrainAgree) {
  HidrawBackend backend;
  const int fd = backend.MonitorFd();
  EXPECT_EQ(backend.MonitorFd(), fd);  // one monitor, created once
  int delivered = 0;
  const bool drained = backend.DrainMonitor([&](const HotplugEvent&) { ++delivered; });
  EXPECT_EQ(drained, fd >= 0);
  EXPECT_GE(delivered, 0);
}

TEST(HidrawBackendThreadsTest, WatcherStartsOnceAndStopsPromptly) {
  HidrawBackend backend;
  const bool watching = backend.WatchHotplug([](const HotplugEvent&) {});
  EXPECT_EQ(watching, backend.MonitorFd() >= 0);
  if (watching) {
    EXPECT_FALSE(backend.WatchHotplug([](const HotplugEvent&) {}));
  }
  const auto start = std::chrono::steady_clock::now();
  backend.StopWatching();
  backend.StopWatching();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST(HidrawBackendTest, LinkFindsNoMachineHere) {
  HidrawBackend backend;
  ParameterStore store;
  VirtualClock clock;
  HidLink link(store, clock);
  bool machinePresent = false;
  for (const HidDeviceInfo& info : backend.Enumerate()) {
    machinePresent |= info.vendorId == kMachineVendorId && info.productId == kMachineProductId;
  }
  if (machinePresent) GTEST_SKIP() << "a machine is plugged in";
  EXPECT_FALSE(link.Open(backend));
  EXPECT_FALSE(link.isOpen());
}

}  // namespace
}  // namespace vireo
