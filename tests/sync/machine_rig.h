// A connection to the emulated machine in virtual time, with the events it posts, for sync tests.
#pragma once

#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

#include "../common/recording_events.h"
#include "device/connection.h"
#include "device/virtual_clock.h"
#include "emulator/emulator_backend.h"
#include "model/parameter_store.h"

namespace vireo::test {

// Time passes only when every thread waits; the quiet period is generous so a busy machine never
// turns a prompt reply into a pacing time-out.
inline VirtualClock::Options RigClockOptions() {
  return {true, 40};
}

struct MachineRig {
  explicit MachineRig(emulator::EmulatorOptions options = {},
                      VirtualClock::Options clockOptions = RigClockOptions())
      : clock(clockOptions), backend(clock, std::move(options)), connection(store, backend, clock, events) {
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
