// Links, mute, phase, role, mix levels and equaliser of the output channels.
#include "tuning/output_ops.h"

#include "model/store_layout.h"

#include <algorithm>

#include "device/protocol.h"
#include "dsp/crossover.h"
#include "dsp/filter_type.h"
#include "model/band.h"
#include "model/slot_fields.h"
#include "tuning/compressor_ops.h"
#include "tuning/delay_ops.h"
#include "tuning/eq_identity.h"
#include "tuning/eq_operations.h"

namespace vireo::tuning {
namespace {

constexpr std::array<int, kLinkPairCount> kPairLow = {0, 2, 6};
constexpr int kChannelBands = 13;
constexpr std::array<std::string_view, kMixLevelCount> kMixFields = {"chDirectLevel", "chReverbLevel",
                                                                     "chEchoLevel", "chMusicLevel"};
constexpr std::array<std::string_view, 4> kCompValueFields = {"chCompThreshold", "chCompRatio",
                                                              "chCompAttack", "chCompRelease"};

const SlotField& Field(std::string_view name) {
  return *FindSlotField(name);
}

// The stored word of element `channel`, compared as bits: a value equal in the store is equal on the wire.
std::uint32_t Word(const ParameterStore& store, std::string_view name, int channel) {
  return store.Bits(Field(name).SlotOf(channel));
}

bool SameWord(const ParameterStore& store, std::string_view name, int a, int b) {
  return Word(store, name, a) == Word(store, name, b);
}

// Stores an integer field of one channel and sends it by the field's rule.
void SetChannelInt(ParameterStore& store, ReportSender& sender, std::string_view name, int channel,
                   int value) {
  if (!IsOutputChannel(channel)) return;
  const SlotField& field = Field(name);
  store.SetInt(field.SlotOf(channel), value);
  SendField(sender, store, field, channel);
}

// Copies one field's word from source to destination and sends it; false when it was already equal.
bool CopyWord(ParameterStore& store, ReportSender& sender, std::string_view name, int source,
              int destination) {
  if (SameWord(store, name, source, destination)) return false;
  const SlotField& field = Field(name);
  store.SetBits(field.SlotOf(destination), store.Bits(field.SlotOf(source)));
  SendField(sender, store, field, destination);
  return true;
}

using RecordBytes = std::array<std::uint8_t, kBandRecordBytes>;

RecordBytes StoredRecord(const ParameterStore& store, int channel, int band) {
  RecordBytes bytes{};
  store.ReadBytes(Region::dspBlock, static_cast<std::size_t>(EqBandAddress(5 + channel, band)), bytes);
  return bytes;
}

bool SameRecord(const ParameterStore& store, int a, int b, int band) {
  return StoredRecord(store, a, band) == StoredRecord(store, b, band);
}

}  // namespace

int LinkPairLowChannel(int pair) {
  return pair >= 0 && pair < kLinkPairCount ? kPairLow[static_cast<std::size_t>(pair)] : -1;
}

int LinkPairOf(int channel) {
  for (int pair = 0; pair < kLinkPairCount; ++pair) {
    const int low = LinkPairLowChannel(pair);
    if (channel == low || channel == low + 1) return pair;
  }
  return -1;
}

int LinkPartner(int channel) {
  const int pair = LinkPairOf(channel);
  if (pair < 0) return -1;
  const int low = LinkPairLowChannel(pair);
  return channel == low ? low + 1 : low;
}

std::vector<int> LinkSet(int channel, const LinkStates& links) {
  if (!IsOutputChannel(channel)) return {};
  std::vector<int> set{channel};
  const int pair = LinkPairOf(channel);
  if (pair >= 0 && links[static_cast<std::size_t>(pair)]) set.push_back(LinkPartner(channel));
  std::sort(set.begin(), set.end());
  return set;
}

int ShownChannelBandType(int storedType) {
  return storedType >= 0 && storedType <= 31 ? storedType : 0;
}

bool ChannelMuted(const ParameterStore& store, int channel) {
  return IsOutputChannel(channel) && store.Int(Field("chMute").SlotOf(channel)) != 0;
}
void SetChannelMute(ParameterStore& store, ReportSender& sender, int channel, bool muted) {
  SetChannelInt(store, sender, "chMute", channel, muted ? 1 : 0);
}
bool ChannelPhaseInverted(const ParameterStore& store, int channel) {
  return IsOutputChannel(channel) && store.Int(Field("chPhase").SlotOf(channel)) != 0;
}
void SetChannelPhase(ParameterStore& store, ReportSender& sender, int channel, bool inverted) {
  SetChannelInt(store, sender, "chPhase", channel, inverted ? 1 : 0);
}
int ChannelRole(const ParameterStore& store, int channel) {
  return IsOutputChannel(channel) ? std::clamp(store.Int(Field("chType").SlotOf(channel)), 0, 7) : 0;
}
void SetChannelRole(ParameterStore& store, ReportSender& sender, int channel, int role) {
  SetChannelInt(store, sender, "chType", channel, std::clamp(role, 0, 7));
}

std::string_view MixLevelField(MixLevel level) {
  return kMixFields[static_cast<std::size_t>(level)];
}
int ChannelMixLevel(const ParameterStore& store, int channel, MixLevel level) {
  return IsOutputChannel(channel) ? store.Int(Field(MixLevelField(level)).SlotOf(channel)) : 0;
}
void SetMixLevel(ParameterStore& store, ReportSender& sender, std::span<const int> channels, MixLevel level,
                 int value) {
  for (int channel : channels)
    SetChannelInt(store, sender, MixLevelField(level), channel, std::clamp(value, 0, 100));
}

int WriteChannelBand(ParameterStore& store, ReportSender& sender, std::span<const int> channels, int band,
                     const dsp::BandShape& shape) {
  int bytes = 0;
  for (int channel : channels) {
    if (IsOutputChannel(channel))
      bytes += WriteEqBand(store, sender, ChannelEqIdentity(channel), band, shape);
  }
  return bytes;
}

int WriteChannelCrossover(ParameterStore& store, ReportSender& sender, std::span<const int> channels,
                          std::span<const dsp::BandShape, 4> sections) {
  int bytes = 0;
  for (int channel : channels) {
    if (IsOutputChannel(channel))
      bytes += WriteCrossover(store, sender, ChannelEqIdentity(channel), sections);
  }
  return bytes;
}

std::array<dsp::BandShape, 4> CrossoverFamilySections(const dsp::BandShape& crossover, int family) {
  const dsp::CrossoverSections types =
      dsp::CrossoverSectionTypes(family, dsp::CrossoverIsLowPass(crossover.type));
  std::array<dsp::BandShape, 4> sections{};
  for (std::size_t s = 0; s < sections.size(); ++s)
    sections[s] = {types[s], 0.0, crossover.frequency, crossover.q};
  return sections;
}

bool SetCrossoverFamily(ParameterStore& store, ReportSender& sender, int channel,
                        std::span<const int> channels, int family) {
  if (!IsOutputChannel(channel) || family < 0 ||
      family >= static_cast<int>(dsp::kCrossoverFamilyNames.size()))
    return false;
  const dsp::BandShape crossover = ReadEqBand(store, ChannelEqIdentity(channel), kCrossoverBand);
  if (!dsp::IsLowPassType(crossover.type) && !dsp::IsHighPassType(crossover.type)) return false;
  WriteChannelCrossover(store, sender, channels, CrossoverFamilySections(crossover, family));
  return true;
}

bool ToggleChannelEqBypass(ParameterStore& store, ReportSender& sender, int channel, bool partnerLinked) {
  if (!IsOutputChannel(channel)) return false;
  const bool bypass = !EqBypass(store, ChannelEqIdentity(channel));
  SetEqBypass(store, sender, ChannelEqIdentity(channel), bypass);
  const int partner = LinkPartner(channel);
  if (partnerLinked && partner >= 0 && EqBypass(store, ChannelEqIdentity(partner)) != bypass)
    SetEqBypass(store, sender, ChannelEqIdentity(partner), bypass);
  return bypass;
}

void ResetChannelEq(ParameterStore& store, ReportSender& sender, std::span<const int> channels) {
  for (int channel : channels) {
    if (IsOutputChannel(channel)) ResetEq(store, sender, ChannelEqIdentity(channel));
  }
}

bool ChannelsDiffer(const ParameterStore& store, int a, int b) {
  if (!IsOutputChannel(a) || !IsOutputChannel(b)) return false;
  for (std::string_view name : kMixFields) {
    if (!SameWord(store, name, a, b)) return true;
  }
  for (std::string_view name : {"chEqBypass", "chDelay", "chCompOff", "chDelayOff", "chDelayMode"}) {
    if (!SameWord(store, name, a, b)) return true;
  }
  for (std::string_view name : kCompValueFields) {
    if (!SameWord(store, name, a, b)) return true;
  }
  if (ChannelSplitIndex(store, a) != ChannelSplitIndex(store, b)) return true;
  for (int band = 0; band < kChannelBands; ++band) {
    if (!SameRecord(store, a, b, band)) return true;
  }
  return false;
}

void CopyChannelSettings(ParameterStore& store, ReportSender& sender, int source, int destination) {
  if (!IsOutputChannel(source) || !IsOutputChannel(destination) || source == destination) return;
  for (std::string_view name : kMixFields) CopyWord(store, sender, name, source, destination);
  CopyWord(store, sender, "chEqBypass", source, destination);
  const int split = ChannelSplitIndex(store, source);
  if (split != ChannelSplitIndex(store, destination)) MoveSplit(store, sender, destination, split);
  if (!SameWord(store, "chDelay", source, destination))
    SetChannelDelay(store, sender, destination, ChannelDelay(store, source));
  // The four compressor values travel in one record: one message when any of them differs.
  const bool compDiffers =
      std::any_of(kCompValueFields.begin(), kCompValueFields.end(),
                  [&](std::string_view name) { return !SameWord(store, name, source, destination); });
  if (compDiffers) {
    for (std::string_view name : kCompValueFields)
      store.SetBits(Field(name).SlotOf(destination), store.Bits(Field(name).SlotOf(source)));
    SendField(sender, store, Field("chCompThreshold"), destination);
  }
  CopyWord(store, sender, "chCompOff", source, destination);
  CopyWord(store, sender, "chDelayOff", source, destination);
  if (!SameWord(store, "chDelayMode", source, destination))
    SetDelayMode(store, sender, destination, ChannelDelayMode(store, source));

  const std::array<int, 2> both = {std::min(source, destination), std::max(source, destination)};
  for (int band = 0; band < kChannelBands; ++band) {
    if (SameRecord(store, source, destination, band)) continue;
    // The crossover band goes out with its further sections, as every write of it does.
    const int last = band == kCrossoverBand ? kCrossoverBand + kCrossoverSections - 1 : band;
    for (int b = band; b <= last; ++b) {
      store.WriteBytes(Region::dspBlock, static_cast<std::size_t>(EqBandAddress(5 + destination, b)),
                       StoredRecord(store, source, b));
    }
    for (int channel : both) {
      for (int b = band; b <= last; ++b) SendStoredEqBand(store, sender, ChannelEqIdentity(channel), b);
    }
    band = last;
  }
}

}  // namespace vireo::tuning
