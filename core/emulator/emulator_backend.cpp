// The emulator's HID interface: reply timing through the clock, the cable, and hot-plug announcements.
#include "emulator/emulator_backend.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>

namespace vireo::emulator {

struct EmulatorBackend::Shared {
  Shared(Clock& c, EmulatorOptions options) : clock(c), machine(c, std::move(options)) {}
  Clock& clock;
  MachineEmulator machine;
  std::mutex lock;  // guards the fields below; taken before the machine's own lock
  std::condition_variable cv;
  bool plugged = true;
  std::uint64_t generation = 0;     // bumped on every removal: devices of older generations are dead
  std::uint64_t requests = 0;       // bumped on every write, so a waiting read recomputes its deadline
  std::size_t unplugAtRequest = 0;  // 0 = not armed
  std::function<void(HotplugEvent)> announce;  // set by the backend; called without `lock` held

  // The cable goes: every open device dies, replies in flight are lost. False when already out.
  bool UnplugLocked() {
    if (!plugged) return false;
    plugged = false;
    ++generation;
    machine.DiscardQueuedReplies();
    return true;
  }
};

namespace {

class EmulatorDevice final : public HidDevice {
 public:
  EmulatorDevice(std::shared_ptr<EmulatorBackend::Shared> shared, std::uint64_t generation)
      : shared_(std::move(shared)), generation_(generation) {}

  int Write(std::span<const std::uint8_t> report) override {
    auto& s = *shared_;
    std::function<void(HotplugEvent)> announce;
    {
      std::lock_guard guard(s.lock);
      if (!Alive()) return -1;
      s.machine.Receive(report);
      ++s.requests;
      // The request was taken; the cable goes before any reply to it leaves.
      if (s.unplugAtRequest != 0 && s.machine.requestCount() >= s.unplugAtRequest) {
        s.unplugAtRequest = 0;
        if (s.UnplugLocked()) announce = s.announce;
      }
    }
    s.cv.notify_all();
    s.clock.Notify();
    if (announce) announce({HotplugEvent::Kind::removal, kEmulatorPath});
    return static_cast<int>(report.size());
  }

  int Read(std::span<std::uint8_t> report, int timeoutMs) override {
    auto& s = *shared_;
    std::unique_lock lock(s.lock);
    const std::int64_t start = s.clock.NowMs();
    for (;;) {
      if (!Alive()) return -1;
      if (auto reply = s.machine.TakeDueReply()) {
        const std::size_t n = std::min(report.size(), reply->size());
        std::copy_n(reply->begin(), n, report.begin());
        return static_cast<int>(n);
      }
      const std::int64_t now = s.clock.NowMs();
      int wait = -1;
      if (timeoutMs >= 0) {
        if (now - start >= timeoutMs) return 0;
        wait = static_cast<int>(start + timeoutMs - now);
      }
      if (const auto due = s.machine.NextDueMs()) {
        const int untilDue = static_cast<int>(std::max<std::int64_t>(*due - now, 0));
        wait = wait < 0 ? untilDue : std::min(wait, untilDue);
      }
      // A new request may bring a reply due before the current deadline: wake up and look again.
      const std::uint64_t seen = s.requests;
      s.clock.WaitFor(s.cv, lock, wait, [&] {
        if (!Alive() || s.requests != seen) return true;
        const auto next = s.machine.NextDueMs();
        return next && *next <= s.clock.NowMs();
      });
    }
  }

  void Cancel() override {
    {
      std::lock_guard guard(shared_->lock);
      cancelled_ = true;
    }
    shared_->cv.notify_all();
    shared_->clock.Notify();
  }

 private:
  bool Alive() const { return !cancelled_ && shared_->plugged && shared_->generation == generation_; }

  std::shared_ptr<EmulatorBackend::Shared> shared_;
  const std::uint64_t generation_;
  bool cancelled_ = false;  // guarded by shared_->lock
};

}  // namespace

EmulatorBackend::EmulatorBackend(Clock& clock, EmulatorOptions options)
    : shared_(std::make_shared<Shared>(clock, options)) {
  if (options.unplugAfterReports > 0)
    shared_->unplugAtRequest = static_cast<std::size_t>(options.unplugAfterReports);
  shared_->announce = [this](HotplugEvent event) { Announce(std::move(event)); };
}

EmulatorBackend::~EmulatorBackend() {
  StopWatching();
  {
    std::lock_guard guard(shared_->lock);
    shared_->announce = nullptr;
  }
  if (eventFd_ >= 0) ::close(eventFd_);
}

MachineEmulator& EmulatorBackend::machine() {
  return shared_->machine;
}

std::vector<HidDeviceInfo> EmulatorBackend::Enumerate() {
  std::lock_guard guard(shared_->lock);
  if (!shared_->plugged) return {};
  return {HidDeviceInfo{kEmulatorPath, kMachineVendorId, kMachineProductId}};
}

std::unique_ptr<HidDevice> EmulatorBackend::Open(const std::string& path) {
  std::lock_guard guard(shared_->lock);
  if (!shared_->plugged || path != kEmulatorPath) return nullptr;
  // A fresh handle does not see reports that were queued for an earlier one.
  shared_->machine.DiscardQueuedReplies();
  return std::make_unique<EmulatorDevice>(shared_, shared_->generation);
}

bool EmulatorBackend::plugged() const {
  std::lock_guard guard(shared_->lock);
  return shared_->plugged;
}

void EmulatorBackend::UnplugAfter(int count) {
  std::lock_guard guard(shared_->lock);
  shared_->unplugAtRequest =
      count > 0 ? shared_->machine.requestCount() + static_cast<std::size_t>(count) : 0;
}

void EmulatorBackend::Unplug() {
  {
    std::lock_guard guard(shared_->lock);
    if (!shared_->UnplugLocked()) return;
  }
  shared_->cv.notify_all();
  shared_->clock.Notify();
  Announce({HotplugEvent::Kind::removal, kEmulatorPath});
}

void EmulatorBackend::Replug() {
  {
    std::lock_guard guard(shared_->lock);
    if (shared_->plugged) return;
    shared_->plugged = true;
  }
  Announce({HotplugEvent::Kind::arrival, kEmulatorPath});
}

void EmulatorBackend::Announce(HotplugEvent event) {
  std::lock_guard guard(hotplugLock_);
  hotplugQueue_.push_back(std::move(event));
  if (eventFd_ >= 0) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(eventFd_, &one, sizeof one);
  }
  hotplugCv_.notify_all();
}

bool EmulatorBackend::WatchHotplug(HotplugSink sink) {
  StopWatching();
  std::lock_guard guard(hotplugLock_);
  sink_ = std::move(sink);
  stopWatcher_ = false;
  watcher_ = std::thread([this] { WatcherMain(); });
  return true;
}

void EmulatorBackend::StopWatching() {
  {
    std::lock_guard guard(hotplugLock_);
    stopWatcher_ = true;
  }
  hotplugCv_.notify_all();
  if (watcher_.joinable()) watcher_.join();
  std::lock_guard guard(hotplugLock_);
  sink_ = nullptr;
}

// Delivers events on a thread of its own, as a system monitor would, so a sink that closes the link
// never runs inside a write.
void EmulatorBackend::WatcherMain() {
  std::unique_lock lock(hotplugLock_);
  for (;;) {
    hotplugCv_.wait(lock, [this] { return stopWatcher_ || !hotplugQueue_.empty(); });
    if (stopWatcher_) return;
    const HotplugEvent event = hotplugQueue_.front();
    hotplugQueue_.pop_front();
    const HotplugSink sink = sink_;
    lock.unlock();
    if (sink) sink(event);
    lock.lock();
  }
}

int EmulatorBackend::MonitorFd() {
  std::lock_guard guard(hotplugLock_);
  if (eventFd_ < 0) eventFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  return eventFd_;
}

bool EmulatorBackend::DrainMonitor(const HotplugSink& sink) {
  std::deque<HotplugEvent> events;
  {
    std::lock_guard guard(hotplugLock_);
    if (eventFd_ >= 0) {
      std::uint64_t count = 0;
      [[maybe_unused]] const auto read = ::read(eventFd_, &count, sizeof count);
    }
    events.swap(hotplugQueue_);
  }
  for (const HotplugEvent& event : events) sink(event);
  return true;
}

}  // namespace vireo::emulator
