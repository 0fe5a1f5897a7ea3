// Page edits.
#include "pages/page_edits.h"

#include "model/parameter_store.h"
#include "tuning/edit_history.h"
#include "tuning/eq_operations.h"
#include "tuning/field_setter.h"
#include "tuning/filter_file.h"
#include "tuning/input_controls.h"
#include "tuning/location_ops.h"

namespace t = vireo::tuning;

namespace {
t::FieldValue Field(std::string_view name, int element) {
  return t::FieldValue{std::string(name), element, 0.0};
}
}  // namespace

void PageEdits::BeginGesture() {
  Edits().BeginGesture();
}
void PageEdits::EndGesture() {
  Edits().EndGesture();
}

void PageEdits::WriteBand(int identity, int band, const vireo::dsp::BandShape& shape) {
  Edits().Run({t::BandValue{identity, band, {}}}, [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::WriteEqBand(Store(), sender, identity, band, shape);
  });
}
void PageEdits::Paste(int source, int destination) {
  Edits().Run(t::AllBandTargets(destination), [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::PasteEq(Store(), sender, source, destination);
  });
}
void PageEdits::ImportFilters(int identity, const std::vector<vireo::dsp::BandShape>& bands) {
  Edits().Run(t::AllBandTargets(identity), [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::ApplyFilterBands(Store(), sender, identity, bands);
  });
}
void PageEdits::Reset(int identity) {
  Edits().Run(t::AllBandTargets(identity),
              [&](vireo::ReportSender& sender, vireo::Clock&) { t::ResetEq(Store(), sender, identity); });
}
bool PageEdits::ToggleBypass(int identity) {
  return Edits().Run({t::BypassValue{identity, false}}, [&](vireo::ReportSender& sender, vireo::Clock&) {
    return t::ToggleEqBypass(Store(), sender, identity);
  });
}
void PageEdits::RouteMic(int input, t::MicChannel channel) {
  Edits().Run(
      {Field("micToChannelA", input), Field("micToChannelB", input)},
      [&](vireo::ReportSender& sender, vireo::Clock&) { t::RouteMicInput(Store(), sender, input, channel); });
}
void PageEdits::SetMicNoiseGate(int input, int value) {
  Edits().Run({Field("micNoiseGate", input)}, [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::SetMicNoiseGate(Store(), sender, input, value);
  });
}
void PageEdits::SetMicInputVolume(int input, int value) {
  Edits().Run({Field("micInputVolume", input)}, [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::SetMicInputVolume(Store(), sender, input, value);
  });
}
t::EffectParamResult PageEdits::SetEffectParam(t::EffectSet set, t::EffectParam param, int value) {
  const t::EffectParamRow& row = t::EffectParamRowOf(param);
  std::vector<t::EditValue> targets{Field(set == t::EffectSet::a ? row.fieldA : row.fieldB, 0)};
  if (param == t::EffectParam::shiftFrequency)
    targets.push_back(Field(set == t::EffectSet::a ? "shiftOffA" : "shiftOffB", 0));
  return Edits().Run(std::move(targets), [&](vireo::ReportSender& sender, vireo::Clock&) {
    return t::SetEffectParam(Store(), sender, set, param, value);
  });
}
void PageEdits::SetCompressorOn(int channel, bool on) {
  Edits().Run({Field("chCompOff", channel)}, [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::SetCompressorOn(Store(), sender, channel, on);
  });
}
vireo::CompressorSettings PageEdits::MoveCompSlider(int channel, t::CompSlider slider, int position) {
  // Every slider sends all four values, and a move makes the attack and release whole milliseconds.
  std::vector<t::EditValue> targets{Field("chCompThreshold", channel), Field("chCompRatio", channel),
                                    Field("chCompAttack", channel), Field("chCompRelease", channel)};
  return Edits().Run(std::move(targets), [&](vireo::ReportSender& sender, vireo::Clock&) {
    return t::MoveCompSlider(Store(), sender, channel, slider, position);
  });
}
namespace {
// The geometry, and the corrections of `channels` (all eight, or the one a loudspeaker plays).
std::vector<t::EditValue> LocationTargets(std::initializer_list<int> channels, bool all) {
  // Built in place: GCC's optimiser takes a moved-from variant's string member for uninitialised.
  std::vector<t::EditValue> targets;
  targets.emplace_back(std::in_place_type<t::LocationValue>);
  const auto addGain = [&targets](int c) {
    std::get<t::LocationGainValue>(targets.emplace_back(std::in_place_type<t::LocationGainValue>)).channel =
        c;
  };
  if (all) {
    for (int c = 0; c < vireo::kOutputChannels; ++c) addGain(c);
  }
  for (int c : channels) {
    if (c >= 0) addGain(c);
  }
  return targets;
}
}  // namespace
void PageEdits::SetRoomSize(int width, int length) {
  Edits().Run(LocationTargets({}, false), [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::SetRoomSize(Store(), sender, width, length);
  });
}
void PageEdits::MoveListener(vireo::Point at) {
  Edits().Run(LocationTargets({}, true),
              [&](vireo::ReportSender& sender, vireo::Clock&) { t::MoveListener(Store(), sender, at); });
}
void PageEdits::MoveSpeaker(int speaker, vireo::Point at) {
  Edits().Run(
      LocationTargets({t::ChannelOfSpeaker(Store(), speaker)}, false),
      [&](vireo::ReportSender& sender, vireo::Clock&) { t::MoveSpeaker(Store(), sender, speaker, at); });
}
void PageEdits::DragSpeaker(int speaker, vireo::Point at) {
  Edits().Run(
      LocationTargets({t::ChannelOfSpeaker(Store(), speaker)}, false),
      [&](vireo::ReportSender& sender, vireo::Clock&) { t::DragSpeaker(Store(), sender, speaker, at); });
}
void PageEdits::CenterListener() {
  Edits().Run(LocationTargets({}, true),
              [&](vireo::ReportSender& sender, vireo::Clock&) { t::CenterListener(Store(), sender); });
}
void PageEdits::ResetLocation() {
  Edits().Run(LocationTargets({}, true),
              [&](vireo::ReportSender& sender, vireo::Clock&) { t::ResetLocation(Store(), sender); });
}
void PageEdits::SetChannelTrim(int channel, int percent) {
  Edits().Run({Field("chTrim", channel)}, [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::SetChannelTrim(Store(), sender, channel, percent);
  });
}
void PageEdits::SendLocate(int channel) {
  Edits().sender().Edit(
      "locate", [&](vireo::ReportSender& sender, vireo::Clock&) { t::SendLocate(Store(), sender, channel); });
}
void PageEdits::SetField(const char* name, int element, double value) {
  Edits().Apply({t::FieldValue{name, element, value}});
}
