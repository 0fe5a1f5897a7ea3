// Request senders: exact bytes of each layout, chunked block writes, and SendField for every rule kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "../common/recording_sender.h"
#include "device/protocol.h"
#include "model/store_layout.h"
#include "model/wire_rules.h"

namespace vireo {
namespace {

using test::Head;
using Bytes = std::vector<std::uint8_t>;

bool RestIsZero(const Report& r, std::size_t from) {
  return std::all_of(r.begin() + static_cast<std::ptrdiff_t>(from), r.end(),
                     [](std::uint8_t b) { return b == 0; });
}

TEST(ProtocolTest, ParameterReadAndWriteLayouts) {
  test::RecordingSender s;
  EXPECT_EQ(WriteParam(s, 1, 14, EncodeVol(80)), 61);
  EXPECT_EQ(WriteParam(s, 3, 24, EncodePct(75), 2), 61);
  EXPECT_EQ(ReadParam(s, 3, 24, 2), 61);
  const std::uint32_t values[] = {1, 2, 3, 4, 5, 6, 7};
  EXPECT_EQ(WriteParamValues(s, 9, 27, values), 61);
  ASSERT_EQ(s.paced.size(), 4u);
  EXPECT_TRUE(s.unpaced.empty());
  // 02 09 00 01 0E 01 3F 4C ED 92: micVolume 80 as 0.8f + 0.0005, rounded to single precision
  EXPECT_EQ(Head(s.paced[0], 10), (Bytes{0x02, 0x09, 0x00, 0x01, 0x0E, 0x01, 0x3F, 0x4C, 0xED, 0x92}));
  EXPECT_TRUE(RestIsZero(s.paced[0], 10));
  // 02 09 00 03 18 02 3F 40 00 00 3F 40 00 00: one value repeated twice
  EXPECT_EQ(Head(s.paced[1], 14),
            (Bytes{0x02, 0x09, 0x00, 0x03, 0x18, 0x02, 0x3F, 0x40, 0x00, 0x00, 0x3F, 0x40, 0x00, 0x00}));
  // 02 0A 00 03 18 02
  EXPECT_EQ(Head(s.paced[2], 6), (Bytes{0x02, 0x0A, 0x00, 0x03, 0x18, 0x02}));
  EXPECT_TRUE(RestIsZero(s.paced[2], 6));
  EXPECT_EQ(s.paced[3][5], 7);
  EXPECT_EQ(Head(s.paced[3], 14), (Bytes{0x02, 0x09, 0x00, 0x09, 0x1B, 0x07, 0, 0, 0, 1, 0, 0, 0, 2}));
  EXPECT_EQ(s.paced[3][33], 7);
}

TEST(ProtocolTest, CommandsAndBlockReads) {
  test::RecordingSender s;
  EXPECT_EQ(SendCommand(s, code::reset, {0xAA}), 61);
  EXPECT_EQ(SendCommand(s, code::queryModel), 61);
  EXPECT_EQ(ReadBlock(s, kLocationSettingsAddress, 20), 61);
  EXPECT_EQ(Head(s.paced[0], 3), (Bytes{0x02, 0x68, 0xAA}));  // reset with 170
  EXPECT_TRUE(RestIsZero(s.paced[0], 3));
  EXPECT_EQ(Head(s.paced[1], 2), (Bytes{0x02, 0x80}));
  EXPECT_TRUE(RestIsZero(s.paced[1], 2));
  EXPECT_EQ(Head(s.paced[2], 5), (Bytes{0x02, 0x86, 0x05, 0x05, 0x14}));
}

TEST(ProtocolTest, LongBlockWritesGoInFiftySixByteChunks) {
  test::RecordingSender s;
  std::vector<std::uint8_t> dsp(kDspBlockBytes);
  for (std::size_t i = 0; i < dsp.size(); ++i) dsp[i] = static_cast<std::uint8_t>(i * 7);
  EXPECT_EQ(WriteBlock(s, 0, dsp), 23 * 61);
  ASSERT_EQ(s.paced.size(), 23u);
  for (std::size_t i = 0; i < 23; ++i) {
    const Report& r = s.paced[i];
    const int address = (r[2] << 8) | r[3];
    EXPECT_EQ(r[1], 0x85);
    EXPECT_EQ(address, static_cast<int>(56 * i));
    EXPECT_EQ(r[4], i == 22 ? 21 : 56);
    EXPECT_TRUE(std::equal(r.begin() + 5, r.begin() + 5 + r[4], dsp.begin() + address));
  }
  // 02 85 04 D0 15: the last chunk, 21 bytes at 1232.
  EXPECT_EQ(Head(s.paced[22], 5), (Bytes{0x02, 0x85, 0x04, 0xD0, 0x15}));

  test::RecordingSender one;
  const std::uint8_t boost[] = {0xC1, 0x20};
  EXPECT_EQ(WriteBlock(one, kMicBoostLevelAddress, boost), 61);
  EXPECT_EQ(Head(one.paced[0], 7), (Bytes{0x02, 0x85, 0x05, 0x19, 0x02, 0xC1, 0x20}));
}

TEST(ProtocolTest, ByteCountReflectsWhatTheSenderWrote) {
  test::RecordingSender s;
  s.result = 0;  // disconnected: nothing goes out
  EXPECT_EQ(WriteBlock(s, 0, std::vector<std::uint8_t>(100)), 0);
  EXPECT_EQ(s.paced.size(), 2u);
}

class SendFieldTest : public ::testing::Test {
 protected:
  int Send(std::string_view name, int element = 0) {
    const SlotField* f = FindSlotField(name);
    EXPECT_NE(f, nullptr) << name;
    return f == nullptr ? -1 : SendField(s, store, *f, element);
  }
  ParameterStore store;
  test::RecordingSender s;
};

TEST_F(SendFieldTest, SingleValueGoesToItsAddress) {
  store.SetInt(slot::micVolume, 80);
  EXPECT_EQ(Send("micVolume"), 61);
  store.SetInt(slot::chPhase[7], 1);
  EXPECT_EQ(Send("chPhase", 7), 61);
  store.SetInt(slot::micInputVolume[2], 75);
  EXPECT_EQ(Send("micInputVolume", 2), 61);
  ASSERT_EQ(s.paced.size(), 3u);
  EXPECT_EQ(Head(s.paced[0], 10), (Bytes{0x02, 0x09, 0x00, 0x01, 0x0E, 0x01, 0x3F, 0x4C, 0xED, 0x92}));
  // channel 8 is module 12, phase parameter 25, -1.0
  EXPECT_EQ(Head(s.paced[1], 10), (Bytes{0x02, 0x09, 0x00, 0x0C, 0x19, 0x01, 0xBF, 0x80, 0x00, 0x00}));
  // input 3 of the microphone: parameter 4 + 2
  EXPECT_EQ(Head(s.paced[2], 10), (Bytes{0x02, 0x09, 0x00, 0x01, 0x06, 0x01, 0x3F, 0x40, 0x00, 0x00}));
}

TEST_F(SendFieldTest, SecondAddressAndWireCount) {
  store.SetInt(slot::effectVolume, 50);
  EXPECT_EQ(Send("effectVolume"), 122);
  store.SetInt(slot::reverbVolume, 75);
  EXPECT_EQ(Send("reverbVolume"), 61);
  store.SetInt(slot::micBoostOn, 1);
  EXPECT_EQ(Send("micBoostOn"), 122);
  ASSERT_EQ(s.paced.size(), 5u);
  EXPECT_EQ(Head(s.paced[0], 6), (Bytes{0x02, 0x09, 0x00, 0x01, 34, 0x01}));
  EXPECT_EQ(Head(s.paced[1], 6), (Bytes{0x02, 0x09, 0x00, 0x01, 57, 0x01}));
  // 50 as 0.5005 to both addresses
  EXPECT_EQ(GetBigEndian32(&s.paced[0][6]), EncodeVol(50));
  EXPECT_EQ(GetBigEndian32(&s.paced[1][6]), EncodeVol(50));
  EXPECT_EQ(Head(s.paced[2], 14),
            (Bytes{0x02, 0x09, 0x00, 0x03, 0x18, 0x02, 0x3F, 0x40, 0x00, 0x00, 0x3F, 0x40, 0x00, 0x00}));
  // micBoostOn 1 travels as integer 0 to 1/37 and 1/60
  EXPECT_EQ(Head(s.paced[3], 10), (Bytes{0x02, 0x09, 0x00, 0x01, 37, 0x01, 0, 0, 0, 0}));
  EXPECT_EQ(Head(s.paced[4], 10), (Bytes{0x02, 0x09, 0x00, 0x01, 60, 0x01, 0, 0, 0, 0}));
}

TEST_F(SendFieldTest, FloatSlotsAndRaisedMilliseconds) {
  store.SetFloat(slot::reverbTimeA, 7.0f);  // a whole number kept in a float, sent by pct
  EXPECT_EQ(Send("reverbTimeA"), 122);
  store.SetFloat(slot::chDelay[2], 1.0f);  // raised to 1.5 ms: 72 samples
  EXPECT_EQ(Send("chDelay", 2), 61);
  store.SetFloat(slot::echoPredelayA, 1.0f);  // raised to 2 ms: 96 samples
  EXPECT_EQ(Send("echoPredelayA"), 61);
  store.SetFloat(slot::echoTimeA, 217.0f);
  EXPECT_EQ(Send("echoTimeA"), 61);
  ASSERT_EQ(s.paced.size(), 5u);
  EXPECT_EQ(Head(s.paced[0], 10), (Bytes{0x02, 0x09, 0x00, 0x03, 10, 0x01, 0x3D, 0x8F, 0x5C, 0x29}));
  EXPECT_EQ(Head(s.paced[1], 10), (Bytes{0x02, 0x09, 0x00, 0x03, 11, 0x01, 0x3D, 0x8F, 0x5C, 0x29}));
  EXPECT_EQ(Head(s.paced[2], 10), (Bytes{0x02, 0x09, 0x00, 0x07, 18, 0x01, 0, 0, 0, 72}));
  EXPECT_EQ(Head(s.paced[3], 10), (Bytes{0x02, 0x09, 0x00, 0x02, 9, 0x01, 0, 0, 0, 96}));
  EXPECT_EQ(Head(s.paced[4], 10), (Bytes{0x02, 0x09, 0x00, 0x02, 10, 0x01, 0, 0, 0x28, 0xB0}));  // 10416
  EXPECT_EQ(store.Float(slot::chDelay[2]), 1.0f);  // the store is the caller's to update
}

TEST_F(SendFieldTest, RecordRules) {
  store.SetInt(slot::shiftFreqA, 1);
  EXPECT_EQ(Send("shiftFreqA"), 61);  // off: one message
  store.SetInt(slot::shiftFreqB, 2);
  EXPECT_EQ(Send("shiftFreqB"), 183);
  store.SetInt(slot::chDelayMode[0], 1);
  EXPECT_EQ(Send("chDelayMode", 0), 61);
  store.SetFloat(slot::chCompThreshold[1], -6.0f);
  store.SetFloat(slot::chCompRatio[1], 4.0f);
  store.SetFloat(slot::chCompAttack[1], 10.0f);
  store.SetFloat(slot::chCompRelease[1], 100.0f);
  EXPECT_EQ(Send("chCompRatio", 1), 61);
  store.SetFloat(slot::musicCompThreshold, -3.0f);
  store.SetFloat(slot::musicCompRatio, 2.0f);
  store.SetFloat(slot::musicCompAttack, 5.0f);
  store.SetFloat(slot::musicCompRelease, 50.0f);
  EXPECT_EQ(Send("musicCompRelease"), 61);
  ASSERT_EQ(s.paced.size(), 7u);
  EXPECT_EQ(Head(s.paced[0], 10), (Bytes{0x02, 0x09, 0x00, 0x01, 33, 0x01, 0, 0, 0, 1}));
  EXPECT_EQ(Head(s.paced[1], 10), (Bytes{0x02, 0x09, 0x00, 0x01, 56, 0x01, 0, 0, 0, 0}));
  EXPECT_EQ(Head(s.paced[2], 6), (Bytes{0x02, 0x09, 0x00, 0x01, 54, 0x01}));
  EXPECT_EQ(Head(s.paced[3], 10), (Bytes{0x02, 0x09, 0x00, 0x01, 55, 0x01, 0x00, 0x00, 0x12, 0xC0}));  // 4800
  // 02 09 00 05 11 02 3F 80 00 00 00 00 00 00: channel delay
  EXPECT_EQ(Head(s.paced[4], 14), (Bytes{0x02, 0x09, 0x00, 0x05, 0x11, 0x02, 0x3F, 0x80, 0, 0, 0, 0, 0, 0}));
  const auto channel = CompressorRecord({-6.0f, 4.0f, 10.0f, 100.0f});
  EXPECT_EQ(Head(s.paced[5], 6), (Bytes{0x02, 0x09, 0x00, 0x06, 27, 0x07}));
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(GetBigEndian32(&s.paced[5][6 + 4 * i]), channel[i]) << i;
  const auto music = CompressorRecord({-3.0f, 2.0f, 5.0f, 50.0f});
  EXPECT_EQ(Head(s.paced[6], 6), (Bytes{0x02, 0x09, 0x00, 0x04, 14, 0x07}));
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(GetBigEndian32(&s.paced[6][6 + 4 * i]), music[i]) << i;
}

TEST_F(SendFieldTest, FieldsWithoutAnAddressOrOutOfRangeSendNothing) {
  EXPECT_EQ(Send("micBoostOnCopy"), 0);
  EXPECT_EQ(Send("chMute", 8), 0);
  EXPECT_EQ(Send("chMute", -1), 0);
  EXPECT_EQ(Send("micVolume", 1), 0);
  EXPECT_TRUE(s.paced.empty());
}

}  // namespace
}  // namespace vireo
