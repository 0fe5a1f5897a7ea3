// HidLink: discovery, the pacing event, the locked write, the read thread and the bounded close.
#include "device/hid_link.h"

#include <algorithm>
#include <cctype>
#include <condition_variable>

#include "device/debug_log.h"

namespace vireo {

struct HidLink::Hooks {
  std::mutex lock;
  std::shared_ptr<const TraceHook> trace;
  std::shared_ptr<const std::function<void()>> onReadFailure;

  void Trace(char direction, const Report& report) {
    std::shared_ptr<const TraceHook> hook;
    {
      std::lock_guard guard(lock);
      hook = trace;
    }
    if (hook && *hook) (*hook)(direction, report);
  }
  void ReadFailed() {
    std::shared_ptr<const std::function<void()>> hook;
    {
      std::lock_guard guard(lock);
      hook = onReadFailure;
    }
    if (hook && *hook) (*hook)();
  }
};

// Everything the read thread touches. Shared between the link and the thread, so a thread the close
// had to leave behind still finds it alive. `lock` guards every field but the atomic.
struct HidLink::ReaderState {
  Clock* clock = nullptr;           // not touched once abandoned
  ParameterStore* store = nullptr;  // not touched once abandoned
  std::shared_ptr<HidDevice> device;
  std::shared_ptr<Hooks> hooks;
  DispatchFn dispatch;

  std::mutex lock;
  std::condition_variable cv;
  bool replySignalled = true;  // the auto-reset pacing event, created signalled
  bool stop = false;           // the close asked the thread to leave
  bool busy = false;           // the thread is handing a report or a failure over
  bool exited = false;
  bool abandoned = false;  // the close gave up waiting: touch nothing outside this record
  std::atomic<bool> readerEnded{false};
};

Report NormaliseInputReport(std::span<const std::uint8_t> data) {
  Report r{};
  if (data.size() >= kReportBytes) {
    std::copy_n(data.begin(), kReportBytes, r.begin());
  } else {
    // No id byte in front: id 0, then the payload.
    std::copy_n(data.begin(), std::min(data.size(), kReportBytes - 1), r.begin() + 1);
  }
  return r;
}

HidLink::HidLink(ParameterStore& store, Clock& clock)
    : store_(store), clock_(clock), hooks_(std::make_shared<Hooks>()) {}

HidLink::~HidLink() {
  CloseLink();
}

void HidLink::SetTraceHook(TraceHook hook) {
  auto shared = std::make_shared<const TraceHook>(std::move(hook));
  std::lock_guard guard(hooks_->lock);
  hooks_->trace = std::move(shared);
}

void HidLink::SetOnReadFailure(std::function<void()> hook) {
  auto shared = std::make_shared<const std::function<void()>>(std::move(hook));
  std::lock_guard guard(hooks_->lock);
  hooks_->onReadFailure = std::move(shared);
}

bool HidLink::Open(HidBackend& backend) {
  std::lock_guard lifecycle(lifecycleLock_);
  if (store_.connected() != 0 || readerThread_.joinable()) return false;
  {
    std::lock_guard guard(writeLock_);
    device_.reset();
  }

  // Only the machine's interfaces count towards the limit: a desktop lists dozens of keyboards, mice
  // and headsets first, and a backend may list every HID interface it sees.
  std::vector<HidDeviceInfo> interfaces = backend.Enumerate();
  std::erase_if(interfaces, [](const HidDeviceInfo& info) {
    return info.vendorId != kMachineVendorId || info.productId != kMachineProductId;
  });
  DebugLog("开始枚举usb设备");
  for (std::size_t i = 0; i < static_cast<std::size_t>(kMaxInterfacesExamined); ++i) {
    if (i >= interfaces.size()) {
      DebugLog("枚举usb设备出错,usb设备接口可能枚举完成了");
      break;
    }
    DebugLog("枚举usb设备成功");
    const HidDeviceInfo& info = interfaces[i];
    DebugLog("设备路径:\r\n" + info.path.substr(0, 260));
    DebugLog("尝试打开通信端口....");
    std::unique_ptr<HidDevice> opened = backend.Open(info.path);
    if (!opened) {
      DebugLog("无法打开通信端口。不能读取设备信息!(设备连接可能不正确?)\n");
      continue;
    }
    DebugLog("打开通信端口成功!\n");
    DebugLog("正在读取设备的标识...\n");
    {
      std::lock_guard guard(writeLock_);
      device_ = std::move(opened);
      devicePath_ = info.path;
    }
    DebugLog("连接目标设备成功!");
    return true;
  }
  DebugLog("连接目标设备失败，没有找到目标设备");
  return false;
}

bool HidLink::StartReader(DispatchFn dispatch) {
  std::lock_guard lifecycle(lifecycleLock_);
  auto state = std::make_shared<ReaderState>();
  {
    std::lock_guard guard(writeLock_);
    if (!device_ || readerThread_.joinable()) return false;
    state->device = device_;
  }
  state->clock = &clock_;
  state->store = &store_;
  state->hooks = hooks_;
  state->dispatch = std::move(dispatch);
  {
    std::lock_guard guard(writeLock_);
    reader_ = state;
  }
  store_.setConnected(1);
  readerThread_ = std::thread(&HidLink::ReaderMain, std::move(state));
  return true;
}

void HidLink::ReaderMain(std::shared_ptr<ReaderState> state) {
  DebugLog("start thread: ReadUsbThreadProc \n");
  std::array<std::uint8_t, kReportBytes> buffer{};
  for (;;) {
    {
      std::lock_guard guard(state->lock);
      if (state->stop || state->abandoned || state->store->connected() == 0) break;
    }
    buffer.fill(0);
    const int n = state->device->Read(buffer, -1);
    if (n == 0) continue;  // nothing arrived in time

    std::unique_lock guard(state->lock);
    if (state->abandoned) return;     // the link may be gone: touch nothing else
    if (n < 0 && state->stop) break;  // the close cancelled the read: not a failure
    state->busy = true;
    guard.unlock();

    const bool failed = n < 0;
    if (failed) {
      DebugLog("Read Usb Error will return !\n");
      state->hooks->ReadFailed();
      state->readerEnded.store(true, std::memory_order_release);
    } else {
      const Report report = NormaliseInputReport(std::span(buffer.data(), static_cast<std::size_t>(n)));
      state->hooks->Trace('<', report);
      if (state->dispatch) state->dispatch(report);
    }

    guard.lock();
    state->busy = false;
    if (state->abandoned) {
      state->exited = true;
      return;
    }
    // Set after every report, whatever its code, and after a failure so a waiting sender goes at once.
    state->replySignalled = true;
    state->clock->Notify();
    guard.unlock();
    state->cv.notify_all();
    if (failed) break;
  }

  std::unique_lock guard(state->lock);
  state->exited = true;
  if (state->abandoned) return;
  // Under the lock: the close cannot give up on us (and free the clock) while we still use it.
  state->clock->Notify();
  guard.unlock();
  state->cv.notify_all();
}

int HidLink::SendPaced(const Report& report) {
  // Nothing to pace while disconnected or after a read failure: the write is refused at once anyway.
  if (store_.connected() == 0) return 0;
  std::shared_ptr<ReaderState> state;
  {
    std::lock_guard guard(writeLock_);
    state = reader_;
  }
  if (state && !state->readerEnded.load(std::memory_order_acquire)) {
    std::unique_lock guard(state->lock);
    // The outcome is not examined: after 2000 ms without a reply the report goes out anyway.
    clock_.WaitFor(state->cv, guard, kPacingTimeoutMs, [&] {
      return state->replySignalled || state->stop || state->readerEnded.load(std::memory_order_acquire);
    });
    state->replySignalled = false;
  }
  return LockedWrite(report);
}

int HidLink::SendUnpaced(const Report& report) {
  return LockedWrite(report);
}

int HidLink::LockedWrite(const Report& report) {
  if (store_.connected() == 0) return 0;
  std::unique_lock guard(writeLock_);
  if (reader_ && reader_->readerEnded.load(std::memory_order_acquire)) {
    guard.unlock();
    DebugLog("g_bReadThreadEnd == TRUE ,WriteUsbData return \n");
    return 0;
  }
  int written = 0;
  if (device_) {
    hooks_->Trace('>', report);
    written = std::max(device_->Write(report), 0);
  }
  guard.unlock();
  if (written != static_cast<int>(kReportBytes)) DebugLog("usb数据写入出错");
  return written;
}

void HidLink::CloseLink() {
  std::lock_guard lifecycle(lifecycleLock_);
  std::shared_ptr<ReaderState> state;
  std::shared_ptr<HidDevice> device;
  {
    std::lock_guard guard(writeLock_);
    state = reader_;
    device = device_;
  }
  if (store_.connected() == 0 && !readerThread_.joinable()) {
    // Never connected (or already closed): drop a device that was opened but not started.
    std::lock_guard guard(writeLock_);
    device_.reset();
    reader_.reset();
    return;
  }
  store_.Fill(Region::levelMeters, 0);
  store_.setConnected(0);

  if (readerThread_.joinable() && state) {
    {
      std::lock_guard guard(state->lock);
      state->stop = true;
    }
    state->cv.notify_all();  // releases paced senders
    clock_.Notify();
    if (device) device->Cancel();

    std::unique_lock guard(state->lock);
    bool exited = clock_.WaitFor(state->cv, guard, kCloseTimeoutMs, [&] { return state->exited; });
    if (!exited) {
      DebugLog("wait read thread exited time out !\n");
      // A thread blocked in its read can be left behind. One that is handing a report over gets a
      // bounded grace (it leaves right after, the stop flag being set), so that it does not go on using
      // the dispatcher's objects after the owner has been told the link is closed.
      if (state->busy) clock_.WaitFor(state->cv, guard, kCloseTimeoutMs, [&] { return state->exited; });
      exited = state->exited;
      if (!exited) state->abandoned = true;
    }
    guard.unlock();
    if (exited) {
      readerThread_.join();
    } else {
      readerThread_.detach();
    }
  }

  std::lock_guard guard(writeLock_);
  device_.reset();  // the device closes when the last owner (perhaps a left-behind reader) lets go
  reader_.reset();
}

bool HidLink::IsRemoval(std::string_view removedPath) const {
  std::lock_guard guard(writeLock_);
  if (devicePath_.empty() || removedPath.size() != devicePath_.size()) return false;
  return std::equal(removedPath.begin(), removedPath.end(), devicePath_.begin(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}

std::string HidLink::devicePath() const {
  std::lock_guard guard(writeLock_);
  return devicePath_;
}

bool HidLink::isOpen() const {
  std::lock_guard guard(writeLock_);
  return device_ != nullptr;
}

bool HidLink::readerEnded() const {
  std::lock_guard guard(writeLock_);
  return reader_ && reader_->readerEnded.load(std::memory_order_acquire);
}

}  // namespace vireo
