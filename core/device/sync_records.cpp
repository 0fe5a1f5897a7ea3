// Records that the write-all and the tuning operations share: split bands, channel gain, boost, coefficients.
#include <algorithm>
#include <array>
#include <cmath>

#include "device/protocol.h"
#include "device/sync.h"
#include "device/sync_coefficients.h"
#include "model/band.h"
#include "model/wire_rules.h"

namespace vireo {
namespace {

constexpr float kSplitQ = 0.707f;
constexpr std::uint8_t kPeq = 1;
constexpr std::uint8_t kLowPass = 2;
constexpr std::uint8_t kHighPass = 3;

int WriteBandWithCoefficients(ParameterStore& store, ReportSender& sender, int group, int band,
                              const BandRecord& record) {
  int bytes = WriteBand(store, sender, group, band, record);
  return bytes + SendBandCoefficients(store, sender, group, band);
}

}  // namespace

int SendFrequencyShift(ParameterStore& store, ReportSender& sender, bool channelB, int frequency) {
  // A frequency outside the shifter's range (a blank or garbled store; 0 is the blank store's value)
  // would go out as a division by zero or a nonsense delay.
  const int f = std::clamp(frequency, 1, 8);
  store.SetInt(channelB ? slot::shiftFreqB : slot::shiftFreqA, f);
  store.SetInt(channelB ? slot::shiftOffB : slot::shiftOffA, f == 1 ? 1 : 0);
  int bytes = 0;
  for (const ParamMessage& m : ShiftMessages(f, channelB)) {
    bytes += WriteParamValues(sender, m.module, m.param, m.values);
  }
  return bytes;
}

ParamMessage BandCoefficientMessage(const ParameterStore& store, int group, int band) {
  const ParamAddress at = CoefficientSlot(group, band);
  if (at.module == 0) return {0, 0, {}};
  const BandRecord record = ReadBand(store, group, band);
  const auto values = BandCoefficientRecord(record.type, record.gain, record.frequency, record.q);
  return {at.module, at.param, {values.begin(), values.end()}};
}

int SendBandCoefficients(const ParameterStore& store, ReportSender& sender, int group, int band) {
  const ParamMessage m = BandCoefficientMessage(store, group, band);
  return m.module == 0 ? 0 : WriteParamValues(sender, m.module, m.param, m.values);
}

int SendSplitBands(ParameterStore& store, ReportSender& sender, int channel, int splitIndex) {
  if (channel < 0 || channel >= kOutputChannels) return 0;
  const int group = channel + 5;
  const int lower = SplitLowerFrequency(std::clamp(splitIndex, 0, kSplitEntries - 1));
  // "High Freq" mode splits with a high-pass / low-pass pair; "Channel" mode leaves both bands flat.
  const bool highFrequencyDelay = store.Int(slot::chDelayMode[channel]) == 0;
  const BandRecord band13{0.0f, lower, kSplitQ, highFrequencyDelay ? kHighPass : kPeq};
  const BandRecord band14{0.0f, lower + 500, kSplitQ, highFrequencyDelay ? kLowPass : kPeq};
  int bytes = WriteBandWithCoefficients(store, sender, group, 13, band13);
  return bytes + WriteBandWithCoefficients(store, sender, group, 14, band14);
}

ParamMessage ChannelGainMessage(const ParameterStore& store, int channel) {
  std::array<std::uint8_t, 4> bits{};
  store.ReadBytes(Region::chLocationGain, 4 * static_cast<std::size_t>(channel), bits);
  const auto record = GainRecord(BitsFloat(GetBigEndian32(bits.data())), GainVariant::channelGain);
  return {channel + 5, 29, {record.begin(), record.end()}};
}

int SendChannelGain(const ParameterStore& store, ReportSender& sender, int channel) {
  if (channel < 0 || channel >= kOutputChannels) return 0;
  std::array<std::uint8_t, kChLocationGainBytes> gains{};
  store.ReadBytes(Region::chLocationGain, 0, gains);
  const ParamMessage m = ChannelGainMessage(store, channel);
  return WriteBlock(sender, kChLocationGainAddress, gains) +
         WriteParamValues(sender, m.module, m.param, m.values);
}

float MicBoostLevelDb(const ParameterStore& store) {
  std::array<std::uint8_t, 4> bits{};
  store.ReadBytes(Region::micBoostLevel, 0, std::span(bits.data(), kMicBoostLevelBytes));
  return BitsFloat(GetBigEndian32(bits.data()));
}

std::vector<ParamMessage> MicBoostMessages(float db) {
  const auto record = GainRecord(db, GainVariant::micBoost);
  const std::vector<std::uint32_t> boost(record.begin(), record.end());
  const auto g = static_cast<float>(std::pow(10.0, db / 20.0));
  const std::uint32_t gain = FloatBits(g);
  const std::uint32_t inverse = FloatBits(1.0f / g);
  return {{1, 61, boost}, {1, 59, {gain}}, {1, 58, {inverse}},
          {1, 38, boost}, {1, 36, {gain}}, {1, 35, {inverse}}};
}

int SendMicBoost(ParameterStore& store, ReportSender& sender, float db) {
  std::array<std::uint8_t, 4> bits{};
  PutBigEndian32(bits.data(), FloatBits(db));
  store.WriteBytes(Region::micBoostLevel, 0, std::span(bits.data(), kMicBoostLevelBytes));
  int bytes = WriteBlock(sender, kMicBoostLevelAddress, std::span(bits.data(), kMicBoostLevelBytes));
  for (const ParamMessage& m : MicBoostMessages(db))
    bytes += WriteParamValues(sender, m.module, m.param, m.values);
  return bytes;
}

}  // namespace vireo
