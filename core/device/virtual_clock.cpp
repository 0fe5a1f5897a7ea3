// Virtual time for tests: instant sleeps, and time-outs that expire once every other thread is quiet.
#include "device/virtual_clock.h"

#include <algorithm>
#include <chrono>

namespace vireo {
namespace {
constexpr auto kPollInterval = std::chrono::milliseconds(1);
}  // namespace

VirtualClock::VirtualClock() : VirtualClock(Options{}) {}
VirtualClock::VirtualClock(Options options) : options_(options) {}

std::int64_t VirtualClock::NowMs() {
  std::lock_guard guard(lock_);
  return now_;
}

void VirtualClock::Progress() {
  progress_.fetch_add(1, std::memory_order_acq_rel);
}

void VirtualClock::SleepMs(int ms) {
  if (ms > 0)
    Advance(ms);
  else
    Progress();
}

void VirtualClock::Advance(std::int64_t ms) {
  {
    std::lock_guard guard(lock_);
    now_ += std::max<std::int64_t>(ms, 0);
  }
  Progress();
}

void VirtualClock::Notify() {
  Progress();
}

int VirtualClock::blockedWaiters() {
  std::lock_guard guard(lock_);
  return blocked_;
}

bool VirtualClock::AdvanceToEarliestDeadline() {
  std::lock_guard guard(lock_);
  if (deadlines_.empty()) return false;
  const std::int64_t earliest = deadlines_.begin()->first;
  if (earliest <= now_) return false;
  now_ = earliest;
  return true;
}

bool VirtualClock::WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, int timeoutMs,
                           const std::function<bool()>& ready) {
  if (ready()) return true;
  std::multimap<std::int64_t, std::uint64_t>::iterator entry;
  std::int64_t deadline = 0;
  const bool bounded = timeoutMs >= 0;
  {
    std::lock_guard guard(lock_);
    deadline = now_ + timeoutMs;
    if (bounded) entry = deadlines_.emplace(deadline, nextId_++);
    ++blocked_;
  }
  Progress();

  using RealClock = std::chrono::steady_clock;
  std::uint64_t seen = progress_.load(std::memory_order_acquire);
  auto quietSince = RealClock::now();
  bool result = false;
  for (;;) {
    if (ready()) {
      result = true;
      break;
    }
    if (bounded && NowMs() >= deadline) break;
    cv.wait_for(lock, kPollInterval);
    const std::uint64_t current = progress_.load(std::memory_order_acquire);
    if (current != seen) {
      seen = current;
      quietSince = RealClock::now();
    } else if (options_.autoAdvance &&
               RealClock::now() - quietSince >= std::chrono::milliseconds(options_.quietRealMs)) {
      // Check once more so a wake-up that raced with the quiet period wins over the time-out.
      if (ready()) {
        result = true;
        break;
      }
      if (AdvanceToEarliestDeadline()) Progress();
      quietSince = RealClock::now();
    }
  }

  {
    std::lock_guard guard(lock_);
    if (bounded) deadlines_.erase(entry);
    --blocked_;
  }
  Progress();
  return result;
}

}  // namespace vireo
