// Output channel edits.
#include "pages/output_edits.h"

#include <string>

#include "model/parameter_store.h"
#include "services/app_services.h"
#include "services/device_services.h"
#include "tuning/edit_history.h"
#include "tuning/eq_identity.h"

using Channels = OutputEdits::Channels;

namespace t = vireo::tuning;

namespace {
std::vector<t::EditValue> Fields(std::initializer_list<const char*> names, const Channels& channels) {
  std::vector<t::EditValue> targets;
  for (int channel : channels) {
    for (const char* name : names) targets.push_back(t::FieldValue{name, channel, 0.0});
  }
  return targets;
}
// Bands 13 and 14 hold the high-frequency delay split.
std::vector<t::EditValue> WithSplitBands(std::vector<t::EditValue> targets, const Channels& channels) {
  for (int channel : channels) {
    for (t::EditValue& v : t::SplitBandTargets(t::ChannelEqIdentity(channel)))
      targets.push_back(std::move(v));
  }
  return targets;
}
std::vector<t::EditValue> Bands(const Channels& channels, int band) {
  std::vector<t::EditValue> targets;
  for (int channel : channels) targets.push_back(t::BandValue{t::ChannelEqIdentity(channel), band, {}});
  return targets;
}
}  // namespace

void OutputEdits::SetMute(int channel, bool muted) {
  Edits().Run(Fields({"chMute"}, {channel}), [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::SetChannelMute(Store(), sender, channel, muted);
  });
}
void OutputEdits::SetPhase(int channel, bool inverted) {
  Edits().Run(Fields({"chPhase"}, {channel}), [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::SetChannelPhase(Store(), sender, channel, inverted);
  });
}
void OutputEdits::SetRole(int channel, int role) {
  Edits().Run(Fields({"chType"}, {channel}), [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::SetChannelRole(Store(), sender, channel, role);
  });
}
void OutputEdits::SetMixLevel(const Channels& channels, t::MixLevel level, int value) {
  const std::string field(t::MixLevelField(level));
  std::vector<t::EditValue> targets;
  for (int channel : channels) targets.push_back(t::FieldValue{field, channel, 0.0});
  Edits().Run(std::move(targets), [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::SetMixLevel(Store(), sender, channels, level, value);
  });
}
void OutputEdits::WriteBand(const Channels& channels, int band, const vireo::dsp::BandShape& shape) {
  Edits().Run(Bands(channels, band), [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::WriteChannelBand(Store(), sender, channels, band, shape);
  });
}
void OutputEdits::WriteCrossover(const Channels& channels,
                                 const std::array<vireo::dsp::BandShape, 4>& sections) {
  Edits().Run(Bands(channels, t::kCrossoverBand), [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::WriteChannelCrossover(Store(), sender, channels, sections);
  });
}
bool OutputEdits::ToggleBypass(int channel, bool partnerLinked) {
  std::vector<t::EditValue> targets{t::BypassValue{t::ChannelEqIdentity(channel), false}};
  const int partner = t::LinkPartner(channel);
  if (partnerLinked && partner >= 0) targets.push_back(t::BypassValue{t::ChannelEqIdentity(partner), false});
  return Edits().Run(std::move(targets), [&](vireo::ReportSender& sender, vireo::Clock&) {
    return t::ToggleChannelEqBypass(Store(), sender, channel, partnerLinked);
  });
}
void OutputEdits::ResetEq(const Channels& channels) {
  std::vector<t::EditValue> targets;
  for (int channel : channels) {
    for (t::EditValue& v : t::AllBandTargets(t::ChannelEqIdentity(channel))) targets.push_back(std::move(v));
  }
  Edits().Run(std::move(targets), [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::ResetChannelEq(Store(), sender, channels);
  });
}
void OutputEdits::CopyChannel(int source, int destination) {
  std::vector<t::EditValue> targets =
      Fields({"chDirectLevel", "chReverbLevel", "chEchoLevel", "chMusicLevel", "chDelay", "chCompThreshold",
              "chCompRatio", "chCompAttack", "chCompRelease", "chCompOff", "chDelayOff", "chDelayMode"},
             {destination});
  targets.push_back(t::BypassValue{t::ChannelEqIdentity(destination), false});
  for (t::EditValue& v : t::AllBandTargets(t::ChannelEqIdentity(destination)))
    targets.push_back(std::move(v));
  Edits().Run(WithSplitBands(std::move(targets), {destination}),
              [&](vireo::ReportSender& sender, vireo::Clock&) {
                t::CopyChannelSettings(Store(), sender, source, destination);
              });
}

void OutputEdits::SetDelay(const Channels& channels, float ms) {
  Edits().Run(Fields({"chDelay"}, channels), [&](vireo::ReportSender& sender, vireo::Clock&) {
    for (int channel : channels) t::SetChannelDelay(Store(), sender, channel, ms);
  });
}
void OutputEdits::SetDelayOn(const Channels& channels, bool on) {
  Edits().Run(Fields({"chDelayOff"}, channels), [&](vireo::ReportSender& sender, vireo::Clock&) {
    for (int channel : channels) t::SetDelayOn(Store(), sender, channel, on);
  });
}
void OutputEdits::SetDelayMode(const Channels& channels, t::DelayMode mode) {
  Edits().Run(WithSplitBands(Fields({"chDelayMode"}, channels), channels),
              [&](vireo::ReportSender& sender, vireo::Clock&) {
                for (int channel : channels) t::SetDelayMode(Store(), sender, channel, mode);
              });
}
void OutputEdits::MoveSplit(const Channels& channels, int index) {
  Edits().Run(WithSplitBands({}, channels), [&](vireo::ReportSender& sender, vireo::Clock&) {
    for (int channel : channels) t::MoveSplit(Store(), sender, channel, index);
  });
}
void OutputEdits::SetCompressorOn(const Channels& channels, bool on) {
  Edits().Run(Fields({"chCompOff"}, channels), [&](vireo::ReportSender& sender, vireo::Clock&) {
    for (int channel : channels) t::SetCompressorOn(Store(), sender, channel, on);
  });
}
vireo::CompressorSettings OutputEdits::MoveCompSlider(const Channels& channels, int current,
                                                      t::CompSlider slider, int position) {
  return Edits().Run(Fields({"chCompThreshold", "chCompRatio", "chCompAttack", "chCompRelease"}, channels),
                     [&](vireo::ReportSender& sender, vireo::Clock&) {
                       vireo::CompressorSettings shown{};
                       for (int channel : channels) {
                         const vireo::CompressorSettings sent =
                             t::MoveCompSlider(Store(), sender, channel, slider, position);
                         if (channel == current) shown = sent;
                       }
                       return shown;
                     });
}
