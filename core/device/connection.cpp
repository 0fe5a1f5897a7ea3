// The machine connection: link lifecycle, the synchronisation worker and the identity check.
#include "device/connection.h"

#include <algorithm>

#include "device/debug_log.h"
#include "device/dispatcher.h"
#include "device/hid_link.h"
#include "device/protocol.h"
#include "device/sync.h"

namespace vireo {

MachineConnection::MachineConnection(ParameterStore& store, HidBackend& backend, Clock& clock,
                                     EventSink& events)
    : store_(store),
      backend_(backend),
      clock_(clock),
      events_(events),
      dispatcher_(std::make_unique<ReplyDispatcher>(store, &events)),
      link_(std::make_unique<HidLink>(store, clock)) {
  // A failed read stops meter polling until the next synchronisation finishes, and ends a running
  // transfer at its next pause.
  link_->SetOnReadFailure([this] {
    idle_.store(false, std::memory_order_release);
    MarkLinkLost();
  });
}

MachineConnection::~MachineConnection() {
  StopWorker();
  link_->CloseLink();
}

bool MachineConnection::connected() const {
  return store_.connected() == 1;
}

bool MachineConnection::ConnectMachine() {
  if (connected()) {
    if (!link_->readerEnded()) return true;
    // The read thread died without a removal notice (no hot-plug monitor): start over.
    link_->CloseLink();
  }
  // Left running, the rest of a lost write-all would go to the replugged machine, and its event would
  // read as a success and store the pending slot.
  WaitForSync();
  {
    std::lock_guard stop(stopLock_);
    linkLost_ = false;
  }
  if (!link_->Open(backend_)) return false;
  if (!link_->StartReader(
          [this](std::span<const std::uint8_t> report) { dispatcher_->DispatchReply(report); })) {
    link_->CloseLink();
    return false;
  }
  return true;
}

void MachineConnection::SetSmartHomeHandler(std::function<void(std::span<const std::uint8_t>)> handler) {
  dispatcher_->SetSmartHomeHandler(std::move(handler));
}

bool MachineConnection::StartReadAll() {
  return StartWorker(SyncKind::readAll);
}
bool MachineConnection::StartWriteAll() {
  return StartWorker(SyncKind::writeAll);
}

bool MachineConnection::StartWorker(SyncKind kind) {
  std::lock_guard guard(workerLock_);
  if (!connected() || workerRunning_.load(std::memory_order_acquire)) return false;
  if (worker_.joinable()) worker_.join();  // finished, not yet joined
  {
    std::lock_guard stop(stopLock_);
    if (stopRequested_) return false;
  }
  idle_.store(false, std::memory_order_release);
  workerRunning_.store(true, std::memory_order_release);
  worker_ = std::thread([this, kind] { WorkerMain(kind); });
  return true;
}

bool MachineConnection::Pause(int ms) {
  std::unique_lock lock(stopLock_);
  return !clock_.WaitFor(stopCv_, lock, ms, [this] { return stopRequested_ || linkLost_; });
}

void MachineConnection::MarkLinkLost() {
  {
    std::lock_guard stop(stopLock_);
    linkLost_ = true;
  }
  stopCv_.notify_all();
  clock_.Notify();
}

void MachineConnection::WorkerMain(SyncKind kind) {
  const bool readAll = kind == SyncKind::readAll;
  idle_.store(false, std::memory_order_release);
  store_.Fill(Region::levelMeters, 0);
  const SyncPause pause = [this](int ms) { return Pause(ms); };
  bool finished = Pause(readAll ? kReadAllStartDelayMs : kWriteAllStartDelayMs);
  if (finished) {
    finished =
        readAll ? RunReadAllSequence(store_, *link_, pause) : RunWriteAllSequence(store_, *link_, pause);
  }
  // A connection that is going away has nobody left to tell; a lost link is told as such.
  bool post = false;
  {
    std::lock_guard stop(stopLock_);
    post = !stopRequested_;
    if (post) transfersEnded_.push_back(finished);
  }
  if (post) events_.Post(event::syncDone, readAll ? 0 : 1, 0);
  store_.Fill(Region::levelMeters, 0);
  idle_.store(true, std::memory_order_release);
  workerRunning_.store(false, std::memory_order_release);
}

void MachineConnection::WaitForSync() {
  std::lock_guard guard(workerLock_);
  if (worker_.joinable() && worker_.get_id() != std::this_thread::get_id()) worker_.join();
}

void MachineConnection::StopWorker() {
  {
    std::lock_guard stop(stopLock_);
    stopRequested_ = true;
  }
  stopCv_.notify_all();
  clock_.Notify();
  // Sends fail at once once the link is closed, so the worker reaches its end quickly.
  link_->CloseLink();
  WaitForSync();
}

SyncOutcome MachineConnection::OnSyncDone(int /*wparam*/) {
  WaitForSync();
  bool ranToItsEnd = true;
  {
    std::lock_guard stop(stopLock_);
    if (!transfersEnded_.empty()) {
      ranToItsEnd = transfersEnded_.front();
      transfersEnded_.pop_front();
    }
  }
  const bool linkDown = !connected() || link_->readerEnded();
  if (!ranToItsEnd || linkDown) {
    if (linkDown) link_->CloseLink();  // a link opened since then is a new connection: keep it
    setPendingSlot(-1);
    return SyncOutcome::lostMachine;
  }
  // A slot is pending only until the next synchronisation result, whatever it is: left set, it would
  // store some later, unrelated working set into that slot.
  if (!IsAcceptedModel(store_.modelName())) {
    setPendingSlot(-1);
    DisconnectMachine();
    return SyncOutcome::wrongModel;
  }
  if (store_.deviceKind() != kAcceptedKind) {
    setPendingSlot(-1);
    DisconnectMachine();
    return SyncOutcome::wrongKind;
  }
  const int slot = pendingSlot();
  if (slot != -1) {
    const auto s = static_cast<std::uint8_t>(std::clamp(slot, 0, 3));
    store_.setCurrentMode(s);
    SendCommand(*link_, code::setMode, {s});
    clock_.SleepMs(20);
    SendCommand(*link_, code::storeMode, {s});
    setPendingSlot(-1);
  }
  clock_.SleepMs(150);
  return SyncOutcome::accepted;
}

void MachineConnection::DisconnectMachine() {
  if (!connected()) return;
  MarkLinkLost();
  store_.Fill(Region::levelMeters, 0);
  SendCommand(*link_, code::disconnect);
  link_->CloseLink();
}

bool MachineConnection::PollMeters() {
  if (!idle() || !connected() || !meterPollEnabled()) return false;
  return SendCommand(*link_, code::levelMeters) > 0;
}

HotplugOutcome MachineConnection::OnHotplug(const HotplugEvent& event) {
  if (event.kind == HotplugEvent::Kind::arrival) return HotplugOutcome::arrived;
  if (!link_->IsRemoval(event.path)) return HotplugOutcome::ignored;
  DebugLog("removed!\n");
  MarkLinkLost();
  link_->CloseLink();
  return HotplugOutcome::removed;
}

bool MachineConnection::ResetMachine() {
  if (!connected()) return false;
  return SendCommand(*link_, code::reset, {170}) > 0;
}

void MachineConnection::ExitSequence() {
  {
    std::lock_guard stop(stopLock_);
    stopRequested_ = true;
  }
  stopCv_.notify_all();
  clock_.Notify();
  DisconnectMachine();
  StopWorker();
}

ReportSender& MachineConnection::sender() {
  return *link_;
}
HidLink& MachineConnection::link() {
  return *link_;
}

void MachineConnection::SetTraceHook(ReportTraceHook hook) {
  if (!hook) {
    link_->SetTraceHook(nullptr);
    return;
  }
  link_->SetTraceHook([hook = std::move(hook)](char direction, const Report& report) {
    hook(direction == '>' ? TraceDirection::sent : TraceDirection::received, report);
  });
}

}  // namespace vireo
