// The remote's host in the window.
#include "shell/window_remote_host.h"

#include <QMetaObject>
#include <QString>

#include "device/connection.h"
#include "services/app_services.h"
#include "services/smart_home_link.h"
#include "shell/main_frame.h"
#include "smarthome/smart_home_controller.h"
#include "tuning/edit_history.h"
#include "tuning/mode_slots.h"

using vireo::remote::ActionResult;

CWindowRemoteHost::CWindowRemoteHost(AppServices& app, CMainFrame& frame) : app_(app), frame_(frame) {}

CWindowRemoteHost::~CWindowRemoteHost() {
  Close();
}

void CWindowRemoteHost::Close() {
  std::lock_guard guard(gate_->lock);
  gate_->open = false;
}

void CWindowRemoteHost::Post(std::function<void()> work) {
  std::shared_ptr<Gate> gate = gate_;
  // Posting under the lock: once Close() has returned, no thread is still handing work to this object,
  // so it may be destroyed; Qt discards the events still queued for it along with it.
  std::lock_guard guard(gate->lock);
  if (!gate->open) return;
  QMetaObject::invokeMethod(
      this,
      [gate, work = std::move(work)] {
        {
          std::lock_guard check(gate->lock);
          if (!gate->open) return;
        }
        work();
      },
      Qt::QueuedConnection);
}

const vireo::ParameterStore& CWindowRemoteHost::store() const {
  return app_.store();
}

bool CWindowRemoteHost::connected() const {
  return app_.connection().connected();
}

bool CWindowRemoteHost::syncing() const {
  return app_.connection().transferRunning();
}

vireo::tuning::FieldSetResult CWindowRemoteHost::SetField(const vireo::tuning::FieldValue& value) {
  const vireo::tuning::FieldSetResult result = app_.edits().Apply({value});
  frame_.RefreshAfterEdit();
  return result;
}

ActionResult CWindowRemoteHost::RecallMode(int slot) {
  vireo::MachineConnection& connection = app_.connection();
  if (connection.transferRunning())
    return ActionResult::Refused(409, "a transfer is running; try again when it ends");
  if (!connection.connected()) return ActionResult::Refused(409, "the machine is not connected");
  // No "setting changed" question: the remote's user asked for the slot. The backup is the way back.
  if (!app_.BackUpTuning(QStringLiteral("remote-slot-%1").arg(slot + 1)))
    return ActionResult::Refused(409, "the machine's tuning could not be backed up");
  if (!vireo::tuning::LoadModeSlot(connection, slot))
    return ActionResult::Refused(409, "the machine is not connected");
  // The synchronisation window is modal: shown from here it would hold this command, and the remote's
  // answer, until the read-all ends, while every later command ran nested inside its event loop. Shown
  // from the next turn of the loop it stands over the window as a slot loaded from the menu does. The
  // transfer's end is queued behind it; if it was handled first, there is nothing left to show.
  QMetaObject::invokeMethod(
      this,
      [gate = gate_, this] {
        {
          std::lock_guard check(gate->lock);
          if (!gate->open) return;
        }
        if (app_.connection().transferRunning()) app_.ShowSyncWindow(QString());
      },
      Qt::QueuedConnection);
  return ActionResult::Ok();
}

ActionResult CWindowRemoteHost::SwitchAb() {
  frame_.SwitchTuning();
  return ActionResult::Ok();
}

vireo::remote::AbSlot CWindowRemoteHost::abLive() const {
  return frame_.tunings().live() == vireo::tuning::AbTunings::Slot::a ? vireo::remote::AbSlot::a
                                                                      : vireo::remote::AbSlot::b;
}

ActionResult CWindowRemoteHost::RunScene(int scene) {
  SmartHomeLink& link = app_.smartHome();
  if (!link.connected()) return ActionResult::Refused(409, "the machine is not connected");
  if (!link.controller().RunScene(scene))
    return ActionResult::Refused(409, "the smart-home controller is busy");
  return ActionResult::Ok(202);
}

ActionResult CWindowRemoteHost::SetPlug(int node, int value) {
  SmartHomeLink& link = app_.smartHome();
  if (!link.connected()) return ActionResult::Refused(409, "the machine is not connected");
  if (!link.controller().present(node))
    return ActionResult::Refused(404, "no plug with node " + std::to_string(node));
  if (!link.controller().SetValue(node, value))
    return ActionResult::Refused(409, "the smart-home controller is busy");
  return ActionResult::Ok(202);
}

const vireo::smarthome::SmartHomeController* CWindowRemoteHost::smartHome() const {
  return &app_.smartHome().controller();
}
