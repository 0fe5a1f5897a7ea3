// One ribbon category (Input or Output): the eight panels with the master levels and the file commands.
#pragma once

#include <QWidget>
#include <array>

#include "look/command_ids.h"
#include "ribbon/master_levels.h"

class CRibbonPanel;
class CStepSlider;
class QCheckBox;
class QLabel;
class QMenu;
class QToolButton;

class CRibbonCategory : public QWidget {
  Q_OBJECT
 public:
  CRibbonCategory(const CategoryIds& ids, QMenu* loadMenu, QMenu* saveMenu, int languageIndex,
                  QWidget* parent = nullptr);

  const CategoryIds& ids() const { return ids_; }
  CRibbonPanel* panel(int number) const { return panels_[static_cast<std::size_t>(number - 1)]; }
  CStepSlider* slider(MasterLevel level) const;
  QLabel* label(MasterLevel level) const;       // nullptr for the pitch
  QCheckBox* muteBox(MasterLevel level) const;  // nullptr for levels without one
  QToolButton* button(int id) const;
  // Wireless microphone 0 or 1, text 0 (RF/AF), 1 (frequency) or 2 (battery).
  QLabel* wirelessLabel(int microphone, int text) const;

  // The master level whose wheel area contains `pos` (this widget's coordinates): panels 1..5 whole,
  // then the pitch slider, then the noise-gate slider.
  bool WheelTargetAt(const QPoint& pos, MasterLevel* level) const;

 signals:
  void commandTriggered(int id);
  void sliderMoved(MasterLevel level, int value);
  void muteClicked(MasterLevel level);

 protected:
  // The wireless-microphone panel gives way when the window is too narrow for all panels.
  void resizeEvent(QResizeEvent* event) override;

 private:
  CRibbonPanel* AddPanel(int number, Qt::Orientation direction, int languageIndex);
  void AddLevelPanel(int number, MasterLevel level, int languageIndex);
  void AddPitchPanel(int languageIndex);
  void AddFilePanel(int number, int modeId, QMenu* modeMenu, int fileId, int languageIndex);
  void AddWirelessPanel(int languageIndex);
  // Sizes the panels for the widest text each can show in the current language, then picks the full or
  // the compact panels for the width at hand; the wireless panel gives way only when even the compact
  // ones do not fit. Called on every resize and after a language switch.
 public:
  void FitPanels();

 private:
  // The width the panels ask for, margins and spacing included.
  int NeededWidth() const;
  // Narrower sliders, file buttons and wireless columns, so the wireless panel still fits in a window
  // at its smallest size.
  void SetCompact(bool compact);
  CStepSlider* AddSlider(QWidget* panel, MasterLevel level, int id, int minimum, int maximum, int width);

  CategoryIds ids_;
  int categoryIndex_;
  bool compact_ = false;
  std::array<CRibbonPanel*, kRibbonPanels> panels_{};
};
