// Wireless-microphone bar and frequency texts.
#include "model/status_texts.h"

#include <array>
#include <cstdio>

namespace vireo {

std::string BarText(int bars) {
  static const std::array<const char*, 6> kTexts{"_________", "■_______", "■■______",
                                                 "■■■____",   "■■■■__",   "■■■■■"};
  if (bars < 0 || bars > 5) bars = 0;
  return kTexts[static_cast<std::size_t>(bars)];
}

namespace {
// Bars for the first threshold (highest first) that `value` exceeds.
int BarsAbove(int value, const std::array<int, 5>& thresholds) {
  for (int i = 0; i < 5; ++i) {
    if (value > thresholds[static_cast<std::size_t>(i)]) return 5 - i;
  }
  return 0;
}
}  // namespace

int RfBars(int rfLevel) { return BarsAbove(rfLevel, {230, 210, 190, 170, 150}); }
int AfBars(int afLevel) { return BarsAbove(afLevel, {12, 9, 6, 3, 0}); }
int BatteryBars(int batteryLevel) { return BarsAbove(8 * batteryLevel, {1610, 1562, 1524, 1408, 1330}); }

std::string ChannelFrequencyText(int c) {
  int t = 0;
  if (c < 0 || c > 199) t = 0;
  else if (c <= 12) t = c;
  else if (c <= 76) t = c + 1;
  else if (c <= 100) t = c + 2;
  else t = c + 5;
  char text[32];
  std::snprintf(text, sizeof text, "%.2fMHz", (665250.0 + 500.0 * t) / 1000.0);
  return text;
}

WirelessMicTexts MakeWirelessMicTexts(const std::uint8_t* levelMeters, int microphone, int languageIndex) {
  const std::uint8_t* m = levelMeters + (microphone == 1 ? 12 : 8);
  WirelessMicTexts t;
  t.rfAf = "RF:" + BarText(RfBars(m[0])) + " AF:" + BarText(AfBars(m[1]));
  const std::string freq = ChannelFrequencyText(m[2]);
  const std::string battery = BarText(BatteryBars(m[3]));
  if (languageIndex == 1) {
    t.frequency = "Freq:" + freq;
    t.battery = "Battary: " + battery;
  } else {
    t.frequency = "频率:" + freq;
    t.battery = "电   量:" + battery;
  }
  return t;
}

}  // namespace vireo
