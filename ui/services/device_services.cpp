// Building the machine side.
#include "services/device_services.h"

#include "model/mode_file.h"
#include "services/real_backend.h"

DeviceServices::DeviceServices(const LaunchOptions& options, vireo::ParameterStore& store,
                               vireo::EventSink& events, vireo::Clock* clock)
    : clock_(clock ? *clock : vireo::SystemClock()) {
  if (options.emulator) {
    auto emulator = std::make_unique<vireo::emulator::EmulatorBackend>(clock_, options.emulatorOptions);
    emulator_ = emulator.get();
    if (!options.emulatorState.isEmpty()) {
      vireo::ParameterStore initial;
      vireo::ResetStoreDefaults(initial);
      const vireo::ModeFileResult read = vireo::ReadModeFile(initial, options.emulatorState.toStdString());
      if (read.ok) {
        emulator_->machine().LoadWorkingSet(initial);
      } else {
        problem_ = QStringLiteral("--emulator-state %1: %2")
                       .arg(options.emulatorState, QString::fromStdString(read.reason));
      }
    }
    backend_ = std::move(emulator);
  } else {
    backend_ = MakeRealBackend();
  }
  connection_ = std::make_unique<vireo::MachineConnection>(store, *backend_, clock_, events);
  editSender_ = std::make_unique<vireo::tuning::EditSender>(connection_->sender(), clock_);
  edits_ = std::make_unique<vireo::tuning::EditSession>(store, *editSender_, clock_);
  smartHome_ =
      std::make_unique<vireo::smarthome::SmartHomeController>(store, connection_->sender(), clock_, &events);
  smartHome_->Attach(*connection_);
  if (!options.traceFile.isEmpty()) {
    if (trace_.Open(options.traceFile.toStdString())) {
      connection_->SetTraceHook(
          [this](vireo::TraceDirection direction, std::span<const std::uint8_t> report) {
            trace_.Write(direction == vireo::TraceDirection::sent, report);
          });
    } else {
      problem_ = QStringLiteral("--trace %1: cannot write the file").arg(options.traceFile);
    }
  }
}

DeviceServices::~DeviceServices() {
  // The edit sender ends before the link it sends through; the connection joins its threads next; the
  // trace and the backend outlive every report. The smart-home worker detaches and ends first: it
  // sends through the connection.
  smartHome_.reset();
  edits_.reset();
  editSender_.reset();
  connection_.reset();
}
