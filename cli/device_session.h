// One vireo-cli conversation with the machine (or its emulator): connect, trace, read-all, write-all.
#pragma once

#include <functional>

#include <fstream>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>

#include "cli.h"
#include "device/connection.h"
#include "model/parameter_store.h"
#include "model/report.h"
#include "model/utf8_text.h"

namespace vireo::cli {

// Any emulator option asks for the emulator.
bool EmulatorAsked(const GlobalOptions& options);
// The emulator with the options' settings, or the real machine's backend; null with one line when the
// emulator's starting state cannot be loaded.
std::unique_ptr<HidBackend> MakeBackend(const GlobalOptions& options, Clock& clock, std::string* problem);

// The --trace file: one line per report, '>' sent or '<' received, then the 61 bytes in hex.
class TraceWriter {
 public:
  bool Open(const std::string& path, std::string* problem);
  bool isOpen() const { return out_.is_open(); }
  // From any thread.
  void Write(TraceDirection direction, std::span<const std::uint8_t> report);

 private:
  std::mutex lock_;
  std::ofstream out_;
};

class DeviceSession {
 public:
  // Builds the backend (the emulator with its options, or the real machine), opens the trace file and
  // connects. Null with a one-line `problem` when any of that fails.
  static std::unique_ptr<DeviceSession> Open(const GlobalOptions& options, std::string* problem);
  // Sends the disconnect notice and closes the link.
  ~DeviceSession();
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  // Runs a transfer to its end and checks the machine as the application does. False with a
  // one-line `problem` when the machine was rejected or went away.
  bool ReadAll(std::string* problem);
  bool WriteAll(std::string* problem);

  ParameterStore& store() { return store_; }
  MachineConnection& connection() { return *connection_; }
  // How many remote keys the machine has reported learned (event 1001) since the session opened.
  int keysLearned() const;
  // Waits until more than `before` keys have been reported learned; false after `timeoutMs`.
  bool WaitForKeyLearned(int before, int timeoutMs);

 private:
  class IgnoredEvents;
  explicit DeviceSession(Clock& clock);
  bool Finish(SyncOutcome outcome, std::string* problem);

  ParameterStore store_;
  std::unique_ptr<IgnoredEvents> events_;
  std::unique_ptr<HidBackend> backend_;
  std::unique_ptr<MachineConnection> connection_;
  TraceWriter trace_;
};

// Connects and reads everything, as the application does after connecting; null after printing the
// problem, with *status kExitFailure.
std::unique_ptr<DeviceSession> ConnectAndRead(const GlobalOptions& options, std::ostream& err, int* status);

// Remembers whether the link refused a report, so that an edit cannot be claimed the machine never got.
class CheckedSender final : public ReportSender {
 public:
  explicit CheckedSender(ReportSender& link) : link_(link) {}
  int SendPaced(const Report& report) override { return Check(link_.SendPaced(report)); }
  int SendUnpaced(const Report& report) override { return Check(link_.SendUnpaced(report)); }
  bool refused() const { return refused_; }

 private:
  int Check(int written) {
    if (written == 0) refused_ = true;
    return written;
  }
  ReportSender& link_;
  bool refused_ = false;
};

// Reads everything, makes `edit` through a sender that notices a lost machine, then prints what the edit
// wrote to its text: kExitOk, or kExitFailure with one line when the machine did not take the edit.
using MachineEdit = std::function<void(ParameterStore&, ReportSender&, std::ostream&)>;
int EditOnMachine(const GlobalOptions& options, std::ostream& out, std::ostream& err,
                  const MachineEdit& edit);

using vireo::Utf8;

}  // namespace vireo::cli
