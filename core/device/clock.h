// Time as the device layer sees it: every sleep and time-out goes through here so tests run in virtual time.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <cstdint>
#include <mutex>

namespace vireo {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t NowMs() = 0;
  virtual void SleepMs(int ms) = 0;
  // Waits on `cv` until `ready()` or `timeoutMs` passed; returns ready(). `lock` holds the cv's mutex.
  virtual bool WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, int timeoutMs,
                       const std::function<bool()>& ready) = 0;
  // Wakes waiters after a state change made outside WaitFor's mutex (virtual clocks need it).
  virtual void Notify() {}
};

// Wall-clock time.
Clock& SystemClock();

}  // namespace vireo
