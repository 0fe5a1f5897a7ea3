// hidapi devices with a cancellable read, and the udev monitor of the hidraw subsystem.
#include "device/hidraw_backend.h"

#include <hidapi.h>
#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>

#include "device/debug_log.h"

namespace vireo {
namespace {

// hidapi keeps process-wide state: initialise it once, release it at exit.
class HidapiRuntime {
 public:
  static bool Ensure() {
    static HidapiRuntime runtime;
    return runtime.ok_;
  }
  ~HidapiRuntime() {
    if (ok_) hid_exit();
  }

 private:
  HidapiRuntime() : ok_(hid_init() == 0) {}
  bool ok_;
};

// A read waits in short slices so Cancel() ends it promptly; hid_close runs only in the destructor, i.e.
// after the last Read has returned (the link's read thread co-owns the device).
class HidrawDevice final : public HidDevice {
 public:
  explicit HidrawDevice(hid_device* handle) : handle_(handle) {}
  ~HidrawDevice() override { hid_close(handle_); }
  HidrawDevice(const HidrawDevice&) = delete;
  HidrawDevice& operator=(const HidrawDevice&) = delete;

  int Write(std::span<const std::uint8_t> report) override {
    if (cancelled_.load(std::memory_order_acquire)) return -1;
    return hid_write(handle_, report.data(), report.size());
  }

  int Read(std::span<std::uint8_t> report, int timeoutMs) override {
    using namespace std::chrono;
    constexpr int kSliceMs = 100;
    const auto start = steady_clock::now();
    for (;;) {
      if (cancelled_.load(std::memory_order_acquire)) return -1;
      int slice = kSliceMs;
      if (timeoutMs >= 0) {
        const auto left = timeoutMs - duration_cast<milliseconds>(steady_clock::now() - start).count();
        if (left <= 0) return 0;
        slice = static_cast<int>(std::min<long long>(left, kSliceMs));
      }
      const int n = hid_read_timeout(handle_, report.data(), report.size(), slice);
      if (n != 0) return n < 0 ? -1 : n;
    }
  }

  void Cancel() override { cancelled_.store(true, std::memory_order_release); }

 private:
  hid_device* handle_;
  std::atomic<bool> cancelled_{false};
};

}  // namespace

class HidrawBackend::Monitor {
 public:
  static std::unique_ptr<Monitor> Create() {
    udev* context = udev_new();
    if (context == nullptr) return nullptr;
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, "udev");
    if (monitor == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
      if (monitor != nullptr) udev_monitor_unref(monitor);
      udev_unref(context);
      return nullptr;
    }
    return std::unique_ptr<Monitor>(new Monitor(context, monitor));
  }
  ~Monitor() {
    udev_monitor_unref(monitor_);
    udev_unref(context_);
  }
  Monitor(const Monitor&) = delete;
  Monitor& operator=(const Monitor&) = delete;

  int fd() const { return udev_monitor_get_fd(monitor_); }

  // Hands every waiting event to the sink without blocking (the monitor socket is non-blocking).
  void Drain(const HotplugSink& sink) {
    pollfd p{fd(), POLLIN, 0};
    while (poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0) {
      udev_device* device = udev_monitor_receive_device(monitor_);
      if (device == nullptr) break;
      const char* action = udev_device_get_action(device);
      const char* node = udev_device_get_devnode(device);
      if (action != nullptr && node != nullptr && sink) {
        if (std::strcmp(action, "add") == 0) sink({HotplugEvent::Kind::arrival, node});
        if (std::strcmp(action, "remove") == 0) sink({HotplugEvent::Kind::removal, node});
      }
      udev_device_unref(device);
    }
  }

 private:
  Monitor(udev* context, udev_monitor* monitor) : context_(context), monitor_(monitor) {}
  udev* context_;
  udev_monitor* monitor_;
};

HidrawBackend::HidrawBackend() {
  HidapiRuntime::Ensure();
}

HidrawBackend::~HidrawBackend() {
  StopWatching();
}

std::vector<HidDeviceInfo> HidrawBackend::Enumerate() {
  std::vector<HidDeviceInfo> found;
  if (!HidapiRuntime::Ensure()) return found;
  // Only the machine's vendor and product: every other device would crowd it out of the examined few.
  hid_device_info* list = hid_enumerate(kMachineVendorId, kMachineProductId);
  for (const hid_device_info* d = list; d != nullptr; d = d->next) {
    found.push_back({d->path != nullptr ? d->path : "", d->vendor_id, d->product_id});
  }
  hid_free_enumeration(list);
  return found;
}

std::unique_ptr<HidDevice> HidrawBackend::Open(const std::string& path) {
  if (!HidapiRuntime::Ensure()) return nullptr;
  hid_device* handle = hid_open_path(path.c_str());
  if (handle == nullptr) return nullptr;
  return std::make_unique<HidrawDevice>(handle);
}

bool HidrawBackend::EnsureMonitor() {
  if (monitor_) return true;
  if (monitorFailed_) return false;
  monitor_ = Monitor::Create();
  if (!monitor_) {
    monitorFailed_ = true;
    DebugLog("udev monitor unavailable: hot-plug events will not arrive\n");
  }
  return monitor_ != nullptr;
}

int HidrawBackend::MonitorFd() {
  std::lock_guard guard(monitorLock_);
  return EnsureMonitor() ? monitor_->fd() : -1;
}

bool HidrawBackend::DrainMonitor(const HotplugSink& sink) {
  std::lock_guard guard(monitorLock_);
  if (!EnsureMonitor()) return false;
  monitor_->Drain(sink);
  return true;
}

bool HidrawBackend::WatchHotplug(HotplugSink sink) {
  std::lock_guard guard(monitorLock_);
  if (watcher_.joinable() || !EnsureMonitor()) return false;
  wakeFd_ = eventfd(0, EFD_CLOEXEC);
  if (wakeFd_ < 0) return false;
  const int monitorFd = monitor_->fd();
  const int wakeFd = wakeFd_;
  watcher_ = std::thread([this, sink = std::move(sink), monitorFd, wakeFd] {
    pollfd fds[2] = {{monitorFd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    for (;;) {
      if (poll(fds, 2, -1) < 0) {
        if (errno == EINTR) continue;
        return;
      }
      if ((fds[1].revents & POLLIN) != 0) return;
      if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) return;  // the monitor broke
      if ((fds[0].revents & POLLIN) != 0) {
        std::lock_guard drainGuard(monitorLock_);
        monitor_->Drain(sink);
      }
    }
  });
  return true;
}

void HidrawBackend::StopWatching() {
  std::thread watcher;
  int wakeFd = -1;
  {
    std::lock_guard guard(monitorLock_);
    watcher = std::move(watcher_);
    wakeFd = wakeFd_;
    wakeFd_ = -1;
  }
  if (!watcher.joinable()) return;
  const std::uint64_t one = 1;
  if (write(wakeFd, &one, sizeof one) < 0) DebugLog("hot-plug watcher: wake-up failed\n");
  watcher.join();
  close(wakeFd);
}

std::string HidrawMachineKey(const std::string& devicePath) {
  const std::string name = devicePath.substr(devicePath.rfind('/') + 1);
  udev* context = udev_new();
  if (context == nullptr) return devicePath;
  std::string key = devicePath;
  if (udev_device* node = udev_device_new_from_subsystem_sysname(context, "hidraw", name.c_str())) {
    // The parent belongs to the node: released with it.
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(node, "usb", "usb_device");
    const char* sysPath = usb != nullptr ? udev_device_get_devpath(usb) : nullptr;
    if (sysPath != nullptr) key = sysPath;
    udev_device_unref(node);
  }
  udev_unref(context);
  return key;
}

}  // namespace vireo
