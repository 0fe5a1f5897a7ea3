// The About dialog.
#include "dialogs/about_dlg.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "controls/ribbon_icons.h"
#include "look/command_ids.h"
#include "look/control_id.h"
#include "look/dialog_look.h"
#include "model/parameter_store.h"

namespace {
constexpr int kModuleLine = 1005;
constexpr int kMcuLine = 1007;
constexpr int kDspLine = 1006;
constexpr int kPeakBox = 1045;
constexpr int kOkId = 1;

QString FromU16(const std::u16string& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}
}  // namespace

CAboutDlg::CAboutDlg(const vireo::ParameterStore& store, bool pollingEnabled,
                     std::function<void(bool)> setPolling, QWidget* parent)
    : QDialog(parent) {
  SetControlId(this, dlg::about);
  setWindowTitle(QStringLiteral("About"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  ApplyDialogBackground(this);

  auto* icon = new QLabel(this);
  icon->setPixmap(RibbonIcon(RibbonPicture::application).pixmap(48, 48));
  auto* title = new QLabel(QStringLiteral("Vireo, Version 1.0"), this);
  auto* date = new QLabel(QStringLiteral("Build Date:2015-06-10"), this);
  auto* module = new QLabel(this);
  auto* mcu = new QLabel(this);
  auto* dsp = new QLabel(this);
  SetControlId(module, kModuleLine);
  SetControlId(mcu, kMcuLine);
  SetControlId(dsp, kDspLine);
  peak_ = new QCheckBox(QStringLiteral("Peak"), this);
  SetControlId(peak_, kPeakBox);
  peak_->setChecked(pollingEnabled);
  connect(peak_, &QCheckBox::clicked, this, [setPolling = std::move(setPolling)](bool on) {
    if (setPolling) setPolling(on);
  });
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  SetControlId(ok, kOkId);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  auto* texts = new QVBoxLayout;
  for (QWidget* w : std::initializer_list<QWidget*>{title, date, module, mcu, dsp, peak_})
    texts->addWidget(w);
  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addLayout(texts, 1);
  row->addWidget(ok, 0, Qt::AlignTop);
  auto* column = new QVBoxLayout(this);
  column->addLayout(row);

  for (QWidget* w : std::initializer_list<QWidget*>{module, mcu, dsp, peak_}) w->setVisible(false);
  if (store.connected()) {
    module->setText(QStringLiteral("Module:%1").arg(FromU16(store.modelName())));
    mcu->setText(QString::asprintf("MCU Ver:%s CMD Ver:%02d",
                                   FromU16(store.firmwareDate()).toUtf8().constData(),
                                   static_cast<int>(store.deviceKind())));
    dsp->setText(QStringLiteral("DSP Ver:%1").arg(FromU16(store.secondDate())));
    mcu->setVisible(true);
    dsp->setVisible(true);
  }
}

QLabel* CAboutDlg::line(int id) const {
  return FindByControlId<QLabel>(this, id);
}

void CAboutDlg::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_F11) {
    QDialog::keyReleaseEvent(event);
    return;
  }
  const Qt::KeyboardModifiers held = event->modifiers();
  if ((held & Qt::ControlModifier) && (held & Qt::ShiftModifier)) {
    line(kModuleLine)->setVisible(true);
    peak_->setVisible(true);
  }
  event->accept();
}
