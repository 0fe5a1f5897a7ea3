// Z-Wave frames and the smart-home reports, against bytes worked out by hand.
#include "smarthome/zwave_frame.h"

#include <gtest/gtest.h>

#include <vector>

#include "../common/recording_sender.h"

namespace vireo::zwave {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct FrameCase {
  const char* what;
  Bytes frame;
  Bytes expected;
};

TEST(ZWaveFrame, RequestsCarryTheirHandWorkedBytes) {
  const FrameCase cases[] = {
      {"node list", NodeListRequest(), {0x01, 0x03, 0x00, 0x02, 0xFE}},
      {"basic set 255 to node 2",
       BasicSetRequest(2, 255),
       {0x01, 0x0A, 0x00, 0x13, 0x02, 0x03, 0x20, 0x01, 0xFF, 0x25, 0x43, 0x5F}},
      {"basic set 99 keeps callback 0x43",
       BasicSetRequest(2, 99),
       {0x01, 0x0A, 0x00, 0x13, 0x02, 0x03, 0x20, 0x01, 0x63, 0x25, 0x43, 0xC3}},
      {"basic set 200 uses callback 0x44",
       BasicSetRequest(2, 200),
       {0x01, 0x0A, 0x00, 0x13, 0x02, 0x03, 0x20, 0x01, 0xC8, 0x25, 0x44, 0x6F}},
      {"basic get of node 3",
       BasicGetRequest(3),
       {0x01, 0x09, 0x00, 0x13, 0x03, 0x02, 0x20, 0x02, 0x25, 0x25, 0xC6}},
      {"controller reset", ResetRequest(), {0x01, 0x04, 0x00, 0x42, 0x02, 0xBB}},
      {"add", AddNodeRequest(), {0x01, 0x05, 0x00, 0x4A, 0x01, 0x30, 0x81}},
      {"remove", RemoveNodeRequest(), {0x01, 0x05, 0x00, 0x4B, 0x01, 0x09, 0xB9}},
      {"abort add", AbortRequest(fn::addNode), {0x01, 0x05, 0x00, 0x4A, 0x05, 0x00, 0xB5}},
      {"stop removing", RemoveStopRequest(), {0x01, 0x04, 0x00, 0x4B, 0x05, 0xB5}},
  };
  for (const FrameCase& c : cases) EXPECT_EQ(c.frame, c.expected) << c.what;
}

TEST(ZWaveFrame, BasicSetCallbackBoundaries) {
  const std::pair<int, std::uint8_t> cases[] = {
      {0, 0x43}, {127, 0x43}, {128, 0x44}, {254, 0x44}, {255, 0x43}};
  for (const auto& [value, callback] : cases) {
    EXPECT_EQ(BasicSetRequest(2, static_cast<std::uint8_t>(value))[10], callback) << value;
  }
}

TEST(ZWaveFrame, ChecksumOfTheNodeListRequest) {
  const std::uint8_t lenToLast[] = {0x03, 0x00, 0x02};
  EXPECT_EQ(Checksum(lenToLast), 0xFE);
}

TEST(ZWaveFrame, LargestFrameFitsAReportAndOneMoreByteDoesNot) {
  EXPECT_EQ(EncodeFrame(0x10, Bytes(53, 0)).size(), 58u);
  EXPECT_TRUE(EncodeFrame(0x10, Bytes(54, 0)).empty());
}

struct DecodeCase {
  const char* what;
  Bytes bytes;
  DecodeStatus expected;
};

TEST(ZWaveFrame, DecodeTellsEveryKindOfInput) {
  Bytes longest(58, 0);
  longest[0] = 0x01;
  longest[1] = 56;
  Bytes beyond = longest;
  beyond[1] = 57;
  std::uint8_t sum = 0xFF;
  for (std::size_t i = 1; i < 57; ++i) sum ^= longest[i];
  longest[57] = sum;
  const DecodeCase cases[] = {
      {"empty", {}, DecodeStatus::empty},
      {"ack", {0x06}, DecodeStatus::ack},
      {"nak", {0x15}, DecodeStatus::nak},
      {"can", {0x18}, DecodeStatus::can},
      {"garbage", {0x55, 0x03}, DecodeStatus::badStart},
      {"short", {0x01, 0x03, 0x00}, DecodeStatus::tooShort},
      {"shorter than LEN says", {0x01, 0x05, 0x00, 0x4A, 0x01, 0x30}, DecodeStatus::tooShort},
      {"LEN below its minimum", {0x01, 0x02, 0x00, 0x02, 0xFD}, DecodeStatus::badLength},
      {"LEN beyond the report", beyond, DecodeStatus::badLength},
      {"largest frame", longest, DecodeStatus::frame},
      {"bad checksum", {0x01, 0x03, 0x00, 0x02, 0xFF}, DecodeStatus::badChecksum},
      {"good", {0x01, 0x03, 0x00, 0x02, 0xFE}, DecodeStatus::frame},
  };
  for (const DecodeCase& c : cases) EXPECT_EQ(DecodeFrame(c.bytes, nullptr), c.expected) << c.what;
}

TEST(ZWaveFrame, DecodeSplitsTypeFunctionAndParameters) {
  const Bytes bytes = {0x01, 0x06, 0x00, 0x4A, 0x01, 0x05, 0x05, 0xB2, 0x99};  // trailing byte ignored
  Frame f;
  ASSERT_EQ(DecodeFrame(bytes, &f), DecodeStatus::frame);
  EXPECT_EQ(f.type, 0x00);
  EXPECT_EQ(f.function, 0x4A);
  EXPECT_EQ(f.params, (Bytes{0x01, 0x05, 0x05}));
}

TEST(ZWaveReports, FrameAckAndMemoryReports) {
  using test::Head;
  EXPECT_EQ(Head(MakeFrameReport(NodeListRequest()), 8), (Bytes{0x02, 18, 5, 0x01, 0x03, 0x00, 0x02, 0xFE}));
  EXPECT_EQ(Head(MakeAckReport(), 5), (Bytes{0x02, 18, 1, 0x06, 0x00}));
  const std::uint8_t data[] = {1, 0, 0, 0, 0x4C, 0};
  // Node 3's record lives at 84 = 0x0054; scene 5 at 6524 + 280 = 6804 = 0x1A94.
  EXPECT_EQ(Head(MakeMemoryWrite(84, data), 11), (Bytes{0x02, 19, 0x00, 0x54, 6, 1, 0, 0, 0, 0x4C, 0}));
  EXPECT_EQ(Head(MakeMemoryRead(6804, 56), 6), (Bytes{0x02, 20, 0x1A, 0x94, 56, 0}));
}

}  // namespace
}  // namespace vireo::zwave
