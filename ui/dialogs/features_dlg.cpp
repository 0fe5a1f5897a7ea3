// The features dialog.
#include "dialogs/features_dlg.h"

#include "services/app_services.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>

#include "controls/xbmp_slider.h"
#include "dialogs/dialog_edits.h"
#include "dialogs/tuning_dialog_kit.h"
#include "look/command_ids.h"
#include "look/control_id.h"
#include "model/parameter_store.h"

namespace {

namespace t = vireo::tuning;
namespace id = features_id;
using FS = t::FeatureSlider;

QString U8(const char* text) {
  return QString::fromUtf8(text);
}

QString Text(FS s, int position) {
  return QString::fromStdString(t::FeatureSliderText(s, position));
}

}  // namespace

CloudnessDlg::CloudnessDlg(AppServices& app, QWidget* parent) : QDialog(parent), app_(app) {
  SetControlId(this, dlg::features);
  MakeModeless(this);
  setWindowTitle(U8("音源设置"));

  auto* boost = MakeDialogGroup(1005, U8("话筒激励"), this);
  auto* boostGrid = new QGridLayout(boost);
  boostBox_ = new QCheckBox(U8("启用"), boost);
  SetControlId(boostBox_, id::boostBox);
  boostGrid->addWidget(boostBox_, 0, 0);
  BuildRow(FS::micBoost, id::boostSlider, 1006, boostGrid, 0, 0, nullptr, boost);

  auto* music = MakeDialogGroup(1007, U8("音乐"), this);
  auto* musicGrid = new QGridLayout(music);
  BuildRow(FS::lowFrequency, 1046, 1008, musicGrid, 0, 1002, "音乐低频频率", music);
  BuildRow(FS::lowDelay, 1047, 1004, musicGrid, 1, 1003, "音乐低频延时", music);
  BuildRow(FS::lowGain, 1048, 1009, musicGrid, 2, 1131, "音乐低频增益", music);

  auto* comp = MakeDialogGroup(1018, U8("音乐压限"), this);
  auto* compGrid = new QGridLayout(comp);
  compBox_ = new QCheckBox(U8("压限启用"), comp);
  SetControlId(compBox_, id::compBox);
  compGrid->addWidget(compBox_, 0, 0, 1, 3);
  BuildRow(FS::compThreshold, 1051, 1014, compGrid, 1, 1134, "阀(阈)", comp);
  BuildRow(FS::compRatio, 1052, 1015, compGrid, 2, 1135, "比率", comp);
  BuildRow(FS::compAttack, 1053, 1016, compGrid, 3, 1136, "启动时间", comp);
  BuildRow(FS::compRelease, 1054, 1017, compGrid, 4, 1137, "释放时间", comp);

  auto* sub = MakeDialogGroup(1013, U8("自动超低"), this);
  auto* subGrid = new QGridLayout(sub);
  subBox_ = new QCheckBox(U8("启用"), sub);
  SetControlId(subBox_, id::subBox);
  subGrid->addWidget(subBox_, 0, 0, 1, 3);
  BuildRow(FS::subRatio, id::subSlider, 1011, subGrid, 1, 1133, "超低比例", sub);
  subNote_ = MakeDialogLabel(
      1021, U8("当检测到话筒信号时，超低音量自动调节成所设置的超低比例，1秒之后，超低音量逐渐恢复成正常比例"),
      sub);
  subNote_->setWordWrap(true);
  subGrid->addWidget(subNote_, 2, 0, 1, 3);

  // The music AGC: filled like the rest, never shown.
  auto* agc = MakeDialogGroup(id::agcGroup, U8("音乐AGC"), this);
  auto* agcRow = new QHBoxLayout(agc);
  agcBox_ = new QCheckBox(U8("启用"), agc);
  SetControlId(agcBox_, id::agcBox);
  agcSlider_ = MakeDialogSlider(id::agcSlider, -500, 0, agc, app_.edits());
  agcValue_ = MakeDialogLabel(1010, QString(), agc);
  agcRow->addWidget(agcBox_);
  agcRow->addWidget(agcSlider_);
  agcRow->addWidget(agcValue_);
  agc->setVisible(false);

  auto* left = new QVBoxLayout;
  left->addWidget(boost);
  left->addWidget(music);
  left->addWidget(sub);
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(comp);
  right->addStretch(1);
  auto* columns = new QHBoxLayout(this);
  columns->addLayout(left);
  columns->addLayout(right);

  connect(boostBox_, &QCheckBox::clicked, this,
          [this](bool on) { DialogEdits(app_.edits()).SetMicBoostOn(on); });
  connect(subBox_, &QCheckBox::clicked, this,
          [this](bool on) { DialogEdits(app_.edits()).SetAutoSubOn(on); });
  connect(compBox_, &QCheckBox::clicked, this,
          [this](bool on) { DialogEdits(app_.edits()).SetMusicCompressorOn(on); });
  InstallWheelRule(this, [](int controlId) {
    return controlId == id::boostSlider || (controlId >= id::lowFrequencySlider && controlId <= 1054);
  });
  FillFeatures();
  ApplyLanguage();
}

QWidget* CloudnessDlg::BuildRow(FS s, int sliderId, int valueId, QGridLayout* grid, int row, int captionId,
                                const char* zh, QWidget* group) {
  const t::FeatureSliderRange range = t::FeatureSliderRangeOf(s);
  const auto k = static_cast<std::size_t>(s);
  QWidget* caption = nullptr;
  if (zh != nullptr) {
    caption = MakeDialogLabel(captionId, U8(zh), group);
    grid->addWidget(caption, row, 0);
  }
  sliders_[k] = MakeDialogSlider(sliderId, range.lo, range.hi, group, app_.edits());
  values_[k] = MakeDialogLabel(valueId, QString(), group);
  values_[k]->setMinimumWidth(56);
  grid->addWidget(sliders_[k], row, 1);
  grid->addWidget(values_[k], row, 2);
  connect(sliders_[k], &CXBmpSlider::positionChanged, this,
          [this, s](int, int position) { OnMoved(s, position); });
  return caption;
}

void CloudnessDlg::FillFeatures() {
  const vireo::ParameterStore& store = app_.store();
  boostBox_->setChecked(t::MicBoostOn(store));
  for (std::size_t k = 0; k < sliders_.size(); ++k) {
    const auto s = static_cast<FS>(k);
    sliders_[k]->SetPos(t::FeatureSliderPosition(store, s));
    values_[k]->setText(Text(s, sliders_[k]->GetPos()));
  }
  subBox_->setChecked(t::AutoSubOn(store));
  agcSlider_->SetPos(t::AgcSliderPosition(store));
  agcValue_->setText(QString::fromStdString(t::AgcText(agcSlider_->GetPos())));
  agcBox_->setChecked(t::AgcOn(store));
  compBox_->setChecked(t::MusicCompressorOn(store));
}

void CloudnessDlg::ApplyLanguage() {
  ApplyDialogTexts(this, dlg::features);
  // A window's smallest size knows nothing of wrapped lines: the note asks for the height its text takes
  // at its narrowest, so it is never cut off or laid over the slider row.
  constexpr int kNoteWidth = 280;
  subNote_->setMinimumSize(kNoteWidth, subNote_->heightForWidth(kNoteWidth));
}

void CloudnessDlg::OnMoved(FS s, int position) {
  const int used = DialogEdits(app_.edits()).MoveFeatureSlider(s, position);
  values_[static_cast<std::size_t>(s)]->setText(Text(s, used));
}

void CloudnessDlg::keyPressEvent(QKeyEvent* event) {
  // Enter closes like Escape: the dialog has no default button.
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    hide();
    return;
  }
  QDialog::keyPressEvent(event);
}
