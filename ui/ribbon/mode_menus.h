// The load and save menus of the mode buttons: the four slots, the current one checked.
#pragma once

#include <QObject>

class QMenu;
class QWidget;

class CModeMenus : public QObject {
  Q_OBJECT
 public:
  explicit CModeMenus(QWidget* parent);

  QMenu* loadMenu() const { return load_; }
  QMenu* saveMenu() const { return save_; }
  void Recaption(int languageIndex);
  // Marks the item of `mode` (0..3) in both menus: a tick in front of it; its action's data is true.
  void SetCurrentMode(int mode);

 signals:
  void commandTriggered(int id);

 private:
  void Fill(QMenu* menu, int firstId);

  QMenu* load_;
  QMenu* save_;
  int shownMode_ = -2;
};
