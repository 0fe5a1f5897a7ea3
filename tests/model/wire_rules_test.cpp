// Single-value wire rules in both directions, with their edge cases and garbled replies.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "model/report.h"
#include "model/slot_fields.h"
#include "model/wire_rules.h"

namespace vireo {
namespace {

std::uint32_t Enc(WireRule rule, std::uint32_t slotBits) {
  std::uint32_t wire = 0xDEADBEEF;
  EXPECT_TRUE(EncodeSingle(rule, slotBits, &wire));
  return wire;
}

std::uint32_t Dec(WireRule rule, std::uint32_t wire) {
  std::uint32_t slot = 0xDEADBEEF;
  EXPECT_TRUE(DecodeSingle(rule, wire, &slot));
  return slot;
}

std::uint32_t I(std::int32_t v) {
  return static_cast<std::uint32_t>(v);
}

TEST(ReadBackHelpers, HundredthsUsesTheSignedBiasInSinglePrecision) {
  EXPECT_EQ(Hundredths(0.75f), 75);
  EXPECT_EQ(Hundredths(0.0f), 0);
  EXPECT_EQ(Hundredths(-0.05f), -5);
  EXPECT_EQ(Hundredths(1.0f), 100);
  // (-12.345f - 0.005f) * 100 is -1235.0 in single precision, so the formula gives -1235.
  EXPECT_EQ(Hundredths(-12.345f), -1235);
  EXPECT_EQ(Hundredths(12.345f), 1235);
  EXPECT_EQ(Hundredths(0.0049f), 0);
  EXPECT_EQ(TenThousandths(0.0025f), 25);
  EXPECT_EQ(TenThousandths(-0.0025f), -25);
}

TEST(ReadBackHelpers, GarbledValuesSaturateInsteadOfOverflowing) {
  EXPECT_EQ(Hundredths(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(Hundredths(1e30f), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(Hundredths(-std::numeric_limits<float>::infinity()), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(TenThousandths(1e30f), std::numeric_limits<std::int32_t>::max());
  std::uint32_t slot = 0;
  EXPECT_TRUE(DecodeSingle(WireRule::msint, 0x7FFFFFFF, &slot));
  EXPECT_EQ(slot, I(44739244));  // 44739242.6 ms is 44739244 in single precision
}

TEST(WireRules, PctAndRoute) {
  EXPECT_EQ(Enc(WireRule::pct, 75), 0x3F400000u);
  EXPECT_EQ(Enc(WireRule::pct, I(-5)), 0xBD4CCCCDu);
  EXPECT_EQ(Dec(WireRule::pct, 0x3F400000), 75u);
  EXPECT_EQ(Dec(WireRule::pct, FloatBits(-12.345f)), I(-1235));
  for (int v = -10000; v <= 10000; ++v) ASSERT_EQ(Dec(WireRule::pct, EncodePct(v)), I(v)) << v;

  EXPECT_EQ(Enc(WireRule::route, 100), 0x3F800000u);
  EXPECT_EQ(Enc(WireRule::route, 0), 0x00000000u);
  EXPECT_EQ(Dec(WireRule::route, 0x3F800000), 100u);
  EXPECT_EQ(Dec(WireRule::route, 0), 0u);
}

TEST(WireRules, VolAddsTheHalfThousandthAfterTheSingleDivision) {
  // float(0.8f + 0.0005): the division is single precision, the addition double.
  EXPECT_EQ(Enc(WireRule::vol, 80), 0x3F4CED92u);
  EXPECT_EQ(EncodeVol(0), 0x3A03126Fu);
  EXPECT_EQ(EncodeVol(100), 0x3F801062u);
  for (int v = 0; v <= 100; ++v) ASSERT_EQ(Dec(WireRule::vol, EncodeVol(v)), I(v)) << v;
}

TEST(WireRules, T4) {
  EXPECT_EQ(Enc(WireRule::t4, 25), 0x3B23D70Au);
  EXPECT_EQ(Enc(WireRule::t4, I(-25)), 0xBB23D70Au);
  EXPECT_EQ(Dec(WireRule::t4, 0x3B23D70A), 25u);
  for (int v = -10000; v <= 10000; ++v) ASSERT_EQ(Dec(WireRule::t4, EncodeT4(v)), I(v)) << v;
}

TEST(WireRules, ByteAndPitchUseTheLowByte) {
  EXPECT_EQ(Enc(WireRule::byte, 200), 200u);
  EXPECT_EQ(Dec(WireRule::byte, 0x12345678), 0x78u);
  EXPECT_EQ(Dec(WireRule::byte, 0x000001FF), 0xFFu);

  EXPECT_EQ(Enc(WireRule::pitch, I(-5)), 0u);
  EXPECT_EQ(Enc(WireRule::pitch, 0), 5u);
  EXPECT_EQ(Enc(WireRule::pitch, 5), 10u);
  EXPECT_EQ(Dec(WireRule::pitch, 10), 5u);
  EXPECT_EQ(Dec(WireRule::pitch, 0), I(-5));
  EXPECT_EQ(Dec(WireRule::pitch, 0xFFFFFF07), 2u);
}

TEST(WireRules, InvertedFlags) {
  EXPECT_EQ(Enc(WireRule::inv, 0), 0x3F800000u);
  EXPECT_EQ(Enc(WireRule::inv, 1), 0x00000000u);
  EXPECT_EQ(Dec(WireRule::inv, 0x3F800000), 0u);
  EXPECT_EQ(Dec(WireRule::inv, 0x00000000), 1u);
  EXPECT_EQ(Dec(WireRule::inv, 0x3C23D70A), 0u);         // 0.01 is one hundredth: not muted
  EXPECT_EQ(Dec(WireRule::inv, FloatBits(0.004f)), 1u);  // rounds to zero hundredths: muted

  EXPECT_EQ(Enc(WireRule::invbyte, 0), 1u);
  EXPECT_EQ(Enc(WireRule::invbyte, 1), 0u);
  EXPECT_EQ(Dec(WireRule::invbyte, 1), 0u);
  EXPECT_EQ(Dec(WireRule::invbyte, 0), 1u);
  EXPECT_EQ(Dec(WireRule::invbyte, 0x100), 1u);  // only the low byte counts

  EXPECT_EQ(Enc(WireRule::phase, 1), 0xBF800000u);
  EXPECT_EQ(Enc(WireRule::phase, 0), 0x3F800000u);
  EXPECT_EQ(Dec(WireRule::phase, 0xBF800000), 1u);
  EXPECT_EQ(Dec(WireRule::phase, 0x3F800000), 0u);
  EXPECT_EQ(Dec(WireRule::phase, 0x00000000), 1u);  // zero hundredths counts as inverted
}

TEST(WireRules, MillisecondsAreRaisedThenSentAsSamples) {
  EXPECT_EQ(RaiseMs(1.0f, 2.0f), 2.0f);
  EXPECT_EQ(RaiseMs(1.0f, 1.5f), 1.5f);
  EXPECT_EQ(RaiseMs(1.4f, 1.5f), 1.5f);
  EXPECT_EQ(RaiseMs(5.25f, 2.0f), 5.25f);
  EXPECT_EQ(RaiseMs(std::numeric_limits<float>::quiet_NaN(), 2.0f), 2.0f);
  EXPECT_EQ(RaiseMs(-3.0f, 2.0f), 2.0f);
  EXPECT_EQ(EncodeMs(RaiseMs(1.0f, 2.0f)), 96u);
  EXPECT_EQ(EncodeMs(1.5f), 72u);
  EXPECT_EQ(Enc(WireRule::ms, FloatBits(217.0f)), 10416u);
  EXPECT_EQ(EncodeMs(0.01f), 0u);   // 0.48 samples + 0.5 truncates to 0
  EXPECT_EQ(EncodeMs(0.011f), 1u);  // 0.528 + 0.5 truncates to 1
  EXPECT_EQ(Dec(WireRule::ms, 96), FloatBits(2.0f));
  EXPECT_EQ(Dec(WireRule::ms, 10416), FloatBits(217.0f));
  EXPECT_EQ(Dec(WireRule::ms, 1), FloatBits(static_cast<float>(1.0 / 48.0)));

  EXPECT_EQ(Enc(WireRule::msint, 10), 480u);
  EXPECT_EQ(EncodeMsInt(0), 0u);
  EXPECT_EQ(Dec(WireRule::msint, 480), 10u);
  EXPECT_EQ(Dec(WireRule::msint, 527), 10u);  // 10.979 ms truncates
  EXPECT_EQ(Dec(WireRule::msint, 528), 11u);
}

TEST(WireRules, RawPassesThePatternUnchanged) {
  EXPECT_EQ(Enc(WireRule::raw, 0xC1480000), 0xC1480000u);
  EXPECT_EQ(Dec(WireRule::raw, 0x7FC00001), 0x7FC00001u);
}

TEST(WireRules, MultiValueRulesAreNotSingleValues) {
  for (WireRule rule : {WireRule::none, WireRule::shift, WireRule::delaymode, WireRule::comp}) {
    std::uint32_t out = 0x1234;
    EXPECT_FALSE(EncodeSingle(rule, 1, &out));
    EXPECT_FALSE(DecodeSingle(rule, 1, &out));
    EXPECT_EQ(out, 0x1234u);
  }
}

TEST(FieldWireRules, FloatSlotsUnderAPercentRuleTravelAsTheirWholeNumber) {
  const SlotField* reverbTime = FindSlotField("reverbTimeA");
  ASSERT_NE(reverbTime, nullptr);
  std::uint32_t wire = 0;
  ASSERT_TRUE(EncodeField(*reverbTime, FloatBits(7.0f), &wire));
  EXPECT_EQ(wire, EncodePct(7));
  std::uint32_t slot = 0;
  ASSERT_TRUE(DecodeField(*reverbTime, EncodePct(7), &slot));
  EXPECT_EQ(BitsFloat(slot), 7.0f);

  const SlotField* level = FindSlotField("reverbLevelA");  // an integer slot stays integer
  ASSERT_TRUE(EncodeField(*level, 7, &wire));
  EXPECT_EQ(wire, EncodePct(7));
  ASSERT_TRUE(DecodeField(*level, EncodePct(7), &slot));
  EXPECT_EQ(slot, 7u);
}

TEST(FieldWireRules, MillisecondFieldsAreRaisedToTheirMinimum) {
  const SlotField* delay = FindSlotField("chDelay");
  const SlotField* predelay = FindSlotField("echoPredelayA");
  ASSERT_NE(delay, nullptr);
  ASSERT_NE(predelay, nullptr);
  EXPECT_EQ(MinimumMs(*delay), 1.5f);
  EXPECT_EQ(MinimumMs(*predelay), 2.0f);
  std::uint32_t wire = 0;
  ASSERT_TRUE(EncodeField(*delay, FloatBits(0.0f), &wire));
  EXPECT_EQ(wire, 72u);
  ASSERT_TRUE(EncodeField(*predelay, FloatBits(1.0f), &wire));
  EXPECT_EQ(wire, 96u);
  ASSERT_TRUE(EncodeField(*predelay, FloatBits(10.0f), &wire));
  EXPECT_EQ(wire, 480u);
  std::uint32_t slot = 0;
  ASSERT_TRUE(DecodeField(*delay, 72, &slot));
  EXPECT_EQ(BitsFloat(slot), 1.5f);
  EXPECT_FALSE(EncodeField(*FindSlotField("chCompRatio"), 0, &wire));
}

}  // namespace
}  // namespace vireo
