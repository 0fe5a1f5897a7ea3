// The mode-slot menus.
#include "ribbon/mode_menus.h"

#include <QAction>
#include <QMenu>

#include "i18n/language_table.h"
#include "shell/command_ids.h"
#include "shell/control_id.h"
#include "shell/mode_slot_texts.h"

CModeMenus::CModeMenus(QWidget* parent)
    : QObject(parent), load_(new QMenu(parent)), save_(new QMenu(parent)) {
  Fill(load_, cmd::loadSlotFirst);
  Fill(save_, cmd::saveSlotFirst);
  Recaption(LanguageIndex());
}

void CModeMenus::Fill(QMenu* menu, int firstId) {
  for (int slot = 0; slot < 4; ++slot) {
    QAction* action = menu->addAction(QString());
    action->setCheckable(true);
    SetControlId(action, firstId + slot);
    connect(action, &QAction::triggered, this, [this, id = firstId + slot] { emit commandTriggered(id); });
  }
}

void CModeMenus::Recaption(int languageIndex) {
  for (QMenu* menu : {load_, save_}) {
    const auto actions = menu->actions();
    for (int slot = 0; slot < actions.size(); ++slot)
      actions[slot]->setText(ModeSlotName(slot, languageIndex));
  }
}

void CModeMenus::SetCurrentMode(int mode) {
  for (QMenu* menu : {load_, save_}) {
    const auto actions = menu->actions();
    for (int slot = 0; slot < actions.size(); ++slot) actions[slot]->setChecked(slot == mode);
  }
}
