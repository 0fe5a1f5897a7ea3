// The master levels.
#include "shell/input_controls.h"

#include <QCheckBox>
#include <QLabel>
#include <array>

#include "controls/step_math.h"
#include "controls/step_slider.h"
#include "i18n/language_table.h"
#include "model/parameter_store.h"
#include "model/status_texts.h"
#include "ribbon/ribbon_bar.h"
#include "ribbon/ribbon_category.h"
#include "ribbon/ribbon_panel.h"
#include "services/app_services.h"
#include "services/device_services.h"
#include "tuning/edit_history.h"
#include "tuning/input_controls.h"

namespace tuning = vireo::tuning;
namespace slot = vireo::slot;

QString OverMaximumNotice(MasterLevel level) {
  if (level == MasterLevel::music)
    return LangText("不能超过最大音乐音量!", "Music vol can't over max value!");
  return LangText("不能超过最大话筒音量!", "Mic vol can't over max value!");
}

QString MuteAnnouncement(MasterLevel level) {
  switch (level) {
    case MasterLevel::mic:
      return LangText("话筒已静音", "Mic Muted");
    case MasterLevel::music:
      return LangText("音乐已静音", "Music Muted");
    case MasterLevel::echo:
      return LangText("回声已静音", "Echo muted");
    case MasterLevel::reverb:
      return LangText("混响已静音", "Reverb muted");
    default:
      return {};
  }
}

CInputControls::CInputControls(AppServices& app, CRibbonBar& ribbon) : app_(app), ribbon_(ribbon) {
  WatchSliderGestures();
}

int CInputControls::StoreValue(MasterLevel level) const {
  const vireo::ParameterStore& store = app_.store();
  switch (level) {
    case MasterLevel::mic:
      return store.Int(slot::micVolume);
    case MasterLevel::effect:
      return store.Int(slot::effectVolume);
    case MasterLevel::reverb:
      return store.Int(slot::reverbVolume);
    case MasterLevel::echo:
      return store.Int(slot::echoVolume);
    case MasterLevel::music:
      return store.Int(slot::musicVolume);
    case MasterLevel::noiseGate:
      return store.Int(slot::musicNoiseGate);
    case MasterLevel::pitch:
      return store.Int(slot::musicPitch);
  }
  return 0;
}

namespace {

// The store field a level's slider edits.
const char* LevelField(MasterLevel level) {
  switch (level) {
    case MasterLevel::mic:
      return "micVolume";
    case MasterLevel::effect:
      return "effectVolume";
    case MasterLevel::reverb:
      return "reverbVolume";
    case MasterLevel::echo:
      return "echoVolume";
    case MasterLevel::music:
      return "musicVolume";
    case MasterLevel::noiseGate:
      return "musicNoiseGate";
    case MasterLevel::pitch:
      return "musicPitch";
  }
  return "";
}

// The store field of a level's mute box; nullptr for the levels without one.
const char* MuteField(MasterLevel level) {
  switch (level) {
    case MasterLevel::mic:
      return "micMute";
    case MasterLevel::reverb:
      return "reverbMute";
    case MasterLevel::echo:
      return "echoMute";
    case MasterLevel::music:
      return "musicMute";
    default:
      return nullptr;
  }
}

tuning::VolumeResult SetLevel(MasterLevel level, vireo::ParameterStore& store, vireo::ReportSender& sender,
                              int value) {
  switch (level) {
    case MasterLevel::mic:
      return tuning::SetMicVolume(store, sender, value);
    case MasterLevel::effect:
      return tuning::SetEffectVolume(store, sender, value);
    case MasterLevel::reverb:
      return tuning::SetReverbVolume(store, sender, value);
    case MasterLevel::echo:
      return tuning::SetEchoVolume(store, sender, value);
    case MasterLevel::music:
      return tuning::SetMusicVolume(store, sender, value);
    case MasterLevel::noiseGate:
      return {tuning::SetMusicNoiseGate(store, sender, value), tuning::VolumeNotice::none};
    case MasterLevel::pitch:
      return {tuning::SetMusicPitch(store, sender, value), tuning::VolumeNotice::none};
  }
  return {};
}

bool ToggleLevelMute(MasterLevel level, vireo::ParameterStore& store, vireo::ReportSender& sender,
                     vireo::Clock& clock) {
  switch (level) {
    case MasterLevel::mic:
      return tuning::ToggleMicMute(store, sender);
    case MasterLevel::reverb:
      return tuning::ToggleReverbMute(store, sender);
    case MasterLevel::echo:
      return tuning::ToggleEchoMute(store, sender);
    default:
      return tuning::ToggleMusicMute(store, sender, clock);
  }
}

}  // namespace

void CInputControls::WatchSliderGestures() {
  // A drag of the thumb, from press to release, is one undo step; clicks, keys and wheel turns are
  // one step each.
  for (int index : {kInputCategory, kOutputCategory}) {
    for (MasterLevel level : kAllMasterLevels) {
      CStepSlider* slider = ribbon_.category(index)->slider(level);
      connect(slider, &QSlider::sliderPressed, this, [this] { app_.device().edits().BeginGesture(); });
      connect(slider, &QSlider::sliderReleased, this, [this] { app_.device().edits().EndGesture(); });
    }
  }
}

int CInputControls::Apply(MasterLevel level, int value) {
  vireo::ParameterStore& store = app_.store();
  const tuning::VolumeResult result = app_.device().edits().Run(
      {tuning::FieldValue{LevelField(level), 0, 0.0}},
      [&](vireo::ReportSender& sender, vireo::Clock&) { return SetLevel(level, store, sender, value); });
  if (result.notice == tuning::VolumeNotice::overMaximum)
    app_.ShowNotice(OverMaximumNotice(level), kNoticeShortMs);
  if (result.notice == tuning::VolumeNotice::muted) app_.ShowNotice(MutedVolumeNotice(), kNoticeShortMs);
  return result.value;
}

void CInputControls::OnSliderMoved(MasterLevel level) {
  CRibbonCategory* shown = ribbon_.category(ribbon_.shownCategory());
  const int stored = Apply(level, shown->slider(level)->value());
  SetBothSliders(level, stored);
  if (level == MasterLevel::pitch) {
    SetPitchCaption(shown, stored);
  } else {
    SetBothLabels(level, stored);
  }
}

void CInputControls::StepBoth(MasterLevel level, int delta) {
  for (int index : {kInputCategory, kOutputCategory}) {
    CStepSlider* slider = ribbon_.category(index)->slider(level);
    slider->SetValueQuietly(ClampedStep(slider->value(), delta, slider->minimum(), slider->maximum()));
  }
  OnSliderMoved(level);
}

void CInputControls::ToggleMute(MasterLevel level, bool announce) {
  const char* field = MuteField(level);
  if (field == nullptr) return;
  vireo::ParameterStore& store = app_.store();
  const bool muted = app_.device().edits().Run({tuning::FieldValue{field, 0, 0.0}},
                                               [&](vireo::ReportSender& sender, vireo::Clock& clock) {
                                                 return ToggleLevelMute(level, store, sender, clock);
                                               });
  UpdateMuteBoxes();
  if (announce && muted) app_.ShowNotice(MuteAnnouncement(level), kNoticeShortMs);
}

void CInputControls::SetBothSliders(MasterLevel level, int value) {
  for (int index : {kInputCategory, kOutputCategory})
    ribbon_.category(index)->slider(level)->SetValueQuietly(value);
}

void CInputControls::SetBothLabels(MasterLevel level, int value, bool forLanguageSwitch) {
  for (int index : {kInputCategory, kOutputCategory}) {
    if (QLabel* label = ribbon_.category(index)->label(level)) {
      label->setText(LevelLabelText(level, value, LanguageIndex(), forLanguageSwitch));
    }
  }
}

void CInputControls::SetPitchCaption(CRibbonCategory* category, int pitch) {
  category->panel(6)->SetCaption(PitchCaption(pitch, LanguageIndex()));
  ribbon_.updateGeometry();
  ribbon_.update();
}

void CInputControls::RefreshVolumeControls() {
  for (MasterLevel level : kAllMasterLevels) {
    if (level == MasterLevel::pitch) continue;
    SetBothSliders(level, StoreValue(level));
    SetBothLabels(level, StoreValue(level));
  }
  const int pitch = StoreValue(MasterLevel::pitch);
  for (int index : {kInputCategory, kOutputCategory}) {
    CStepSlider* slider = ribbon_.category(index)->slider(MasterLevel::pitch);
    slider->blockSignals(true);
    slider->setRange(tuning::kPitchMin, tuning::kPitchMax);
    slider->blockSignals(false);
    slider->SetValueQuietly(pitch);
  }
  SetPitchCaption(ribbon_.category(ribbon_.shownCategory()), pitch);
}

void CInputControls::UpdateMuteBoxes() {
  const vireo::ParameterStore& store = app_.store();
  const std::pair<MasterLevel, int> kMutes[] = {{MasterLevel::mic, slot::micMute},
                                                {MasterLevel::reverb, slot::reverbMute},
                                                {MasterLevel::echo, slot::echoMute},
                                                {MasterLevel::music, slot::musicMute}};
  for (const auto& [level, slotIndex] : kMutes) {
    for (int index : {kInputCategory, kOutputCategory}) {
      ribbon_.category(index)->muteBox(level)->setChecked(store.Int(slotIndex) != 0);
    }
  }
}

void CInputControls::UpdateWirelessTexts() {
  std::array<std::uint8_t, vireo::kLevelMeterBytes> meters{};
  app_.store().ReadBytes(vireo::Region::levelMeters, 0, meters);
  for (int microphone = 0; microphone < 2; ++microphone) {
    const vireo::WirelessMicTexts texts =
        vireo::MakeWirelessMicTexts(meters.data(), microphone, LanguageIndex());
    const std::string* lines[] = {&texts.rfAf, &texts.frequency, &texts.battery};
    for (int index : {kInputCategory, kOutputCategory}) {
      for (int text = 0; text < 3; ++text) {
        QLabel* label = ribbon_.category(index)->wirelessLabel(microphone, text);
        const QString value = QString::fromStdString(*lines[text]);
        if (label->text() != value) label->setText(value);
      }
    }
  }
}

void CInputControls::RecaptionForLanguage(int languageIndex) {
  const int pitch = StoreValue(MasterLevel::pitch);
  for (int index : {kInputCategory, kOutputCategory}) {
    CRibbonCategory* category = ribbon_.category(index);
    for (int panel = 1; panel <= kRibbonPanels; ++panel) {
      category->panel(panel)->SetCaption(SwitchPanelCaption(panel, languageIndex, pitch));
    }
  }
  for (MasterLevel level : kAllMasterLevels) {
    if (level != MasterLevel::pitch) SetBothLabels(level, StoreValue(level), true);
  }
  for (MasterLevel level : {MasterLevel::mic, MasterLevel::reverb, MasterLevel::echo, MasterLevel::music}) {
    for (int index : {kInputCategory, kOutputCategory}) {
      ribbon_.category(index)->muteBox(level)->setText(languageIndex == 1 ? QStringLiteral("Mute")
                                                                          : QString::fromUtf8("静音"));
    }
  }
}
