// What each received Z-Wave frame and memory reply does to the node table, the flags and the events.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "../common/recording_events.h"
#include "../common/recording_sender.h"
#include "../common/temp_folder.h"
#include "../device/log_capture.h"
#include "device/virtual_clock.h"
#include "smarthome/smart_home_controller.h"

namespace vireo::smarthome {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::DeliveredEvent;
using test::Head;

// Reply 18 carrying `frame`.
Bytes FrameReply(const Bytes& frame) {
  Bytes r = {0x01, 18, static_cast<std::uint8_t>(frame.size())};
  r.insert(r.end(), frame.begin(), frame.end());
  return r;
}

struct Rig {
  Rig() : controller(store, sender, clock, &events) {}
  ParameterStore store;
  test::RecordingSender sender;
  VirtualClock clock;
  test::RecordingEvents events;
  SmartHomeController controller;
};

DeliveredEvent Z(std::intptr_t a, std::intptr_t b) {
  return {false, 3024, a, b};
}

TEST(SmartHomeFramesThreads, NodeListMarksEveryBitsNode) {
  Rig rig;
  // Version 5, capabilities 0, two mask bytes: 0x0F (nodes 1..4) and 0x80 (node 16).
  rig.controller.OnReply(FrameReply({0x01, 0x08, 0x01, 0x02, 0x05, 0x00, 0x02, 0x0F, 0x80, 0x7C}));
  EXPECT_TRUE(rig.controller.initDataReceived());
  EXPECT_TRUE(rig.controller.present(1));
  EXPECT_EQ(rig.controller.presentPlugs(), (std::vector<int>{2, 3, 4, 16}));
  ASSERT_EQ(rig.sender.unpaced.size(), 1u);
  EXPECT_EQ(Head(rig.sender.unpaced[0], 5), (Bytes{0x02, 18, 1, 0x06, 0x00}));
}

TEST(SmartHomeFramesThreads, NodeReportStoresTheLastCommandByte) {
  Rig rig;
  // Status 0, node 3, three command bytes 20 03 3C (Basic Report 60).
  rig.controller.OnReply(FrameReply({0x01, 0x09, 0x00, 0x04, 0x00, 0x03, 0x03, 0x20, 0x03, 0x3C, 0xED}));
  EXPECT_EQ(rig.controller.value(3), 0x3C);
  EXPECT_TRUE(rig.controller.nodeReplied());
  EXPECT_EQ(rig.events.events(), (std::vector<DeliveredEvent>{Z(4, 0x3003C)}));
}

TEST(SmartHomeFramesThreads, SendStatusEvents) {
  struct Case {
    Bytes frame;
    bool nodeReplied;
    std::intptr_t b;
  };
  const Case cases[] = {
      {{0x01, 0x05, 0x00, 0x13, 0x43, 0x00, 0xAA}, false, 0x430000},  // delivered
      {{0x01, 0x05, 0x00, 0x13, 0x43, 0x01, 0xAB}, true, 0x430001},   // not acknowledged
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.controller.OnReply(FrameReply(c.frame));
    EXPECT_TRUE(rig.controller.sendDone());
    EXPECT_EQ(rig.controller.nodeReplied(), c.nodeReplied);
    EXPECT_EQ(rig.events.events(), (std::vector<DeliveredEvent>{Z(19, c.b)}));
  }
}

TEST(SmartHomeFramesThreads, SendStatusOtherThanZeroOrOneDoesNothing) {
  Rig rig;
  rig.controller.OnReply(FrameReply({0x01, 0x05, 0x00, 0x13, 0x43, 0x02, 0xA8}));
  EXPECT_FALSE(rig.controller.sendDone());
  EXPECT_TRUE(rig.events.events().empty());
}

TEST(SmartHomeFramesThreads, JoinedPlugTakesThePendingRecordAndIsWritten) {
  Rig rig;
  rig.store.setConnected(1);
  ASSERT_TRUE(rig.controller.StartAdd({2, u"Fan"}));
  rig.controller.WaitIdle();
  // Callback 1, status 5, node 5.
  rig.controller.OnReply(FrameReply({0x01, 0x06, 0x00, 0x4A, 0x01, 0x05, 0x05, 0xB2}));
  rig.controller.WaitIdle();
  EXPECT_TRUE(rig.controller.present(5));
  EXPECT_EQ(rig.controller.memory().plug(5), (PlugRecord{2, u"Fan"}));
  EXPECT_EQ(rig.events.events(), (std::vector<DeliveredEvent>{Z(74, 0x50005)}));
  ASSERT_EQ(rig.sender.paced.size(), 1u);  // node 5's record at 140 = 0x8C
  EXPECT_EQ(Head(rig.sender.paced[0], 12), (Bytes{0x02, 19, 0x00, 0x8C, 28, 2, 0, 0, 0, 0x46, 0, 0x61}));
}

TEST(SmartHomeFramesThreads, LeftPlugIsAbsentAndRemovalStops) {
  Rig rig;
  test::LogCapture log;
  rig.controller.OnReply(FrameReply({0x01, 0x08, 0x01, 0x02, 0x05, 0x00, 0x02, 0x0F, 0x80, 0x7C}));
  rig.events.Clear();
  rig.controller.OnReply(FrameReply({0x01, 0x06, 0x00, 0x4B, 0x01, 0x06, 0x03, 0xB6}));
  EXPECT_FALSE(rig.controller.present(3));
  EXPECT_EQ(log.Count("REMOVE ID= 3\n"), 1);
  EXPECT_EQ(rig.events.events(), (std::vector<DeliveredEvent>{Z(75, 0x30006)}));
  ASSERT_EQ(rig.sender.unpaced.size(), 3u);  // ack, ack, stop removing
  EXPECT_EQ(Head(rig.sender.unpaced[1], 4), (Bytes{0x02, 18, 1, 0x06}));
  EXPECT_EQ(Head(rig.sender.unpaced[2], 9), (Bytes{0x02, 18, 6, 0x01, 0x04, 0x00, 0x4B, 0x05, 0xB5}));
}

TEST(SmartHomeFramesThreads, AddAndRemoveStatusesWithoutANode) {
  struct Case {
    Bytes frame;
    DeliveredEvent expected;
  };
  const Case cases[] = {
      {{0x01, 0x06, 0x00, 0x4A, 0x01, 0x01, 0x00, 0xB3}, Z(74, 1)},
      {{0x01, 0x06, 0x00, 0x4A, 0x01, 0x07, 0x00, 0xB5}, Z(74, 7)},
      {{0x01, 0x06, 0x00, 0x4B, 0x01, 0x01, 0x00, 0xB2}, Z(75, 1)},
      {{0x01, 0x06, 0x00, 0x4B, 0x01, 0x07, 0x00, 0xB4}, Z(75, 7)},
      {{0x01, 0x04, 0x00, 0x42, 0x00, 0xB9}, Z(66, 0)},
  };
  for (const Case& c : cases) {
    Rig rig;
    rig.controller.OnReply(FrameReply(c.frame));
    EXPECT_EQ(rig.events.events(), (std::vector<DeliveredEvent>{c.expected}));
  }
}

TEST(SmartHomeFramesThreads, BadFramesAreNeitherAcknowledgedNorActedOn) {
  const Bytes cases[] = {
      {0x01, 0x03, 0x00, 0x02, 0xFF},  // bad checksum
      {0x01, 0x09, 0x00, 0x04},        // short
      {0x06},                          // an acknowledgement of ours
  };
  for (const Bytes& frame : cases) {
    Rig rig;
    rig.controller.OnReply(FrameReply(frame));
    EXPECT_TRUE(rig.sender.unpaced.empty());
    EXPECT_TRUE(rig.events.events().empty());
  }
}

TEST(SmartHomeFramesThreads, MemoryReplyFillsTheRecordOrWritesTheOverRangeLine) {
  Rig rig;
  test::LogCapture log;
  rig.controller.OnReply(Bytes{0x01, 20, 0x00, 0x1E, 28, 2, 0, 0, 0, 0x41, 0, 0x62, 0});
  EXPECT_EQ(rig.controller.memory().plug(1), (PlugRecord{2, u"Ab"}));
  rig.controller.OnReply(Bytes{0x01, 20, 0x1A, 0xCC, 28, 1});  // 6860
  EXPECT_EQ(log.Count("ZWaveReadMemFunc over range"), 1);
}

TEST(SmartHomeFramesThreads, SetValueOfSpecialAndAbsentNodes) {
  Rig rig;
  test::LogCapture log;
  EXPECT_FALSE(rig.controller.SetValueNow(254, 2));  // HDMI3
  EXPECT_EQ(rig.store.Int(slot::hdmiPort), 2);
  ASSERT_EQ(rig.sender.paced.size(), 1u);
  EXPECT_EQ(Head(rig.sender.paced[0], 5), (Bytes{0x02, 9, 0, 4, 33}));
  const std::int64_t before = rig.clock.NowMs();
  EXPECT_FALSE(rig.controller.SetValueNow(240, 5));
  EXPECT_EQ(rig.clock.NowMs() - before, 5000);
  EXPECT_FALSE(rig.controller.SetValueNow(7, 99));
  EXPECT_EQ(log.Count("此ID不存在，跳过设置命令"), 1);
  EXPECT_TRUE(rig.sender.unpaced.empty());
}

}  // namespace
}  // namespace vireo::smarthome

namespace vireo::smarthome {
namespace {

TEST(SmartHomeFramesThreads, OnlyALearnedReportMarksTheKeyAndAFailureEndsTheLearning) {
  const test::TempFolder temp;
  const std::filesystem::path folder = temp.path();
  Rig rig;
  rig.controller.SetPlugFolder(folder.string());
  rig.controller.OnReply(FrameReply({0x01, 0x08, 0x01, 0x02, 0x05, 0x00, 0x02, 0x0F, 0x80, 0x7C}));
  ASSERT_TRUE(rig.controller.SetValueNow(4, 192 + 5));
  // Node 4 reports 4 (check error), then a later 3 that belongs to no learning.
  rig.controller.OnReply(FrameReply({0x01, 0x09, 0x00, 0x04, 0x00, 0x04, 0x03, 0x20, 0x03, 0x04, 0xD2}));
  rig.controller.OnReply(FrameReply({0x01, 0x09, 0x00, 0x04, 0x00, 0x04, 0x03, 0x20, 0x03, 0x03, 0xD5}));
  rig.controller.WaitIdle();
  EXPECT_EQ(rig.controller.value(4), 3);
  EXPECT_FALSE(std::filesystem::exists(folder / "4.xml"));
}

}  // namespace
}  // namespace vireo::smarthome
