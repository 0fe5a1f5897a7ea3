// The switch dialog.
#include "home/switch_dlg.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "home/smart_home_pages.h"
#include "i18n/language_table.h"
#include "look/control_id.h"
#include "look/dialog_look.h"
#include "services/app_services.h"
#include "services/smart_home_link.h"
#include "smarthome/smart_home_controller.h"

namespace sh = vireo::smarthome;

void SetPlugValue(SmartHomeLink& link, const StartWaitFn& startWait, int node, int value,
                  const QString& text) {
  if (!StartedOrAskForMachine(link, link.connected() && link.controller().SetValue(node, value))) return;
  if (startWait) startWait(sh::WaitKind::set, node, text);
}

QString PlugNameText(SmartHomeLink& link, int node) {
  const std::u16string name = link.controller().memory().plug(node).name;
  return QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size()));
}

CDlgZwaveSwitch::CDlgZwaveSwitch(SmartHomeLink& link, int node, StartWaitFn startWait, QWidget* parent)
    : QDialog(parent), link_(link), node_(node), startWait_(std::move(startWait)) {
  SetControlId(this, switch_id::dialog);
  setAttribute(Qt::WA_DeleteOnClose);
  name_ = new QLabel(PlugNameText(link, node), this);
  SetControlId(name_, switch_id::name);
  name_->setAlignment(Qt::AlignCenter);
  name_->setFont(HeiTiFont(16, 400));
  on_ = new QPushButton(this);
  off_ = new QPushButton(this);
  SetControlId(on_, switch_id::on);
  SetControlId(off_, switch_id::off);
  for (QPushButton* b : {on_, off_}) {
    b->setMinimumSize(96, 40);
    b->setAutoDefault(false);
  }
  connect(on_, &QPushButton::clicked, this, [this] { Set(sh::kValueFull); });
  connect(off_, &QPushButton::clicked, this, [this] { Set(sh::kValueOff); });

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(20, 16, 20, 18);
  column->setSpacing(14);
  column->addWidget(name_);
  auto* row = new QHBoxLayout;
  row->setSpacing(16);
  row->addWidget(on_);
  row->addWidget(off_);
  column->addLayout(row);
  Recaption();
}

void CDlgZwaveSwitch::Recaption() {
  setWindowTitle(LangText("开关插座", "Switch plug"));
  on_->setText(LangText("开", "ON"));
  off_->setText(LangText("关", "OFF"));
  ApplyLanguageTexts(this, switch_id::dialog);
}

void CDlgZwaveSwitch::Set(int value) {
  SetPlugValue(link_, startWait_, node_, value,
               value == sh::kValueOff ? LangText("设备关闭操作", "Turning the plug off")
                                      : LangText("设备开启操作", "Turning the plug on"));
}
