// The connection's life: removal and arrival, meters, reset, exit, and shutting down mid-transfer.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "device/hid_link.h"
#include "hotplug_queue.h"
#include "machine_rig.h"

namespace vireo::test {
namespace {

TEST(ConnectionThreads, RemovalMidReadAllLeavesThingsConsistentAndArrivalReconnects) {
  MachineRig rig;
  HotplugQueue hotplug;
  ASSERT_TRUE(rig.backend.WatchHotplug(hotplug.Sink()));
  ASSERT_TRUE(rig.connection.ConnectMachine());
  rig.backend.UnplugAfter(60);  // among the parameter reads
  ASSERT_TRUE(rig.connection.StartReadAll());

  const auto removal = hotplug.Next();
  ASSERT_TRUE(removal.has_value());
  EXPECT_EQ(removal->kind, HotplugEvent::Kind::removal);
  EXPECT_EQ(rig.connection.OnHotplug(*removal), HotplugOutcome::removed);
  EXPECT_FALSE(rig.connection.connected());
  rig.connection.WaitForSync();
  EXPECT_EQ(rig.connection.OnSyncDone(0), SyncOutcome::lostMachine);
  EXPECT_EQ(rig.Requests().size(), 60u);  // nothing reached the machine after the cable went
  EXPECT_TRUE(rig.connection.idle());
  EXPECT_EQ(rig.events.posted().size(), 1u);
  EXPECT_FALSE(rig.connection.PollMeters());
  EXPECT_EQ(rig.connection.OnHotplug({HotplugEvent::Kind::removal, "/dev/hidraw9"}), HotplugOutcome::ignored);

  rig.backend.Replug();
  const auto arrival = hotplug.Next();
  ASSERT_TRUE(arrival.has_value());
  EXPECT_EQ(rig.connection.OnHotplug(*arrival), HotplugOutcome::arrived);
  rig.backend.machine().ClearRequests();
  EXPECT_EQ(rig.ConnectAndReadAll(), SyncOutcome::accepted);
  EXPECT_EQ(rig.Requests().size(), 225u);
  EXPECT_TRUE(rig.connection.connected());
  rig.backend.StopWatching();
}

TEST(ConnectionThreads, ADeadReaderWithoutRemovalNoticeIsReopened) {
  MachineRig rig;
  ASSERT_EQ(rig.ConnectAndReadAll(), SyncOutcome::accepted);
  rig.backend.Unplug();  // nobody watches: no notice reaches the connection
  rig.backend.Replug();
  // The read thread has ended by the time a write fails; then the connection starts over.
  for (int i = 0; i < 1000 && !rig.connection.link().readerEnded(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  ASSERT_TRUE(rig.connection.link().readerEnded());
  EXPECT_TRUE(rig.connection.ConnectMachine());
  EXPECT_FALSE(rig.connection.link().readerEnded());
  EXPECT_EQ(rig.ReadAll(), SyncOutcome::accepted);
}

TEST(ConnectionThreads, MetersArePolledOnlyWhileIdleConnectedAndEnabled) {
  MachineRig rig;
  EXPECT_FALSE(rig.connection.PollMeters());  // not connected
  ASSERT_EQ(rig.ConnectAndReadAll(), SyncOutcome::accepted);
  rig.backend.machine().ClearRequests();
  ASSERT_TRUE(rig.connection.PollMeters());
  EXPECT_EQ(rig.Requests(), (std::vector<Report>{MakeCommand(code::levelMeters)}));
  // The reply lands in the store; a second paced request cannot leave before it arrived.
  ASSERT_TRUE(rig.connection.PollMeters());
  std::array<std::uint8_t, 16> meters{};
  for (int i = 0; i < 1000 && meters[12] == 0; ++i) {
    rig.store.ReadBytes(Region::levelMeters, 0, meters);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(meters[10], 37);  // wireless microphone 1 channel

  rig.connection.setMeterPollEnabled(false);
  EXPECT_FALSE(rig.connection.PollMeters());
  rig.connection.setMeterPollEnabled(true);
  rig.connection.setIdle(false);  // the smart-plug window holds it
  EXPECT_FALSE(rig.connection.PollMeters());
  rig.connection.setIdle(true);
  ASSERT_TRUE(rig.connection.StartReadAll());
  EXPECT_FALSE(rig.connection.PollMeters());     // a transfer is running
  EXPECT_FALSE(rig.connection.StartWriteAll());  // and only one at a time
  rig.connection.WaitForSync();
  EXPECT_EQ(rig.connection.OnSyncDone(0), SyncOutcome::accepted);
  EXPECT_EQ(Codes(rig.Requests()).size(), 2u + 225u);
}

TEST(ConnectionThreads, ResetAndExit) {
  MachineRig rig;
  EXPECT_FALSE(rig.connection.ResetMachine());
  ASSERT_EQ(rig.ConnectAndReadAll(), SyncOutcome::accepted);
  rig.backend.machine().ClearRequests();
  EXPECT_TRUE(rig.connection.ResetMachine());
  rig.connection.ExitSequence();
  EXPECT_EQ(rig.Requests(),
            (std::vector<Report>{MakeCommand(code::reset, {170}), MakeCommand(code::disconnect)}));
  EXPECT_FALSE(rig.connection.connected());
  EXPECT_FALSE(rig.connection.StartReadAll());
}

TEST(ConnectionThreads, DestroyingTheConnectionMidTransferEndsEveryThread) {
  emulator::EmulatorOptions silent;
  silent.dropReplies = emulator::FaultPattern::all;  // every paced send would wait 2000 ms
  const auto start = std::chrono::steady_clock::now();
  {
    MachineRig rig(silent);
    ASSERT_TRUE(rig.connection.ConnectMachine());
    ASSERT_TRUE(rig.connection.StartReadAll());
    while (rig.Requests().size() < 2) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(ConnectionThreads, ASilentMachineStillEndsTheReadAllWithItsEvent) {
  emulator::EmulatorOptions silent;
  silent.dropReplies = emulator::FaultPattern::all;
  MachineRig rig(silent);
  ASSERT_TRUE(rig.connection.ConnectMachine());
  ASSERT_TRUE(rig.connection.StartReadAll());
  rig.connection.WaitForSync();
  // Six identity queries paced by 2000 ms time-outs, then no match.
  EXPECT_EQ(Codes(rig.Requests()), (std::vector<int>{128, 127, 129, 128, 127, 129}));
  EXPECT_GE(rig.clock.NowMs(), 3200 + 5 * 2000);
  EXPECT_EQ(rig.events.posted().size(), 1u);
  EXPECT_EQ(rig.connection.OnSyncDone(0), SyncOutcome::wrongModel);
}

TEST(ConnectionThreads, GarbledAndDroppedRepliesNeverStopTheTransfer) {
  emulator::EmulatorOptions noisy;
  noisy.garbleReplies = emulator::FaultPattern::everyNth;
  noisy.garbleEvery = 7;
  noisy.dropReplies = emulator::FaultPattern::everyNth;
  noisy.dropEvery = 50;
  MachineRig rig(noisy);
  ASSERT_TRUE(rig.connection.ConnectMachine());
  ASSERT_TRUE(rig.connection.StartReadAll());
  rig.connection.WaitForSync();
  const auto posted = rig.events.posted();  // noise may also raise a parameter-error event
  EXPECT_EQ(std::count(posted.begin(), posted.end(), std::pair<int, std::intptr_t>{event::syncDone, 0}), 1);
  EXPECT_TRUE(rig.connection.idle());
  // Whatever the noise did to the identity, the outcome is one of the defined ones and the link
  // is either still usable or cleanly closed.
  const SyncOutcome outcome = rig.connection.OnSyncDone(0);
  EXPECT_EQ(rig.connection.connected(), outcome == SyncOutcome::accepted);
}

}  // namespace
}  // namespace vireo::test
