// The synchronisation dialog.
#include "dialogs/syn_dlg.h"

#include <QBoxLayout>
#include <QLabel>
#include <QProgressBar>

#include "i18n/language_table.h"
#include "look/command_ids.h"
#include "look/control_id.h"
#include "look/dialog_look.h"
#include "services/user_prompts.h"

CSynDlg::CSynDlg(const QString& text, QWidget* parent, int timeoutMs) : QDialog(parent) {
  SetControlId(this, dlg::sync);
  ApplyDialogBackground(this);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  setWindowTitle(LangText("同步过程", "Synchronize"));
  text_ = new QLabel(this);
  SetTextWithLatinEllipsis(
      text_,
      text.isEmpty() ? LangText("当前正在与机器同步数据,请稍候......", "Please wait a moment……") : text);
  text_->setObjectName(QStringLiteral("syncText"));
  auto* bar = new QProgressBar(this);
  bar->setRange(0, 0);  // a marquee: no end is known
  bar->setTextVisible(false);
  bar->setMinimumWidth(320);
  auto* column = new QVBoxLayout(this);
  column->addWidget(text_);
  column->addWidget(bar);
  timeout_.setSingleShot(true);
  connect(&timeout_, &QTimer::timeout, this, &CSynDlg::OnTimeout);
  timeout_.start(timeoutMs);
}

QString CSynDlg::shownText() const {
  return text_->text();
}

void CSynDlg::Finish() {
  timeout_.stop();
  accept();
}

void CSynDlg::OnTimeout() {
  timedOut_ = true;
  done(QDialog::Rejected);
  emit syncTimedOut();
}

void ShowSyncTimeoutMessage(QWidget* owner) {
  ShowMessage(owner, QString::fromUtf8("发生错误，与设备数据同步超时……"), QString::fromUtf8("错误"),
              BoxIcon::error);
}
