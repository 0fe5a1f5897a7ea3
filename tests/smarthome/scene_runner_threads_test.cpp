// Scene runs: order of the steps, the waits, skipped plugs and the two refresh events.
#include <gtest/gtest.h>

#include "../device/log_capture.h"
#include "smart_rig.h"

namespace vireo::smarthome {
namespace {

constexpr int R = event::smartHomeRefresh;

TEST(SceneRunnerThreads, StepsRunInOrderWithTheirWaits) {
  test::SmartRig rig;
  rig.controller.ReadAllNow();
  const SceneStep steps[] = {{2, 99}, {240, 2}, {3, 10}, {9, 99}, {254, 3}};
  ASSERT_TRUE(rig.controller.SaveScene(1, steps));
  rig.controller.WaitIdle();
  rig.machine.backend.machine().ClearRequests();
  rig.machine.events.Clear();
  test::LogCapture log;
  const std::int64_t start = rig.machine.clock.NowMs();
  ASSERT_TRUE(rig.controller.RunScene(1));
  rig.controller.WaitIdle();
  const std::int64_t took = rig.machine.clock.NowMs() - start;

  std::vector<std::pair<int, int>> sent;  // (node of a Basic Set or 0 for the HDMI write, value)
  for (const Report& r : rig.machine.Requests()) {
    if (r[1] == code::zwaveFrame && r[2] >= 5 && r[6] == 0x13) sent.emplace_back(r[7], r[11]);
    if (r[1] == code::writeParam && r[3] == 4 && r[4] == 33)
      sent.emplace_back(0, rig.machine.store.Int(slot::hdmiPort));
  }
  EXPECT_EQ(sent, (std::vector<std::pair<int, int>>{{2, 99}, {3, 10}, {0, 3}}));
  EXPECT_GE(took, 2000 + 4 * kStepPauseMs);
  EXPECT_LT(took, 6000);  // no step ran into its 6 s time-out
  EXPECT_EQ(log.Count("此ID不存在，跳过设置命令"), 1);
  const auto events = rig.machine.events.events();
  ASSERT_GE(events.size(), 2u);
  EXPECT_EQ(events.front(), (test::DeliveredEvent{false, R, kSceneRun, 0}));
  EXPECT_EQ(events.back(), (test::DeliveredEvent{false, R, kSceneRun, 1}));
  EXPECT_EQ(rig.machine.backend.machine().zwave().value(2), 99);
  EXPECT_EQ(rig.machine.backend.machine().zwave().value(3), 10);
}

TEST(SceneRunnerThreads, EmptySceneStillPostsBothEvents) {
  test::SmartRig rig;
  rig.controller.ReadAllNow();
  ASSERT_TRUE(rig.controller.SaveScene(2, {}));
  rig.controller.WaitIdle();
  rig.machine.events.Clear();
  ASSERT_TRUE(rig.controller.RunScene(2));
  rig.controller.WaitIdle();
  EXPECT_EQ(rig.machine.events.events(),
            (std::vector<test::DeliveredEvent>{{false, R, kSceneRun, 0}, {false, R, kSceneRun, 1}}));
}

TEST(SceneRunnerThreads, SavedSceneReachesTheMachineMemory) {
  test::SmartRig rig;
  const SceneStep steps[] = {{2, 99}, {240, 5}};
  ASSERT_TRUE(rig.controller.SaveScene(5, steps));
  rig.controller.WaitIdle();
  std::vector<std::uint8_t> expected(56, 0);
  expected[0] = 2;
  expected[1] = 99;
  expected[2] = 240;
  expected[3] = 5;
  EXPECT_EQ(rig.machine.backend.machine().zwave().Memory(6804, 56), expected);
}

}  // namespace
}  // namespace vireo::smarthome
