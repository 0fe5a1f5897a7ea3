// The wait dialog.
#include "home/wait_dlg.h"

#include <QBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "i18n/language_table.h"
#include "look/control_id.h"
#include "look/dialog_look.h"
#include "services/app_services.h"
#include "services/smart_home_link.h"
#include "smarthome/smart_home_controller.h"
#include "smarthome/zwave_frame.h"

namespace {
using vireo::smarthome::WaitKind;
constexpr int kStep = 10;
}  // namespace

CWaitDlg::CWaitDlg(SmartHomeLink& link, WaitKind kind, int node, const QString& text, QWidget* parent,
                   WaitTimings timings)
    : QDialog(parent), link_(link), kind_(kind), node_(node), timings_(timings) {
  SetControlId(this, wait_id::dialog);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setWindowModality(Qt::ApplicationModal);
  text_ = new QLabel(this);
  SetControlId(text_, wait_id::text);
  text_->setAlignment(Qt::AlignCenter);
  text_->setMinimumWidth(260);
  text_->setWordWrap(true);
  progress_ = new QProgressBar(this);
  SetControlId(progress_, wait_id::progress);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  abort_ = new QPushButton(this);
  SetControlId(abort_, wait_id::abort);
  abort_->setAutoDefault(false);
  connect(abort_, &QPushButton::clicked, this, &CWaitDlg::reject);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(18, 16, 18, 14);
  column->setSpacing(12);
  column->addWidget(text_);
  column->addWidget(progress_);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(abort_);
  row->addStretch(1);
  column->addLayout(row);
  Recaption();
  SetText(text);

  step_.setInterval(timings_.stepMs);
  connect(&step_, &QTimer::timeout, this, &CWaitDlg::OnStep);
  step_.start();
  timeout_.setSingleShot(true);
  connect(&timeout_, &QTimer::timeout, this, &CWaitDlg::OnTimeout);
  timeout_.start(timings_.timeoutMs);
  close_.setSingleShot(true);
  connect(&close_, &QTimer::timeout, this, &QDialog::accept);
}

void CWaitDlg::Recaption() {
  setWindowTitle(LangText("请稍等……", "Please wait..."));
  abort_->setText(LangText("强行中止", "Abort"));
  ApplyLanguageTexts(this, wait_id::dialog);
}

int CWaitDlg::progress() const {
  return progress_->value();
}

void CWaitDlg::SetText(const QString& text) {
  plainText_ = text;
  SetTextWithLatinEllipsis(text_, text);
}

void CWaitDlg::OnStep() {
  const int next = progress_->value() + kStep;
  progress_->setValue(next > 100 ? 0 : next);
}

void CWaitDlg::OnZwaveEvent(std::intptr_t a, std::intptr_t b) {
  if (answered_) return;
  const vireo::smarthome::WaitProgress p =
      vireo::smarthome::InterpretWaitEvent(kind_, node_, a, b, LanguageIndex());
  if (!p.relevant) return;
  if (!p.text.empty()) SetText(QString::fromStdString(p.text));
  if (!p.finished) return;
  answered_ = true;
  step_.stop();
  timeout_.stop();
  progress_->setValue(100);
  abort_->setEnabled(false);
  close_.start(timings_.closeDelayMs);
}

void CWaitDlg::OnTimeout() {
  step_.stop();
  // An add or remove mode would otherwise stay on in the controller after the dialog has gone.
  if (kind_ == WaitKind::add || kind_ == WaitKind::remove) SendStop();
  link_.ShowNotice(LangText("发生错误，操作超时……", "Error: the operation timed out..."), kNoticeShortMs);
  accept();
}

void CWaitDlg::reject() {
  // Once answered there is nothing left to stop; the dialog only closes.
  if (!answered_) SendStop();
  QDialog::reject();
}

void CWaitDlg::SendStop() {
  vireo::smarthome::SmartHomeController& controller = link_.controller();
  switch (kind_) {
    case WaitKind::add:
      controller.Abort(vireo::zwave::fn::addNode);
      break;
    case WaitKind::remove:
      controller.Abort(vireo::zwave::fn::removeNode);
      break;
    default:  // set, learn and emit are all a Basic Set on its way ("emit" is a Qt macro here)
      controller.StopSet();
      break;
  }
}
