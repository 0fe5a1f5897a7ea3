// The features dialog: microphone boost, the music low-frequency path, sub-woofer decay, music compressor.
#include "tuning/feature_ops.h"

#include "device/virtual_clock.h"
#include "expected_reports.h"
#include "model/band.h"
#include "tuning/field_setter.h"

namespace vireo::test {
namespace {

using tuning::FeatureSlider;

class FeatureOpsTest : public ::testing::Test {
 protected:
  FeatureOpsTest() { ResetStoreDefaults(store_); }
  void PutBoost(std::uint8_t high, std::uint8_t low) {
    const std::array<std::uint8_t, 2> bytes{high, low};
    store_.WriteBytes(Region::micBoostLevel, 0, bytes);
  }
  ParameterStore store_;
  RecordingSender sender_;
  VirtualClock clock_;
};

TEST_F(FeatureOpsTest, AStoredCutOfTwelveShowsTwelveAndMovingToTwentySendsMinusTwenty) {
  PutBoost(0xC1, 0x40);  // -12.0 = C1 40 00 00
  EXPECT_EQ(tuning::FeatureSliderPosition(store_, FeatureSlider::micBoost), 12);
  EXPECT_EQ(tuning::FeatureSliderText(FeatureSlider::micBoost, 12), "12dB");

  tuning::MoveFeatureSlider(store_, sender_, FeatureSlider::micBoost, 20);
  ASSERT_EQ(sender_.paced.size(), 7u);
  const Report block{0x02, 0x85, 0x05, 0x19, 0x02, 0xC1, 0xA0};  // -20.0 = C1 A0 00 00 at 1305
  EXPECT_EQ(sender_.paced[0], block);
  // g = 10^(-20/20) = 0.1 (3D CC CC CD), 1/g = 10.0 (41 20 00 00).
  EXPECT_EQ(sender_.paced[2], Param(1, 59, {0x3DCCCCCD}));
  EXPECT_EQ(sender_.paced[3], Param(1, 58, {0x41200000}));
  EXPECT_EQ(sender_.paced[5], Param(1, 36, {0x3DCCCCCD}));
  EXPECT_EQ(sender_.paced[6], Param(1, 35, {0x41200000}));
  for (std::size_t i : {1u, 4u}) {
    const Report& r = sender_.paced[i];
    EXPECT_EQ((std::vector<int>{r[3], r[4], r[5]}), (std::vector<int>{1, i == 1 ? 61 : 38, 6}));
    EXPECT_EQ(WordFloat(r, 0), 0.1f);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(WordFloat(r, 2)), 0x3F7D554Au);  // the boost pair
    EXPECT_EQ(std::bit_cast<std::uint32_t>(WordFloat(r, 3)), 0xBFFEA8DCu);
  }
}

TEST_F(FeatureOpsTest, SimpleSlidersStoreAndSendOneValue) {
  struct Case {
    FeatureSlider slider;
    int moved;
    int slotIndex;
    int stored;
    Report sent;
    const char* text;
  };
  const Case cases[] = {
      {FeatureSlider::lowDelay, 20, slot::musicLowDelay, 20, Param(4, 36, {960}), "20ms"},  // samples
      {FeatureSlider::lowDelay, 1, slot::musicLowDelay, 1, Param(4, 36, {48}), "1ms"},
      {FeatureSlider::lowDelay, 0, slot::musicLowDelay, 0, Param(4, 36, {0}), "0ms"},
      {FeatureSlider::lowDelay, 21, slot::musicLowDelay, 20, Param(4, 36, {960}), "20ms"},
      {FeatureSlider::lowGain, 150, slot::musicLowGain, 150, Param(4, 37, {0x3FC00000}), "150%"},  // 1.5
      {FeatureSlider::lowGain, 300, slot::musicLowGain, 300, Param(4, 37, {0x40400000}), "300%"},  // 3.0
      {FeatureSlider::subRatio, 50, slot::autoSubRatio, 50, Param(1, 13, {0x3F000000}), "50%"},    // 0.5
  };
  for (const Case& c : cases) {
    RecordingSender sender;
    const int used = tuning::MoveFeatureSlider(store_, sender, c.slider, c.moved);
    EXPECT_EQ(store_.Int(c.slotIndex), c.stored);
    ASSERT_EQ(sender.paced.size(), 1u);
    EXPECT_EQ(sender.paced[0], c.sent) << c.moved;
    EXPECT_EQ(tuning::FeatureSliderText(c.slider, used), c.text);
  }
}

TEST_F(FeatureOpsTest, CheckBoxes) {
  tuning::SetMicBoostOn(store_, sender_, true);
  EXPECT_EQ(store_.Int(slot::micBoostOnCopy), 1);
  tuning::SetMicBoostOn(store_, sender_, false);
  EXPECT_EQ(store_.Int(slot::micBoostOnCopy), 0);
  tuning::SetAutoSubOn(store_, sender_, true);
  tuning::SetMusicCompressorOn(store_, sender_, false);
  EXPECT_EQ(store_.Int(slot::musicCompOff), 1);
  const std::vector<Report> sent{Param(1, 37, {0}), Param(1, 60, {0}), Param(1, 37, {1}),
                                 Param(1, 60, {1}), Param(1, 12, {1}), Param(4, 15, {1})};
  EXPECT_EQ(sender_.paced, sent);
}

TEST_F(FeatureOpsTest, TheRatioSliderSendsTheRecordWithTheOtherStoredValues) {
  store_.SetFloat(slot::musicCompThreshold, -20.0f);
  store_.SetFloat(slot::musicCompRatio, 2.0f);
  store_.SetFloat(slot::musicCompAttack, 10.0f);
  store_.SetFloat(slot::musicCompRelease, 100.0f);
  tuning::MoveFeatureSlider(store_, sender_, FeatureSlider::compRatio, 45);
  EXPECT_EQ(tuning::FeatureSliderText(FeatureSlider::compRatio, 45), "4.5:1");
  EXPECT_EQ(store_.Float(slot::musicCompRatio), 4.5f);
  ASSERT_EQ(sender_.paced.size(), 1u);
  const Report& r = sender_.paced[0];
  ASSERT_EQ((std::vector<int>{r[3], r[4], r[5]}), (std::vector<int>{4, 14, 7}));
  EXPECT_EQ(WordFloat(r, 0), -20.0f);
  EXPECT_FLOAT_EQ(WordFloat(r, 2), static_cast<float>(1.0 - 1.0 / 4.5));
  EXPECT_FLOAT_EQ(WordFloat(r, 5), static_cast<float>(1.0 - std::exp(-1.0 / (48.0 * 10))));
  EXPECT_FLOAT_EQ(WordFloat(r, 6), static_cast<float>(1.0 - std::exp(-1.0 / (48.0 * 100))));
}

TEST_F(FeatureOpsTest, TheLowPassBandIsStoredInGroupThirteenAndItsCoefficientsGoToFourTen) {
  tuning::MoveFeatureSlider(store_, sender_, FeatureSlider::lowFrequency, 100);
  ASSERT_EQ(sender_.paced.size(), 2u);
  // Group 13 band 0 at 1246: gain 0 (150), 100 Hz, Q 0.707 (707 = 02 C3), LP (2).
  EXPECT_EQ(sender_.paced[0], Block(1246, {0x00, 0x96, 0x00, 0x64, 0x02, 0xC3, 0x02}));
  const Report& r = sender_.paced[1];
  ASSERT_EQ((std::vector<int>{r[3], r[4], r[5]}), (std::vector<int>{4, 10, 5}));
  const double w = 2 * std::numbers::pi * 100 / 48000, c = std::cos(w);
  const double alpha = std::sin(w) / (2 * 0.70710677), a0 = 1 + alpha;
  const double words[5] = {2 * c / a0, -(1 - alpha) / a0, (1 - c) / 2 / a0, (1 - c) / a0, (1 - c) / 2 / a0};
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(WordFloat(r, i), words[i], 2e-7) << i;
  EXPECT_EQ(tuning::FeatureSliderPosition(store_, FeatureSlider::lowFrequency), 100);
}

TEST_F(FeatureOpsTest, FilledPositionsAreHeldAtTheEndsWithoutCorrectingTheStore) {
  PutBoost(0x40, 0x40);  // +3 dB: no cut
  store_.SetInt(slot::autoSubRatio, 150);
  store_.SetFloat(slot::musicCompThreshold, -70.0f);
  store_.SetFloat(slot::musicCompRatio, 4.55f);
  EXPECT_EQ(tuning::FeatureSliderPosition(store_, FeatureSlider::micBoost), 0);
  EXPECT_EQ(tuning::FeatureSliderPosition(store_, FeatureSlider::subRatio), 100);
  EXPECT_EQ(tuning::FeatureSliderPosition(store_, FeatureSlider::compThreshold), -60);
  EXPECT_EQ(tuning::FeatureSliderPosition(store_, FeatureSlider::compRatio), 45);
  EXPECT_EQ(store_.Int(slot::autoSubRatio), 150);
  store_.SetFloat(slot::musicAgcLevel, -12.5f);
  EXPECT_EQ(tuning::AgcText(tuning::AgcSliderPosition(store_)), "-12.5dB");
}

TEST_F(FeatureOpsTest, SetReachesTheBoostAndTheLowPassByName) {
  ASSERT_TRUE(tuning::SetFieldValue(store_, sender_, clock_, "micBoostLevel", 0, -20).ok);
  EXPECT_EQ(store_.Byte(Region::micBoostLevel, 0), 0xC1);
  EXPECT_EQ(store_.Byte(Region::micBoostLevel, 1), 0xA0);
  ASSERT_TRUE(tuning::SetFieldValue(store_, sender_, clock_, "musicLowFrequency", 0, 80).ok);
  EXPECT_EQ(ReadBand(store_, 13, 0).frequency, 80);
  EXPECT_FALSE(tuning::SetFieldValue(store_, sender_, clock_, "micBoostLevel", 1, -3).ok);
  EXPECT_FALSE(tuning::SetFieldValue(store_, sender_, clock_, "micBoostLevel", 0, NAN).ok);
  ASSERT_TRUE(tuning::SetFieldValue(store_, sender_, clock_, "micBoostOn", 0, 1).ok);
  EXPECT_EQ(store_.Int(slot::micBoostOnCopy), 1);
}

}  // namespace
}  // namespace vireo::test
