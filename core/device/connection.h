// The machine connection: open, identity check, read-all / write-all on a worker, meters and hot-plug.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>

#include "device/clock.h"
#include "device/events.h"
#include "device/hid_backend.h"
#include "model/parameter_store.h"
#include "model/report.h"

namespace vireo {

class HidLink;
class ReplyDispatcher;

// Accepted model names (compared without regard to case) and machine kind.
inline constexpr std::u16string_view kAcceptedModels[] = {u"Calyx", u"Brio"};
inline constexpr std::uint8_t kAcceptedKind = 18;

// What the front end shows after a synchronisation finished (event 1002).
enum class SyncOutcome {
  accepted,     // the store mirrors the machine; refresh every view
  wrongModel,   // link closed; "机器型号与软件不匹配!"
  wrongKind,    // link closed; "机器与软件通信版本不匹配，请使用机器配套软件!"
  lostMachine,  // the machine went away during the transfer: the store holds what arrived before;
                // a pending slot store is dropped (it would store an incomplete transfer)
};

// What a hot-plug notification meant for us.
enum class HotplugOutcome {
  ignored,  // someone else's device, or a removal while we were not connected
  removed,  // our machine went away: the link is closed; show "设备已断开!" / "Device Disconnected!"
  arrived,  // a HID interface arrived: call ConnectMachine and, on success, StartReadAll
};

// Direction of a traced report.
enum class TraceDirection { sent, received };
using ReportTraceHook = std::function<void(TraceDirection, std::span<const std::uint8_t>)>;

// One connection to the machine. All sleeps and time-outs go through the clock; the destructor stops
// the worker and closes the link, so no thread outlives the object.
class MachineConnection {
 public:
  MachineConnection(ParameterStore& store, HidBackend& backend, Clock& clock, EventSink& events);
  ~MachineConnection();
  MachineConnection(const MachineConnection&) = delete;
  MachineConnection& operator=(const MachineConnection&) = delete;

  // Opens the machine and starts the read thread; true when connected (also when it already was).
  // A transfer of a lost connection is waited for first (it ends at once), so none of its reports can
  // reach the new connection.
  bool ConnectMachine();
  // Start the read-all / write-all worker. False (nothing started) when not connected or a worker
  // is still running. The worker posts event 1002 (a = 0 read-all, a = 1 write-all) when done.
  bool StartReadAll();
  bool StartWriteAll();
  // Blocks until the worker (if any) has finished and been joined.
  void WaitForSync();

  // The core part of handling event 1002, on the front end's thread. Joins the finished worker. Each
  // event gets the outcome of the transfer that posted it: lostMachine when that transfer lost its
  // link, even if the machine has been connected again since.
  SyncOutcome OnSyncDone(int wparam);

  // Clears the level meters, sends the disconnect notice (138) and closes the link.
  void DisconnectMachine();
  // The 300 ms meter timer: sends 14 when idle, connected and meter polling enabled. True when sent.
  bool PollMeters();
  HotplugOutcome OnHotplug(const HotplugEvent& event);
  // Sends 104 170; false when not connected.
  bool ResetMachine();
  // Application exit: 138, connected := 0, bounded wait for the read thread, close.
  void ExitSequence();

  ReportSender& sender();
  HidLink& link();
  ParameterStore& store() { return store_; }
  Clock& clock() { return clock_; }
  bool connected() const;
  bool idle() const { return idle_.load(std::memory_order_acquire); }
  // A read-all or write-all worker is running (only one transfer runs at a time).
  bool transferRunning() const { return workerRunning_.load(std::memory_order_acquire); }
  // The idle flag is also held at 0 by the smart-plug window while it is open.
  void setIdle(bool value) { idle_.store(value, std::memory_order_release); }
  int pendingSlot() const { return pendingSlot_.load(std::memory_order_relaxed); }
  void setPendingSlot(int slot) { pendingSlot_.store(slot, std::memory_order_relaxed); }
  bool meterPollEnabled() const { return meterPollEnabled_.load(std::memory_order_relaxed); }
  void setMeterPollEnabled(bool on) { meterPollEnabled_.store(on, std::memory_order_relaxed); }
  // Every report sent and received, on the thread that moved it (the sender's or the read thread).
  void SetTraceHook(ReportTraceHook hook);
  // Replies 18 and 20, on the read thread (the smart-home layer); nullptr detaches it.
  void SetSmartHomeHandler(std::function<void(std::span<const std::uint8_t>)> handler);

 private:
  enum class SyncKind { readAll, writeAll };
  bool StartWorker(SyncKind kind);
  void StopWorker();
  void WorkerMain(SyncKind kind);
  // An interruptible pause of the worker; false once the connection is stopping or the link was lost.
  bool Pause(int ms);
  // The machine went away (read failure, removal, disconnect): a running transfer stops at its next pause.
  void MarkLinkLost();

  ParameterStore& store_;
  HidBackend& backend_;
  Clock& clock_;
  EventSink& events_;
  std::unique_ptr<ReplyDispatcher> dispatcher_;
  std::unique_ptr<HidLink> link_;
  std::mutex workerLock_;  // guards worker_; the worker itself never takes it
  std::mutex stopLock_;    // guards the three fields below
  std::condition_variable stopCv_;
  bool stopRequested_ = false;
  bool linkLost_ = false;            // since the link opened; cleared when the next one opens
  std::deque<bool> transfersEnded_;  // per 1002 posted and not yet handled: whether it ran to its end
  std::thread worker_;
  std::atomic<bool> workerRunning_{false};
  std::atomic<bool> idle_{true};
  std::atomic<int> pendingSlot_{-1};
  std::atomic<bool> meterPollEnabled_{true};
};

}  // namespace vireo
