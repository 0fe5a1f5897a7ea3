// Texts the main window shows for the wireless-microphone bytes of the level-meter block.
#pragma once

#include <cstdint>
#include <string>

namespace vireo {

// Bar text for 0..5 bars ("■■■■■" ... "■_______", "_________" for none), UTF-8.
std::string BarText(int bars);
int RfBars(int rfLevel);
int AfBars(int afLevel);
int BatteryBars(int batteryLevel);
// "%.2fMHz" of the channel index; an index above 199 shows the first channel.
std::string ChannelFrequencyText(int channelIndex);

struct WirelessMicTexts {
  std::string rfAf;       // "RF:%s AF:%s"
  std::string frequency;  // "频率:%s" / "Freq:%s"
  std::string battery;    // "电   量:%s" / "Battary: %s"
};

// Texts for wireless microphone 0 or 1 from the 16 level-meter bytes, in the interface language
// (0 Chinese, 1 English).
WirelessMicTexts MakeWirelessMicTexts(const std::uint8_t* levelMeters, int microphone, int languageIndex);

}  // namespace vireo
