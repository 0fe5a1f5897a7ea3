// The remote's host without a window (the headless service, tests and benchmarks): a thread of its own
// runs the commands against the core's connection, edit session, A/B tunings and smart-home link.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "device/connection.h"
#include "device/events.h"
#include "remote/remote_host.h"
#include "tuning/ab_compare.h"
#include "tuning/edit_history.h"

namespace vireo::remote {

class CoreHost final : public RemoteHost {
 public:
  // `home` may be null. All must outlive the host; the host's thread starts at once.
  CoreHost(MachineConnection& connection, tuning::EditSession& edits, smarthome::SmartHomeController* home);
  ~CoreHost() override;  // Close()
  CoreHost(const CoreHost&) = delete;
  CoreHost& operator=(const CoreHost&) = delete;

  // Runs what is queued, then ends the thread; later work is dropped.
  void Close();
  // Blocks until everything posted so far has run (tests).
  void Drain();

  void Post(std::function<void()> work) override;
  const ParameterStore& store() const override { return connection_.store(); }
  bool connected() const override { return connection_.connected(); }
  bool syncing() const override { return connection_.transferRunning(); }
  tuning::FieldSetResult SetField(const tuning::FieldValue& value) override;
  ActionResult RecallMode(int slot) override;
  ActionResult SwitchAb() override;
  AbSlot abLive() const override;
  ActionResult RunScene(int scene) override;
  ActionResult SetPlug(int node, int value) override;
  const smarthome::SmartHomeController* smartHome() const override { return home_; }

  // A finished transfer (event 1002) is handled on the host's thread, as a window handles it on its own:
  // the connection joins its worker and the undo history no longer applies.
  void OnTransferDone(std::intptr_t kind);
  // Called on the host's thread after a read-all ran to its end (the service then reads the plugs).
  void SetAfterReadAll(std::function<void()> callback) { afterReadAll_ = std::move(callback); }

 private:
  void Main();

  MachineConnection& connection_;
  tuning::EditSession& edits_;
  smarthome::SmartHomeController* home_;
  tuning::AbTunings tunings_;
  std::function<void()> afterReadAll_;
  std::mutex lock_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<std::function<void()>> work_;
  bool running_ = false;
  bool closing_ = false;
  std::thread thread_;
};

// The connection's events before and after its host exists: the connection is built first and needs
// somewhere to post; once attached, finished transfers go to the host.
class HostEvents final : public EventSink {
 public:
  void Attach(CoreHost* host);
  void Post(int message, std::intptr_t a, std::intptr_t b) override;
  void Send(int message, std::intptr_t a, std::intptr_t b) override { Post(message, a, b); }

 private:
  std::mutex lock_;
  CoreHost* host_ = nullptr;
};

}  // namespace vireo::remote
