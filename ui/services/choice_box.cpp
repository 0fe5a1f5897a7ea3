// The three-choice message dialog.
#include "services/choice_box.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "i18n/language_table.h"
#include "look/command_ids.h"
#include "look/control_id.h"
#include "look/dialog_look.h"

namespace {
constexpr int kMessageId = 1186;
constexpr int kFirstId = 1;
constexpr int kSecondId = 3;
constexpr int kCancelId = 2;
}  // namespace

CDlgMsgBox::CDlgMsgBox(const QString& message, const QString& firstChoice, const QString& secondChoice,
                       QWidget* parent)
    : QDialog(parent) {
  SetControlId(this, dlg::choiceBox);
  ApplyDialogBackground(this);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  auto* text = new QLabel(message, this);
  SetControlId(text, kMessageId);
  text->setWordWrap(true);
  text->setMinimumWidth(300);
  auto* first = new QPushButton(firstChoice, this);
  SetControlId(first, kFirstId);
  auto* second = new QPushButton(secondChoice, this);
  SetControlId(second, kSecondId);
  auto* cancel = new QPushButton(LangText("取消", "Cancel"), this);
  SetControlId(cancel, kCancelId);
  connect(first, &QPushButton::clicked, this, [this] {
    choice_ = 1;
    accept();
  });
  connect(second, &QPushButton::clicked, this, [this] {
    choice_ = 2;
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(first);
  buttons->addWidget(second);
  buttons->addWidget(cancel);
  auto* column = new QVBoxLayout(this);
  column->addWidget(text);
  column->addLayout(buttons);
  // The cancel caption may come from the language table like the other dialogs' captions.
  ApplyLanguageTexts(this, dlg::choiceBox);
}
