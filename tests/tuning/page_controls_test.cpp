// Microphone routing and volumes, the effect-parameter rows, and `set NAME VALUE` reaching them.
#include "device/virtual_clock.h"
#include "expected_reports.h"
#include "tuning/effect_params.h"
#include "tuning/field_setter.h"
#include "tuning/mic_inputs.h"

namespace vireo::test {
namespace {

using tuning::EffectNotice;
using tuning::EffectParam;
using tuning::EffectSet;

class PageControlsTest : public ::testing::Test {
 protected:
  PageControlsTest() { ResetStoreDefaults(store_); }
  ParameterStore store_;
  RecordingSender sender_;
};

TEST_F(PageControlsTest, RoutingTakesTheInputOffTheOtherChannelAndVolumesArePercents) {
  tuning::RouteMicInput(store_, sender_, 2, tuning::MicChannel::a);
  tuning::RouteMicInput(store_, sender_, 0, tuning::MicChannel::b);
  EXPECT_EQ(tuning::RouteMicInput(store_, sender_, 4, tuning::MicChannel::a), 0);
  EXPECT_EQ(tuning::SetMicInputVolume(store_, sender_, 1, 75), 75);
  EXPECT_EQ(tuning::SetMicInputVolume(store_, sender_, 3, 120), 100);
  EXPECT_EQ(sender_.paced, (std::vector<Report>{Param(1, 29, {0x3F800000}), Param(1, 52, {0}),
                                                Param(1, 27, {0}), Param(1, 50, {0x3F800000}),
                                                Param(1, 5, {0x3F400000}), Param(1, 7, {0x3F800000})}));
  EXPECT_EQ(store_.Int(slot::micToChannelA[2]) - store_.Int(slot::micToChannelB[2]), 100);
  EXPECT_EQ(tuning::MicInputChannel(store_, 0), tuning::MicChannel::b);
}

struct EffectCase {
  EffectSet set;
  EffectParam param;
  int value;
  int stored;
  std::vector<Report> reports;
};

TEST_F(PageControlsTest, EffectRowsSendTheirWords) {
  const EffectCase cases[] = {
      {EffectSet::a, EffectParam::reverbLevel, 75, 75, {Param(3, 8, {0x3F400000})}},
      {EffectSet::b, EffectParam::reverbLevel, 75, 75, {Param(3, 20, {0x3F400000})}},
      {EffectSet::a, EffectParam::reverbPredelay, 1, 2, {Param(3, 9, {96})}},  // raised to 2 ms
      {EffectSet::b, EffectParam::reverbPredelay, 40, 40, {Param(3, 21, {1920})}},
      {EffectSet::a,
       EffectParam::reverbTime,
       100,
       100,
       {Param(3, 10, {0x3F800000}), Param(3, 11, {0x3F800000})}},
      {EffectSet::b, EffectParam::reverbTime, 0, 0, {Param(3, 22, {0}), Param(3, 23, {0})}},
      {EffectSet::a, EffectParam::echoLevel, 50, 50, {Param(2, 8, {0x3F000000})}},
      {EffectSet::b, EffectParam::echoPredelay, 200, 200, {Param(2, 22, {9600})}},
      {EffectSet::a, EffectParam::echoTime, 260, 260, {Param(2, 10, {12480})}},
      {EffectSet::b, EffectParam::echoStartVol, 60, 60, {Param(2, 24, {0x3F19999A})}},
      {EffectSet::a, EffectParam::echoDecay, 10, 20, {Param(2, 12, {0x3E4CCCCD})}},
      {EffectSet::a, EffectParam::shiftFrequency, 1, 1, {Param(1, 33, {1})}},
      {EffectSet::b,
       EffectParam::shiftFrequency,
       2,
       2,
       {Param(1, 56, {0}), Param(1, 54, {0x3989421E}), Param(1, 55, {4800})}},
      {EffectSet::a,
       EffectParam::shiftFrequency,
       8,
       8,
       {Param(1, 33, {0}), Param(1, 31, {0x3A89421E}), Param(1, 32, {300})}},
  };
  for (const EffectCase& c : cases) {
    sender_.paced.clear();
    EXPECT_EQ(tuning::SetEffectParam(store_, sender_, c.set, c.param, c.value).value, c.stored);
    EXPECT_EQ(sender_.paced, c.reports) << static_cast<int>(c.param) << " " << c.value;
    EXPECT_EQ(tuning::EffectParamValue(store_, c.set, c.param), c.stored);
  }
  EXPECT_EQ(store_.Int(slot::shiftOffA), 0);
  EXPECT_EQ(store_.Int(slot::shiftOffB), 0);
}

TEST_F(PageControlsTest, ShortEchoTimesHoldTheReverbPredelayOfTheirSet) {
  const struct {
    EffectSet set;
    int echoMs, echoParam, echoSamples;
    bool coupled;
    int predelayParam, predelaySamples;
  } cases[] = {{EffectSet::a, 4, 10, 192, true, 9, 1920},
               {EffectSet::b, 2, 23, 96, true, 21, 960},
               {EffectSet::a, 6, 10, 288, true, 9, 2880},
               {EffectSet::b, 7, 23, 336, false, 0, 0}};
  for (const auto& c : cases) {
    sender_.paced.clear();
    EXPECT_EQ(
        tuning::SetEffectParam(store_, sender_, c.set, EffectParam::echoTime, c.echoMs).reverbPredelayCoupled,
        c.coupled);
    std::vector<Report> expected{Param(2, c.echoParam, {static_cast<std::uint32_t>(c.echoSamples)})};
    if (c.coupled)
      expected.push_back(Param(3, c.predelayParam, {static_cast<std::uint32_t>(c.predelaySamples)}));
    EXPECT_EQ(sender_.paced, expected) << c.echoMs;
  }
  EXPECT_EQ(store_.Float(slot::reverbPredelayA), 60.0f);
  EXPECT_EQ(store_.Float(slot::reverbPredelayB), 20.0f);  // 7 ms left it alone
}

TEST_F(PageControlsTest, RaisingAMutedEffectLevelAsksForItsNotice) {
  store_.SetInt(slot::reverbMute, 1);
  EXPECT_EQ(tuning::SetEffectParam(store_, sender_, EffectSet::a, EffectParam::reverbLevel, 1).notice,
            EffectNotice::reverbMuted);
  EXPECT_EQ(tuning::SetEffectParam(store_, sender_, EffectSet::b, EffectParam::reverbLevel, 0).notice,
            EffectNotice::none);
  EXPECT_EQ(tuning::SetEffectParam(store_, sender_, EffectSet::a, EffectParam::echoLevel, 5).notice,
            EffectNotice::none);
  store_.SetInt(slot::echoMute, 1);
  EXPECT_EQ(tuning::SetEffectParam(store_, sender_, EffectSet::b, EffectParam::echoLevel, 5).notice,
            EffectNotice::echoMuted);
}

TEST_F(PageControlsTest, ValueTexts) {
  EXPECT_EQ(tuning::EffectParamText(EffectParam::reverbTime, 0, 1) +
                tuning::EffectParamText(EffectParam::reverbTime, 100, 1),
            "40ms5000ms");
  EXPECT_EQ(tuning::EffectParamText(EffectParam::shiftFrequency, 1, 1), "Off");
  EXPECT_EQ(tuning::EffectParamText(EffectParam::shiftFrequency, 1, 0), "关闭");
  EXPECT_EQ(tuning::EffectParamText(EffectParam::shiftFrequency, 3, 0), "3Hz");
}

TEST_F(PageControlsTest, SetByNameUsesThePagesOperations) {
  VirtualClock clock(VirtualClock::Options{false, 15});
  const auto echo = tuning::SetFieldValue(store_, sender_, clock, "echoTimeB", 0, 3);
  EXPECT_EQ(echo.alsoSet, std::vector<std::string>{"reverbPredelayB"});
  EXPECT_EQ(store_.Float(slot::reverbPredelayB), 30.0f);
  store_.SetInt(slot::reverbMute, 1);
  EXPECT_EQ(tuning::SetFieldValue(store_, sender_, clock, "reverbLevelA", 0, 9).notice,
            tuning::VolumeNotice::muted);
  EXPECT_TRUE(tuning::SetFieldValue(store_, sender_, clock, "chEqBypass", 2, 1).ok);
  EXPECT_TRUE(tuning::SetFieldValue(store_, sender_, clock, "micInputVolume", 3, 50).ok);
  EXPECT_TRUE(tuning::SetFieldValue(store_, sender_, clock, "micToChannelA", 1, 100).ok);
  EXPECT_EQ(sender_.paced,
            (std::vector<Report>{Param(2, 23, {144}), Param(3, 21, {1440}), Param(3, 8, {0x3DB851EC}),
                                 Param(7, 15, {1}), Param(1, 7, {0x3F000000}), Param(1, 28, {0x3F800000}),
                                 Param(1, 51, {0})}));
}

}  // namespace
}  // namespace vireo::test
