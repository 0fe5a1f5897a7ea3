// The emulated Z-Wave controller's answers, byte for byte.
#include "emulator/zwave_controller.h"

#include <gtest/gtest.h>

#include <vector>

namespace vireo::emulator {
namespace {

using Bytes = std::vector<std::uint8_t>;

Report FrameRequest(const Bytes& frame) {
  Report r{};
  r[0] = 0x02;
  r[1] = 18;
  r[2] = static_cast<std::uint8_t>(frame.size());
  std::copy(frame.begin(), frame.end(), r.begin() + 3);
  return r;
}

// Bytes 1..n-1: the report id is set when the reply is queued.
Bytes Head(const Report& r, std::size_t n) {
  return {r.begin() + 1, r.begin() + static_cast<std::ptrdiff_t>(n)};
}

TEST(ZWaveController, NodeListIsAcknowledgedThenAnswered) {
  ZWaveController controller;
  const auto replies = controller.OnFrameReport(FrameRequest({0x01, 0x03, 0x00, 0x02, 0xFE}), {});
  ASSERT_EQ(replies.size(), 2u);
  EXPECT_EQ(Head(replies[0].report, 4), (Bytes{18, 1, 0x06}));
  // Response 0x02: version 5, capabilities 8, 29 mask bytes with nodes 1..4 (0x0F), checksum 0xC0.
  const Report& list = replies[1].report;
  EXPECT_EQ(Head(list, 11), (Bytes{18, 37, 0x01, 0x23, 0x01, 0x02, 0x05, 0x08, 0x1D, 0x0F}));
  EXPECT_EQ(list[39], 0xC0);
}

TEST(ZWaveController, BadChecksumIsRefusedAndHostAcksGetNothing) {
  ZWaveController controller;
  const auto nak = controller.OnFrameReport(FrameRequest({0x01, 0x03, 0x00, 0x02, 0xFF}), {});
  ASSERT_EQ(nak.size(), 1u);
  EXPECT_EQ(Head(nak[0].report, 4), (Bytes{18, 1, 0x15}));
  EXPECT_TRUE(controller.OnFrameReport(FrameRequest({0x06}), {}).empty());
}

TEST(ZWaveController, BasicGetOfAnAbsentNodeIsNotAcknowledged) {
  ZWaveController controller;
  // Basic Get of node 9: 01 09 00 13 09 02 20 02 25 25 CC.
  const auto replies = controller.OnFrameReport(
      FrameRequest({0x01, 0x09, 0x00, 0x13, 0x09, 0x02, 0x20, 0x02, 0x25, 0x25, 0xCC}), {});
  ASSERT_EQ(replies.size(), 2u);
  // Callback 0x25, status 1: 01 05 00 13 25 01 CD.
  EXPECT_EQ(Head(replies[1].report, 10), (Bytes{18, 7, 0x01, 0x05, 0x00, 0x13, 0x25, 0x01, 0xCD}));
}

TEST(ZWaveController, MemoryHoldsTheDemoRecords) {
  ZWaveController controller;
  EXPECT_EQ(controller.Memory(56, 8), (Bytes{1, 0, 0, 0, 'L', 0, 'a', 0}));
  EXPECT_EQ(controller.Memory(6524 + 4 * 56, 4), (Bytes{2, 99, 3, 60}));
}

}  // namespace
}  // namespace vireo::emulator
