// The delay edits of an output channel: its time, its switch, its mode and its high-frequency split. The
// delay page and the output channels page share them.
#pragma once

#include <string>
#include <string_view>

#include "model/parameter_store.h"
#include "model/report.h"

namespace vireo::tuning {

inline constexpr float kDelayMinMs = 1.5f;
inline constexpr float kDelayMaxMs = 100.0f;
// The up-down controls and the time slider count tenths of a millisecond.
inline constexpr int kDelayUpDownMin = 16;
inline constexpr int kDelayUpDownMax = 1000;

enum class DelayMode { highFreq = 0, channel = 1 };

float ChannelDelay(const ParameterStore& store, int channel);
// Stores `ms` (raised to 1.5 when below) and sends it as a sample count (module 5 + channel, parameter 18)
// unless it equals the stored delay: an unchanged value sends nothing. Returns whether it sent.
bool SetChannelDelay(ParameterStore& store, ReportSender& sender, int channel, float ms);

// What the delay edit's text stands for: its leading decimal number ("ms" and anything after ignored, text
// without a number is 0) held inside 1.5..100.
float ParseDelayText(std::string_view text);
// "%.1fms".
std::string DelayText(float ms);
// Position of the up-down control for `ms`: tenths, truncated.
int DelayUpDownPosition(float ms);
// A click on the up-down control at `position`: one tenth up or down, held inside 0.1..100 ms (the control's
// own range keeps it at 1.6 and above, so a click down from there gives 1.5).
float DelayUpDownClick(int position, bool up);

bool DelayOn(const ParameterStore& store, int channel);
// chDelayOff := 0 while on, 1 while off; sent to parameter 19. The delay and the split stay as they are.
void SetDelayOn(ParameterStore& store, ReportSender& sender, int channel, bool on);

DelayMode ChannelDelayMode(const ParameterStore& store, int channel);
// Stores the mode and sends the pair (parameter 17), then the split bands 13 and 14 of the channel's split
// index in the new mode: a high-pass / low-pass pair for "High Freq", two flat bands for "Channel".
void SetDelayMode(ParameterStore& store, ReportSender& sender, int channel, DelayMode mode);

// The split index 0..25 that band 13 of the channel stands for (0 when its frequency is not in the table).
int ChannelSplitIndex(const ParameterStore& store, int channel);
// The split slider moved to `index` (held inside 0..25): the "High Freq" split bands at that index. The
// slider is only enabled in that mode; in "Channel" mode the flat bands move to the index instead, so that
// the choice survives and nothing but the mode switch can change what the channel plays.
void MoveSplit(ParameterStore& store, ReportSender& sender, int channel, int index);
// "%dHz" of the split's lower frequency, 500 + 100 * index.
std::string SplitText(int index);

}  // namespace vireo::tuning
