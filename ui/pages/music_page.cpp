// The microphone and music EQ page.
#include "pages/music_page.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QResizeEvent>
#include <QWheelEvent>

#include "controls/eq_panel.h"
#include "controls/gdip_button.h"
#include "controls/peak_meter_ctrl.h"
#include "controls/small_eq_panel.h"
#include "controls/xbmp_slider.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "look/dialog_look.h"
#include "model/parameter_store.h"
#include "model/slot_fields.h"
#include "pages/band_editor.h"
#include "pages/band_list.h"
#include "pages/effect_list.h"
#include "pages/eq_editing.h"
#include "pages/page_edits.h"
#include "pages/page_layout.h"
#include "pages/page_switch.h"
#include "pages/page_texts.h"
#include "tuning/eq_operations.h"

namespace t = vireo::tuning;

namespace {

constexpr int kMeterIntervalMs = 300;
constexpr int kFirstViewButton = 1068;
constexpr int kFirstMicLabel = 1185;
constexpr int kFirstRadio = 1190;
constexpr int kFirstGateSlider = 1052;
constexpr int kFirstVolumeSlider = 1056;
constexpr int kFirstGateValue = 1152;
constexpr int kFirstVolumeValue = 1160;
constexpr int kFirstMicMeter = 1170;
constexpr int kFirstGateCaption = 1176;
constexpr int kFirstVolumeCaption = 1180;
constexpr int kMusicPeakGroup = 1142;
constexpr std::array<int, 2> kMusicMeters = {1168, 1169};
constexpr int kInputFormat = 1222;
constexpr int kMusicLevelSlider = 1060;
constexpr int kMusicLevelValue = 1174;
constexpr int kMusicLevelLabel = 1175;
constexpr int kReverbPreview = 1144;
constexpr int kEchoPreview = 1143;
constexpr int kReverbTitle = 1145;
constexpr int kEchoTitle = 1146;

// Identity and bypass of the large graph, the preview identities and their curve colour, by view.
struct ViewInfo {
  int identity;
  int reverb;
  int echo;
  QRgb colour;
};
constexpr std::array<ViewInfo, 3> kViews = {
    {{0, 2, 4, 0xFF00C8FF}, {1, 3, 5, 0xFF00DC00}, {6, -1, -1, 0xFF646464}}};

int musicPageView = 0;

template <typename W>
W* WithId(W* widget, int id) {
  SetControlId(widget, id);
  return widget;
}

QLabel* ValueLabel(QWidget* parent, int id) {
  auto* label = WithId(new QLabel(parent), id);
  label->setAlignment(Qt::AlignCenter);
  return label;
}

CPeakMeterCtrl* InputMeter(QWidget* parent, int id) {
  auto* meter = new CPeakMeterCtrl(id, parent);
  meter->SetSettings(InputMeterSettings());
  meter->SetHorizontal(false);
  meter->StartFalloff(35);
  return meter;
}

struct MusicLevelField {
  const char* field;
  const char* zh;
  const char* en;
};
MusicLevelField MusicLevelOf(int musicSource) {
  if (musicSource == 2) return {"hdmi1Level", "HDMI音量", "HDMI"};
  if (musicSource == 3) return {"bluetoothLevel", "蓝牙音量", "BT"};
  return {"spdifLevel", "光纤音量", "OPTICAL"};
}

// A stored band on a preview: the type first with its usual Q (and no gain for LP and HP), then the stored
// gain, frequency and, when there is one, Q.
void ShowPreviewBand(CSmallEqPanel& preview, int index, const vireo::dsp::BandShape& stored) {
  vireo::dsp::PreviewBand& band = preview.band(index);
  band.type = stored.type >= 0 && stored.type <= 5 ? stored.type : 0;
  const bool lowOrHighPass = band.type == 2 || band.type == 3;
  if (band.type == 1) band.q = 1.41f;
  if (lowOrHighPass) {
    band.gain = 0.0f;
    band.q = 0.7f;
  }
  preview.RecomputePreviewBand(index);
  if (!lowOrHighPass) preview.SetPreviewGain(index, stored.gainDb);
  preview.SetPreviewFrequency(index, stored.frequency);
  if (stored.q != 0.0) {
    band.q = static_cast<float>(stored.q);
    preview.RecomputePreviewBand(index);
  }
}

}  // namespace

int MusicPageView() {
  return musicPageView;
}
void SetMusicPageView(int view) {
  musicPageView = view >= 0 && view <= 2 ? view : 0;
}

QString InputFormatText(unsigned char formatByte) {
  if (formatByte & 1) return QStringLiteral("DOLBY");
  if (formatByte & 2) return QStringLiteral("DTS");
  if (formatByte & 4) return QStringLiteral("Multi-CH LPCM");
  return QStringLiteral("Stereo");
}

CDialogMusic::CDialogMusic(AppServices& services, QWidget* parent)
    : CPage(PageKind::music, services, parent),
      view_(MusicPageView()),
      eq_(new CEqEditing(this, templateId(), EqEditingRules{})),
      effects_(new CEffectParamList(this)) {
  for (int i = 0; i < 3; ++i) {
    auto* button = new CGdipButton(kFirstViewButton + i, QString(), this);
    button->SetToggle(true);
    connect(button, &QAbstractButton::clicked, this, [this, i] { SetView(i); });
    viewButtons_[static_cast<std::size_t>(i)] = button;
  }
  inputFormat_ = WithId(new QLabel(this), kInputFormat);
  inputFormat_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  BuildMicInputs();
  BuildMusicControls();
  BuildPreviews();
  connect(eq_, &CEqEditing::pasted, this, [this] { RefreshPreviews(); });
  for (QWidget* w : findChildren<CXBmpSlider*>()) TrackEditGestures(w, app().edits());
  TrackEditGestures(eq_->graph(), app().edits());
  ApplyTexts();
  effects_->Build();
  RefreshFromStore();
  connect(&meterTimer_, &QTimer::timeout, this, &CDialogMusic::UpdateMeters);
  meterTimer_.start(kMeterIntervalMs);
}

void CDialogMusic::BuildMicInputs() {
  for (int k = 0; k < 4; ++k) {
    MicInput& m = mics_[static_cast<std::size_t>(k)];
    m.label = WithId(new QLabel(this), kFirstMicLabel + k);
    m.label->setStyleSheet(QStringLiteral("color: rgb(0,0,238);"));
    m.channelA = WithId(new QRadioButton(this), kFirstRadio + 2 * k);
    m.channelB = WithId(new QRadioButton(this), kFirstRadio + 2 * k + 1);
    m.channelA->setAutoExclusive(false);
    m.channelB->setAutoExclusive(false);
    connect(m.channelA, &QRadioButton::clicked, this, [this, k] {
      pageEdits().RouteMic(k, t::MicChannel::a);
      RefreshMicInputs();
    });
    connect(m.channelB, &QRadioButton::clicked, this, [this, k] {
      pageEdits().RouteMic(k, t::MicChannel::b);
      RefreshMicInputs();
    });
    m.gateCaption = ValueLabel(this, kFirstGateCaption + k);
    m.volumeCaption = ValueLabel(this, kFirstVolumeCaption + k);
    m.gate = new CXBmpSlider(kFirstGateSlider + k, this);
    m.volume = new CXBmpSlider(kFirstVolumeSlider + k, this);
    for (CXBmpSlider* s : {m.gate, m.volume}) {
      s->SetOrientation(SliderOrientation::vertical);
      s->SetMargins(kEffectEqSliderMargins);
      s->SetBackgroundColor(kDialogBackground);
      s->SetRange(0, 100);
    }
    m.gateValue = ValueLabel(this, kFirstGateValue + 2 * k);
    m.volumeValue = ValueLabel(this, kFirstVolumeValue + 2 * k);
    connect(m.gate, &CXBmpSlider::positionChanged, this, [this, k](int, int position) {
      pageEdits().SetMicNoiseGate(k, position);
      mics_[static_cast<std::size_t>(k)].gateValue->setText(QString::number(position));
    });
    connect(m.volume, &CXBmpSlider::positionChanged, this, [this, k](int, int position) {
      pageEdits().SetMicInputVolume(k, position);
      mics_[static_cast<std::size_t>(k)].volumeValue->setText(QString::number(position));
    });
    m.meter = InputMeter(this, kFirstMicMeter + k);
  }
}

void CDialogMusic::BuildMusicControls() {
  musicPeak_ = WithId(new QGroupBox(this), kMusicPeakGroup);
  for (std::size_t i = 0; i < 2; ++i) musicMeters_[i] = InputMeter(this, kMusicMeters[i]);
  // The music-input level exists on the page but stays hidden: the music source dialog edits it.
  musicLevel_ = new CXBmpSlider(kMusicLevelSlider, this);
  musicLevel_->SetRange(0, 100);
  musicLevelValue_ = ValueLabel(this, kMusicLevelValue);
  musicLevelLabel_ = ValueLabel(this, kMusicLevelLabel);
  for (QWidget* w : {static_cast<QWidget*>(musicLevel_), static_cast<QWidget*>(musicLevelValue_),
                     static_cast<QWidget*>(musicLevelLabel_)}) {
    w->hide();
  }
  connect(musicLevel_, &CXBmpSlider::positionChanged, this, [this](int, int position) {
    pageEdits().SetField(MusicLevelOf(app().store().Int(vireo::slot::musicSource)).field, 0, position);
    musicLevelValue_->setText(QString::number(position));
  });
}

void CDialogMusic::BuildPreviews() {
  reverbTitle_ = WithId(new QLabel(this), kReverbTitle);
  echoTitle_ = WithId(new QLabel(this), kEchoTitle);
  for (QLabel* title : {reverbTitle_, echoTitle_})
    title->setStyleSheet(QStringLiteral("color: rgb(240,0,0);"));
  reverbPreview_ = WithId(new CSmallEqPanel(this), kReverbPreview);
  echoPreview_ = WithId(new CSmallEqPanel(this), kEchoPreview);
  connect(reverbPreview_, &CSmallEqPanel::clicked, this, [this] { OpenEffectEq(true); });
  connect(echoPreview_, &CSmallEqPanel::clicked, this, [this] { OpenEffectEq(false); });
}

void CDialogMusic::ApplyTexts() {
  CPage::ApplyLanguage();
  static const std::array<const char*, 3> kViewTexts = {"Mic CH A", "Mic CH B", "Music"};
  for (int i = 0; i < 3; ++i) {
    viewButtons_[static_cast<std::size_t>(i)]->setText(DialogText(
        templateId(), kFirstViewButton + i, i == 2 ? "音乐" : kViewTexts[static_cast<std::size_t>(i)],
        kViewTexts[static_cast<std::size_t>(i)]));
  }
  for (int k = 0; k < 4; ++k) {
    MicInput& m = mics_[static_cast<std::size_t>(k)];
    m.label->setText(DialogText(templateId(), kFirstMicLabel + k, QStringLiteral("Mic %1").arg(k + 1)));
    m.channelA->setText(DialogText(templateId(), kFirstRadio + 2 * k, QStringLiteral("CH A")));
    m.channelB->setText(DialogText(templateId(), kFirstRadio + 2 * k + 1, QStringLiteral("CH B")));
    m.gateCaption->setText(DialogText(templateId(), kFirstGateCaption + k, "门限", "MNG"));
    m.volumeCaption->setText(DialogText(templateId(), kFirstVolumeCaption + k, "音量", "Vol"));
  }
  musicPeak_->setTitle(DialogText(templateId(), kMusicPeakGroup, "音乐电平", "Music Peak"));
  reverbTitle_->setText(DialogText(templateId(), kReverbTitle, "混响均衡", "Reverb EQ"));
  echoTitle_->setText(DialogText(templateId(), kEchoTitle, "回声均衡", "Echo EQ"));
  ApplyPreviewTips();
}

void CDialogMusic::ApplyPreviewTips() {
  // A disabled preview does not open its editor, so it does not say it would.
  reverbPreview_->setToolTip(
      reverbPreview_->isEnabled()
          ? DialogText(templateId(), kReverbPreview, "点击进入混响均衡", "Click to enter reverb EQ")
          : QString());
  echoPreview_->setToolTip(
      echoPreview_->isEnabled()
          ? DialogText(templateId(), kEchoPreview, "点击进入回声均衡", "Click to enter echo EQ")
          : QString());
}

void CDialogMusic::SetView(int view) {
  view_ = view >= 0 && view <= 2 ? view : 0;
  SetMusicPageView(view_);
  RefreshFromStore();
}

void CDialogMusic::RefreshViewButtons() {
  for (int i = 0; i < 3; ++i) viewButtons_[static_cast<std::size_t>(i)]->SetCheck(i == view_);
  const bool voice = view_ != 2;
  effects_->SetEnabled(voice);
  reverbPreview_->setEnabled(voice);
  echoPreview_->setEnabled(voice);
  ApplyPreviewTips();
}

void CDialogMusic::RefreshMicInputs() {
  const vireo::ParameterStore& store = app().store();
  for (int k = 0; k < 4; ++k) {
    MicInput& m = mics_[static_cast<std::size_t>(k)];
    const bool a = t::MicInputChannel(store, k) == t::MicChannel::a;
    m.channelA->setChecked(a);
    m.channelB->setChecked(!a);
    const int gate = store.Int(vireo::slot::micNoiseGate[k]);
    const int volume = store.Int(vireo::slot::micInputVolume[k]);
    m.gate->SetPos(gate);
    m.volume->SetPos(volume);
    m.gateValue->setText(QString::number(m.gate->GetPos()));
    m.volumeValue->setText(QString::number(m.volume->GetPos()));
  }
}

void CDialogMusic::RefreshMusicLevel() {
  const vireo::ParameterStore& store = app().store();
  const MusicLevelField level = MusicLevelOf(store.Int(vireo::slot::musicSource));
  // The table holds the optical caption only; the label follows the music source.
  musicLevelLabel_->setText(LangText(level.zh, level.en));
  const vireo::SlotField* field = vireo::FindSlotField(level.field);
  musicLevel_->SetPos(field != nullptr ? store.Int(field->firstSlot) : 0);
  musicLevelValue_->setText(QString::number(musicLevel_->GetPos()));
}

void CDialogMusic::RefreshPreviews() {
  const ViewInfo& info = kViews[static_cast<std::size_t>(view_)];
  for (auto [preview, identity] :
       {std::pair{reverbPreview_, info.reverb}, std::pair{echoPreview_, info.echo}}) {
    preview->SetCurveColour(info.colour);
    if (identity < 0) {
      // The music has no effect EQ: the disabled previews lie flat rather than show another view's bands.
      preview->SetBypass(false);
      for (int i = 0; i < 7; ++i) ShowPreviewBand(*preview, i, vireo::dsp::BandShape{1, 0.0, 0.0, 0.0});
      continue;
    }
    preview->SetBypass(t::EqBypass(app().store(), identity));
    for (int i = 0; i < 7; ++i) ShowPreviewBand(*preview, i, t::ReadEqBand(app().store(), identity, i));
  }
}

void CDialogMusic::RefreshFromStore() {
  const ViewInfo& info = kViews[static_cast<std::size_t>(view_)];
  effects_->SetEffectSet(view_ == 1 ? t::EffectSet::b : t::EffectSet::a);
  RefreshViewButtons();
  RefreshMicInputs();
  RefreshMusicLevel();
  eq_->SetIdentity(info.identity);
  eq_->RefreshFromStore();
  RefreshPreviews();
  effects_->RefreshFromStore();
  UpdateMeters();
}

void CDialogMusic::UpdateMeters() {
  const vireo::ParameterStore& store = app().store();
  using vireo::Region;
  for (int k = 0; k < 4; ++k) {
    const int level = store.Byte(Region::levelMeters, static_cast<std::size_t>(k));
    mics_[static_cast<std::size_t>(k)].meter->SetData(std::span<const int>(&level, 1));
  }
  for (std::size_t i = 0; i < 2; ++i) {
    const int level = store.Byte(Region::levelMeters, 4 + i);
    musicMeters_[i]->SetData(std::span<const int>(&level, 1));
  }
  inputFormat_->setText(InputFormatText(store.Byte(Region::levelMeters, 7)));
}

bool CDialogMusic::ShownEqBypass() const {
  return eq_->Bypass();
}

void CDialogMusic::ToggleShownEqBypass() {
  eq_->ToggleBypass();
}

void CDialogMusic::ResetShownEq() {
  eq_->Reset();
}

void CDialogMusic::SelectSection(int section) {
  eq_->PickBand(section);
}

void CDialogMusic::ApplyLanguage() {
  ApplyTexts();
  eq_->editor()->ApplyLanguage();
  eq_->list()->Rebuild(eq_->graph()->bandCount());
  effects_->Build();
  RefreshFromStore();
}

void CDialogMusic::OpenEffectEq(bool reverb) {
  if (view_ == 2) return;
  const int selector = (reverb ? 0 : 2) + (view_ == 1 ? 1 : 0);
  ShowEffectEqEditor(app(), selector);
}

void CDialogMusic::resizeEvent(QResizeEvent* event) {
  CPage::resizeEvent(event);
  LayoutControls();
}

void CDialogMusic::LayoutControls() {
  const MusicPageLayout l = LayoutMusicPage(size());
  for (std::size_t i = 0; i < 3; ++i) viewButtons_[i]->setGeometry(l.viewButtons[i]);
  inputFormat_->setGeometry(l.inputFormat);
  for (std::size_t k = 0; k < 4; ++k) {
    const MicColumnLayout& c = l.mics[k];
    MicInput& m = mics_[k];
    m.label->setGeometry(c.label);
    m.channelA->setGeometry(c.radioA);
    m.channelB->setGeometry(c.radioB);
    m.gateCaption->setGeometry(c.gateCaption);
    m.gate->setGeometry(c.gateSlider);
    m.gateValue->setGeometry(c.gateValue);
    m.volumeCaption->setGeometry(c.volumeCaption);
    m.volume->setGeometry(c.volumeSlider);
    m.volumeValue->setGeometry(c.volumeValue);
    m.meter->setGeometry(c.meter);
  }
  musicPeak_->setGeometry(l.musicPeak);
  for (std::size_t i = 0; i < 2; ++i) {
    musicMeters_[i]->setGeometry(l.musicMeters[i]);
    musicMeters_[i]->raise();
  }
  eq_->SetListArea(l.bandArea);
  effects_->SetGeometry(l.effectList, l.effectColumn);
  reverbTitle_->setGeometry(l.reverbTitle);
  reverbPreview_->setGeometry(l.reverbPreview);
  echoTitle_->setGeometry(l.echoTitle);
  echoPreview_->setGeometry(l.echoPreview);
  eq_->graph()->setGeometry(l.graph);
}

void CDialogMusic::wheelEvent(QWheelEvent* event) {
  if (!ForwardWheelToFocus(this, event)) CPage::wheelEvent(event);
}
