// The compressor page.
#include "pages/comp_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QWheelEvent>

#include "controls/compress_panel.h"
#include "controls/xbmp_slider.h"
#include "dsp/compressor_curve.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "look/dialog_look.h"
#include "model/field_ranges.h"
#include "model/parameter_store.h"
#include "model/store_layout.h"
#include "pages/comp_layout.h"
#include "pages/output_nav.h"
#include "pages/page_edits.h"
#include "pages/page_switch.h"
#include "pages/page_texts.h"

namespace t = vireo::tuning;

namespace {
struct SliderCaption {
  const char* zh;
  const char* en;
};
constexpr std::array<SliderCaption, t::kCompSliderCount> kCaptions{{{"阀(阈)", "Threshold"},
                                                                    {"衰减比例", "Ratio"},
                                                                    {"启动时间", "Attack time"},
                                                                    {"释放时间", "Release time"}}};

t::CompSlider SliderAt(std::size_t i) {
  return static_cast<t::CompSlider>(i);
}
}  // namespace

CCompDlg::CCompDlg(AppServices& services, QWidget* parent)
    : CPage(PageKind::comp, services, parent),
      channelCaption_(new QLabel(this)),
      channels_(new QComboBox(this)),
      onBox_(new QCheckBox(this)),
      curve_(new CCompressPanelPlus(this)),
      nav_(new COutputNavBar(this)) {
  SetControlId(channels_, comp_page_id::channelCombo);
  SetControlId(onBox_, comp_page_id::onBox);
  SetControlId(curve_, comp_page_id::curve);
  curve_->SetStart(vireo::dsp::kCompCurveStartDb);
  BuildSliders();
  FillChannels();
  ApplyTexts();
  connect(channels_, &QComboBox::activated, this, [this](int index) { ShowChannel(index); });
  connect(onBox_, &QCheckBox::clicked, this, [this](bool checked) { OnSwitchClicked(checked); });
  RefreshFromStore();
}

void CCompDlg::BuildSliders() {
  for (std::size_t i = 0; i < sliders_.size(); ++i) {
    const int k = static_cast<int>(i);
    const t::CompSliderRange range = t::CompSliderRangeOf(SliderAt(i));
    captions_[i] = new QLabel(this);
    sliders_[i] = new CXBmpSlider(comp_page_id::firstSlider + k, this);
    sliders_[i]->SetMargins(kCompressorSliderMargins);
    sliders_[i]->SetBackgroundColor(kDialogBackground);
    sliders_[i]->SetRange(range.lo, range.hi);
    TrackEditGestures(sliders_[i], app().edits());
    values_[i] = new QLineEdit(this);
    SetControlId(values_[i], comp_page_id::firstValueBox + k);
    // The value box only shows the value: what is typed there is never read.
    values_[i]->setReadOnly(true);
    values_[i]->setAlignment(Qt::AlignCenter);
    values_[i]->setFocusPolicy(Qt::NoFocus);
    connect(sliders_[i], &CXBmpSlider::positionChanged, this,
            [this, i](int, int position) { OnSliderMoved(SliderAt(i), position); });
  }
}

void CCompDlg::ApplyTexts() {
  CPage::ApplyLanguage();
  channelCaption_->setText(DialogText(templateId(), comp_page_id::channelCombo, "选择通道", "Select CH"));
  onBox_->setText(DialogText(templateId(), comp_page_id::onBox, "压限启用", "Comp ON"));
  for (std::size_t i = 0; i < captions_.size(); ++i) {
    captions_[i]->setText(DialogText(templateId(), comp_page_id::firstSlider + static_cast<int>(i),
                                     kCaptions[i].zh, kCaptions[i].en));
  }
}

void CCompDlg::FillChannels() {
  const int selected = channels_->currentIndex();
  channels_->clear();
  for (int c = 1; c <= vireo::kOutputChannels; ++c) {
    channels_->addItem(LanguageIndex() == 1 ? QStringLiteral("CH %1").arg(c)
                                            : QString::fromUtf8("通道%1").arg(c));
  }
  channels_->setCurrentIndex(selected < 0 ? 0 : selected);
}

void CCompDlg::ShowChannel(int channel) {
  if (channel < 0 || channel >= vireo::kOutputChannels) return;
  channel_ = channel;
  channels_->setCurrentIndex(channel);
  RefreshFromStore();
}

void CCompDlg::RefreshFromStore() {
  const vireo::ParameterStore& store = app().store();
  onBox_->setChecked(t::CompressorOn(store, channel_));
  for (std::size_t i = 0; i < sliders_.size(); ++i) {
    const int position = t::CompSliderPosition(store, channel_, SliderAt(i));
    sliders_[i]->SetPos(position);
    values_[i]->setText(QString::fromStdString(t::CompStoredText(store, channel_, SliderAt(i))));
  }
  curve_->SetOn(onBox_->isChecked());
  const vireo::CompressorSettings stored = vireo::StoredCompressor(store, channel_);
  curve_->SetThreshold(stored.threshold);
  curve_->SetSlope(1.0f / stored.ratio);
  curve_->update();
}

void CCompDlg::ShowValue(t::CompSlider slider, int position) {
  values_[static_cast<std::size_t>(slider)]->setText(
      QString::fromStdString(t::CompSliderText(slider, position)));
}

void CCompDlg::OnSliderMoved(t::CompSlider slider, int position) {
  const vireo::CompressorSettings sent = pageEdits().MoveCompSlider(channel_, slider, position);
  ShowValue(slider, position);
  curve_->SetThreshold(sent.threshold);
  curve_->SetSlope(1.0f / sent.ratio);
  curve_->update();
}

void CCompDlg::OnSwitchClicked(bool checked) {
  pageEdits().SetCompressorOn(channel_, checked);
  curve_->SetOn(checked);
  curve_->update();
}

void CCompDlg::ApplyLanguage() {
  ApplyTexts();
  nav_->ApplyLanguage();
  FillChannels();
}

void CCompDlg::resizeEvent(QResizeEvent* event) {
  CPage::resizeEvent(event);
  nav_->setGeometry(0, 0, width(), kOutputNavHeight);
  // The controls share the page below the navigation bar.
  const CompPageLayout l = LayoutCompPage(size() - QSize(0, kOutputNavHeight));
  const auto below = [](const QRect& r) { return r.translated(0, kOutputNavHeight); };
  channelCaption_->setGeometry(below(l.channelCaption));
  channels_->setGeometry(below(l.channelCombo));
  onBox_->setGeometry(below(l.onBox));
  for (std::size_t i = 0; i < sliders_.size(); ++i) {
    captions_[i]->setGeometry(below(l.rows[i].caption));
    sliders_[i]->setGeometry(below(l.rows[i].slider));
    values_[i]->setGeometry(below(l.rows[i].value));
  }
  curve_->setGeometry(below(l.curve));
}

void CCompDlg::wheelEvent(QWheelEvent* event) {
  if (!ForwardWheelToFocus(this, event)) CPage::wheelEvent(event);
}
