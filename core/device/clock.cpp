// The wall clock behind every wait of the device layer outside tests.
#include "device/clock.h"

#include <chrono>
#include <thread>

namespace vireo {
namespace {

class SteadyClock final : public Clock {
 public:
  std::int64_t NowMs() override {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
  }

  void SleepMs(int ms) override {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }

  bool WaitFor(std::condition_variable& cv, std::unique_lock<std::mutex>& lock, int timeoutMs,
               const std::function<bool()>& ready) override {
    if (timeoutMs < 0) {
      cv.wait(lock, ready);
      return true;
    }
    return cv.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
  }
};

}  // namespace

Clock& SystemClock() {
  static SteadyClock clock;
  return clock;
}

}  // namespace vireo
