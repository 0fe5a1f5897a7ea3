// The band editor.
#include "pages/band_editor.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>
#include <cmath>

#include "controls/xbmp_slider.h"
#include "dsp/filter_type.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "pages/page_texts.h"
#include "tuning/band_text.h"

namespace {

constexpr std::array<int, 3> kSliderIds = {band_editor_id::gainSlider, band_editor_id::frequencySlider,
                                           band_editor_id::qSlider};
constexpr std::array<int, 3> kEditIds = {band_editor_id::gainEdit, band_editor_id::frequencyEdit,
                                         band_editor_id::qEdit};
constexpr std::array<int, 3> kLabelIds = {band_editor_id::gainLabel, band_editor_id::frequencyLabel,
                                          band_editor_id::qLabel};

int Rounded(double value) {
  return std::isfinite(value) ? static_cast<int>(std::lround(value)) : 0;
}

}  // namespace

CBandEditor::CBandEditor(int dialogId, QWidget* parent) : QWidget(parent), dialogId_(dialogId) {
  number_ = new QLabel(this);
  SetControlId(number_, band_editor_id::number);
  QFont numberFont(QStringLiteral("Arial"));
  numberFont.setPixelSize(24);
  numberFont.setBold(true);
  number_->setFont(numberFont);
  number_->setStyleSheet(QStringLiteral("color: rgb(20,200,20);"));
  number_->setAlignment(Qt::AlignCenter);

  auto* group = new QButtonGroup(this);
  for (int i = 0; i < 5; ++i) {
    auto* radio = new QRadioButton(this);
    SetControlId(radio, band_editor_id::firstType + i);
    group->addButton(radio, i);
    types_[static_cast<std::size_t>(i)] = radio;
  }
  connect(group, &QButtonGroup::idClicked, this, &CBandEditor::typeClicked);

  for (std::size_t i = 0; i < 3; ++i) {
    auto* slider = new CXBmpSlider(kSliderIds[i], this);
    slider->SetOrientation(SliderOrientation::vertical);
    slider->SetMargins(kEffectEqSliderMargins);
    slider->SetBackgroundColor(QColor(240, 250, 255));
    connect(slider, &CXBmpSlider::positionChanged, this, &CBandEditor::sliderMoved);
    sliders_[i] = slider;
    auto* edit = new QLineEdit(this);
    SetControlId(edit, kEditIds[i]);
    edit->setAlignment(Qt::AlignCenter);
    edit->setMaxLength(16);
    connect(edit, &QLineEdit::returnPressed, this, &CBandEditor::editsEntered);
    edits_[i] = edit;
    auto* caption = new QLabel(this);
    SetControlId(caption, kLabelIds[i]);
    caption->setAlignment(Qt::AlignCenter);
    captions_[i] = caption;
  }
  sliders_[0]->SetRange(-kGainSliderMax, kGainSliderMax);
  sliders_[1]->SetRange(20, 20000);
  sliders_[2]->SetRange(kQSliderMin, kPeakingQSliderMax);
  ApplyLanguage();
}

CXBmpSlider* CBandEditor::slider(int controlId) const {
  for (CXBmpSlider* s : sliders_) {
    if (ControlIdOf(s) == controlId) return s;
  }
  return nullptr;
}

QLineEdit* CBandEditor::edit(int controlId) const {
  for (QLineEdit* e : edits_) {
    if (ControlIdOf(e) == controlId) return e;
  }
  return nullptr;
}

void CBandEditor::ApplyLanguage() {
  static const std::array<std::pair<const char*, const char*>, 3> kCaptions = {
      {{"增益", "Gain"}, {"频率", "Freq"}, {"Q值", "Q"}}};
  for (std::size_t i = 0; i < 3; ++i) {
    captions_[i]->setText(DialogText(dialogId_, captionIds_[i], kCaptions[i].first, kCaptions[i].second));
  }
  for (int i = 0; i < 5; ++i) {
    const QString fallback = QString::fromUtf8(vireo::tuning::BandTypeName(i + 1, LanguageIndex()).data());
    types_[static_cast<std::size_t>(i)]->setText(
        DialogText(dialogId_, band_editor_id::firstType + i, fallback));
  }
}

void CBandEditor::SetCaptionIds(const std::array<int, 3>& ids) {
  captionIds_ = ids;
  for (std::size_t i = 0; i < 3; ++i) SetControlId(captions_[i], ids[i]);
  ApplyLanguage();
}

void CBandEditor::SetQRangeForTypeIndex(int index) {
  sliders_[2]->SetRange(kQSliderMin, index == 0 ? kPeakingQSliderMax : kOtherQSliderMax);
}

void CBandEditor::ShowBand(int band, const vireo::dsp::BandShape& shape) {
  using namespace vireo::tuning;
  number_->setText(QString::number(band + 1));
  const int typeIndex = shape.type - 1;
  if (typeIndex >= 0 && typeIndex < 5) types_[static_cast<std::size_t>(typeIndex)]->setChecked(true);
  SetQRangeForTypeIndex(typeIndex);
  sliders_[0]->SetPos(std::clamp(Rounded(shape.gainDb * 10.0), -kGainSliderMax, kGainSliderMax));
  sliders_[1]->SetPos(std::clamp(Rounded(vireo::dsp::WholeHertz(shape.frequency)), 20, 20000));
  sliders_[2]->SetPos(Rounded(shape.q * 100.0));
  edits_[0]->setText(QString::fromStdString(BandGainText(shape.gainDb)));
  edits_[1]->setText(QString::fromStdString(BandFrequencyText(shape.frequency)));
  edits_[2]->setText(QString::fromStdString(BandQText(shape.q)));
  for (std::size_t i = 0; i < edits_.size(); ++i) shownTexts_[i] = edits_[i]->text();
  const bool gain = vireo::dsp::HasEditableGain(shape.type);
  sliders_[0]->setEnabled(gain);
  edits_[0]->setEnabled(gain);
}

void CBandEditor::ShowSliderInEdit(int controlId, int position) {
  using namespace vireo::tuning;
  if (controlId == band_editor_id::gainSlider) {
    edits_[0]->setText(QString::fromStdString(BandGainText(position / 10.0)));
  } else if (controlId == band_editor_id::frequencySlider) {
    edits_[1]->setText(QStringLiteral("%1Hz").arg(position));
  } else if (controlId == band_editor_id::qSlider) {
    edits_[2]->setText(QString::fromStdString(BandQText(position / 100.0)));
  }
}

vireo::dsp::BandShape CBandEditor::ReadEdits() const {
  using vireo::tuning::LenientDecimal;
  vireo::dsp::BandShape shape;
  shape.gainDb = LenientDecimal(edits_[0]->text().toStdString());
  shape.frequency = LenientDecimal(edits_[1]->text().toStdString());
  shape.q = LenientDecimal(edits_[2]->text().toStdString());
  return shape;
}

std::array<bool, 3> CBandEditor::ChangedEdits() const {
  std::array<bool, 3> changed{};
  for (std::size_t i = 0; i < edits_.size(); ++i) changed[i] = edits_[i]->text() != shownTexts_[i];
  return changed;
}

void CBandEditor::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Layout();
}

void CBandEditor::Layout() {
  // The number over a column of the five type buttons at the left; gain, frequency and Q to the right.
  const int w = width();
  const int h = height();
  constexpr int kTypeColumn = 62;
  number_->setGeometry(0, 0, kTypeColumn, 30);
  for (int i = 0; i < 5; ++i)
    types_[static_cast<std::size_t>(i)]->setGeometry(4, 36 + i * 24, kTypeColumn - 4, 22);
  const int columnWidth = (w - kTypeColumn) / 3;
  const int editHeight = 24;
  const int sliderTop = 22;
  const int sliderHeight = std::max(40, h - sliderTop - editHeight - 6);
  for (int i = 0; i < 3; ++i) {
    const int x = kTypeColumn + i * columnWidth;
    const auto at = static_cast<std::size_t>(i);
    captions_[at]->setGeometry(x, 0, columnWidth, 18);
    sliders_[at]->setGeometry(x + (columnWidth - 28) / 2, sliderTop, 28, sliderHeight);
    edits_[at]->setGeometry(x + 3, h - editHeight, columnWidth - 6, editHeight);
  }
}
