// The delay edits of an output channel: sample counts, the 1.5 ms floor, the mode pair and its split bands.
#include "tuning/delay_ops.h"

#include "expected_reports.h"
#include "model/band.h"
#include "model/store_layout.h"

namespace vireo::test {
namespace {

class DelayOpsTest : public ::testing::Test {
 protected:
  DelayOpsTest() { ResetStoreDefaults(store_); }
  void PutBand13(int group, int hz) {
    const auto bytes = EncodeBandRecord({0.0f, hz, 0.7f, 3});
    store_.WriteBytes(Region::dspBlock, static_cast<std::size_t>(EqBandAddress(group, 13)), bytes);
  }
  ParameterStore store_;
  RecordingSender sender_;
};

TEST_F(DelayOpsTest, DelaysGoOutAsSampleCountsAt48kHzNeverBelowTheFloor) {
  struct Case {
    int channel;
    float ms;
    std::uint32_t samples;
    float stored;
  };
  const Case cases[] = {
      {0, 10.0f, 480, 10.0f}, {3, 1.5f, 72, 1.5f},      {7, 100.0f, 4800, 100.0f},
      {5, 0.5f, 72, 1.5f},    {1, 12.34f, 592, 12.34f},  // 592.32 rounds down
      {2, 1.51f, 72, 1.51f},                             // 72.48 rounds down
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ms);
    store_.SetFloat(slot::chDelay[c.channel], 50.0f);
    sender_.paced.clear();
    EXPECT_TRUE(tuning::SetChannelDelay(store_, sender_, c.channel, c.ms));
    ASSERT_EQ(sender_.paced.size(), 1u);
    EXPECT_EQ(sender_.paced[0], Param(5 + c.channel, 18, {c.samples}));
    EXPECT_EQ(store_.Float(slot::chDelay[c.channel]), c.stored);
  }
}

TEST_F(DelayOpsTest, TheStoredDelayAgainSendsNothing) {
  store_.SetFloat(slot::chDelay[4], 20.0f);
  EXPECT_FALSE(tuning::SetChannelDelay(store_, sender_, 4, 20.0f));
  EXPECT_TRUE(sender_.paced.empty());
}

TEST_F(DelayOpsTest, TypedTextAndUpDownClicksStayInsideTheRange) {
  const std::pair<const char*, float> typed[] = {{"0.5", 1.5f},     {"250", 100.0f},   {"100.0ms", 100.0f},
                                                 {"abc", 1.5f},     {"12.3ms", 12.3f}, {"-4", 1.5f},
                                                 {"100.05", 100.0f}};
  for (const auto& [text, ms] : typed) EXPECT_EQ(tuning::ParseDelayText(text), ms) << text;
  EXPECT_EQ(tuning::DelayUpDownClick(16, false), 1.5f);
  EXPECT_EQ(tuning::DelayUpDownClick(1000, true), 100.0f);
  EXPECT_EQ(tuning::DelayUpDownClick(1, false), 0.1f);
  EXPECT_EQ(tuning::DelayUpDownPosition(12.34f), 123);
  EXPECT_EQ(tuning::DelayText(1.5f), "1.5ms");
}

TEST_F(DelayOpsTest, TheModePairIsFollowedByTheSplitBandsOfTheCurrentIndex) {
  // Band 13 at 1200 Hz: split index 7 (500 + 100 x 7).
  PutBand13(11, 1200);
  tuning::SetDelayMode(store_, sender_, 6, tuning::DelayMode::channel);
  ASSERT_EQ(sender_.paced.size(), 5u);
  EXPECT_EQ(sender_.paced[0], Param(11, 17, {0x3F800000, 0x00000000}));
  EXPECT_EQ(store_.Int(slot::chDelayMode[6]), 1);
  // "Channel": both split bands flat Peaking at 1200 and 1700 Hz, each block then its coefficients.
  EXPECT_EQ(sender_.paced[1][1], 0x85);
  EXPECT_EQ((std::vector<int>{sender_.paced[2][3], sender_.paced[2][4]}), (std::vector<int>{11, 13}));
  EXPECT_EQ((std::vector<int>{sender_.paced[4][3], sender_.paced[4][4]}), (std::vector<int>{11, 14}));
  EXPECT_EQ(ReadBand(store_, 11, 13).frequency, 1200);
  EXPECT_EQ(ReadBand(store_, 11, 14).frequency, 1700);
  EXPECT_EQ(ReadBand(store_, 11, 14).type, 1);

  sender_.paced.clear();
  tuning::SetDelayMode(store_, sender_, 6, tuning::DelayMode::highFreq);
  ASSERT_EQ(sender_.paced.size(), 5u);
  EXPECT_EQ(sender_.paced[0], Param(11, 17, {0x3F800000, 0x3F800000}));
  EXPECT_EQ(ReadBand(store_, 11, 13).type, 3);  // high-pass at the same index
  EXPECT_EQ(ReadBand(store_, 11, 14).type, 2);
  EXPECT_EQ(tuning::ChannelSplitIndex(store_, 6), 7);
}

TEST_F(DelayOpsTest, SplitIndexComesFromBand13AndTheSliderHoldsItsRange) {
  PutBand13(5, 750);
  EXPECT_EQ(tuning::ChannelSplitIndex(store_, 0), 0);  // not in the table
  tuning::MoveSplit(store_, sender_, 0, 26);
  EXPECT_EQ(ReadBand(store_, 5, 13).frequency, 3000);
  EXPECT_EQ(ReadBand(store_, 5, 14).frequency, 3500);
  EXPECT_EQ(tuning::SplitText(25), "3000Hz");
  EXPECT_EQ(tuning::SplitText(0), "500Hz");
}

TEST_F(DelayOpsTest, SwitchingOffKeepsDelayAndSplit) {
  store_.SetFloat(slot::chDelay[2], 33.3f);
  tuning::MoveSplit(store_, sender_, 2, 4);
  sender_.paced.clear();
  tuning::SetDelayOn(store_, sender_, 2, false);
  ASSERT_EQ(sender_.paced.size(), 1u);
  EXPECT_EQ(sender_.paced[0], Param(7, 19, {1}));
  EXPECT_FALSE(tuning::DelayOn(store_, 2));
  EXPECT_EQ(store_.Float(slot::chDelay[2]), 33.3f);
  EXPECT_EQ(tuning::ChannelSplitIndex(store_, 2), 4);
}

}  // namespace
}  // namespace vireo::test
