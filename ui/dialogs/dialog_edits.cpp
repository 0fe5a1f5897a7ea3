// The dialogs' edits through the edit session.
#include "dialogs/dialog_edits.h"

#include "model/parameter_store.h"
#include "services/app_services.h"
#include "services/device_services.h"
#include "tuning/edit_history.h"

namespace t = vireo::tuning;

namespace {
t::FieldValue Field(const char* name) {
  return t::FieldValue{name, 0, 0.0};
}
const char* LiveVolume(t::StartVolume which) {
  return which == t::StartVolume::mic ? "micVolume" : "musicVolume";
}
}  // namespace

int DialogEdits::MoveStartVolume(t::StartVolume which, int value) {
  return Edits().Run({Field(LiveVolume(which))}, [&](vireo::ReportSender& sender, vireo::Clock&) {
    return t::MoveStartVolume(Store(), sender, which, value);
  });
}

int DialogEdits::MoveMaxVolume(t::StartVolume which, int value) {
  return Edits().Run({Field(LiveVolume(which))}, [&](vireo::ReportSender& sender, vireo::Clock&) {
    return t::MoveMaxVolume(Store(), sender, which, value);
  });
}

void DialogEdits::ApplySettings() {
  // Not an undo step: the dialog's Apply is its own commit, and the machine keeps no older copy.
  Edits().sender().Edit("machineSettings", [this](vireo::ReportSender& sender, vireo::Clock&) {
    t::ApplyMachineSettings(Store(), sender);
  });
}

int DialogEdits::MoveFeatureSlider(t::FeatureSlider slider, int position) {
  std::vector<t::EditValue> targets;
  switch (slider) {
    case t::FeatureSlider::micBoost:
      targets = {Field("micBoostLevel")};
      break;
    case t::FeatureSlider::lowFrequency:
      targets = {Field("musicLowFrequency")};
      break;
    case t::FeatureSlider::lowDelay:
      targets = {Field("musicLowDelay")};
      break;
    case t::FeatureSlider::lowGain:
      targets = {Field("musicLowGain")};
      break;
    case t::FeatureSlider::subRatio:
      targets = {Field("autoSubRatio")};
      break;
    default:
      // One record carries all four values of the compressor.
      targets = {Field("musicCompThreshold"), Field("musicCompRatio"), Field("musicCompAttack"),
                 Field("musicCompRelease")};
      break;
  }
  return Edits().Run(std::move(targets), [&](vireo::ReportSender& sender, vireo::Clock&) {
    return t::MoveFeatureSlider(Store(), sender, slider, position);
  });
}

void DialogEdits::SetMicBoostOn(bool on) {
  Edits().Run({Field("micBoostOn")},
              [&](vireo::ReportSender& sender, vireo::Clock&) { t::SetMicBoostOn(Store(), sender, on); });
}
void DialogEdits::SetAutoSubOn(bool on) {
  Edits().Run({Field("autoSubOn")},
              [&](vireo::ReportSender& sender, vireo::Clock&) { t::SetAutoSubOn(Store(), sender, on); });
}
void DialogEdits::SetMusicCompressorOn(bool on) {
  Edits().Run({Field("musicCompOff")}, [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::SetMusicCompressorOn(Store(), sender, on);
  });
}

int DialogEdits::SetMusicInputLevel(t::MusicInput input, int level) {
  return Edits().Run({Field(t::MusicInputRowOf(input).levelField)},
                     [&](vireo::ReportSender& sender, vireo::Clock&) {
                       return t::SetMusicInputLevel(Store(), sender, input, level);
                     });
}

void DialogEdits::SelectMusicInput(t::MusicInput input) {
  // The port before the source, so that an undo re-selects the old port and then the old source.
  Edits().Run({Field("hdmiPort"), Field("musicSource")}, [&](vireo::ReportSender& sender, vireo::Clock&) {
    t::SelectMusicInput(Store(), sender, input);
  });
}
