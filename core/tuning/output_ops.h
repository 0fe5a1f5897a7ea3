// The edits of the output channels page: links between channel pairs, mute, phase and role of each
// channel, the mix levels and the equaliser of the linked channels, and making a linked pair equal.
#pragma once

#include <array>
#include <span>
#include <string_view>
#include <vector>

#include "dsp/band_response.h"
#include "model/parameter_store.h"
#include "model/report.h"

namespace vireo::tuning {

// The three link boxes: channels 1+2, 3+4 and 7+8 (channels 5 and 6 have none).
inline constexpr int kLinkPairCount = 3;
using LinkStates = std::array<bool, kLinkPairCount>;

// The lower channel of link pair `pair` (0, 2 or 6); -1 outside 0..2.
int LinkPairLowChannel(int pair);
// The pair of `channel`, -1 when it has none.
int LinkPairOf(int channel);
// The other channel of the pair, -1 when it has none.
int LinkPartner(int channel);
// The channels an edit of `channel` applies to, in channel order: the channel, and its partner while the
// pair's box is checked.
std::vector<int> LinkSet(int channel, const LinkStates& links);

// The EQ identity of output channel `channel`.
constexpr int ChannelEqIdentity(int channel) {
  return 7 + channel;
}

// The type a channel's graph takes for a stored type byte: codes above 31 (and below 0) are off.
int ShownChannelBandType(int storedType);

bool ChannelMuted(const ParameterStore& store, int channel);
// chMute := muted; parameter 26 gets 0.0 while muted, 1.0 while not.
void SetChannelMute(ParameterStore& store, ReportSender& sender, int channel, bool muted);
bool ChannelPhaseInverted(const ParameterStore& store, int channel);
// chPhase := inverted; parameter 25 gets -1.0 while inverted, +1.0 while not.
void SetChannelPhase(ParameterStore& store, ReportSender& sender, int channel, bool inverted);
// The role name index 0..7 (CH-L .. CH-SR).
int ChannelRole(const ParameterStore& store, int channel);
// chType := role (held inside 0..7); parameter 16 gets it as an integer.
void SetChannelRole(ParameterStore& store, ReportSender& sender, int channel, int role);

enum class MixLevel { direct, reverb, echo, music };
inline constexpr int kMixLevelCount = 4;
// "chDirectLevel", "chReverbLevel", "chEchoLevel", "chMusicLevel".
std::string_view MixLevelField(MixLevel level);
int ChannelMixLevel(const ParameterStore& store, int channel, MixLevel level);
// The level (held inside 0..100) of every channel of `channels`, each sent as value / 100 to parameter
// 20 (direct), 21 (reverb), 22 (echo) or 23 (music) of its module.
void SetMixLevel(ParameterStore& store, ReportSender& sender, std::span<const int> channels, MixLevel level,
                 int value);

// Band `band` (0..12, not the crossover band 9) written to every channel of `channels`.
int WriteChannelBand(ParameterStore& store, ReportSender& sender, std::span<const int> channels, int band,
                     const dsp::BandShape& shape);
// The four crossover sections (bands 9..12) written to every channel of `channels`.
int WriteChannelCrossover(ParameterStore& store, ReportSender& sender, std::span<const int> channels,
                          std::span<const dsp::BandShape, 4> sections);
// The four sections of crossover family `family` for a crossover band: low- or high-pass after its type,
// each at its frequency and Q with gain 0, as the graph makes them.
std::array<dsp::BandShape, 4> CrossoverFamilySections(const dsp::BandShape& crossover, int family);
// Crossover family `family` (0..10) on band 9 of `channel`, written to every channel of `channels`; false,
// sending nothing, when the channel's band 9 is not a low- or high-pass crossover or the family is unknown.
bool SetCrossoverFamily(ParameterStore& store, ReportSender& sender, int channel,
                        std::span<const int> channels, int family);
// EQ bypass of `channel` inverted; while `partnerLinked` the partner takes the same flag. Only a flag
// that changed is sent. Returns the channel's new flag.
bool ToggleChannelEqBypass(ParameterStore& store, ReportSender& sender, int channel, bool partnerLinked);
// Reset EQ of every channel of `channels`.
void ResetChannelEq(ParameterStore& store, ReportSender& sender, std::span<const int> channels);

// Whether linking channels a and b needs a choice: any of the four mix levels, the EQ bypass, the split
// index, the delay, the four compressor values, the compressor and delay switches, the delay mode or any
// of the 13 band records differ. Mute, phase and role are not compared.
bool ChannelsDiffer(const ParameterStore& store, int a, int b);
// Makes `destination` equal to `source` in everything ChannelsDiffer compares, sending only what differed,
// in this order: mix levels, EQ bypass, split, delay, compressor values (one record), compressor switch,
// delay switch, delay mode; then each differing band record goes to both channels (a differing crossover
// band 9 brings its sections 10..12).
void CopyChannelSettings(ParameterStore& store, ReportSender& sender, int source, int destination);

}  // namespace vireo::tuning
