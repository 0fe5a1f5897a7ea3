// The remote's host over the core objects, with its own thread.
#include "remote/core_host.h"

#include "smarthome/smart_home_controller.h"
#include "tuning/mode_slots.h"

namespace vireo::remote {

CoreHost::CoreHost(MachineConnection& connection, tuning::EditSession& edits, smarthome::SmartHomeController* home)
    : connection_(connection), edits_(edits), home_(home), thread_([this] { Main(); }) {}

CoreHost::~CoreHost() {
  Close();
}

void CoreHost::Close() {
  {
    std::lock_guard guard(lock_);
    closing_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

void CoreHost::Drain() {
  std::unique_lock lk(lock_);
  idle_.wait(lk, [this] { return (work_.empty() && !running_) || !thread_.joinable(); });
}

void CoreHost::Post(std::function<void()> work) {
  {
    std::lock_guard guard(lock_);
    if (closing_) return;
    work_.push_back(std::move(work));
  }
  wake_.notify_one();
}

void CoreHost::Main() {
  std::unique_lock lk(lock_);
  for (;;) {
    wake_.wait(lk, [this] { return closing_ || !work_.empty(); });
    if (work_.empty()) break;  // closing, and everything queued has run
    std::function<void()> work = std::move(work_.front());
    work_.pop_front();
    running_ = true;
    lk.unlock();
    work();
    work = nullptr;  // whatever the work held goes before the host reports idle
    lk.lock();
    running_ = false;
    if (work_.empty()) idle_.notify_all();
  }
  idle_.notify_all();
}

tuning::FieldSetResult CoreHost::SetField(const tuning::FieldValue& value) {
  return edits_.Apply({value});
}

ActionResult CoreHost::RecallMode(int slot) {
  if (connection_.transferRunning()) return ActionResult::Refused(409, "a transfer is running; try again when it ends");
  if (!tuning::LoadModeSlot(connection_, slot)) return ActionResult::Refused(409, "the machine is not connected");
  return ActionResult::Ok();
}

ActionResult CoreHost::SwitchAb() {
  ParameterStore& store = connection_.store();
  const std::vector<tuning::EditValue> values = tunings_.Switch(store);
  if (!values.empty()) {
    edits_.Run(values, [&](ReportSender& sender, Clock& clock) {
      return tuning::ApplyValues(store, sender, clock, values);
    });
  }
  return ActionResult::Ok();
}

AbSlot CoreHost::abLive() const {
  return tunings_.live() == tuning::AbTunings::Slot::a ? AbSlot::a : AbSlot::b;
}

ActionResult CoreHost::RunScene(int scene) {
  if (!home_) return ActionResult::Refused(409, "there is no smart-home link");
  if (!home_->RunScene(scene)) return ActionResult::Refused(409, "the smart-home controller is busy");
  return ActionResult::Ok(202);
}

ActionResult CoreHost::SetPlug(int node, int value) {
  if (!home_) return ActionResult::Refused(409, "there is no smart-home link");
  if (!home_->present(node)) return ActionResult::Refused(404, "no plug with node " + std::to_string(node));
  if (!home_->SetValue(node, value)) return ActionResult::Refused(409, "the smart-home controller is busy");
  return ActionResult::Ok(202);
}

void CoreHost::OnTransferDone(std::intptr_t kind) {
  Post([this, kind] {
    const SyncOutcome outcome = connection_.OnSyncDone(static_cast<int>(kind));
    edits_.ClearHistory();
    if (kind == 0 && outcome == SyncOutcome::accepted && afterReadAll_) afterReadAll_();
  });
}

void HostEvents::Attach(CoreHost* host) {
  std::lock_guard guard(lock_);
  host_ = host;
}

void HostEvents::Post(int message, std::intptr_t a, std::intptr_t) {
  std::lock_guard guard(lock_);
  if (host_ && message == event::syncDone) host_->OnTransferDone(a);
}

}  // namespace vireo::remote
