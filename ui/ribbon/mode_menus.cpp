// The mode-slot menus.
#include "ribbon/mode_menus.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "i18n/language_table.h"
#include "look/command_ids.h"
#include "look/control_id.h"
#include "ribbon/mode_slot_texts.h"

namespace {
// The current mode's mark. Checkable items would draw an empty box in front of every other slot, which
// reads as four options to tick rather than one mode in force.
QIcon CheckMark(const QWidget* owner) {
  const qreal ratio = owner != nullptr ? owner->devicePixelRatioF() : 1.0;
  QPixmap pixmap(QSize(16, 16) * ratio);
  pixmap.setDevicePixelRatio(ratio);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(32, 96, 176), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  QPainterPath tick;
  tick.moveTo(3.5, 8.5);
  tick.lineTo(6.5, 11.5);
  tick.lineTo(12.5, 4.5);
  p.drawPath(tick);
  return QIcon(pixmap);
}
}  // namespace

CModeMenus::CModeMenus(QWidget* parent)
    : QObject(parent), load_(new QMenu(parent)), save_(new QMenu(parent)) {
  Fill(load_, cmd::loadSlotFirst);
  Fill(save_, cmd::saveSlotFirst);
  Recaption(LanguageIndex());
}

void CModeMenus::Fill(QMenu* menu, int firstId) {
  for (int slot = 0; slot < 4; ++slot) {
    QAction* action = menu->addAction(QString());
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
  // The command-update timer calls this many times a second; the menus change only with the mode.
  if (mode == shownMode_) return;
  shownMode_ = mode;
  for (QMenu* menu : {load_, save_}) {
    const auto actions = menu->actions();
    const QIcon mark = CheckMark(menu->parentWidget());
    for (int slot = 0; slot < actions.size(); ++slot) {
      actions[slot]->setIcon(slot == mode ? mark : QIcon());
      // Screen readers and tests read the state from here; the icon is what the eye sees.
      actions[slot]->setData(slot == mode);
    }
  }
}
