// Virtual time for tests: sleeps and time-outs pass instantly while the order of events is kept.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>

#include "device/clock.h"

namespace vireo {

// Rules:
//  - NowMs() starts at 0 and only moves forward.
//  - SleepMs(ms) advances virtual time by ms at once and returns.
//  - WaitFor(..., timeoutMs, ready) returns true as soon as ready() holds (the waker notifies the cv);
//    it returns false once virtual time has reached its deadline (start + timeoutMs).
//  - Auto-advance (on by default): when a waiter has seen no progress for `quietRealMs` of real time and
//    no other thread of the process is runnable (running or waiting for a processor, read from
//    /proc/self/task), virtual time jumps to the earliest deadline among all threads blocked in WaitFor.
//    Progress is any Notify(), SleepMs(), Advance() or a waiter arriving or leaving. So a time-out fires
//    only once every other thread is quiet, also on a loaded machine, and competing time-outs expire in
//    the order of their deadlines. A thread that stays runnable for 2 s (a busy loop) stops counting.
//  - Advance(ms) moves time by hand (needed when auto-advance is off).
// Waiters re-check their predicate and the clock every real millisecond, so a wake-up that comes
// before the waiter blocks is never lost.
class VirtualClock final : public Clock {
 public:
  struct Options {
    bool autoAdvance = true;
    int quietRealMs = 15;
  };
  VirtualClock();
  explicit VirtualClock(Options options);

  std::int64_t NowMs() override;
  void SleepMs(int ms) override;
  bool WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, int timeoutMs,
               const std::function<bool()>& ready) override;
  void Notify() override;

  void Advance(std::int64_t ms);
  // Threads currently blocked in WaitFor (tests use it to know a thread has reached its wait).
  int blockedWaiters();

 private:
  void Progress();
  bool AdvanceToEarliestDeadline();

  const Options options_;
  std::atomic<std::uint64_t> progress_{0};
  std::mutex lock_;  // guards now_, deadlines_, nextId_
  std::int64_t now_ = 0;
  std::multimap<std::int64_t, std::uint64_t> deadlines_;  // deadline -> waiter id (finite waits only)
  std::uint64_t nextId_ = 0;
  int blocked_ = 0;
};

}  // namespace vireo
