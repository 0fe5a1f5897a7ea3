// The write-all's exact report sequence for known stores, and what it stores back.
#include <gtest/gtest.h>

#include "device/sync.h"
#include "model/band.h"
#include "model/location.h"
#include "model/wire_rules.h"
#include "report_recorder.h"

namespace vireo::test {
namespace {

class WriteAllTest : public ::testing::Test {
 protected:
  WriteAllTest() {
    ResetStoreDefaults(store_);
    store_.SetInt(slot::micVolume, 85);
    store_.SetInt(slot::musicVolume, 72);
  }
  void Run() { ASSERT_TRUE(RunWriteAllSequence(store_, sender_, pauses_.Fn())); }
  const std::vector<Report>& sent() const { return sender_.paced; }
  std::vector<Report> WritesTo(int module, int param) const {
    std::vector<Report> out;
    for (const Report& r : sent()) {
      if (r[1] == 9 && r[3] == module && r[4] == param) out.push_back(r);
    }
    return out;
  }

  ParameterStore store_;
  RecordingSender sender_;
  PauseRecorder pauses_;
};

TEST_F(WriteAllTest, VolumeSaveByPowerLeavesMasterVolumesAlone) {
  store_.setWriteAck(1);
  Run();
  // 7 bypasses, 8 x 20 channel reports, 2 music compressor, 3 effect/mic mute, 10 fade, 2 mutes,
  // 8 routing, 8 inputs, 2 + 2 + 9 levels, 2 x 10 effects (the blank store's shift 0 goes out as off,
  // one message each), 6 music, 9 boost, 2 low band, 25 blocks, 163 coefficients, 2 reads.
  EXPECT_EQ(sent().size(), 440u);
  EXPECT_TRUE(WritesTo(1, 14).empty());
  EXPECT_TRUE(WritesTo(4, 12).empty());
  const Report& last = sent().back();
  const Report& beforeLast = sent()[sent().size() - 2];
  EXPECT_EQ(beforeLast, MakeReadParam(1, 14));
  EXPECT_EQ(last, MakeReadParam(4, 12));
  EXPECT_EQ(pauses_.pauses, (std::vector<int>{30, 30, 30, 30, 30, 30, 30, 30, 30, 50}));
  EXPECT_EQ(store_.writeAck(), 0);
}

TEST_F(WriteAllTest, OpensWithBypassesThenEachOutputChannelInOrder) {
  store_.SetInt(slot::chDelayMode[0], 0);
  const std::array<std::uint8_t, 7> band13{0, 150, 0x03, 0x20, 0x02, 0xC3, 1};  // 800 Hz: split index 3
  store_.WriteBytes(Region::dspBlock, static_cast<std::size_t>(EqBandAddress(5, 13)), band13);
  store_.SetFloat(slot::chDelay[0], 0.5f);
  Run();
  const std::array<std::array<int, 2>, 7> bypasses{
      {{1, 26}, {3, 7}, {2, 7}, {1, 49}, {3, 19}, {2, 20}, {4, 11}}};
  for (std::size_t i = 0; i < bypasses.size(); ++i) {
    EXPECT_TRUE(IsWrite(sent()[i], bypasses[i][0], bypasses[i][1], 1, 0)) << i;
  }
  std::size_t i = 7;
  EXPECT_TRUE(IsWrite(sent()[i++], 5, 15, 1, 0));
  EXPECT_TRUE(IsWrite(sent()[i++], 5, 19, 1, 0));
  EXPECT_TRUE(IsWrite(sent()[i++], 5, 17, 2, FloatBits(1.0f)));
  EXPECT_EQ(ValueAt(sent()[i - 1], 1), FloatBits(1.0f));  // high-frequency delay
  // Band 13 high-pass at 800 Hz, then its coefficients; band 14 low-pass at 1300 Hz, then its own.
  const BandRecord hp{0.0f, 800, 0.707f, 3};
  const BandRecord lp{0.0f, 1300, 0.707f, 2};
  const auto hpBytes = EncodeBandRecord(hp);
  const auto lpBytes = EncodeBandRecord(lp);
  EXPECT_EQ(sent()[i++], MakeWriteBlock(EqBandAddress(5, 13), hpBytes));
  const auto hpCoefficients = BandCoefficientRecord(3, 0.0f, 800, 0.707f);
  EXPECT_EQ(sent()[i++], MakeWriteParam(5, 13, hpCoefficients));
  EXPECT_EQ(sent()[i++], MakeWriteBlock(EqBandAddress(5, 14), lpBytes));
  EXPECT_EQ(sent()[i++], MakeWriteParam(5, 14, BandCoefficientRecord(2, 0.0f, 1300, 0.707f)));
  EXPECT_TRUE(IsWrite(sent()[i++], 5, 18, 1, 72u));  // 1.5 ms = 72 samples
  EXPECT_EQ(store_.Float(slot::chDelay[0]), 1.5f);
  for (int param : {20, 21, 22, 23, 26, 25, 16, 28, 27}) EXPECT_EQ(sent()[i++][4], param);
  EXPECT_EQ(sent()[i - 1][5], 7);  // the compressor record
  const Report& gains = sent()[i++];
  EXPECT_EQ(gains[1], 133);
  EXPECT_EQ((gains[2] << 8) | gains[3], 1253);
  EXPECT_EQ(gains[4], 32);
  const auto gainRecord = GainRecord(0.0f, GainVariant::channelGain);
  EXPECT_EQ(sent()[i++], MakeWriteParam(5, 29, gainRecord));
  EXPECT_TRUE(IsWrite(sent()[i++], 5, 24, 1, 0));
  EXPECT_EQ(sent()[i][3], 6);  // channel 2 follows
  EXPECT_EQ(sent()[i][4], 15);
  EXPECT_EQ(i, 7u + 20u);
}

TEST_F(WriteAllTest, ChannelDelayModeSendsFlatSplitBandsAndUnknownSplitFallsBackToTheFirst) {
  store_.SetInt(slot::chDelayMode[1], 1);
  const std::array<std::uint8_t, 7> odd{0, 150, 0x03, 0x09, 0x02, 0xC3, 1};  // 777 Hz is not in the table
  store_.WriteBytes(Region::dspBlock, static_cast<std::size_t>(EqBandAddress(6, 13)), odd);
  Run();
  EXPECT_EQ(ReadBand(store_, 6, 13), (BandRecord{0.0f, 500, 0.707f, 1}));
  EXPECT_EQ(ReadBand(store_, 6, 14), (BandRecord{0.0f, 1000, 0.707f, 1}));
  const auto pair = WritesTo(6, 17);
  ASSERT_EQ(pair.size(), 1u);
  EXPECT_EQ(ValueAt(pair[0], 1), FloatBits(0.0f));
}

TEST_F(WriteAllTest, MusicFadeInRoutingAndStoredBackValues) {
  store_.SetInt(slot::micToChannelA[0], 100);
  store_.SetInt(slot::micToChannelA[1], 0);
  store_.SetInt(slot::micToChannelA[2], 5);  // any non-zero value means channel A
  store_.SetInt(slot::micToChannelB[2], 100);
  store_.SetInt(slot::micToChannelA[3], 0);
  store_.SetInt(slot::micToChannelB[3], 0);  // neither: channel B
  store_.SetFloat(slot::reverbTimeA, 7.6f);
  store_.SetFloat(slot::echoTimeA, 1.3f);
  store_.SetInt(slot::micBoostOn, 1);
  Run();
  const auto fade = WritesTo(4, 13);
  ASSERT_EQ(fade.size(), 10u);
  for (int i = 0; i < 9; ++i)
    EXPECT_EQ(ValueAt(fade[static_cast<std::size_t>(i)], 0), FloatBits(static_cast<float>(i / 10.0)));
  EXPECT_EQ(ValueAt(fade[9], 0), FloatBits(1.0f));

  for (int k = 0; k < 4; ++k) {
    const bool a = k == 0 || k == 2;
    EXPECT_EQ(store_.Int(slot::micToChannelA[k]), a ? 100 : 0);
    EXPECT_EQ(store_.Int(slot::micToChannelB[k]), a ? 0 : 100);
    EXPECT_EQ(ValueAt(WritesTo(1, 27 + k).at(0), 0), FloatBits(a ? 1.0f : 0.0f));
    EXPECT_EQ(ValueAt(WritesTo(1, 50 + k).at(0), 0), FloatBits(a ? 0.0f : 1.0f));
  }
  EXPECT_EQ(store_.Float(slot::reverbTimeA), 7.0f);
  EXPECT_EQ(ValueAt(WritesTo(3, 10).at(0), 0), EncodePct(7));
  EXPECT_EQ(ValueAt(WritesTo(3, 11).at(0), 0), EncodePct(7));
  EXPECT_EQ(store_.Float(slot::echoTimeA), 2.0f);
  EXPECT_EQ(store_.Float(slot::echoPredelayA), 2.0f);
  EXPECT_EQ(store_.Int(slot::micBoostOnCopy), 1);
  EXPECT_EQ(ValueAt(WritesTo(1, 37).at(0), 0), 0u);  // invbyte: on sends 0
  EXPECT_EQ(ValueAt(WritesTo(1, 60).at(0), 0), 0u);
}

TEST_F(WriteAllTest, MutedMusicSendsOneMessageAndBlocksAndCoefficientsCloseTheTransfer) {
  store_.SetInt(slot::musicMute, 1);
  Run();
  const auto mute = WritesTo(4, 13);
  ASSERT_EQ(mute.size(), 1u);
  EXPECT_EQ(ValueAt(mute[0], 0), FloatBits(0.0f));
  EXPECT_EQ(pauses_.pauses, (std::vector<int>{50}));

  // 25 block writes, then 163 coefficient messages in group order, then the two reads.
  const std::size_t n = sent().size();
  const std::size_t firstBlock = n - 2 - 163 - 25;
  for (int chunk = 0; chunk < 23; ++chunk) {
    const Report& r = sent()[firstBlock + static_cast<std::size_t>(chunk)];
    EXPECT_EQ(r[1], 133);
    EXPECT_EQ((r[2] << 8) | r[3], 56 * chunk);
    EXPECT_EQ(r[4], chunk == 22 ? 21 : 56);
  }
  // The record goes out re-encoded from the working geometry (exact zeros become 0x80).
  const auto location = EncodeLocation(DecodeLocation(kDefaultLocationRecord));
  EXPECT_EQ(sent()[firstBlock + 23], MakeWriteBlock(1285, location));
  EXPECT_EQ(sent()[firstBlock + 23][7], 0x80);
  EXPECT_EQ((sent()[firstBlock + 24][2] << 8) | sent()[firstBlock + 24][3], 1253);
  const std::size_t firstCoefficient = firstBlock + 25;
  EXPECT_EQ(sent()[firstCoefficient], MakeWriteParam(1, 16, BandCoefficientRecord(1, 0.0f, 31, 1.414f)));
  EXPECT_EQ(sent()[firstCoefficient + 10][4], 39);  // microphone B band 0
  EXPECT_EQ(sent()[firstCoefficient + 20][3], 2);   // echo
  EXPECT_EQ(sent()[firstCoefficient + 27][4], 13);  // echo B band 7
  EXPECT_EQ(sent()[firstCoefficient + 41][4], 12);  // reverb B band 7
  const Report& lowPass = sent()[firstCoefficient + 162];
  EXPECT_EQ(lowPass[3], 4);
  EXPECT_EQ(lowPass[4], 10);
  for (std::size_t i = firstCoefficient; i < firstCoefficient + 163; ++i) {
    EXPECT_EQ(sent()[i][5], 5);
    EXPECT_LE(sent()[i][4], 48);
  }
}

TEST_F(WriteAllTest, VolumeSaveByModeSilencesThenRampsTheMasterVolumes) {
  store_.SetByte(Region::machineSettings, 0, 1);
  Run();
  EXPECT_TRUE(IsWrite(sent()[0], 1, 14, 1, FloatBits(0.0f)));
  EXPECT_TRUE(IsWrite(sent()[1], 4, 12, 1, FloatBits(0.0f)));
  const auto mic = WritesTo(1, 14);
  ASSERT_EQ(mic.size(), 7u);
  for (int v = 80; v <= 85; ++v) EXPECT_EQ(ValueAt(mic[static_cast<std::size_t>(v - 79)], 0), EncodeVol(v));
  EXPECT_NEAR(BitsFloat(ValueAt(mic[1], 0)), 0.8005f, 1e-6f);
  EXPECT_NEAR(BitsFloat(ValueAt(mic[6], 0)), 0.8505f, 1e-6f);
  const auto music = WritesTo(4, 12);
  ASSERT_EQ(music.size(), 4u);
  EXPECT_EQ(ValueAt(music[1], 0), EncodeVol(70));
  EXPECT_EQ(ValueAt(music[3], 0), EncodeVol(72));
  EXPECT_EQ(pauses_.pauses.size(), 9u + 3u + 1u);
  EXPECT_EQ(pauses_.pauses[9], 100);
  EXPECT_EQ(sent().size(), 440u + 2u + 6u + 3u);
}

TEST_F(WriteAllTest, LowVolumesInModeOneGoOutOnce) {
  store_.SetByte(Region::machineSettings, 0, 1);
  store_.SetInt(slot::micVolume, 50);
  store_.SetInt(slot::musicVolume, 69);
  Run();
  const auto mic = WritesTo(1, 14);
  ASSERT_EQ(mic.size(), 2u);
  EXPECT_EQ(ValueAt(mic[1], 0), EncodeVol(50));
  const auto music = WritesTo(4, 12);
  ASSERT_EQ(music.size(), 2u);
  EXPECT_EQ(ValueAt(music[1], 0), EncodeVol(69));
}

TEST(WriteAllStop, AnInterruptedPauseEndsTheTransfer) {
  ParameterStore store;
  ResetStoreDefaults(store);
  RecordingSender sender;
  int calls = 0;
  EXPECT_FALSE(RunWriteAllSequence(store, sender, [&](int) { return ++calls < 3; }));
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(sender.paced.back()[4], 13);  // stopped inside the music fade-in
}

}  // namespace
}  // namespace vireo::test
