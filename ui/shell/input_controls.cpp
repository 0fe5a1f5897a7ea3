// The master levels.
#include "shell/input_controls.h"

#include <QCheckBox>
#include <QLabel>
#include <array>

#include "app/device_services.h"
#include "app/kestrel_app.h"
#include "controls/step_math.h"
#include "controls/step_slider.h"
#include "device/connection.h"
#include "i18n/language_table.h"
#include "model/parameter_store.h"
#include "model/status_texts.h"
#include "ribbon/ribbon_bar.h"
#include "ribbon/ribbon_category.h"
#include "ribbon/ribbon_panel.h"
#include "tuning/input_controls.h"

namespace tuning = vireo::tuning;
namespace slot = vireo::slot;

QString OverMaximumNotice(MasterLevel level) {
  if (level == MasterLevel::music)
    return LangText("不能超过最大音乐音量!", "Music vol can't over max value!");
  return LangText("不能超过最大话筒音量!", "Mic vol can't over max value!");
}

QString MutedVolumeNotice() {
  return LangText("当前是静音状态", "vol is mute");
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

CInputControls::CInputControls(CKestrelv13App& app, CRibbonBar& ribbon) : app_(app), ribbon_(ribbon) {}

int CInputControls::StoreValue(MasterLevel level) {
  const vireo::ParameterStore& store = vireo::TheStore();
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

int CInputControls::Apply(MasterLevel level, int value) {
  vireo::ParameterStore& store = vireo::TheStore();
  vireo::ReportSender& sender = app_.connection().sender();
  tuning::VolumeResult result;
  switch (level) {
    case MasterLevel::mic:
      result = tuning::SetMicVolume(store, sender, value);
      break;
    case MasterLevel::effect:
      result = tuning::SetEffectVolume(store, sender, value);
      break;
    case MasterLevel::reverb:
      result = tuning::SetReverbVolume(store, sender, value);
      break;
    case MasterLevel::echo:
      result = tuning::SetEchoVolume(store, sender, value);
      break;
    case MasterLevel::music:
      result = tuning::SetMusicVolume(store, sender, value);
      break;
    case MasterLevel::noiseGate:
      return tuning::SetMusicNoiseGate(store, sender, value);
    case MasterLevel::pitch:
      return tuning::SetMusicPitch(store, sender, value);
  }
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
  vireo::ParameterStore& store = vireo::TheStore();
  vireo::ReportSender& sender = app_.connection().sender();
  bool muted = false;
  switch (level) {
    case MasterLevel::mic:
      muted = tuning::ToggleMicMute(store, sender);
      break;
    case MasterLevel::reverb:
      muted = tuning::ToggleReverbMute(store, sender);
      break;
    case MasterLevel::echo:
      muted = tuning::ToggleEchoMute(store, sender);
      break;
    case MasterLevel::music:
      muted = tuning::ToggleMusicMute(store, sender, app_.device().clock());
      break;
    default:
      return;
  }
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
  const vireo::ParameterStore& store = vireo::TheStore();
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
  vireo::TheStore().ReadBytes(vireo::Region::levelMeters, 0, meters);
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
