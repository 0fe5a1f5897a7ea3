// Hot-plug events as a backend's watcher thread delivers them, queued for the test thread to handle.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

#include "device/hid_backend.h"

namespace vireo::test {

class HotplugQueue {
 public:
  HotplugSink Sink() {
    return [this](const HotplugEvent& event) {
      {
        std::lock_guard guard(lock_);
        events_.push_back(event);
      }
      cv_.notify_all();
    };
  }
  // Waits (real time, bounded) for the next event.
  std::optional<HotplugEvent> Next() {
    std::unique_lock guard(lock_);
    if (!cv_.wait_for(guard, std::chrono::seconds(10), [this] { return !events_.empty(); }))
      return std::nullopt;
    HotplugEvent event = events_.front();
    events_.pop_front();
    return event;
  }

 private:
  std::mutex lock_;
  std::condition_variable cv_;
  std::deque<HotplugEvent> events_;
};

}  // namespace vireo::test
