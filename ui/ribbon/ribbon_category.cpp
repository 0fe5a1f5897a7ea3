// The ribbon category.
#include "ribbon/ribbon_category.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QResizeEvent>
#include <QToolButton>
#include <algorithm>
#include <string>

#include "controls/ribbon_icons.h"
#include "controls/step_slider.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "model/status_texts.h"
#include "ribbon/ribbon_panel.h"

namespace {
constexpr int kVolumeSliderWidth = 90;
constexpr int kWideSliderWidth = 100;
constexpr int kCompactVolumeSliderWidth = 70;
constexpr int kCompactWideSliderWidth = 80;
constexpr int kFileButtonWidth = 62;
constexpr int kCompactFileButtonWidth = 48;
constexpr double kWirelessFontScale = 0.85;
constexpr double kCompactWirelessFontScale = 0.75;
constexpr int kVolumeMaximum = 99;
constexpr int kNoiseGateMaximum = 100;
constexpr int kPitchLimit = 5;
constexpr int kInitialLabelValue = 100;
}  // namespace

CRibbonCategory::CRibbonCategory(const CategoryIds& ids, QMenu* loadMenu, QMenu* saveMenu, int languageIndex,
                                 QWidget* parent)
    : QWidget(parent), ids_(ids), categoryIndex_(ids.mic.slider == kInputIds.mic.slider ? 0 : 1) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(4, 3, 4, 3);
  row->setSpacing(3);
  AddLevelPanel(1, MasterLevel::mic, languageIndex);
  AddLevelPanel(2, MasterLevel::effect, languageIndex);
  AddLevelPanel(3, MasterLevel::reverb, languageIndex);
  AddLevelPanel(4, MasterLevel::echo, languageIndex);
  AddLevelPanel(5, MasterLevel::music, languageIndex);
  AddPitchPanel(languageIndex);
  AddFilePanel(7, ids.loadMode, loadMenu, ids.loadFile, languageIndex);
  AddFilePanel(8, ids.saveMode, saveMenu, ids.saveFile, languageIndex);
  AddWirelessPanel(languageIndex);
  row->addStretch(1);
}

CRibbonPanel* CRibbonCategory::AddPanel(int number, Qt::Orientation direction, int languageIndex) {
  auto* panel = new CRibbonPanel(number, direction, this);
  panel->SetCaption(BuildPanelCaption(number, languageIndex));
  panels_[static_cast<std::size_t>(number - 1)] = panel;
  layout()->addWidget(panel);
  return panel;
}

CStepSlider* CRibbonCategory::AddSlider(QWidget* panel, MasterLevel level, int id, int minimum, int maximum,
                                        int width) {
  auto* slider = new CStepSlider(minimum, maximum, width, panel);
  SetControlId(slider, id);
  slider->SetValueQuietly(level == MasterLevel::pitch ? 0 : minimum);
  connect(slider, &CStepSlider::userChanged, this,
          [this, level](int value) { emit sliderMoved(level, value); });
  return slider;
}

void CRibbonCategory::AddLevelPanel(int number, MasterLevel level, int languageIndex) {
  CRibbonPanel* panel = AddPanel(number, Qt::Vertical, languageIndex);
  const MasterLevelIds ids = IdsOf(ids_, level);
  auto* label = new QLabel(LevelLabelText(level, kInitialLabelValue, languageIndex), panel);
  SetControlId(label, ids.label);
  panel->content()->addWidget(label);
  panel->content()->addWidget(AddSlider(panel, level, ids.slider, 0, kVolumeMaximum, kVolumeSliderWidth));
  if (ids.mute != 0) {
    auto* mute = new QCheckBox(LangText("静音", "Mute"), panel);
    SetControlId(mute, ids.mute);
    mute->setFocusPolicy(Qt::NoFocus);
    connect(mute, &QCheckBox::clicked, this, [this, level] { emit muteClicked(level); });
    panel->content()->addWidget(mute);
  } else {
    // An invisible twin of the mute box keeps the label and slider level with the other panels'.
    auto* placeholder = new QCheckBox(LangText("静音", "Mute"), panel);
    QSizePolicy policy = placeholder->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    placeholder->setSizePolicy(policy);
    placeholder->hide();
    panel->content()->addWidget(placeholder);
  }
}

void CRibbonCategory::AddPitchPanel(int languageIndex) {
  CRibbonPanel* panel = AddPanel(6, Qt::Vertical, languageIndex);
  auto* label = new QLabel(LevelLabelText(MasterLevel::noiseGate, kInitialLabelValue, languageIndex), panel);
  SetControlId(label, ids_.noiseGateLabel);
  panel->content()->addWidget(label);
  panel->content()->addWidget(
      AddSlider(panel, MasterLevel::noiseGate, ids_.noiseGateSlider, 0, kNoiseGateMaximum, kWideSliderWidth));
  panel->content()->addWidget(
      AddSlider(panel, MasterLevel::pitch, ids_.pitchSlider, -kPitchLimit, kPitchLimit, kWideSliderWidth));
}

void CRibbonCategory::AddFilePanel(int number, int modeId, QMenu* modeMenu, int fileId, int languageIndex) {
  CRibbonPanel* panel = AddPanel(number, Qt::Horizontal, languageIndex);
  const bool load = number == 7;
  auto* mode = new QToolButton(panel);
  SetControlId(mode, modeId);
  mode->setText(load ? Pick(QString::fromUtf8("载入模式"), QStringLiteral("LoadMode"))
                     : Pick(QString::fromUtf8("保存模式"), QStringLiteral("SaveMode")));
  mode->setIcon(RibbonIcon(load ? RibbonPicture::loadMode : RibbonPicture::saveMode));
  mode->setMenu(modeMenu);
  mode->setPopupMode(QToolButton::InstantPopup);
  auto* file = new QToolButton(panel);
  SetControlId(file, fileId);
  file->setText(load ? Pick(QString::fromUtf8("载入文件"), QStringLiteral("LoadFile"))
                     : Pick(QString::fromUtf8("保存文件"), QStringLiteral("SaveFile")));
  file->setIcon(RibbonIcon(load ? RibbonPicture::openFile : RibbonPicture::saveFile));
  connect(file, &QToolButton::clicked, this, [this, fileId] { emit commandTriggered(fileId); });
  for (QToolButton* button : {mode, file}) {
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(32, 32));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setMinimumWidth(kFileButtonWidth);
    panel->content()->addWidget(button);
  }
}

namespace {
// The widest any wireless-microphone line can get, in either language: the texts change several times
// a second, and a column sized by its current text would make the panel jitter.
int WidestWirelessText(const QFontMetrics& metrics) {
  const auto width = [&metrics](const std::string& text) {
    return metrics.horizontalAdvance(QString::fromStdString(text));
  };
  int bars = 0;
  for (int n = 0; n <= 5; ++n) bars = std::max(bars, width(vireo::BarText(n)));
  int frequency = 0;
  for (int c = 0; c < 200; ++c) frequency = std::max(frequency, width(vireo::ChannelFrequencyText(c)));
  int widest = width("RF:") + bars + width(" AF:") + bars;
  for (const char* prefix : {"Freq:", "频率:"}) widest = std::max(widest, width(prefix) + frequency);
  for (const char* prefix : {"Battary: ", "电   量:"}) widest = std::max(widest, width(prefix) + bars);
  return widest + 2;
}
}  // namespace

void CRibbonCategory::AddWirelessPanel(int languageIndex) {
  CRibbonPanel* panel = AddPanel(kWirelessPanel, Qt::Horizontal, languageIndex);
  QFont small = font();
  small.setPointSizeF(small.pointSizeF() * kWirelessFontScale);
  const int columnWidth = WidestWirelessText(QFontMetrics(small));
  for (int microphone = 0; microphone < 2; ++microphone) {
    auto* column = new QVBoxLayout;
    column->setSpacing(0);
    for (int text = 0; text < 3; ++text) {
      auto* label = new QLabel(panel);
      SetControlId(label, WirelessLabelId(microphone, text, categoryIndex_));
      label->setFont(small);
      label->setFixedWidth(columnWidth);
      column->addWidget(label);
    }
    panel->content()->addLayout(column);
  }
}

int CRibbonCategory::NeededWidth() const {
  const QMargins margins = layout()->contentsMargins();
  int needed = margins.left() + margins.right() + layout()->spacing() * (kRibbonPanels - 1);
  for (const CRibbonPanel* p : panels_) needed += p->sizeHint().width();
  return needed;
}

void CRibbonCategory::SetCompact(bool compact) {
  if (compact == compact_) return;
  compact_ = compact;
  for (MasterLevel level :
       {MasterLevel::mic, MasterLevel::effect, MasterLevel::reverb, MasterLevel::echo, MasterLevel::music})
    slider(level)->setFixedWidth(compact ? kCompactVolumeSliderWidth : kVolumeSliderWidth);
  for (MasterLevel level : {MasterLevel::noiseGate, MasterLevel::pitch})
    slider(level)->setFixedWidth(compact ? kCompactWideSliderWidth : kWideSliderWidth);
  for (int number : {7, 8}) {
    for (QToolButton* b : panel(number)->findChildren<QToolButton*>())
      b->setMinimumWidth(compact ? kCompactFileButtonWidth : kFileButtonWidth);
  }
  for (int number : {7, 8, kWirelessPanel}) panel(number)->content()->setSpacing(compact ? 2 : 6);
  layout()->setSpacing(compact ? 2 : 3);
  QFont small = font();
  small.setPointSizeF(small.pointSizeF() * (compact ? kCompactWirelessFontScale : kWirelessFontScale));
  const int columnWidth = WidestWirelessText(QFontMetrics(small));
  for (int microphone = 0; microphone < 2; ++microphone) {
    for (int text = 0; text < 3; ++text) {
      QLabel* label = wirelessLabel(microphone, text);
      label->setFont(small);
      label->setFixedWidth(columnWidth);
    }
  }
  // The panels' size hints are cached until the next layout pass; the width check needs them now.
  for (CRibbonPanel* p : panels_) {
    for (QLayout* l : p->findChildren<QLayout*>()) l->invalidate();
    p->layout()->invalidate();
  }
}

void CRibbonCategory::FitPanels() {
  // Values change while a slider moves; a panel as wide as its current text would make the fit
  // flicker between the full and the compact panels.
  const int language = LanguageIndex();
  for (MasterLevel level : {MasterLevel::mic, MasterLevel::effect, MasterLevel::reverb, MasterLevel::echo,
                            MasterLevel::music, MasterLevel::noiseGate}) {
    QLabel* text = label(level);
    const QFontMetrics metrics(text->font());
    const int highest = level == MasterLevel::noiseGate ? kNoiseGateMaximum : kVolumeMaximum;
    int widest = 0;
    for (int value = 0; value <= highest; ++value) {
      for (bool switched : {false, true})
        widest =
            std::max(widest, metrics.horizontalAdvance(LevelLabelText(level, value, language, switched)));
    }
    text->setMinimumWidth(widest);
  }
  QLabel* pitch = panel(6)->captionLabel();
  const QFontMetrics metrics(pitch->font());
  int widest = 0;
  for (int value = -kPitchLimit; value <= kPitchLimit; ++value)
    widest = std::max(widest, metrics.horizontalAdvance(PitchCaption(value, language)));
  pitch->setMinimumWidth(widest);
  for (CRibbonPanel* p : panels_) {
    for (QLayout* l : p->findChildren<QLayout*>()) l->invalidate();
    p->layout()->invalidate();
  }
  SetCompact(false);
  if (width() < NeededWidth()) SetCompact(true);
  panel(kWirelessPanel)->setVisible(width() >= NeededWidth());
}

void CRibbonCategory::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FitPanels();
}

QLabel* CRibbonCategory::wirelessLabel(int microphone, int text) const {
  return FindByControlId<QLabel>(this, WirelessLabelId(microphone, text, categoryIndex_));
}

CStepSlider* CRibbonCategory::slider(MasterLevel level) const {
  return FindByControlId<CStepSlider>(this, IdsOf(ids_, level).slider);
}

QLabel* CRibbonCategory::label(MasterLevel level) const {
  const int id = IdsOf(ids_, level).label;
  return id ? FindByControlId<QLabel>(this, id) : nullptr;
}

QCheckBox* CRibbonCategory::muteBox(MasterLevel level) const {
  const int id = IdsOf(ids_, level).mute;
  return id ? FindByControlId<QCheckBox>(this, id) : nullptr;
}

QToolButton* CRibbonCategory::button(int id) const {
  return FindByControlId<QToolButton>(this, id);
}

bool CRibbonCategory::WheelTargetAt(const QPoint& pos, MasterLevel* level) const {
  constexpr MasterLevel kPanelLevels[] = {MasterLevel::mic, MasterLevel::effect, MasterLevel::reverb,
                                          MasterLevel::echo, MasterLevel::music};
  for (int number = 1; number <= 5; ++number) {
    if (panel(number)->geometry().contains(pos)) {
      *level = kPanelLevels[number - 1];
      return true;
    }
  }
  for (MasterLevel candidate : {MasterLevel::pitch, MasterLevel::noiseGate}) {
    const QWidget* s = slider(candidate);
    if (QRect(s->mapTo(this, QPoint(0, 0)), s->size()).contains(pos)) {
      *level = candidate;
      return true;
    }
  }
  return false;
}
