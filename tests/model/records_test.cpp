// Multi-value records: frequency shift, delay mode, compressor, coefficients, gain records, split table.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "dsp/biquad.h"
#include "model/report.h"
#include "model/wire_rules.h"

namespace vireo {
namespace {

TEST(ShiftRecord, OffSendsExactlyOneMessage) {
  EXPECT_EQ(ShiftMessages(1, false), (std::vector<ParamMessage>{{1, 33, {1}}}));
  EXPECT_EQ(ShiftMessages(1, true), (std::vector<ParamMessage>{{1, 56, {1}}}));
}

TEST(ShiftRecord, OnSendsSwitchFrequencyAndDelayInThatOrder) {
  // 2*pi*2/48000 = 2.61799e-4 -> 39 89 42 1E; (1000/8 - 25) ms = 4800 samples.
  EXPECT_EQ(ShiftMessages(2, false),
            (std::vector<ParamMessage>{{1, 33, {0}}, {1, 31, {0x3989421E}}, {1, 32, {4800}}}));
  EXPECT_EQ(ShiftMessages(8, true),
            (std::vector<ParamMessage>{{1, 56, {0}}, {1, 54, {0x3A89421E}}, {1, 55, {300}}}));
  const std::array<std::int32_t, 9> samples{0, 0, 4800, 2800, 1800, 1200, 800, 514, 300};
  for (int f = 2; f <= 8; ++f) EXPECT_EQ(ShiftSamples(f), samples[static_cast<std::size_t>(f)]) << f;
}

TEST(ShiftRecord, FrequencyReadBackFromTheRadianValue) {
  EXPECT_EQ(ShiftFrequencyFromWire(BitsFloat(0x3989421E)), 2);
  EXPECT_EQ(ShiftFrequencyFromWire(BitsFloat(0x3A89421E)), 8);
  for (int f = 2; f <= 8; ++f) {
    const auto messages = ShiftMessages(f, false);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(ShiftFrequencyFromWire(BitsFloat(messages[1].values[0])), f);
  }
  EXPECT_EQ(ShiftFrequencyFromWire(0.0f), 0);
  EXPECT_EQ(ShiftFrequencyFromWire(std::nanf("")), 0);
}

TEST(DelayModeRecord, PairAndReadBack) {
  EXPECT_EQ(DelayModePair(0), (std::array<std::uint32_t, 2>{0x3F800000, 0x3F800000}));
  EXPECT_EQ(DelayModePair(1), (std::array<std::uint32_t, 2>{0x3F800000, 0x00000000}));
  EXPECT_EQ(DelayModeFromWire(0.0f), 1);
  EXPECT_EQ(DelayModeFromWire(0.9f), 1);  // truncates to 0
  EXPECT_EQ(DelayModeFromWire(1.0f), 0);
  EXPECT_EQ(DelayModeFromWire(BitsFloat(DelayModePair(0)[1])), 0);
  EXPECT_EQ(DelayModeFromWire(BitsFloat(DelayModePair(1)[1])), 1);
}

TEST(CompressorRecord, SevenValues) {
  const auto values = CompressorRecord({-10.0f, 4.0f, 10.0f, 100.0f});
  EXPECT_EQ(values[0], 0xC1200000u);  // threshold as is
  EXPECT_EQ(values[1], 0x00000000u);
  EXPECT_EQ(values[2], 0x3F400000u);  // 1 - 1/4
  EXPECT_EQ(values[3], 0x41A00000u);  // 20.0
  EXPECT_EQ(values[4], 0x3D4CCCCDu);  // 0.05
  EXPECT_EQ(values[5], 0x3B086426u);  // 1 - exp(-1/480)
  EXPECT_EQ(values[6], 0x395A6E3Au);  // 1 - exp(-1/4800)
  EXPECT_EQ(values[5], FloatBits(static_cast<float>(1.0 - std::exp(-1.0 / 480.0))));
}

TEST(CompressorRecord, DecodesBackToTheSettings) {
  const std::array<float, 4> ratios{1.0f, 2.0f, 4.0f, 20.0f};
  for (float ratio : ratios) {
    const auto values = CompressorRecord({-24.5f, ratio, 3.0f, 250.0f});
    const CompressorSettings c = DecodeCompressorRecord(values);
    EXPECT_EQ(c.threshold, -24.5f);
    EXPECT_NEAR(c.ratio, ratio, ratio * 1e-5);
    EXPECT_NEAR(c.attackMs, 3.0f, 3e-3);
    EXPECT_NEAR(c.releaseMs, 250.0f, 0.25);
  }
  EXPECT_EQ(RatioFromCoefficient(0.75f), 4.0f);
  EXPECT_NEAR(TimeConstantToMs(BitsFloat(0x3B086426)), 10.0f, 1e-3);
}

TEST(CoefficientRecord, FeedbackTermsAreNegatedAndComeFirst) {
  dsp::BiquadCoefficients c;
  c.a1 = -1.5;
  c.a2 = 0.6;
  c.b0 = 0.25;
  c.b1 = 0.5;
  c.b2 = 0.125;
  EXPECT_EQ(CoefficientRecord(c),
            (std::array<std::uint32_t, 5>{0x3FC00000, 0xBF19999A, 0x3E800000, 0x3F000000, 0x3E000000}));
}

TEST(CoefficientRecord, BandRecordUsesTheMachineRate) {
  EXPECT_EQ(BandCoefficientRecord(3, 0.0f, 200, 0.707f),
            CoefficientRecord(dsp::ComputeBiquad(3, 0.0, 200.0, static_cast<double>(0.707f), 48000.0)));
  // A flat peaking band passes everything: b0 = 1 and b1, b2 equal a1, a2, so the wire pairs mirror.
  const auto flat = BandCoefficientRecord(1, 0.0f, 1000, 1.414f);
  EXPECT_EQ(flat[2], 0x3F800000u);
  EXPECT_NEAR(BitsFloat(flat[0]), -BitsFloat(flat[3]), 1e-6);
  EXPECT_NEAR(BitsFloat(flat[1]), -BitsFloat(flat[4]), 1e-6);
}

TEST(GainRecord, BothVariants) {
  using Six = std::array<std::uint32_t, 6>;
  EXPECT_EQ(GainRecord(0.0f, GainVariant::channelGain),
            (Six{0x3F800000, 0x3F800000, 0x3F7EFF25, 0xBFFF7EF1, 0x3F800000, 0x3F800000}));
  EXPECT_EQ(GainRecord(0.0f, GainVariant::micBoost),
            (Six{0x3F800000, 0x3F800000, 0x3F7D554A, 0xBFFEA8DC, 0x3F800000, 0x3F800000}));
  // x = -6: d = 10^(-0.3) = 0.501187; the exponent 0.0022594517*36 - 0.799902*6 = -4.718072 in single
  // precision gives e = 0.580893.
  EXPECT_EQ(GainRecord(-6.0f, GainVariant::micBoost),
            (Six{0x3F004DCE, 0x3F14B56D, 0x3F7D554A, 0xBFFEA8DC, 0x3F004DCE, 0x3F14B56D}));
  EXPECT_EQ(GainRecord(3.0f, GainVariant::channelGain),
            (Six{0x3FB4CE08, 0x3FA9206C, 0x3F7EFF25, 0xBFFF7EF1, 0x3FB4CE08, 0x3FA9206C}));
}

TEST(SplitTable, LowerFrequenciesAndIndexLookup) {
  EXPECT_EQ(SplitLowerFrequency(0), 500);
  EXPECT_EQ(SplitLowerFrequency(1), 600);
  EXPECT_EQ(SplitLowerFrequency(25), 3000);
  EXPECT_EQ(kSplitEntries, 26);
  EXPECT_EQ(SplitIndexOfFrequency(500), 0);
  EXPECT_EQ(SplitIndexOfFrequency(1200), 7);
  EXPECT_EQ(SplitIndexOfFrequency(3000), 25);
  EXPECT_EQ(SplitIndexOfFrequency(3100), 0);
  EXPECT_EQ(SplitIndexOfFrequency(750), 0);
  EXPECT_EQ(SplitIndexOfFrequency(0), 0);
  EXPECT_EQ(SplitIndexOfFrequency(-500), 0);
}

}  // namespace
}  // namespace vireo
