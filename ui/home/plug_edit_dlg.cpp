// The plug dialog.
#include "home/plug_edit_dlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "home/plug_pictures.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "services/app_services.h"
#include "services/smart_home_link.h"
#include "smarthome/plug_name.h"
#include "smarthome/scene_editing.h"
#include "smarthome/smart_home_controller.h"

namespace {

namespace id = plug_edit_id;
namespace sh = vireo::smarthome;

QString FromU16(const std::u16string& text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

QString NameNotice(sh::PlugNameCheck check) {
  return QString::fromStdString(sh::PlugNameNotice(check, LanguageIndex()));
}

QLabel* Caption(int controlId, QWidget* parent) {
  auto* label = new QLabel(parent);
  SetControlId(label, controlId);
  return label;
}

}  // namespace

QString ProposedPlugName(SmartHomeLink& link) {
  const sh::SmartHomeController& controller = link.controller();
  std::vector<std::u16string> taken;
  for (int node : controller.presentPlugs()) taken.push_back(controller.memory().plug(node).name);
  return FromU16(sh::ProposePlugName(taken));
}

CDlgZwaveEdit::CDlgZwaveEdit(SmartHomeLink& link, Mode mode, const sh::PlugRecord& record, QWidget* parent)
    : QDialog(parent), link_(link), mode_(mode) {
  SetControlId(this, id::dialog);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::WindowModal);
  type_ = new QComboBox(this);
  SetControlId(type_, id::typeList);
  type_->addItem(PlugIcon(1, 16), QString(), 1);
  type_->addItem(PlugIcon(2, 16), QString(), 2);
  name_ = new QLineEdit(this);
  SetControlId(name_, id::name);
  name_->setMinimumWidth(180);
  ok_ = new QPushButton(this);
  SetControlId(ok_, id::ok);
  ok_->setDefault(true);
  cancel_ = new QPushButton(this);
  SetControlId(cancel_, id::cancel);
  cancel_->setAutoDefault(false);
  connect(ok_, &QPushButton::clicked, this, &CDlgZwaveEdit::accept);
  connect(cancel_, &QPushButton::clicked, this, &CDlgZwaveEdit::reject);
  connect(name_, &QLineEdit::textEdited, this, &CDlgZwaveEdit::OnNameEdited);

  auto* grid = new QGridLayout;
  grid->addWidget(Caption(id::typeCaption, this), 0, 0);
  grid->addWidget(type_, 0, 1);
  grid->addWidget(Caption(id::nameCaption, this), 1, 0);
  grid->addWidget(name_, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(16, 14, 16, 12);
  column->setSpacing(12);
  column->addLayout(grid);
  column->addLayout(buttons);

  if (mode == Mode::add) {
    type_->setCurrentIndex(0);
    name_->setText(ProposedPlugName(link));
  } else {
    const int at = type_->findData(record.type);
    type_->setCurrentIndex(at < 0 ? 0 : at);
    name_->setText(FromU16(record.name));
  }
  name_->selectAll();
  Recaption();
}

void CDlgZwaveEdit::Recaption() {
  setWindowTitle(LangText("插座设置", "Plug setting"));
  type_->setItemText(0, LangText("开关插座", "Switch"));
  type_->setItemText(1, LangText("调压插座", "Knob"));
  FindByControlId<QLabel>(this, id::typeCaption)->setText(LangText("类型", "Type"));
  FindByControlId<QLabel>(this, id::nameCaption)->setText(LangText("名称", "Name"));
  cancel_->setText(LangText("取消", "Cancel"));
  ApplyLanguageTexts(this, id::dialog);
  // The confirming button's caption depends on the mode, so it is not taken from the table.
  ok_->setText(mode_ == Mode::add ? LangText("添加", "Add") : LangText("修改", "Modify"));
}

sh::PlugRecord CDlgZwaveEdit::record() const {
  std::u16string name;
  sh::CheckPlugName(name_->text().toStdString(), &name);  // the record holds what the check kept
  return sh::PlugRecord{static_cast<std::uint8_t>(type_->currentData().toInt()), name};
}

void CDlgZwaveEdit::OnNameEdited(const QString& text) {
  std::u16string kept;
  const sh::PlugNameCheck check = sh::CheckPlugName(text.toStdString(), &kept);
  if (check != sh::PlugNameCheck::tooLong) return;
  const int cursor = std::min(name_->cursorPosition(), static_cast<int>(kept.size()));
  name_->setText(FromU16(kept));
  name_->setCursorPosition(cursor);
  link_.ShowNotice(NameNotice(check), kNoticeShortMs);
}

void CDlgZwaveEdit::accept() {
  std::u16string kept;
  // QString::toStdString() is UTF-8, with any lone surrogate already replaced, so the check is the one
  // `vireo-cli plug` makes of its argument.
  const sh::PlugNameCheck check = sh::CheckPlugName(name_->text().toStdString(), &kept);
  switch (check) {
    case sh::PlugNameCheck::empty:
    case sh::PlugNameCheck::notUtf8:
      link_.ShowNotice(NameNotice(check), kNoticeShortMs);
      name_->setFocus();
      return;
    case sh::PlugNameCheck::tooLong:
      // Set programmatically past the edit check: the first 12 are kept and shown before confirming.
      name_->setText(FromU16(kept));
      link_.ShowNotice(NameNotice(check), kNoticeShortMs);
      return;
    case sh::PlugNameCheck::ok:
      break;
  }
  QDialog::accept();
}
