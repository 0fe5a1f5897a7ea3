// What the remote-control server asks of the program that hosts it (the window or the headless
// service): a thread to run commands on, and the edits and actions a remote may make there.
#pragma once

#include <functional>
#include <string>

#include "model/parameter_store.h"
#include "tuning/edit_value.h"
#include "tuning/field_setter.h"

namespace vireo::smarthome {
class SmartHomeController;
}

namespace vireo::remote {

// An action's outcome as an HTTP status and one sentence for a refusal.
struct ActionResult {
  int status = 200;
  std::string error;
  static ActionResult Ok(int status = 200) { return {status, {}}; }
  static ActionResult Refused(int status, std::string error) { return {status, std::move(error)}; }
};

// The live tuning of the A/B comparison.
enum class AbSlot { a, b };

class RemoteHost {
 public:
  virtual ~RemoteHost() = default;

  // Runs `work` soon on the host's thread, the one that owns the edit session; callable from any
  // thread. Work posted after the host began to close may be dropped.
  virtual void Post(std::function<void()> work) = 0;

  // The rest is called on the host's thread only.
  virtual const ParameterStore& store() const = 0;
  virtual bool connected() const = 0;
  // A transfer with the machine is running: its values are still arriving.
  virtual bool syncing() const { return false; }
  // One undoable edit, as a control of the window would make it.
  virtual tuning::FieldSetResult SetField(const tuning::FieldValue& value) = 0;
  // Mode slot 0..3: load it on the machine, then read everything back.
  virtual ActionResult RecallMode(int slot) = 0;
  virtual ActionResult SwitchAb() = 0;
  virtual AbSlot abLive() const = 0;
  // Scene 0..5.
  virtual ActionResult RunScene(int scene) = 0;
  // Node 2..232, value 0..99 or 255.
  virtual ActionResult SetPlug(int node, int value) = 0;
  // Null when the host has no smart-home link.
  virtual const smarthome::SmartHomeController* smartHome() const = 0;
};

}  // namespace vireo::remote
