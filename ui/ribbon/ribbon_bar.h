// The ribbon: application button and menu, the Input and Output categories, the tab-row buttons.
#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "ribbon/master_levels.h"

class CApplicationMenu;
class CModeMenus;
class CRibbonCategory;
class QStackedWidget;
class QTabBar;
class QToolButton;

inline constexpr int kInputCategory = 0;
inline constexpr int kOutputCategory = 1;

class CRibbonBar : public QWidget {
  Q_OBJECT
 public:
  CRibbonBar(int languageIndex, std::function<QStringList()> recentFiles, QWidget* parent = nullptr);

  CRibbonCategory* category(int index) const { return categories_[static_cast<std::size_t>(index)]; }
  // The category whose tab is selected: kInputCategory or kOutputCategory.
  int shownCategory() const;
  void SelectCategory(int index);
  QString categoryCaption(int index) const;

  CApplicationMenu* applicationMenu() const { return appMenu_; }
  CModeMenus* modeMenus() const { return modeMenus_; }
  QToolButton* tabRowButton(int id) const;
  QTabBar* tabBar() const { return tabs_; }

  // Rewrites the category captions and the tab-row buttons in `languageIndex`.
  void RecaptionShell(int languageIndex);
  // The Undo and Redo buttons beside the application button.
  void SetUndoRedoEnabled(bool canUndo, bool canRedo);
  // The master level under `pos` (ribbon coordinates) in the shown category.
  bool WheelTargetAt(const QPoint& pos, MasterLevel* level) const;

 signals:
  void commandTriggered(int id);
  void recentFileChosen(const QString& path);
  void categoryChanged(int index);
  void sliderMoved(int category, MasterLevel level, int value);
  void muteClicked(int category, MasterLevel level);
  // A wheel turn over the ribbon: +1 forward, -1 backward; `pos` in ribbon coordinates.
  void wheelTurned(const QPoint& pos, int direction);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* BuildTabRow(int languageIndex, std::function<QStringList()> recentFiles);
  void AddTabRowButton(QLayout* row, int id);
  void AddQuickAccessButton(QLayout* row, int id);
  void WatchWheel(QWidget* widget);

  QTabBar* tabs_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  CApplicationMenu* appMenu_ = nullptr;
  CModeMenus* modeMenus_ = nullptr;
  std::array<CRibbonCategory*, 2> categories_{};
};
