// The cable pulled after every report of a read-all and of a write-all: each time the transfer ends as a
// lost machine, no slot is stored, and after replugging a read-all brings the store level with the machine.
#include <gtest/gtest.h>

#include <algorithm>

#include "../common/temp_folder.h"
#include "../device/store_snapshot.h"
#include "device/dispatcher.h"
#include "device/sync.h"
#include "distinct_store.h"
#include "hotplug_queue.h"
#include "machine_rig.h"
#include "model/mode_file.h"
#include "tuning/mode_file_ops.h"

namespace vireo::test {
namespace {

// A second program reading the machine: each request goes straight into the emulator and its replies
// straight into the store, on the calling thread, with no link, pacing or cable in between.
class DirectLine final : public ReportSender {
 public:
  DirectLine(emulator::MachineEmulator& machine, ParameterStore& store)
      : machine_(machine), dispatcher_(store, nullptr) {}
  int SendPaced(const Report& report) override { return SendUnpaced(report); }
  int SendUnpaced(const Report& report) override {
    machine_.Receive(report);
    while (const auto reply = machine_.TakeDueReply()) dispatcher_.DispatchReply(*reply);
    return static_cast<int>(kReportBytes);
  }

 private:
  emulator::MachineEmulator& machine_;
  ReplyDispatcher dispatcher_;
};

class UnplugSweepThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(rig_.backend.WatchHotplug(hotplug_.Sink()));
    ParameterStore tuned;
    FillDistinctStore(tuned);
    tuned.SetInt(slot::musicMute, 1);  // the unmuted fade pauses nine times, in every one of ~450 runs
    ASSERT_TRUE(WriteModeFile(tuned, file_).ok);
    ASSERT_EQ(rig_.ConnectAndReadAll(), SyncOutcome::accepted);
  }
  void TearDown() override { rig_.backend.StopWatching(); }

  // Pulls the cable after each request in turn, from the first to the last of an undisturbed transfer.
  void Sweep(bool writeAll) {
    writeAll_ = writeAll;
    const std::size_t length = UndisturbedLength();
    ASSERT_GT(length, writeAll ? 400u : 200u);
    for (std::size_t n = 1; n <= length && !HasFailure(); ++n) {
      SCOPED_TRACE("cable pulled after request " + std::to_string(n) + " of " + std::to_string(length));
      LoseTheMachineAfter(n);
    }
  }

 private:
  // With slot 2 pending, as after loading an "m2" file, so that a slot store would show.
  bool Start() {
    if (writeAll_) return tuning::LoadModeFileIntoMachine(rig_.connection, file_).ok;
    rig_.connection.setPendingSlot(1);
    return rig_.connection.StartReadAll();
  }
  int wparam() const { return writeAll_ ? 1 : 0; }

  // Every run starts from a factory machine, so a partial write-all leaves a mix of old and new.
  void FreshMachine() {
    ASSERT_TRUE(rig_.connection.ResetMachine());
    rig_.backend.machine().ClearRequests();
    rig_.events.Clear();
  }

  // The requests of the whole transfer when nothing disturbs it; the pending slot is stored after it.
  std::size_t UndisturbedLength() {
    FreshMachine();
    EXPECT_TRUE(Start());
    rig_.connection.WaitForSync();
    const std::size_t length = rig_.Requests().size();
    EXPECT_EQ(rig_.connection.OnSyncDone(wparam()), SyncOutcome::accepted);
    EXPECT_EQ(rig_.Requests().back(), MakeCommand(code::storeMode, {1}));
    return length;
  }

  // The front end's order: the removal, then an arrival as soon as the cable is back (connect and
  // read), then the events of the lost transfer and of the read, each handled as it comes.
  void LoseTheMachineAfter(std::size_t n) {
    emulator::MachineEmulator& machine = rig_.backend.machine();
    FreshMachine();
    const emulator::WorkingSet slotBefore = machine.slotContents(1);
    rig_.backend.UnplugAfter(static_cast<int>(n));
    ASSERT_TRUE(Start());
    const auto removal = hotplug_.Next();
    ASSERT_TRUE(removal.has_value());
    ASSERT_EQ(rig_.connection.OnHotplug(*removal), HotplugOutcome::removed);
    rig_.backend.Replug();
    const auto arrival = hotplug_.Next();
    ASSERT_TRUE(arrival.has_value());
    ASSERT_EQ(rig_.connection.OnHotplug(*arrival), HotplugOutcome::arrived);
    ASSERT_TRUE(rig_.connection.ConnectMachine());
    EXPECT_EQ(machine.Requests().size(), n);  // nothing of the lost transfer reaches the new connection
    ParameterStore fresh;
    StoreSnapshot(rig_.store).CopyInto(fresh);  // where the lost transfer left the store
    ASSERT_TRUE(rig_.connection.StartReadAll());
    rig_.connection.WaitForSync();
    EXPECT_EQ(rig_.events.posted(), (std::vector<std::pair<int, std::intptr_t>>{{event::syncDone, wparam()},
                                                                                {event::syncDone, 0}}));
    EXPECT_EQ(rig_.connection.OnSyncDone(wparam()), SyncOutcome::lostMachine);
    EXPECT_EQ(rig_.connection.pendingSlot(), -1);
    EXPECT_EQ(rig_.connection.OnSyncDone(0), SyncOutcome::accepted);

    // What a program started now reads from the machine, beginning with the same store.
    rig_.connection.DisconnectMachine();
    DirectLine line(machine, fresh);
    ASSERT_TRUE(RunReadAllSequence(fresh, line, [](int) { return true; }));
    fresh.setConnected(0);
    EXPECT_TRUE(StoreSnapshot(rig_.store) == StoreSnapshot(fresh));
    const std::vector<int> codes = Codes(machine.Requests());
    EXPECT_EQ(std::count(codes.begin(), codes.end(), code::storeMode), 0);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), code::setMode), 0);
    EXPECT_TRUE(machine.slotContents(1) == slotBefore);
    ASSERT_TRUE(rig_.connection.ConnectMachine());
  }

  // Three pauses per run wait for a quiet moment; a shorter one keeps ~700 runs within a minute.
  MachineRig rig_{{}, {true, 20}};
  HotplugQueue hotplug_;
  bool writeAll_ = false;
  TempFolder temp_;
  const std::string file_ = temp_.Path("m2-vireo-unplug-sweep.noveq");
};

TEST_F(UnplugSweepThreads, ReadAll) {
  Sweep(false);
}

TEST_F(UnplugSweepThreads, WriteAll) {
  Sweep(true);
}

}  // namespace
}  // namespace vireo::test
