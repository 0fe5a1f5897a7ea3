// The target and fit windows.
#include "pages/eq_fit_dialogs.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "i18n/language_table.h"
#include "look/dialog_look.h"
#include "services/user_prompts.h"

namespace {

QDialogButtonBox* OkCancel(QDialog* dialog, QPushButton** ok) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  *ok = buttons->button(QDialogButtonBox::Ok);
  (*ok)->setText(LangText("确定", "OK"));
  buttons->button(QDialogButtonBox::Cancel)->setText(LangText("取消", "Cancel"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

QDoubleSpinBox* DbBox(double lo, double hi, double step, QWidget* parent) {
  auto* box = new QDoubleSpinBox(parent);
  box->setRange(lo, hi);
  box->setDecimals(1);
  box->setSingleStep(step);
  box->setSuffix(QStringLiteral(" dB"));
  return box;
}

QSpinBox* HzBox(int value, QWidget* parent) {
  auto* box = new QSpinBox(parent);
  box->setRange(20, 20000);
  box->setSuffix(QStringLiteral(" Hz"));
  box->setAccelerated(true);
  box->setValue(value);
  return box;
}

}  // namespace

CEqTargetDlg::CEqTargetDlg(const EqTargetChoice& choice, QWidget* parent)
    : QDialog(parent),
      flat_(new QRadioButton(LangText("平直(&F)", "&Flat"), this)),
      room_(new QRadioButton(LangText("房间曲线(&R)", "&Room curve"), this)),
      file_(new QRadioButton(LangText("文件(&I)", "F&ile"), this)),
      tilt_(DbBox(vireo::measure::kRoomTiltMin, vireo::measure::kRoomTiltMax, 0.1, this)),
      bass_(DbBox(0.0, vireo::measure::kRoomBassRiseMax, 0.5, this)),
      path_(new QLineEdit(this)),
      browse_(new QPushButton(LangText("浏览(&W)…", "Bro&wse…"), this)) {
  setWindowTitle(LangText("目标曲线", "Target"));
  ApplyDialogBackground(this);
  tilt_->setSuffix(LangText(" dB/十倍频", " dB/decade"));
  tilt_->setValue(choice.room.tiltDbPerDecade);
  bass_->setValue(choice.room.bassRiseDb);
  path_->setText(choice.path);
  path_->setMinimumWidth(280);
  (choice.kind == EqTargetChoice::Kind::room   ? room_
   : choice.kind == EqTargetChoice::Kind::file ? file_
                                               : flat_)
      ->setChecked(true);

  auto* roomForm = new QFormLayout;
  roomForm->setContentsMargins(24, 0, 0, 0);
  roomForm->addRow(LangText("倾斜:", "Tilt:"), tilt_);
  roomForm->addRow(LangText("低频提升:", "Bass rise:"), bass_);
  auto* hint = new QLabel(LangText("在 1 kHz 处为 0 dB；低频提升的一半位于 150 Hz。",
                                   "0 dB at 1 kHz; half of the bass rise is at 150 Hz."),
                          this);
  hint->setWordWrap(true);
  roomForm->addRow(hint);
  auto* fileRow = new QHBoxLayout;
  fileRow->setContentsMargins(24, 0, 0, 0);
  fileRow->addWidget(path_, 1);
  fileRow->addWidget(browse_);
  browse_->setAutoDefault(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(flat_);
  layout->addWidget(room_);
  layout->addLayout(roomForm);
  layout->addWidget(file_);
  layout->addLayout(fileRow);
  layout->addWidget(OkCancel(this, &ok_));

  for (QRadioButton* b : {flat_, room_, file_}) connect(b, &QRadioButton::toggled, this, &CEqTargetDlg::Enable);
  connect(path_, &QLineEdit::textChanged, this, &CEqTargetDlg::Enable);
  connect(browse_, &QPushButton::clicked, this, [this] {
    FileDialogRequest request;
    request.filter = LangText("测量文件 (*.txt *.csv *.tsv *.frd);;所有文件 (*)",
                              "Measurements (*.txt *.csv *.tsv *.frd);;All files (*)");
    const QString path = Prompts().ChooseFile(this, request);
    if (path.isEmpty()) return;
    path_->setText(path);
    file_->setChecked(true);
  });
  Enable();
}

void CEqTargetDlg::Enable() {
  tilt_->setEnabled(room_->isChecked());
  bass_->setEnabled(room_->isChecked());
  ok_->setEnabled(!file_->isChecked() || !path_->text().trimmed().isEmpty());
}

EqTargetChoice CEqTargetDlg::choice() const {
  EqTargetChoice c;
  c.kind = room_->isChecked()   ? EqTargetChoice::Kind::room
           : file_->isChecked() ? EqTargetChoice::Kind::file
                                : EqTargetChoice::Kind::flat;
  c.room.tiltDbPerDecade = tilt_->value();
  c.room.bassRiseDb = bass_->value();
  c.path = path_->text().trimmed();
  return c;
}

CEqFitDlg::CEqFitDlg(const EqFitChoice& choice, int freeBands, QWidget* parent)
    : QDialog(parent),
      bands_(new QSpinBox(this)),
      from_(HzBox(choice.fromHz, this)),
      to_(HzBox(choice.toHz, this)),
      boost_(DbBox(0.0, 15.0, 0.5, this)),
      shelves_(new QCheckBox(LangText("另加低架和高架(&S)", "Also a low and a high &shelf"), this)) {
  setWindowTitle(LangText("拟合频段", "Fit bands"));
  ApplyDialogBackground(this);
  bands_->setRange(1, std::max(1, freeBands));
  bands_->setValue(std::clamp(choice.bands, 1, std::max(1, freeBands)));
  boost_->setValue(choice.maxBoostDb);
  shelves_->setChecked(choice.shelves);
  auto* about = new QLabel(LangText("按测量和目标曲线重设均衡的频段。可以撤销。",
                                    "Sets the equaliser's bands from the measurement and the target. "
                                    "Undo takes it back."),
                           this);
  about->setWordWrap(true);
  auto* form = new QFormLayout;
  form->addRow(LangText("使用频段数(&B):", "&Bands to use:"), bands_);
  form->addRow(LangText("起始频率(&F):", "&From:"), from_);
  form->addRow(LangText("终止频率(&T):", "&To:"), to_);
  form->addRow(LangText("最大提升(&M):", "&Maximum boost:"), boost_);
  form->addRow(shelves_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(about);
  layout->addLayout(form);
  layout->addWidget(OkCancel(this, &ok_));
  // The range must keep at least an octave, so the fit has points to work with.
  auto check = [this] { ok_->setEnabled(to_->value() >= 2 * from_->value()); };
  connect(from_, &QSpinBox::valueChanged, this, check);
  connect(to_, &QSpinBox::valueChanged, this, check);
  check();
}

EqFitChoice CEqFitDlg::choice() const {
  EqFitChoice c;
  c.bands = bands_->value();
  c.fromHz = from_->value();
  c.toHz = to_->value();
  c.maxBoostDb = boost_->value();
  c.shelves = shelves_->isChecked();
  return c;
}
