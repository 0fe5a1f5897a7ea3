// Time as the device layer sees it: every sleep and time-out goes through here so tests run in virtual time.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

namespace vireo {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::int64_t NowMs() = 0;
  virtual void SleepMs(int ms) = 0;
  // Waits on `cv` until `ready()` or `timeoutMs` passed (a negative time-out waits without bound);
  // returns ready(). `lock` holds the cv's mutex, and ready() is evaluated with it held.
  virtual bool WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, int timeoutMs,
                       const std::function<bool()>& ready) = 0;
  // Call after a state change that a WaitFor predicate depends on, in addition to notifying the cv.
  // The system clock ignores it; the virtual clock counts it as progress (see virtual_clock.h).
  virtual void Notify() {}
};

// Wall-clock time (std::chrono::steady_clock).
Clock& SystemClock();

}  // namespace vireo
