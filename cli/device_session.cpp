// Connecting vireo-cli to the machine or the emulator, with the report trace and the transfer outcomes.
#include "device_session.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "cli_common.h"
#include "device/clock.h"
#include "device/hidraw_backend.h"
#include "emulator/emulator_backend.h"

namespace vireo::cli {

// The command waits for its transfers itself, so the completion event needs no delivery; learned
// remote keys are counted for `remote learn`, which waits for the count to move.
class DeviceSession::IgnoredEvents final : public EventSink {
 public:
  explicit IgnoredEvents(Clock& clock) : clock_(clock) {}
  void Post(int, std::intptr_t, std::intptr_t) override {}
  void Send(int message, std::intptr_t, std::intptr_t) override {
    if (message != event::keyLearned) return;
    {
      std::lock_guard guard(lock_);
      ++keysLearned_;
    }
    changed_.notify_all();
    clock_.Notify();
  }
  int keysLearned() {
    std::lock_guard guard(lock_);
    return keysLearned_;
  }
  bool WaitForMoreThan(int count, int timeoutMs) {
    std::unique_lock lk(lock_);
    return clock_.WaitFor(changed_, lk, timeoutMs, [&] { return keysLearned_ > count; });
  }

 private:
  Clock& clock_;
  std::mutex lock_;
  std::condition_variable changed_;
  int keysLearned_ = 0;
};

int DeviceSession::keysLearned() const {
  return events_->keysLearned();
}

bool DeviceSession::WaitForKeyLearned(int before, int timeoutMs) {
  return events_->WaitForMoreThan(before, timeoutMs);
}

DeviceSession::DeviceSession(Clock& clock) : events_(std::make_unique<IgnoredEvents>(clock)) {
  ResetStoreDefaults(store_);
}

DeviceSession::~DeviceSession() {
  if (connection_) connection_->ExitSequence();
  connection_.reset();
}

bool EmulatorAsked(const GlobalOptions& options) {
  return options.emulator || options.emulatorModel || options.emulatorKind || options.emulatorLatencyMs ||
         options.emulatorState || options.emulatorUnplugAfter;
}

std::unique_ptr<HidBackend> MakeBackend(const GlobalOptions& options, Clock& clock, std::string* problem) {
  if (!EmulatorAsked(options)) return std::make_unique<HidrawBackend>();
  emulator::EmulatorOptions machine;
  if (options.emulatorModel) machine.modelName = *options.emulatorModel;
  if (options.emulatorKind) machine.kind = static_cast<std::uint8_t>(*options.emulatorKind);
  machine.replyLatencyMs = options.emulatorLatencyMs.value_or(0);
  machine.unplugAfterReports = options.emulatorUnplugAfter.value_or(0);
  auto backend = std::make_unique<emulator::EmulatorBackend>(clock, machine);
  std::string reason;
  if (options.emulatorState && !backend->machine().LoadModeFile(*options.emulatorState, &reason)) {
    *problem = "cannot load the emulator state " + *options.emulatorState + ": " + reason;
    return nullptr;
  }
  return backend;
}

bool TraceWriter::Open(const std::string& path, std::string* problem) {
  // Tried without blocking first: a pipe that nobody reads would hold the stream's open for ever.
  const int probe = ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
  const int error = probe < 0 ? errno : 0;
  if (probe >= 0) ::close(probe);
  if (error == 0) out_.open(path, std::ios::out | std::ios::trunc);
  if (error != 0 || !out_) {
    *problem = "cannot write the trace file " + path + ": " + std::strerror(error != 0 ? error : errno);
    return false;
  }
  return true;
}

void TraceWriter::Write(TraceDirection direction, std::span<const std::uint8_t> report) {
  std::string line(1, direction == TraceDirection::sent ? '>' : '<');
  for (std::size_t i = 0; i < kReportBytes; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02X", i < report.size() ? report[i] : 0);
    line += hex;
  }
  line += '\n';
  std::lock_guard guard(lock_);
  out_ << line;
  out_.flush();
}

std::unique_ptr<DeviceSession> DeviceSession::Open(const GlobalOptions& options, std::string* problem) {
  Clock& clock = options.clock != nullptr ? *options.clock : SystemClock();
  std::unique_ptr<DeviceSession> session(new DeviceSession(clock));
  session->backend_ = MakeBackend(options, clock, problem);
  if (!session->backend_) return nullptr;
  if (options.traceFile && !session->trace_.Open(*options.traceFile, problem)) return nullptr;
  session->connection_ =
      std::make_unique<MachineConnection>(session->store_, *session->backend_, clock, *session->events_);
  if (session->trace_.isOpen()) {
    TraceWriter* trace = &session->trace_;
    session->connection_->SetTraceHook(
        [trace](TraceDirection direction, std::span<const std::uint8_t> report) { trace->Write(direction, report); });
  }
  if (!session->connection_->ConnectMachine()) {
    *problem = EmulatorAsked(options) ? "the emulated machine could not be opened"
                                      : "no machine found (USB 2010:1031); is it plugged in and accessible?";
    return nullptr;
  }
  return session;
}

bool DeviceSession::ReadAll(std::string* problem) {
  if (!connection_->StartReadAll()) {
    *problem = "the machine is not connected";
    return false;
  }
  connection_->WaitForSync();
  return Finish(connection_->OnSyncDone(0), problem);
}

bool DeviceSession::WriteAll(std::string* problem) {
  if (!connection_->StartWriteAll()) {
    *problem = "the machine is not connected";
    return false;
  }
  connection_->WaitForSync();
  return Finish(connection_->OnSyncDone(1), problem);
}

bool DeviceSession::Finish(SyncOutcome outcome, std::string* problem) {
  switch (outcome) {
    case SyncOutcome::accepted:
      return true;
    case SyncOutcome::wrongModel:
      *problem = "the machine's model (" + Utf8(store_.modelName()) + ") does not match this software";
      return false;
    case SyncOutcome::wrongKind:
      *problem = "the machine's communication version (kind " + std::to_string(store_.deviceKind()) +
                 ") does not match this software";
      return false;
    case SyncOutcome::lostMachine:
      *problem = "the machine went away during the transfer";
      return false;
  }
  return false;
}

std::unique_ptr<DeviceSession> ConnectAndRead(const GlobalOptions& options, std::ostream& err, int* status) {
  std::string problem;
  auto session = DeviceSession::Open(options, &problem);
  if (session && session->ReadAll(&problem)) return session;
  *status = Failure(err, problem);
  return nullptr;
}

int EditOnMachine(const GlobalOptions& options, std::ostream& out, std::ostream& err,
                  const MachineEdit& edit) {
  int status = kExitFailure;
  auto session = ConnectAndRead(options, err, &status);
  if (!session) return status;
  CheckedSender sender(session->connection().sender());
  std::ostringstream text;
  edit(session->store(), sender, text);
  if (sender.refused()) return Failure(err, "the machine did not take the edit: it is no longer connected");
  out << text.str();
  return kExitOk;
}

}  // namespace vireo::cli
