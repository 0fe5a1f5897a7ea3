// The emulator as a HID interface: discovery, reads and writes with latency, the cable and its notices.
#include "emulator/emulator_backend.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <chrono>
#include <future>

#include "device/virtual_clock.h"

namespace vireo::emulator {
namespace {

using namespace std::chrono_literals;

Report ReadOne(HidDevice& device, int timeoutMs, int* result) {
  Report report{};
  *result = device.Read(report, timeoutMs);
  return report;
}

TEST(EmulatorBackendThreads, PresentsOneMachineInterface) {
  VirtualClock clock;
  EmulatorBackend backend(clock);
  const auto interfaces = backend.Enumerate();
  ASSERT_EQ(interfaces.size(), 1u);
  EXPECT_EQ(interfaces[0].path, "emulator:0");
  EXPECT_EQ(interfaces[0].vendorId, 0x2010);
  EXPECT_EQ(interfaces[0].productId, 0x1031);
  EXPECT_EQ(backend.Open("/dev/hidraw0"), nullptr);

  auto device = backend.Open("emulator:0");
  ASSERT_NE(device, nullptr);
  EXPECT_EQ(device->Write(MakeCommand(code::queryKind)), 61);
  int n = 0;
  const Report reply = ReadOne(*device, 100, &n);
  EXPECT_EQ(n, 61);
  EXPECT_EQ(reply[0], kInputReportId);
  EXPECT_EQ(reply[1], 127);
  EXPECT_EQ(reply[2], 18);
  ReadOne(*device, 100, &n);
  EXPECT_EQ(n, 0);  // nothing more: a time-out
  EXPECT_EQ(backend.machine().Requests().size(), 1u);
}

TEST(EmulatorBackendThreads, RepliesArriveAfterTheLatencyOnTheClock) {
  VirtualClock clock;
  EmulatorOptions options;
  options.replyLatencyMs = 25;
  EmulatorBackend backend(clock, options);
  auto device = backend.Open(kEmulatorPath);
  ASSERT_NE(device, nullptr);
  device->Write(MakeCommand(code::queryMode));
  int n = 0;
  ReadOne(*device, -1, &n);
  EXPECT_EQ(n, 61);
  EXPECT_EQ(clock.NowMs(), 25);
}

TEST(EmulatorBackendThreads, AReadAlreadyWaitingSeesALateReplyAtItsTime) {
  for (Clock* clock : std::initializer_list<Clock*>{nullptr, &SystemClock()}) {
    VirtualClock virtualClock;
    Clock& c = clock != nullptr ? *clock : virtualClock;
    EmulatorOptions options;
    options.replyLatencyMs = 5;
    EmulatorBackend backend(c, options);
    auto device = backend.Open(kEmulatorPath);
    const std::int64_t start = c.NowMs();
    auto read = std::async(std::launch::async, [&] {
      int n = 0;
      ReadOne(*device, -1, &n);
      return n;
    });
    std::this_thread::sleep_for(20ms);  // the read is waiting with nothing queued
    device->Write(MakeCommand(code::queryKind));
    ASSERT_EQ(read.wait_for(5s), std::future_status::ready);
    EXPECT_EQ(read.get(), 61);
    EXPECT_GE(c.NowMs() - start, 5);
    device->Cancel();
  }
}

TEST(EmulatorBackendThreads, CancelReleasesABlockedRead) {
  VirtualClock clock;
  EmulatorBackend backend(clock);
  auto device = backend.Open(kEmulatorPath);
  auto read = std::async(std::launch::async, [&] {
    int n = 0;
    ReadOne(*device, -1, &n);
    return n;
  });
  while (clock.blockedWaiters() == 0) std::this_thread::sleep_for(1ms);
  device->Cancel();
  EXPECT_EQ(read.get(), -1);
  int n = 0;
  ReadOne(*device, -1, &n);
  EXPECT_EQ(n, -1);  // and every later read at once
}

TEST(EmulatorBackendThreads, UnplugFailsTheDeviceAndAnnouncesItReplugAnnouncesArrival) {
  VirtualClock clock;
  EmulatorBackend backend(clock);
  std::mutex lock;
  std::condition_variable cv;
  std::vector<HotplugEvent> events;
  ASSERT_TRUE(backend.WatchHotplug([&](const HotplugEvent& e) {
    std::lock_guard guard(lock);
    events.push_back(e);
    cv.notify_all();
  }));
  auto device = backend.Open(kEmulatorPath);
  backend.UnplugAfter(2);
  EXPECT_EQ(device->Write(MakeCommand(code::queryKind)), 61);
  EXPECT_EQ(device->Write(MakeCommand(code::queryModel)), 61);  // the second request pulls the cable
  EXPECT_EQ(device->Write(MakeCommand(code::queryKind)), -1);
  int n = 0;
  ReadOne(*device, -1, &n);
  EXPECT_EQ(n, -1);
  EXPECT_TRUE(backend.Enumerate().empty());
  EXPECT_EQ(backend.Open(kEmulatorPath), nullptr);

  backend.Replug();
  {
    std::unique_lock guard(lock);
    ASSERT_TRUE(cv.wait_for(guard, 5s, [&] { return events.size() == 2; }));
  }
  EXPECT_EQ(events[0].kind, HotplugEvent::Kind::removal);
  EXPECT_EQ(events[0].path, "emulator:0");
  EXPECT_EQ(events[1].kind, HotplugEvent::Kind::arrival);
  EXPECT_EQ(device->Write(MakeCommand(code::queryKind)), -1);  // the old handle stays dead
  auto fresh = backend.Open(kEmulatorPath);
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->Write(MakeCommand(code::queryKind)), 61);
  backend.StopWatching();
}

TEST(EmulatorBackendThreads, PolledMonitorSignalsItsDescriptor) {
  VirtualClock clock;
  EmulatorBackend backend(clock);
  const int fd = backend.MonitorFd();
  ASSERT_GE(fd, 0);
  pollfd p{fd, POLLIN, 0};
  EXPECT_EQ(::poll(&p, 1, 0), 0);
  backend.Unplug();
  EXPECT_EQ(::poll(&p, 1, 0), 1);
  std::vector<HotplugEvent> events;
  EXPECT_TRUE(backend.DrainMonitor([&](const HotplugEvent& e) { events.push_back(e); }));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].kind, HotplugEvent::Kind::removal);
  EXPECT_EQ(::poll(&p, 1, 0), 0);
}

TEST(EmulatorBackendThreads, ADeviceOutlivesItsBackend) {
  VirtualClock clock;
  std::unique_ptr<HidDevice> device;
  {
    EmulatorBackend backend(clock);
    device = backend.Open(kEmulatorPath);
  }
  EXPECT_EQ(device->Write(MakeCommand(code::queryKind)), 61);
  int n = 0;
  ReadOne(*device, 10, &n);
  EXPECT_EQ(n, 61);
}

}  // namespace
}  // namespace vireo::emulator
