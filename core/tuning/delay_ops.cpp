// The delay edits of an output channel.
#include "tuning/delay_ops.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "device/protocol.h"
#include "device/sync.h"
#include "model/band.h"
#include "model/slot_fields.h"
#include "model/store_layout.h"
#include "model/wire_rules.h"
#include "tuning/band_text.h"

namespace vireo::tuning {
float ChannelDelay(const ParameterStore& store, int channel) {
  return IsOutputChannel(channel) ? store.Float(slot::chDelay[channel]) : kDelayMinMs;
}

bool SetChannelDelay(ParameterStore& store, ReportSender& sender, int channel, float ms) {
  if (!IsOutputChannel(channel) || std::isnan(ms)) return false;
  if (ms == store.Float(slot::chDelay[channel])) return false;
  store.SetFloat(slot::chDelay[channel], std::max(ms, kDelayMinMs));
  SendField(sender, store, *FindSlotField("chDelay"), channel);
  return true;
}

float ParseDelayText(std::string_view text) {
  return std::clamp(static_cast<float>(LenientDecimal(text)), kDelayMinMs, kDelayMaxMs);
}

std::string DelayText(float ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1fms", static_cast<double>(ms));
  return text;
}

int DelayUpDownPosition(float ms) {
  if (std::isnan(ms)) return kDelayUpDownMin;
  return static_cast<int>(std::clamp(std::trunc(ms * 10.0f), 0.0f, static_cast<float>(kDelayUpDownMax)));
}

float DelayUpDownClick(int position, bool up) {
  const int next = std::clamp(position + (up ? 1 : -1), 1, kDelayUpDownMax);
  return static_cast<float>(next) / 10.0f;
}

bool DelayOn(const ParameterStore& store, int channel) {
  return IsOutputChannel(channel) && store.Int(slot::chDelayOff[channel]) == 0;
}

void SetDelayOn(ParameterStore& store, ReportSender& sender, int channel, bool on) {
  if (!IsOutputChannel(channel)) return;
  store.SetInt(slot::chDelayOff[channel], on ? 0 : 1);
  SendField(sender, store, *FindSlotField("chDelayOff"), channel);
}

DelayMode ChannelDelayMode(const ParameterStore& store, int channel) {
  return IsOutputChannel(channel) && store.Int(slot::chDelayMode[channel]) == 1 ? DelayMode::channel
                                                                                : DelayMode::highFreq;
}

void SetDelayMode(ParameterStore& store, ReportSender& sender, int channel, DelayMode mode) {
  if (!IsOutputChannel(channel)) return;
  const int index = ChannelSplitIndex(store, channel);
  store.SetInt(slot::chDelayMode[channel], static_cast<int>(mode));
  SendField(sender, store, *FindSlotField("chDelayMode"), channel);
  SendSplitBands(store, sender, channel, index);
}

int ChannelSplitIndex(const ParameterStore& store, int channel) {
  if (!IsOutputChannel(channel)) return 0;
  return SplitIndexOfFrequency(ReadBand(store, channel + 5, 13).frequency);
}

void MoveSplit(ParameterStore& store, ReportSender& sender, int channel, int index) {
  if (!IsOutputChannel(channel)) return;
  SendSplitBands(store, sender, channel, std::clamp(index, 0, kSplitEntries - 1));
}

std::string SplitText(int index) {
  return std::to_string(SplitLowerFrequency(std::clamp(index, 0, kSplitEntries - 1))) + "Hz";
}

}  // namespace vireo::tuning
