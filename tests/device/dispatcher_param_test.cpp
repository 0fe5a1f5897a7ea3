// Reply 10 (parameter read-back) decoded into the store, with the special cases and the error event.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "dispatcher_fixture.h"
#include "model/report.h"
#include "model/store_layout.h"
#include "model/wire_rules.h"
#include "reply_builder.h"
#include "store_snapshot.h"

namespace vireo {
namespace {

using test::ParamReply;

using ParamReplyTest = test::DispatcherFixture;

TEST_F(ParamReplyTest, HundredthsFieldsRoundByTheReadBackFormula) {
  // 0A 00 02 08 01 3F 3F 7C EE: echoLevelA (2/8) = 0.748f; (0.748f + 0.005f) * 100 = 75.3 -> 75.
  Dispatch(ParamReply(2, 8, {0x3F3F7CEEu}));
  EXPECT_EQ(store.Int(slot::echoLevelA), 75);
  // -12.345f reads back as -1235, below the level's range: it is stored as 0.
  Dispatch(ParamReply(2, 8, {0xC145851Fu}));
  EXPECT_EQ(store.Int(slot::echoLevelA), 0);
  // 0A 00 04 0C 01 3F 4C ED 91: musicVolume (vol, 4/12) = 0.8005 -> 80.
  Dispatch(ParamReply(4, 12, {0x3F4CED91u}));
  EXPECT_EQ(store.Int(slot::musicVolume), 80);
  // t4: micNoiseGate input 3 (1/10) = 0.0042 -> 42; 0.0123 -> 123, above the gate's 0..100 -> 100.
  Dispatch(ParamReply(1, 10, {FloatBits(0.0042f)}));
  EXPECT_EQ(store.Int(slot::micNoiseGate[2]), 42);
  Dispatch(ParamReply(1, 10, {FloatBits(0.0123f)}));
  EXPECT_EQ(store.Int(slot::micNoiseGate[2]), 100);
}

TEST_F(ParamReplyTest, EachRuleStoresItsSlot) {
  Dispatch(ParamReply(7, 16, {5}));  // chType of channel 3: byte 5
  EXPECT_EQ(store.Int(slot::chType[2]), 5);
  Dispatch(ParamReply(4, 13, {FloatBits(0.0f)}));  // musicMute: inv, 0.0 -> muted
  EXPECT_EQ(store.Int(slot::musicMute), 1);
  Dispatch(ParamReply(4, 13, {FloatBits(1.0f)}));
  EXPECT_EQ(store.Int(slot::musicMute), 0);
  Dispatch(ParamReply(12, 25, {0xBF800000u}));  // chPhase channel 8: -1.0 -> inverted
  EXPECT_EQ(store.Int(slot::chPhase[7]), 1);
  Dispatch(ParamReply(1, 52, {FloatBits(1.0f)}));  // micToChannelB input 3: route
  EXPECT_EQ(store.Int(slot::micToChannelB[2]), 100);
  Dispatch(ParamReply(2, 9, {96}));  // echoPredelayA: ms, 96 samples -> 2.0 ms
  EXPECT_EQ(store.Float(slot::echoPredelayA), 2.0f);
  Dispatch(ParamReply(4, 36, {480}));  // musicLowDelay: msint, 480 samples -> 10 ms
  EXPECT_EQ(store.Int(slot::musicLowDelay), 10);
  Dispatch(ParamReply(4, 17, {0xC0A00000u}));  // musicAgcLevel: raw pattern (-5.0f)
  EXPECT_EQ(store.Bits(slot::musicAgcLevel), 0xC0A00000u);
}

TEST_F(ParamReplyTest, FloatSlotUnderHundredthsKeepsTheWholeNumberAsFloat) {
  // reverbTimeA 3/10 = 0.07 -> the float 7.0; its second address 3/11 decodes into the same field.
  Dispatch(ParamReply(3, 10, {0x3D8F5C29u}));
  EXPECT_EQ(store.Float(slot::reverbTimeA), 7.0f);
  Dispatch(ParamReply(3, 11, {FloatBits(0.09f)}));
  EXPECT_EQ(store.Float(slot::reverbTimeA), 9.0f);
  // effectVolume is sent to 1/34 and 1/57; either reply fills it.
  Dispatch(ParamReply(1, 57, {FloatBits(0.4005f)}));
  EXPECT_EQ(store.Int(slot::effectVolume), 40);
}

TEST_F(ParamReplyTest, MicBoostFlagKeepsItsCopy) {
  Dispatch(ParamReply(1, 37, {0}));  // invbyte: 0 on the wire -> boost flag 1
  EXPECT_EQ(store.Int(slot::micBoostOn), 1);
  EXPECT_EQ(store.Int(slot::micBoostOnCopy), 1);
  Dispatch(ParamReply(1, 60, {1}));
  EXPECT_EQ(store.Int(slot::micBoostOn), 0);
  EXPECT_EQ(store.Int(slot::micBoostOnCopy), 0);
}

TEST_F(ParamReplyTest, ShiftOffFlagForcesTheFrequencyToOne) {
  store.SetInt(slot::shiftFreqA, 5);
  store.SetInt(slot::shiftFreqB, 6);
  Dispatch(ParamReply(1, 33, {0}));  // A on: flag 0, frequency kept
  EXPECT_EQ(store.Int(slot::shiftOffA), 0);
  EXPECT_EQ(store.Int(slot::shiftFreqA), 5);
  Dispatch(ParamReply(1, 33, {1}));  // 0A 00 01 21 01 00 00 00 01: A off
  EXPECT_EQ(store.Int(slot::shiftOffA), 1);
  EXPECT_EQ(store.Int(slot::shiftFreqA), 1);
  EXPECT_EQ(store.Int(slot::shiftFreqB), 6);
  Dispatch(ParamReply(1, 56, {1}));
  EXPECT_EQ(store.Int(slot::shiftOffB), 1);
  EXPECT_EQ(store.Int(slot::shiftFreqB), 1);
}

TEST_F(ParamReplyTest, ShiftFrequencyFromRadiansAndDelayNotReadBack) {
  Dispatch(ParamReply(1, 31, {0x3A09421Eu}));  // 2*pi*4/48000 -> 4 Hz
  EXPECT_EQ(store.Int(slot::shiftFreqA), 4);
  Dispatch(ParamReply(1, 54, {FloatBits(static_cast<float>(2 * std::numbers::pi * 8 / 48000))}));
  EXPECT_EQ(store.Int(slot::shiftFreqB), 8);
  const test::StoreSnapshot before(store);
  Dispatch(ParamReply(1, 32, {4800}));
  Dispatch(ParamReply(1, 55, {300}));
  EXPECT_EQ(test::StoreSnapshot(store), before);
}

TEST_F(ParamReplyTest, CompressorRecordsFillFourSlots) {
  const auto music = CompressorRecord({-12.0f, 4.0f, 10.0f, 200.0f});
  Dispatch(ParamReply(4, 14, {music[0], music[1], music[2], music[3], music[4], music[5], music[6]}));
  EXPECT_EQ(store.Float(slot::musicCompThreshold), -12.0f);
  EXPECT_NEAR(store.Float(slot::musicCompRatio), 4.0f, 1e-4);
  EXPECT_NEAR(store.Float(slot::musicCompAttack), 10.0f, 1e-2);
  EXPECT_NEAR(store.Float(slot::musicCompRelease), 200.0f, 0.5);

  const auto channel = CompressorRecord({-3.0f, 2.0f, 5.0f, 50.0f});
  Dispatch(ParamReply(9, 27,
                      {channel[0], channel[1], channel[2], channel[3], channel[4], channel[5], channel[6]}));
  EXPECT_EQ(store.Float(slot::chCompThreshold[4]), -3.0f);
  EXPECT_NEAR(store.Float(slot::chCompRatio[4]), 2.0f, 1e-4);
  EXPECT_NEAR(store.Float(slot::chCompAttack[4]), 5.0f, 1e-2);
  EXPECT_NEAR(store.Float(slot::chCompRelease[4]), 50.0f, 0.1);
  EXPECT_EQ(store.Float(slot::chCompThreshold[3]), 0.0f);  // neighbours untouched
}

TEST_F(ParamReplyTest, DelayModeFromTheSecondValueAndPitchFromTheLowByte) {
  Dispatch(ParamReply(5, 17, {FloatBits(1.0f), FloatBits(0.0f)}));  // channel delay
  EXPECT_EQ(store.Int(slot::chDelayMode[0]), 1);
  Dispatch(ParamReply(5, 17, {FloatBits(0.0f), FloatBits(1.0f)}));  // high-frequency delay
  EXPECT_EQ(store.Int(slot::chDelayMode[0]), 0);
  Dispatch(ParamReply(4, 21, {10}));
  EXPECT_EQ(store.Int(slot::musicPitch), 5);
  Dispatch(ParamReply(4, 21, {0}));
  EXPECT_EQ(store.Int(slot::musicPitch), -5);
}

TEST_F(ParamReplyTest, UnknownModulesAndParametersChangeNothing) {
  const test::StoreSnapshot before(store);
  Dispatch(ParamReply(0, 14, {FloatBits(0.5f)}));
  Dispatch(ParamReply(13, 20, {FloatBits(0.5f)}));
  Dispatch(ParamReply(255, 14, {FloatBits(0.5f)}));
  Dispatch(ParamReply(1, 99, {FloatBits(0.5f)}));
  Dispatch(ParamReply(4, 10, {FloatBits(0.5f)}));  // coefficients of the low-pass band: no slot
  Dispatch(ParamReply(5, 29, {FloatBits(0.5f)}));  // channel gain record: no slot
  EXPECT_EQ(test::StoreSnapshot(store), before);
  EXPECT_TRUE(events.events().empty());
}

TEST_F(ParamReplyTest, ParameterErrorIsReportedOnceAndValuesStillDecoded) {
  // 0A 05 01 0E ...: status 5 for micVolume.
  Dispatch(ParamReply(1, 14, {FloatBits(0.5005f)}, 5));
  EXPECT_EQ(store.Int(slot::micVolume), 50);
  Dispatch(ParamReply(4, 12, {FloatBits(0.3005f)}, 7));
  EXPECT_EQ(store.Int(slot::musicVolume), 30);
  const std::vector<test::DeliveredEvent> expected{{false, event::parameterError, 0x05010E, 0}};
  EXPECT_EQ(events.events(), expected);
  EXPECT_TRUE(dispatcher.parameterErrorShown());
}

TEST_F(ParamReplyTest, ParameterErrorForAnIgnoredModuleStillCounts) {
  Dispatch(ParamReply(40, 3, {0}, 0x81));
  ASSERT_EQ(events.events().size(), 1u);
  EXPECT_EQ(events.events()[0].a, 0x812803);
}

}  // namespace
}  // namespace vireo
