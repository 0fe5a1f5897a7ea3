// The keyboard shortcuts: an application-wide event filter that sees every key before the focused
// widget does (in dialogs and text fields too), plus the Ctrl+O / Ctrl+S accelerators and undo / redo
// (Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z) of the main window. Letters typed into a text entry stay text.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>

#include "controls/left_ctrl.h"
#include "ribbon/master_levels.h"
#include "shell/main_frame.h"

class AppServices;
class CMainFrame;
class QKeyEvent;

class CShortcutFilter : public QObject {
  Q_OBJECT
 public:
  explicit CShortcutFilter(AppServices& app);
  // The main window whose keys this filter serves; until then no key is taken.
  void SetFrame(CMainFrame* frame) { frame_ = frame; }

  bool eventFilter(QObject* watched, QEvent* event) override;
  LeftCtrlTracker& leftCtrl() { return leftCtrl_; }

  // The step of a volume key: 1 with Left Ctrl, else 5 below 50 and 2 from 50.
  static int VolumeStep(int storeValue, bool leftCtrl);
  // Whether typing goes into `widget`: an editable line edit, text edit, spin box or combo box, an item
  // view with its cell editor open, or anything inside a file dialog.
  static bool IsTextEntry(const QWidget* widget);
  // Whether a letter typed at `widget` belongs to it: a text entry, any combo box or its open list, a spin
  // box, or a cell editor of a list (a band's type drop-down picks its entry by the typed letter).
  static bool TakesLetters(const QWidget* widget);

 private:
  enum class EditKey { none, undo, redo };
  static EditKey EditKeyOf(const QKeyEvent& event);
  bool OnEditKey(EditKey key, QWidget* receiver);
  void OnLetterKey(int key, bool leftCtrl);
  bool IsFirstDelivery(QObject* watched, QEvent* event);
  bool OnKeyPress(QKeyEvent* event, QWidget* receiver);
  bool OnKeyRelease(QKeyEvent* event);
  bool OnModeSlotKey(int slot, bool leftCtrl);
  void OnVolumeKey(MasterLevel level, int direction, bool leftCtrl);

  AppServices& app_;
  QPointer<CMainFrame> frame_;
  LeftCtrlTracker leftCtrl_;
  // The key event seen last and the widget it reached: Qt offers an unaccepted key to each parent in
  // turn, and each offer passes this filter again.
  const QEvent* lastEvent_ = nullptr;
  QEvent::Type lastType_ = QEvent::None;
  int lastKey_ = 0;
  QPointer<QObject> lastReceiver_;
};
