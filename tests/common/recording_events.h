// An EventSink that records what the device layer delivered, and how, from any thread.
#pragma once

#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "device/events.h"

namespace vireo::test {

struct DeliveredEvent {
  bool synchronous;
  int message;
  std::intptr_t a;
  std::intptr_t b;
  bool operator==(const DeliveredEvent&) const = default;
};

class RecordingEvents final : public EventSink {
 public:
  void Post(int message, std::intptr_t a, std::intptr_t b) override { Add({false, message, a, b}); }
  void Send(int message, std::intptr_t a, std::intptr_t b) override { Add({true, message, a, b}); }
  std::vector<DeliveredEvent> events() {
    std::lock_guard guard(lock_);
    return events_;
  }
  // The posted events as (message, wparam).
  std::vector<std::pair<int, std::intptr_t>> posted() {
    std::lock_guard guard(lock_);
    std::vector<std::pair<int, std::intptr_t>> out;
    for (const DeliveredEvent& e : events_) {
      if (!e.synchronous) out.emplace_back(e.message, e.a);
    }
    return out;
  }
  void Clear() {
    std::lock_guard guard(lock_);
    events_.clear();
  }

 private:
  void Add(DeliveredEvent e) {
    std::lock_guard guard(lock_);
    events_.push_back(e);
  }
  std::mutex lock_;
  std::vector<DeliveredEvent> events_;
};

}  // namespace vireo::test
