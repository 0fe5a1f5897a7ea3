// The smart-home operations against the emulated controller: read-all, add, remove, set, reset.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "../common/temp_folder.h"
#include "../device/log_capture.h"
#include "smart_rig.h"
#include "smarthome/plug_keys.h"

namespace vireo::smarthome {
namespace {

using test::HasEvent;
using test::SmartRig;
constexpr int Z = event::zwaveEvent;

TEST(SmartHomeExchangesThreads, ReadAllMirrorsTheDemoNetwork) {
  SmartRig rig;
  ASSERT_TRUE(rig.connected);
  const ReadAllResult result = rig.controller.ReadAllNow();
  EXPECT_TRUE(result.nodeListArrived);
  EXPECT_TRUE(result.silentNodes.empty());
  EXPECT_TRUE(rig.controller.smartTableRead());
  EXPECT_EQ(rig.controller.presentPlugs(), (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(rig.controller.memory().plug(2), (PlugRecord{1, u"Lamp"}));
  EXPECT_EQ(rig.controller.memory().plug(3), (PlugRecord{2, u"Dimmer"}));
  EXPECT_EQ(rig.controller.value(3), 40);
  EXPECT_EQ(rig.controller.memory().scene(3), (std::vector<SceneStep>{{3, 50}}));
  // Node list, then the three records, then one Basic Get per plug, then six scenes.
  std::vector<int> reads;
  for (const Report& r : rig.machine.Requests()) {
    if (r[1] == code::smartHomeRead) reads.push_back((r[2] << 8) | r[3]);
  }
  EXPECT_EQ(reads, (std::vector<int>{56, 84, 112, 6524, 6580, 6636, 6692, 6748, 6804}));
  EXPECT_EQ(test::FrameFunctions(rig.machine.Requests()), (std::vector<int>{0x02, 0x13, 0x13, 0x13}));
}

TEST(SmartHomeExchangesThreads, SilentNodeIsSkippedAfterSixSecondsAndTheReadGoesOn) {
  emulator::EmulatorOptions options;
  options.zwaveSilentNode = 3;
  SmartRig rig(options);
  test::LogCapture log;
  const std::int64_t start = rig.machine.clock.NowMs();
  const ReadAllResult result = rig.controller.ReadAllNow();
  const std::int64_t took = rig.machine.clock.NowMs() - start;
  EXPECT_EQ(result.silentNodes, (std::vector<int>{3}));
  EXPECT_EQ(log.Count("zwave: node 3 did not report its value, skipped\n"), 1);
  EXPECT_GE(took, 6000);
  EXPECT_LT(took, 9000);
  EXPECT_EQ(rig.controller.memory().scene(3), (std::vector<SceneStep>{{3, 50}}));  // read after it
  EXPECT_TRUE(rig.controller.smartTableRead());
}

TEST(SmartHomeExchangesThreads, NoNodeListReadsNothingMore) {
  emulator::EmulatorOptions options;
  options.zwaveNoNodeList = true;
  SmartRig rig(options);
  const ReadAllResult result = rig.controller.ReadAllNow();
  EXPECT_FALSE(result.nodeListArrived);
  EXPECT_FALSE(rig.controller.smartTableRead());
  const std::vector<Report> requests = rig.machine.Requests();
  EXPECT_TRUE(std::none_of(requests.begin(), requests.end(),
                           [](const Report& r) { return r[1] == code::smartHomeRead; }));
}

TEST(SmartHomeExchangesThreads, AddedPlugJoinsWithItsRecord) {
  SmartRig rig;
  rig.controller.ReadAllNow();
  ASSERT_TRUE(rig.controller.StartAdd({2, u"Fan"}));
  ASSERT_TRUE(test::Eventually([&] { return HasEvent(rig.machine.events, Z, 74, 0x50005); }));
  rig.controller.WaitIdle();
  EXPECT_TRUE(HasEvent(rig.machine.events, Z, 74, 1));
  EXPECT_TRUE(rig.controller.present(5));
  // Type 2, three zeros, "Fan" little-endian.
  EXPECT_EQ(rig.machine.backend.machine().zwave().Memory(140, 10),
            (std::vector<std::uint8_t>{2, 0, 0, 0, 0x46, 0, 0x61, 0, 0x6E, 0}));
}

TEST(SmartHomeExchangesThreads, FailedAddAndRemoveReportStatusSeven) {
  emulator::EmulatorOptions options;
  options.zwaveAddFails = true;
  options.zwaveRemoveFails = true;
  SmartRig rig(options);
  rig.controller.ReadAllNow();
  ASSERT_TRUE(rig.controller.StartAdd({1, u"X"}));
  EXPECT_TRUE(test::Eventually([&] { return HasEvent(rig.machine.events, Z, 74, 7); }));
  ASSERT_TRUE(rig.controller.StartRemove());
  EXPECT_TRUE(test::Eventually([&] { return HasEvent(rig.machine.events, Z, 75, 7); }));
  EXPECT_EQ(rig.controller.presentPlugs(), (std::vector<int>{2, 3, 4}));
}

TEST(SmartHomeExchangesThreads, RemovedPlugLeavesAndItsKeyFileGoes) {
  const test::TempFolder temp;  // outlives the rig, whose worker writes into it
  const std::filesystem::path folder = temp.path();
  SmartRig rig;
  rig.controller.SetPlugFolder(folder.string());
  std::vector<PlugKey> keys;
  ASSERT_TRUE(LoadOrCreatePlugKeys(PlugKeyFilePath(folder.string(), 4), &keys, nullptr));
  rig.controller.ReadAllNow();
  ASSERT_TRUE(rig.controller.StartRemove());
  ASSERT_TRUE(test::Eventually([&] { return HasEvent(rig.machine.events, Z, 75, 0x40006); }));
  EXPECT_FALSE(rig.controller.present(4));
  EXPECT_FALSE(rig.machine.backend.machine().zwave().present(4));
  EXPECT_FALSE(std::filesystem::exists(PlugKeyFilePath(folder.string(), 4)));
  EXPECT_EQ(test::FrameFunctions(rig.machine.Requests()).back(), 0x4B);  // 0x4B 0x05 ends removal
}

TEST(SmartHomeExchangesThreads, AbortedAddTakesThePlugBack) {
  SmartRig rig;
  rig.controller.ReadAllNow();
  ASSERT_TRUE(rig.controller.StartAdd({1, u"X"}));
  ASSERT_TRUE(test::Eventually([&] { return HasEvent(rig.machine.events, Z, 74, 1); }));
  ASSERT_TRUE(rig.controller.Abort(0x4A));
  rig.machine.clock.SleepMs(3000);
  EXPECT_FALSE(rig.machine.backend.machine().zwave().present(5));
  EXPECT_FALSE(HasEvent(rig.machine.events, Z, 74, 0x50005));
}

TEST(SmartHomeExchangesThreads, StopSetSendsTheLoneSendDataByte) {
  SmartRig rig;
  rig.machine.backend.machine().ClearRequests();
  ASSERT_TRUE(rig.controller.StopSet());
  const std::vector<Report> requests = rig.machine.Requests();
  ASSERT_EQ(requests.size(), 1u);
  // report id, code 18, length 1, then 0x13 and nothing after it
  const Report& r = requests[0];
  EXPECT_EQ(std::vector<int>(r.begin(), r.begin() + 5), (std::vector<int>{0x02, 0x12, 0x01, 0x13, 0x00}));
  EXPECT_TRUE(std::all_of(r.begin() + 4, r.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(SmartHomeExchangesThreads, SetReportsTheEndOfTheSend) {
  SmartRig rig;
  rig.controller.ReadAllNow();
  ASSERT_TRUE(rig.controller.SetValue(3, 70));
  ASSERT_TRUE(test::Eventually([&] { return HasEvent(rig.machine.events, Z, 19, 0x430000); }));
  EXPECT_EQ(rig.machine.backend.machine().zwave().value(3), 70);
  EXPECT_EQ(rig.controller.value(3), 70);
}

TEST(SmartHomeExchangesThreads, InfraredLearningMarksTheKeyInItsFile) {
  const test::TempFolder temp;
  const std::filesystem::path folder = temp.path();
  SmartRig rig;
  rig.controller.SetPlugFolder(folder.string());
  rig.controller.ReadAllNow();
  ASSERT_TRUE(rig.controller.SetValue(4, 192 + 5));
  ASSERT_TRUE(test::Eventually([&] { return HasEvent(rig.machine.events, Z, 4, 0x40003); }));
  EXPECT_TRUE(HasEvent(rig.machine.events, Z, 19, 0x440000));
  EXPECT_TRUE(HasEvent(rig.machine.events, Z, 4, 0x40002));
  rig.controller.WaitIdle();
  std::vector<PlugKey> keys;
  ASSERT_TRUE(LoadPlugKeys(PlugKeyFilePath(folder.string(), 4), &keys, nullptr));
  EXPECT_EQ(keys[5].status, 1);
  EXPECT_EQ(keys[4].status, 0);
}

TEST(SmartHomeExchangesThreads, ResetClearsTheNetworkAndTheScenes) {
  SmartRig rig;
  rig.controller.ReadAllNow();
  ASSERT_TRUE(rig.controller.StartReset());
  rig.controller.WaitIdle();
  EXPECT_TRUE(HasEvent(rig.machine.events, Z, 66, 0));
  EXPECT_TRUE(HasEvent(rig.machine.events, event::smartHomeRefresh, kRefreshDone, 0));
  EXPECT_TRUE(rig.controller.presentPlugs().empty());
  EXPECT_TRUE(rig.controller.memory().scene(4).empty());
  EXPECT_EQ(rig.machine.backend.machine().zwave().Memory(6524, 336), std::vector<std::uint8_t>(336, 0));
}

TEST(SmartHomeExchangesThreads, ResetKeepsTheKeyFilesInABackupFolder) {
  const test::TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  SmartRig rig;
  rig.controller.SetPlugFolder(folder.path().string());
  ASSERT_TRUE(RenamePlugKey(folder.path().string(), 4, 0, "TV power", nullptr, nullptr));
  rig.controller.ReadAllNow();
  const PlugFolderBackup backup = rig.controller.ResetNow();
  EXPECT_FALSE(std::filesystem::exists(PlugKeyFilePath(folder.path().string(), 4)));
  ASSERT_EQ(std::filesystem::path(backup.folder).parent_path(), folder.path());
  std::vector<PlugKey> kept;
  ASSERT_TRUE(LoadPlugKeys(PlugKeyFilePath(backup.folder, 4), &kept, nullptr));
  EXPECT_EQ(kept[0].name, "TV power");
}

TEST(SmartHomeExchangesThreads, KeyLearnedOverAnUnreadableKeyFileKeepsTheFileAndSaysSo) {
  const test::TempFolder folder;
  ASSERT_FALSE(folder.path().empty());
  const std::string path = PlugKeyFilePath(folder.path().string(), 4);
  std::ofstream(path) << "<Keys><Key><Index>0</Index><Name>TV pow";
  SmartRig rig;
  rig.controller.SetPlugFolder(folder.path().string());
  rig.controller.ReadAllNow();
  ASSERT_TRUE(rig.controller.SetValue(4, 192 + 5));
  ASSERT_TRUE(test::Eventually([&] { return HasEvent(rig.machine.events, Z, 4, 0x40003); }));
  rig.controller.WaitIdle();
  const std::vector<KeyFileNotice> notices = TakeKeyFileNotices(folder.path().string());
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].node, 4);
  std::ifstream kept(notices[0].keptAs);
  std::string contents;
  std::getline(kept, contents);
  EXPECT_EQ(contents, "<Keys><Key><Index>0</Index><Name>TV pow");
  std::vector<PlugKey> keys;
  ASSERT_TRUE(LoadPlugKeys(path, &keys, nullptr));
  EXPECT_EQ(keys[5].status, 1);
}

TEST(SmartHomeExchangesThreads, NotConnectedRefusesEveryOperation) {
  SmartRig rig;
  rig.machine.connection.DisconnectMachine();
  EXPECT_FALSE(rig.controller.StartReadAll());
  EXPECT_FALSE(rig.controller.SetValue(2, 99));
  EXPECT_FALSE(rig.controller.RunScene(0));
  EXPECT_FALSE(rig.controller.StartAdd({1, u"X"}));
}

}  // namespace
}  // namespace vireo::smarthome
