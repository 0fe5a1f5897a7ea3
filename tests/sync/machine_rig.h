// A connection to the emulated machine in virtual time, with the events it posts, for sync tests.
#pragma once

#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

#include "device/connection.h"
#include "device/virtual_clock.h"
#include "emulator/emulator_backend.h"
#include "model/parameter_store.h"

namespace vireo::test {

class RecordingEvents final : public EventSink {
 public:
  void Post(int message, std::intptr_t a, std::intptr_t) override {
    std::lock_guard guard(lock_);
    posted_.emplace_back(message, a);
  }
  void Send(int message, std::intptr_t a, std::intptr_t) override {
    std::lock_guard guard(lock_);
    sent_.emplace_back(message, a);
  }
  std::vector<std::pair<int, std::intptr_t>> posted() {
    std::lock_guard guard(lock_);
    return posted_;
  }
  void Clear() {
    std::lock_guard guard(lock_);
    posted_.clear();
    sent_.clear();
  }

 private:
  std::mutex lock_;
  std::vector<std::pair<int, std::intptr_t>> posted_;
  std::vector<std::pair<int, std::intptr_t>> sent_;
};

// Time passes only when every thread waits; the quiet period is generous so a busy machine never
// turns a prompt reply into a pacing time-out.
inline VirtualClock::Options RigClockOptions() {
  return {true, 40};
}

struct MachineRig {
  explicit MachineRig(emulator::EmulatorOptions options = {})
      : clock(RigClockOptions()),
        backend(clock, std::move(options)),
        connection(store, backend, clock, events) {
    ResetStoreDefaults(store);
  }

  // Connects and runs a read-all to its end, then handles its completion as the front end does.
  SyncOutcome ConnectAndReadAll() {
    if (!connection.ConnectMachine()) return SyncOutcome::lostMachine;
    return ReadAll();
  }
  SyncOutcome ReadAll() {
    if (!connection.StartReadAll()) return SyncOutcome::lostMachine;
    connection.WaitForSync();
    return connection.OnSyncDone(0);
  }
  SyncOutcome WriteAll() {
    if (!connection.StartWriteAll()) return SyncOutcome::lostMachine;
    connection.WaitForSync();
    return connection.OnSyncDone(1);
  }
  std::vector<Report> Requests() { return backend.machine().Requests(); }

  VirtualClock clock;
  ParameterStore store;
  emulator::EmulatorBackend backend;
  RecordingEvents events;
  MachineConnection connection;
};

inline std::vector<int> Codes(const std::vector<Report>& reports) {
  std::vector<int> codes;
  for (const Report& r : reports) codes.push_back(r[1]);
  return codes;
}

}  // namespace vireo::test
