// The notice pop-up.
#include "dialogs/info_dlg.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "i18n/language_table.h"
#include "look/command_ids.h"
#include "look/control_id.h"
#include "look/dialog_look.h"

namespace {
constexpr int kMessageId = 1223;
constexpr int kCloseId = 2;
constexpr int kMessageFontHeight = 18;
constexpr int kMessageFontWeight = 500;
}  // namespace

CInfoDlg::CInfoDlg(QWidget* parent) : QDialog(parent) {
  SetControlId(this, dlg::info);
  ApplyDialogBackground(this);
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  // A notice comes while the user works (a slider, a typed value): it must not take the keyboard away.
  // (The off-screen test platform activates every window it shows, so only a desktop session shows this.)
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);

  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
  message_ = new QLabel(this);
  SetControlId(message_, kMessageId);
  message_->setFont(SongTiFont(kMessageFontHeight, kMessageFontWeight));
  message_->setMinimumWidth(260);
  message_->setWordWrap(true);
  close_ = new QPushButton(this);
  SetControlId(close_, kCloseId);
  close_->setFocusPolicy(Qt::ClickFocus);
  connect(close_, &QPushButton::clicked, this, &QDialog::close);

  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addWidget(message_, 1);
  auto* column = new QVBoxLayout(this);
  column->addLayout(row);
  column->addWidget(close_, 0, Qt::AlignRight);
  Recaption();
}

void CInfoDlg::SetMessage(const QString& text) {
  plainMessage_ = text;
  SetTextWithLatinEllipsis(message_, text);
  adjustSize();
}

QString CInfoDlg::message() const {
  return plainMessage_;
}

void CInfoDlg::Recaption() {
  setWindowTitle(LangText("信息", "Information"));
  close_->setText(LangText("关闭", "Close"));
}
