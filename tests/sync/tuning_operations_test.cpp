// The master-level operations and the generic field setter: store first, then the exact messages.
#include <gtest/gtest.h>

#include <cmath>

#include "device/virtual_clock.h"
#include "model/band.h"
#include "model/wire_rules.h"
#include "report_recorder.h"
#include "tuning/field_setter.h"
#include "tuning/input_controls.h"

namespace vireo::test {
namespace {

using tuning::VolumeNotice;

class TuningOperationsTest : public ::testing::Test {
 protected:
  TuningOperationsTest() : clock_(VirtualClock::Options{false, 15}) {
    ResetStoreDefaults(store_);
    store_.SetByte(Region::machineSettings, 5, 60);  // maximum microphone volume
    store_.SetByte(Region::machineSettings, 6, 90);  // maximum music volume
  }
  const std::vector<Report>& sent() const { return sender_.paced; }

  VirtualClock clock_;
  ParameterStore store_;
  RecordingSender sender_;
};

TEST_F(TuningOperationsTest, MicrophoneVolumeIsLimitedByTheMachineSettings) {
  const auto result = tuning::SetMicVolume(store_, sender_, 80);
  EXPECT_EQ(result.value, 60);
  EXPECT_EQ(result.notice, VolumeNotice::overMaximum);
  EXPECT_EQ(store_.Int(slot::micVolume), 60);
  ASSERT_EQ(sent().size(), 1u);
  EXPECT_TRUE(IsWrite(sent()[0], 1, 14, 1, EncodeVol(60)));
  EXPECT_NEAR(BitsFloat(ValueAt(sent()[0], 0)), 0.6005f, 1e-6f);

  store_.SetInt(slot::micMute, 1);  // the mute notice replaces the limit notice
  EXPECT_EQ(tuning::SetMicVolume(store_, sender_, 80).notice, VolumeNotice::muted);
  EXPECT_EQ(tuning::SetMicVolume(store_, sender_, 30).notice, VolumeNotice::muted);
  store_.SetInt(slot::micMute, 0);
  EXPECT_EQ(tuning::SetMicVolume(store_, sender_, 30).notice, VolumeNotice::none);
}

TEST_F(TuningOperationsTest, BeforeAMachineReportedItsSettingsTheMaximaAreZero) {
  store_.Fill(Region::machineSettings, 0);
  const auto result = tuning::SetMusicVolume(store_, sender_, 40);
  EXPECT_EQ(result.value, 0);
  EXPECT_EQ(result.notice, VolumeNotice::overMaximum);
  EXPECT_TRUE(IsWrite(sent()[0], 4, 12, 1, EncodeVol(0)));
  EXPECT_NEAR(BitsFloat(ValueAt(sent()[0], 0)), 0.0005f, 1e-7f);
}

TEST_F(TuningOperationsTest, EffectReverbAndEchoVolumes) {
  EXPECT_EQ(tuning::SetEffectVolume(store_, sender_, 120).value, 99);  // the slider's range
  EXPECT_EQ(tuning::SetReverbVolume(store_, sender_, 0).notice, VolumeNotice::none);
  store_.SetInt(slot::echoMute, 1);
  EXPECT_EQ(tuning::SetEchoVolume(store_, sender_, 50).notice, VolumeNotice::muted);
  ASSERT_EQ(sent().size(), 4u);
  EXPECT_TRUE(IsWrite(sent()[0], 1, 34, 1, EncodeVol(99)));
  EXPECT_TRUE(IsWrite(sent()[1], 1, 57, 1, EncodeVol(99)));
  EXPECT_EQ(sent()[2], MakeWriteParamRepeated(3, 24, FloatBits(0.0f), 2));
  EXPECT_TRUE(IsWrite(sent()[3], 2, 26, 1, FloatBits(0.5f)));
  EXPECT_EQ(store_.Int(slot::effectVolume), 99);
  EXPECT_EQ(store_.Int(slot::echoVolume), 50);
}

TEST_F(TuningOperationsTest, NoiseGatesAndPitch) {
  EXPECT_EQ(tuning::SetMusicNoiseGate(store_, sender_, 100), 100);
  EXPECT_EQ(tuning::SetMusicPitch(store_, sender_, -5), -5);
  EXPECT_EQ(tuning::SetMusicPitch(store_, sender_, 9), 5);
  EXPECT_EQ(tuning::SetMicNoiseGate(store_, sender_, 2, 37), 37);
  EXPECT_EQ(tuning::SetMicNoiseGate(store_, sender_, 4, 37), -1);
  ASSERT_EQ(sent().size(), 4u);
  EXPECT_NEAR(BitsFloat(ValueAt(sent()[0], 0)), 0.01f, 1e-9f);
  EXPECT_TRUE(IsWrite(sent()[1], 4, 21, 1, 0u));
  EXPECT_TRUE(IsWrite(sent()[2], 4, 21, 1, 10u));
  EXPECT_TRUE(IsWrite(sent()[3], 1, 10, 1, EncodeT4(37)));
  EXPECT_EQ(store_.Int(slot::musicPitch), 5);
  EXPECT_EQ(store_.Int(slot::micNoiseGate[2]), 37);
}

TEST_F(TuningOperationsTest, MutesAndTheMusicFadeIn) {
  EXPECT_TRUE(tuning::ToggleMicMute(store_, sender_));
  EXPECT_TRUE(tuning::ToggleReverbMute(store_, sender_));
  EXPECT_FALSE(tuning::ToggleReverbMute(store_, sender_));
  tuning::SetEchoMute(store_, sender_, true);
  ASSERT_EQ(sent().size(), 4u);
  EXPECT_TRUE(IsWrite(sent()[0], 1, 15, 1, FloatBits(0.0f)));
  EXPECT_EQ(sent()[1], MakeWriteParamRepeated(3, 25, FloatBits(0.0f), 2));
  EXPECT_EQ(sent()[2], MakeWriteParamRepeated(3, 25, FloatBits(1.0f), 2));
  EXPECT_TRUE(IsWrite(sent()[3], 2, 27, 1, FloatBits(0.0f)));
  EXPECT_EQ(store_.Int(slot::micMute), 1);
  EXPECT_EQ(store_.Int(slot::reverbMute), 0);

  sender_.paced.clear();
  EXPECT_TRUE(tuning::ToggleMusicMute(store_, sender_, clock_));  // muting: one message
  ASSERT_EQ(sent().size(), 1u);
  EXPECT_EQ(clock_.NowMs(), 0);
  EXPECT_FALSE(tuning::ToggleMusicMute(store_, sender_, clock_));  // unmuting fades in
  ASSERT_EQ(sent().size(), 11u);
  for (int i = 0; i < 9; ++i) {
    EXPECT_TRUE(
        IsWrite(sent()[static_cast<std::size_t>(i + 1)], 4, 13, 1, FloatBits(static_cast<float>(i / 10.0))));
  }
  EXPECT_TRUE(IsWrite(sent()[10], 4, 13, 1, FloatBits(1.0f)));
  EXPECT_EQ(clock_.NowMs(), 270);
  EXPECT_EQ(store_.Int(slot::musicMute), 0);
}

TEST_F(TuningOperationsTest, FieldSetterUsesTheControlsOperations) {
  auto result = tuning::SetFieldValue(store_, sender_, clock_, "micVolume", 0, 75);
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(result.notice, VolumeNotice::overMaximum);
  EXPECT_EQ(store_.Int(slot::micVolume), 60);

  sender_.paced.clear();
  EXPECT_TRUE(tuning::SetFieldValue(store_, sender_, clock_, "shiftFreqB", 0, 2).ok);
  ASSERT_EQ(sent().size(), 3u);
  EXPECT_TRUE(IsWrite(sent()[0], 1, 56, 1, 0u));
  EXPECT_TRUE(IsWrite(sent()[2], 1, 55, 1, 4800u));
  EXPECT_EQ(store_.Int(slot::shiftOffB), 0);
  EXPECT_TRUE(tuning::SetFieldValue(store_, sender_, clock_, "shiftOffB", 0, 1).ok);
  EXPECT_EQ(store_.Int(slot::shiftFreqB), 1);
  EXPECT_EQ(sent().size(), 4u);
  // Beyond the shifter's range: the top frequency, 8 Hz, with its 300-sample delay.
  EXPECT_TRUE(tuning::SetFieldValue(store_, sender_, clock_, "shiftFreqA", 0, 12).ok);
  EXPECT_EQ(store_.Int(slot::shiftFreqA), 8);
  ASSERT_EQ(sent().size(), 7u);
  EXPECT_TRUE(IsWrite(sent()[6], 1, 32, 1, 300u));

  sender_.paced.clear();
  EXPECT_TRUE(tuning::SetFieldValue(store_, sender_, clock_, "micToChannelB", 3, 100).ok);
  EXPECT_EQ(store_.Int(slot::micToChannelA[3]), 0);
  EXPECT_EQ(store_.Int(slot::micToChannelB[3]), 100);
  ASSERT_EQ(sent().size(), 2u);
  EXPECT_TRUE(IsWrite(sent()[0], 1, 30, 1, FloatBits(0.0f)));
  EXPECT_TRUE(IsWrite(sent()[1], 1, 53, 1, FloatBits(1.0f)));
}

TEST_F(TuningOperationsTest, FieldSetterSendsOtherFieldsByTheirRule) {
  EXPECT_TRUE(tuning::SetFieldValue(store_, sender_, clock_, "chDelay", 3, 0.2).ok);
  EXPECT_EQ(store_.Float(slot::chDelay[3]), 1.5f);
  ASSERT_EQ(sent().size(), 1u);
  EXPECT_TRUE(IsWrite(sent()[0], 8, 18, 1, 72u));

  sender_.paced.clear();
  EXPECT_TRUE(tuning::SetFieldValue(store_, sender_, clock_, "chDelayMode", 0, 1).ok);
  ASSERT_EQ(sent().size(), 5u);  // the pair, then both split bands with their coefficients
  EXPECT_EQ(ValueAt(sent()[0], 1), FloatBits(0.0f));
  EXPECT_EQ(sent()[1][1], 133);
  EXPECT_EQ(ReadBand(store_, 5, 13).type, 1);

  sender_.paced.clear();
  EXPECT_TRUE(tuning::SetFieldValue(store_, sender_, clock_, "chCompRatio", 1, 4).ok);
  ASSERT_EQ(sent().size(), 1u);
  EXPECT_EQ(sent()[0][5], 7);
  EXPECT_EQ(ValueAt(sent()[0], 2), FloatBits(0.75f));
  EXPECT_TRUE(tuning::SetFieldValue(store_, sender_, clock_, "reverbTimeA", 0, 6).ok);
  EXPECT_TRUE(IsWrite(sent()[1], 3, 10, 1, EncodePct(6)));
  EXPECT_TRUE(IsWrite(sent()[2], 3, 11, 1, EncodePct(6)));
}

TEST_F(TuningOperationsTest, FieldSetterRefusesWhatItCannotSet) {
  EXPECT_FALSE(tuning::SetFieldValue(store_, sender_, clock_, "noSuchField", 0, 1).ok);
  EXPECT_FALSE(tuning::SetFieldValue(store_, sender_, clock_, "chDelay", 8, 1).ok);
  EXPECT_FALSE(tuning::SetFieldValue(store_, sender_, clock_, "micBoostOnCopy", 0, 1).ok);
  EXPECT_FALSE(tuning::SetFieldValue(store_, sender_, clock_, "micVolume", 0, std::nan("")).ok);
  const auto off = tuning::SetFieldValue(store_, sender_, clock_, "shiftOffA", 0, 0);
  EXPECT_FALSE(off.ok);
  EXPECT_FALSE(off.reason.empty());
  EXPECT_TRUE(sent().empty());
}

}  // namespace
}  // namespace vireo::test
