// Virtual time for tests: instant sleeps, and time-outs that expire once every other thread is quiet.
#include "device/virtual_clock.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vireo {
namespace {
constexpr auto kPollInterval = std::chrono::milliseconds(1);
// A thread that stays runnable this long (a busy loop) does not hold time back any longer.
constexpr auto kRunnableCap = std::chrono::milliseconds(2000);

// Whether another thread of this process is running or waiting for a processor. A quiet spell of real
// time alone is no proof that the other threads are done: on a loaded machine (tests run side by side
// under the sanitizers) a thread that is about to answer can wait for a processor longer than the quiet
// period, and a time-out would then fire before an answer that was on its way.
bool OtherThreadRunnable() {
  DIR* tasks = ::opendir("/proc/self/task");
  if (tasks == nullptr) return false;
  const long self = static_cast<long>(::gettid());
  bool runnable = false;
  while (const dirent* entry = ::readdir(tasks)) {
    const long tid = std::strtol(entry->d_name, nullptr, 10);
    if (tid <= 0 || tid == self) continue;
    char path[64];
    std::snprintf(path, sizeof path, "/proc/self/task/%ld/stat", tid);
    FILE* stat = std::fopen(path, "re");
    if (stat == nullptr) continue;
    char text[512];
    const std::size_t n = std::fread(text, 1, sizeof text - 1, stat);
    std::fclose(stat);
    text[n] = '\0';
    // "tid (name) S ...": the state follows the last ')', since a thread's name may hold one.
    const char* close = std::strrchr(text, ')');
    if (close != nullptr && close[1] == ' ' && close[2] == 'R') {
      runnable = true;
      break;
    }
  }
  ::closedir(tasks);
  return runnable;
}
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
  auto runnableSince = RealClock::time_point::max();
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
      const auto now = RealClock::now();
      if (OtherThreadRunnable()) {
        if (runnableSince == RealClock::time_point::max()) runnableSince = now;
        if (now - runnableSince < kRunnableCap) continue;
      }
      runnableSince = RealClock::time_point::max();
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
