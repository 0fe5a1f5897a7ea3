// A scriptable HID backend for link tests: canned interfaces, a device whose reads the test feeds.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/hid_backend.h"
#include "model/report.h"

namespace vireo::test {

// What the test controls and observes of one device; outlives the device itself.
struct FakeDeviceControl {
  std::mutex lock;
  std::condition_variable cv;
  std::deque<std::vector<std::uint8_t>> inbox;  // reports the next reads return
  bool failRead = false;                        // the next read fails (-1)
  bool ignoreCancel = false;                    // a read that never completes
  bool cancelled = false;
  bool destroyed = false;
  int readCalls = 0;
  int writeResult = static_cast<int>(kReportBytes);
  bool echoWrites = false;  // answer every write with a reply of the same code (a machine that replies)
  std::vector<Report> written;
  std::atomic<int> writesInFlight{0};
  std::atomic<bool> overlappingWrites{false};

  void Push(std::vector<std::uint8_t> report) {
    {
      std::lock_guard guard(lock);
      inbox.push_back(std::move(report));
    }
    cv.notify_all();
  }
  void FailNextRead() {
    {
      std::lock_guard guard(lock);
      failRead = true;
    }
    cv.notify_all();
  }
  // Waits (real time, bounded) until `done()` holds; false on time-out.
  template <typename Pred>
  bool WaitUntil(Pred done, int ms = 5000) {
    std::unique_lock guard(lock);
    return cv.wait_for(guard, std::chrono::milliseconds(ms), done);
  }
  std::vector<Report> Written() {
    std::lock_guard guard(lock);
    return written;
  }
};

class FakeDevice final : public HidDevice {
 public:
  explicit FakeDevice(std::shared_ptr<FakeDeviceControl> control) : c_(std::move(control)) {}
  ~FakeDevice() override {
    {
      std::lock_guard guard(c_->lock);
      c_->destroyed = true;
    }
    c_->cv.notify_all();
  }

  int Write(std::span<const std::uint8_t> report) override {
    if (c_->writesInFlight.fetch_add(1) != 0) c_->overlappingWrites = true;
    int result = 0;
    {
      std::lock_guard guard(c_->lock);
      Report copy{};
      std::copy_n(report.begin(), std::min(report.size(), copy.size()), copy.begin());
      c_->written.push_back(copy);
      result = c_->writeResult;
      if (c_->echoWrites) c_->inbox.push_back({0x00, copy[1], 0x00});
    }
    c_->writesInFlight.fetch_sub(1);
    c_->cv.notify_all();
    return result;
  }

  int Read(std::span<std::uint8_t> report, int) override {
    std::unique_lock guard(c_->lock);
    ++c_->readCalls;
    c_->cv.notify_all();
    c_->cv.wait(guard,
                [&] { return !c_->inbox.empty() || c_->failRead || (c_->cancelled && !c_->ignoreCancel); });
    c_->cv.notify_all();  // observers wait for reads to complete too
    if (!c_->inbox.empty()) {
      const auto next = std::move(c_->inbox.front());
      c_->inbox.pop_front();
      const std::size_t n = std::min(next.size(), report.size());
      std::copy_n(next.begin(), n, report.begin());
      return static_cast<int>(n);
    }
    c_->failRead = false;
    return -1;
  }

  void Cancel() override {
    {
      std::lock_guard guard(c_->lock);
      c_->cancelled = true;
    }
    c_->cv.notify_all();
  }

 private:
  std::shared_ptr<FakeDeviceControl> c_;
};

class FakeBackend final : public HidBackend {
 public:
  std::vector<HidDeviceInfo> interfaces;
  std::vector<std::string> opened;  // paths passed to Open, in order
  std::vector<std::string> refuse;  // paths whose Open fails
  std::shared_ptr<FakeDeviceControl> control = std::make_shared<FakeDeviceControl>();

  std::vector<HidDeviceInfo> Enumerate() override { return interfaces; }
  std::unique_ptr<HidDevice> Open(const std::string& path) override {
    opened.push_back(path);
    for (const auto& r : refuse) {
      if (r == path) return nullptr;
    }
    return std::make_unique<FakeDevice>(control);
  }
  bool WatchHotplug(HotplugSink) override { return false; }
  void StopWatching() override {}
};

inline HidDeviceInfo Machine(std::string path) {
  return {std::move(path), kMachineVendorId, kMachineProductId};
}

}  // namespace vireo::test
