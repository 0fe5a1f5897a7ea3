// Wireless-microphone texts: bar thresholds, channel frequencies and the texts in both languages.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "model/status_texts.h"

namespace vireo {
namespace {

#define SQ "\xE2\x96\xA0"  // U+25A0 BLACK SQUARE in UTF-8

TEST(StatusTexts, BarTexts) {
  EXPECT_EQ(BarText(5), SQ SQ SQ SQ SQ);
  EXPECT_EQ(BarText(4), SQ SQ SQ SQ "__");
  EXPECT_EQ(BarText(3), SQ SQ SQ "____");
  EXPECT_EQ(BarText(2), SQ SQ "______");
  EXPECT_EQ(BarText(1), SQ "_______");
  EXPECT_EQ(BarText(0), "_________");
  EXPECT_EQ(BarText(6), "_________");
  EXPECT_EQ(BarText(-1), "_________");
}

TEST(StatusTexts, RfThresholdsAreStrictlyAbove) {
  const std::array<int, 12> levels{255, 231, 230, 211, 210, 191, 190, 171, 170, 151, 150, 0};
  const std::array<int, 12> bars{5, 5, 4, 4, 3, 3, 2, 2, 1, 1, 0, 0};
  for (std::size_t i = 0; i < levels.size(); ++i) EXPECT_EQ(RfBars(levels[i]), bars[i]) << levels[i];
}

TEST(StatusTexts, AfThresholds) {
  const std::array<int, 11> levels{13, 12, 10, 9, 7, 6, 4, 3, 1, 0, -4};
  const std::array<int, 11> bars{5, 4, 4, 3, 3, 2, 2, 1, 1, 0, 0};
  for (std::size_t i = 0; i < levels.size(); ++i) EXPECT_EQ(AfBars(levels[i]), bars[i]) << levels[i];
}

TEST(StatusTexts, BatteryIsComparedAsEightTimesTheByte) {
  // 8b > 1610 from b = 202; > 1562 from 196; > 1524 from 191; > 1408 from 177; > 1330 from 167.
  const std::array<int, 11> levels{255, 202, 201, 196, 195, 191, 190, 177, 176, 167, 166};
  const std::array<int, 11> bars{5, 5, 4, 4, 3, 3, 2, 2, 1, 1, 0};
  for (std::size_t i = 0; i < levels.size(); ++i) EXPECT_EQ(BatteryBars(levels[i]), bars[i]) << levels[i];
}

TEST(StatusTexts, ChannelFrequencies) {
  EXPECT_EQ(ChannelFrequencyText(0), "665.25MHz");
  EXPECT_EQ(ChannelFrequencyText(1), "665.75MHz");
  EXPECT_EQ(ChannelFrequencyText(12), "671.25MHz");
  EXPECT_EQ(ChannelFrequencyText(13), "672.25MHz");  // one step skipped
  EXPECT_EQ(ChannelFrequencyText(76), "703.75MHz");
  EXPECT_EQ(ChannelFrequencyText(77), "704.75MHz");  // two skipped
  EXPECT_EQ(ChannelFrequencyText(100), "716.25MHz");
  EXPECT_EQ(ChannelFrequencyText(101), "718.25MHz");  // five skipped
  EXPECT_EQ(ChannelFrequencyText(199), "767.25MHz");
  EXPECT_EQ(ChannelFrequencyText(200), "665.25MHz");
  EXPECT_EQ(ChannelFrequencyText(255), "665.25MHz");
  EXPECT_EQ(ChannelFrequencyText(-1), "665.25MHz");
}

TEST(StatusTexts, WirelessMicrophoneTextsInBothLanguages) {
  std::array<std::uint8_t, 16> meters{};
  meters[8] = 231;   // mic 1 RF: 5 bars
  meters[9] = 4;     // mic 1 AF: 2 bars
  meters[10] = 13;   // mic 1 channel
  meters[11] = 167;  // mic 1 battery: 1 bar
  meters[12] = 150;  // mic 2 RF: none
  meters[13] = 13;   // mic 2 AF: 5 bars
  meters[14] = 199;
  meters[15] = 202;

  const WirelessMicTexts en = MakeWirelessMicTexts(meters.data(), 0, 1);
  EXPECT_EQ(en.rfAf, "RF:" SQ SQ SQ SQ SQ " AF:" SQ SQ "______");
  EXPECT_EQ(en.frequency, "Freq:672.25MHz");
  EXPECT_EQ(en.battery, "Battary: " SQ "_______");

  const WirelessMicTexts zh = MakeWirelessMicTexts(meters.data(), 1, 0);
  EXPECT_EQ(zh.rfAf, "RF:_________ AF:" SQ SQ SQ SQ SQ);
  EXPECT_EQ(zh.frequency, "\xE9\xA2\x91\xE7\x8E\x87:767.25MHz");         // 频率:
  EXPECT_EQ(zh.battery, "\xE7\x94\xB5   \xE9\x87\x8F:" SQ SQ SQ SQ SQ);  // 电   量:
}

#undef SQ

}  // namespace
}  // namespace vireo
