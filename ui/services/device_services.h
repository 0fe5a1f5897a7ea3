// The machine side of the application: the backend (real machine or emulator), the clock, the
// connection, the report trace, and the sender and history of user edits, built from the command line.
#pragma once

#include <QString>
#include <memory>

#include "device/clock.h"
#include "device/connection.h"
#include "emulator/emulator_backend.h"
#include "services/launch_options.h"
#include "services/trace_file.h"
#include "smarthome/smart_home_controller.h"
#include "tuning/edit_history.h"
#include "tuning/edit_sender.h"

class DeviceServices {
 public:
  // `clock` defaults to the wall clock; tests give a faster one. `events` must outlive this object.
  DeviceServices(const LaunchOptions& options, vireo::ParameterStore& store, vireo::EventSink& events,
                 vireo::Clock* clock = nullptr);
  ~DeviceServices();

  vireo::MachineConnection& connection() { return *connection_; }
  vireo::HidBackend& backend() { return *backend_; }
  vireo::Clock& clock() { return clock_; }
  // The emulated machine, or nullptr on the real one.
  vireo::emulator::EmulatorBackend* emulator() { return emulator_; }
  // Every user edit goes through here: sent on the edit sender's thread, undoable.
  vireo::tuning::EditSession& edits() { return *edits_; }
  vireo::tuning::EditSender& editSender() { return *editSender_; }
  // The machine's Z-Wave controller, attached to the connection for as long as this object lives.
  vireo::smarthome::SmartHomeController& smartHome() { return *smartHome_; }
  // At exit: lets the edits already made reach the machine (within the sender's bound); edits made
  // afterwards only change the store.
  void FinishEdits() { editSender_->Shutdown(); }
  // Empty when everything was set up; otherwise what went wrong (trace file, emulator state).
  QString problem() const { return problem_; }

 private:
  vireo::Clock& clock_;
  std::unique_ptr<vireo::HidBackend> backend_;
  vireo::emulator::EmulatorBackend* emulator_ = nullptr;
  TraceFile trace_;
  std::unique_ptr<vireo::MachineConnection> connection_;
  std::unique_ptr<vireo::tuning::EditSender> editSender_;  // sends through the connection's link
  std::unique_ptr<vireo::tuning::EditSession> edits_;
  std::unique_ptr<vireo::smarthome::SmartHomeController> smartHome_;
  QString problem_;
};
