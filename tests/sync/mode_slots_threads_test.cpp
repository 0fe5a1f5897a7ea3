// Mode-slot commands and the slot store after loading an m1..m4 file, against the emulated machine.
#include <gtest/gtest.h>

#include <cstdio>

#include "../common/temp_folder.h"
#include "machine_rig.h"
#include "model/mode_file.h"
#include "tuning/mode_file_ops.h"
#include "tuning/mode_slots.h"

namespace vireo::test {
namespace {

class ModeSlotsThreads : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(rig_.ConnectAndReadAll(), SyncOutcome::accepted);
    rig_.backend.machine().ClearRequests();
    rig_.events.Clear();
  }
  MachineRig rig_;
};

TEST_F(ModeSlotsThreads, LoadRecallsTheSlotAndReadsEverythingBack) {
  ASSERT_TRUE(tuning::LoadModeSlot(rig_.connection, 2));
  EXPECT_EQ(rig_.store.currentMode(), 2);
  rig_.connection.WaitForSync();
  EXPECT_EQ(rig_.connection.OnSyncDone(0), SyncOutcome::accepted);
  const auto requests = rig_.Requests();
  ASSERT_EQ(requests.size(), 1u + 225u);
  EXPECT_EQ(requests[0], MakeCommand(code::recallMode, {2}));
  EXPECT_EQ(requests[1][1], 128);
  EXPECT_EQ(rig_.backend.machine().currentMode(), 2);
  EXPECT_EQ(rig_.store.currentMode(), 2);  // read back with code 7
}

TEST_F(ModeSlotsThreads, StoreSendsCode4AndWaits) {
  rig_.store.setWriteAck(1);
  const std::int64_t before = rig_.clock.NowMs();
  ASSERT_TRUE(tuning::StoreModeSlot(rig_.connection, 7));  // clamped to 3
  EXPECT_GE(rig_.clock.NowMs() - before, 500);
  EXPECT_EQ(rig_.Requests(), (std::vector<Report>{MakeCommand(code::storeMode, {3})}));
  EXPECT_EQ(rig_.store.currentMode(), 3);
  EXPECT_EQ(rig_.store.writeAck(), 0);
  EXPECT_EQ(rig_.backend.machine().slotContents(3), rig_.backend.machine().workingSet());
}

TEST_F(ModeSlotsThreads, RestoreFactoryRecallsTheFactorySetAndReadsItBack) {
  ASSERT_TRUE(tuning::RestoreFactorySlot(rig_.connection, -4));  // clamped to 0
  rig_.connection.WaitForSync();
  EXPECT_EQ(rig_.connection.OnSyncDone(0), SyncOutcome::accepted);
  const auto requests = rig_.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests[0], MakeCommand(code::restoreMode, {0}));
  EXPECT_EQ(requests.size(), 226u);
}

TEST_F(ModeSlotsThreads, SaveStoresTheCurrentSlotFirst) {
  rig_.store.setCurrentMode(9);
  rig_.store.setWriteAck(1);
  ASSERT_TRUE(tuning::StoreCurrentModeBeforeSave(rig_.connection));
  EXPECT_EQ(rig_.store.currentMode(), 3);
  EXPECT_EQ(rig_.store.writeAck(), 0);
  EXPECT_EQ(rig_.Requests(), (std::vector<Report>{MakeCommand(code::storeMode, {3})}));
}

TEST_F(ModeSlotsThreads, AFileNamedM2LandsInTheSecondSlotAfterItsWriteAll) {
  rig_.store.SetInt(slot::micVolume, 33);
  rig_.connection.setPendingSlot(ModeSlotOfFileName("songs/M2 party.noveq"));
  ASSERT_EQ(rig_.connection.pendingSlot(), 1);
  EXPECT_EQ(rig_.WriteAll(), SyncOutcome::accepted);
  EXPECT_EQ(rig_.events.posted(), (std::vector<std::pair<int, std::intptr_t>>{{event::syncDone, 1}}));
  const auto requests = rig_.Requests();
  ASSERT_GE(requests.size(), 2u);
  EXPECT_EQ(requests[requests.size() - 2], MakeCommand(code::setMode, {1}));
  EXPECT_EQ(requests.back(), MakeCommand(code::storeMode, {1}));
  EXPECT_EQ(rig_.connection.pendingSlot(), -1);
  EXPECT_EQ(rig_.store.currentMode(), 1);
  EXPECT_EQ(rig_.backend.machine().slotContents(1), rig_.backend.machine().workingSet());
  EXPECT_NE(rig_.backend.machine().slotContents(0), rig_.backend.machine().workingSet());
}

TEST_F(ModeSlotsThreads, ModeFilesGoToTheMachineAndABadFileLeavesNoSlotPending) {
  const TempFolder dir;
  const std::string good = dir.Path("m4-vireo-sync-test.noveq");
  const std::string bad = dir.Path("m1-vireo-sync-bad.noveq");
  ParameterStore file;
  ResetStoreDefaults(file);
  file.SetInt(slot::musicPitch, -2);
  ASSERT_TRUE(WriteModeFile(file, good).ok);
  std::FILE* f = std::fopen(bad.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  const std::uint8_t version9[4] = {9, 0, 0, 0};
  std::fwrite(version9, 1, sizeof version9, f);
  std::fclose(f);

  EXPECT_FALSE(tuning::LoadModeFileIntoMachine(rig_.connection, bad).ok);
  EXPECT_EQ(rig_.connection.pendingSlot(), -1);
  EXPECT_TRUE(rig_.Requests().empty());

  ASSERT_TRUE(tuning::LoadModeFileIntoMachine(rig_.connection, good).ok);
  EXPECT_EQ(rig_.connection.pendingSlot(), 3);
  EXPECT_EQ(rig_.store.Int(slot::musicPitch), -2);
  rig_.connection.WaitForSync();
  EXPECT_EQ(rig_.connection.OnSyncDone(1), SyncOutcome::accepted);
  EXPECT_EQ(rig_.Requests().back(), MakeCommand(code::storeMode, {3}));
  EXPECT_EQ(rig_.backend.machine().slotContents(3).params.at({4, 21})[0], 3u);  // pitch -2 -> 3

  rig_.backend.machine().ClearRequests();
  rig_.store.setWriteAck(1);
  const std::string saved = dir.Path("vireo-sync-saved.noveq");
  ASSERT_TRUE(tuning::SaveMachineModeFile(rig_.connection, saved).ok);
  EXPECT_EQ(rig_.Requests(), (std::vector<Report>{MakeCommand(code::storeMode, {3})}));
  EXPECT_EQ(rig_.store.writeAck(), 0);
}

TEST_F(ModeSlotsThreads, NothingIsSentOrLoadedWhileATransferRuns) {
  const TempFolder dir;
  const std::string path = dir.Path("m3-vireo-sync-busy.noveq");
  ParameterStore file;
  ResetStoreDefaults(file);
  file.SetInt(slot::musicPitch, 4);
  ASSERT_TRUE(WriteModeFile(file, path).ok);
  const int pitch = rig_.store.Int(slot::musicPitch);

  ASSERT_TRUE(rig_.connection.StartReadAll());  // sits in its 3200 ms start pause
  ASSERT_TRUE(rig_.connection.transferRunning());
  EXPECT_FALSE(tuning::LoadModeSlot(rig_.connection, 1));
  EXPECT_FALSE(tuning::StoreModeSlot(rig_.connection, 1));
  EXPECT_FALSE(tuning::RestoreFactorySlot(rig_.connection, 1));
  EXPECT_FALSE(tuning::LoadModeFileIntoMachine(rig_.connection, path).ok);
  EXPECT_EQ(rig_.connection.pendingSlot(), -1);
  EXPECT_EQ(rig_.store.Int(slot::musicPitch), pitch);
  const auto first = rig_.Requests();
  EXPECT_TRUE(first.empty() || first[0][1] == code::queryModel);  // only the read-all's own requests
  rig_.connection.WaitForSync();
  EXPECT_EQ(rig_.connection.OnSyncDone(0), SyncOutcome::accepted);
  EXPECT_EQ(rig_.Requests().size(), 225u);
}

TEST(ModeSlotsOffline, CommandsNeedAConnection) {
  MachineRig rig;
  EXPECT_FALSE(tuning::LoadModeSlot(rig.connection, 1));
  EXPECT_FALSE(tuning::StoreModeSlot(rig.connection, 1));
  EXPECT_FALSE(tuning::RestoreFactorySlot(rig.connection, 1));
  EXPECT_FALSE(tuning::StoreCurrentModeBeforeSave(rig.connection));
  // A mode file is not read into the store while there is no machine to send it to.
  const TempFolder dir;
  const std::string path = dir.Path("m2-vireo-sync-offline.noveq");
  ParameterStore file;
  ResetStoreDefaults(file);
  file.SetInt(slot::micVolume, 42);
  ASSERT_TRUE(WriteModeFile(file, path).ok);
  EXPECT_FALSE(tuning::LoadModeFileIntoMachine(rig.connection, path).ok);
  EXPECT_EQ(rig.store.Int(slot::micVolume), 0);
  EXPECT_EQ(rig.connection.pendingSlot(), -1);
  EXPECT_TRUE(rig.Requests().empty());
  EXPECT_EQ(tuning::ClampModeSlot(-1), 0);
  EXPECT_EQ(tuning::ClampModeSlot(4), 3);
}

}  // namespace
}  // namespace vireo::test
