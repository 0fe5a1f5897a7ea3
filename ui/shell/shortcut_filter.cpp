// The keyboard shortcuts.
#include "shell/shortcut_filter.h"

#include <QKeyEvent>
#include <QWidget>

#include "app/kestrel_app.h"
#include "device/connection.h"
#include "dialogs/syn_dlg.h"
#include "pages/page.h"
#include "shell/command_ids.h"
#include "shell/input_controls.h"
#include "shell/main_frame.h"
#include "shell/main_view.h"
#include "shell/mode_commands.h"

CShortcutFilter::CShortcutFilter(CKestrelv13App& app) : app_(app) {}

int CShortcutFilter::VolumeStep(int storeValue, bool leftCtrl) {
  if (leftCtrl) return 1;
  return storeValue < 50 ? 5 : 2;
}

bool CShortcutFilter::IsFirstDelivery(QObject* watched, QEvent* event) {
  auto* key = static_cast<QKeyEvent*>(event);
  const bool propagated = event == lastEvent_ && event->type() == lastType_ && key->key() == lastKey_ &&
                          lastReceiver_ &&
                          static_cast<QWidget*>(lastReceiver_.data())->parentWidget() == watched;
  lastEvent_ = event;
  lastType_ = event->type();
  lastKey_ = key->key();
  lastReceiver_ = watched;
  return !propagated;
}

bool CShortcutFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
  // Windows see the key first and hand it to the focused widget; act once, on the widget.
  if (!watched->isWidgetType() || !IsFirstDelivery(watched, event)) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  switch (key->key()) {
    case Qt::Key_Control:
      leftCtrl_.OnKeyEvent(*key);
      return false;
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
      return false;  // a modifier's own event reports the modifier state toggled: nothing to act on
    default:
      break;
  }
  if (!app_.frame()) return false;
  return type == QEvent::KeyPress ? OnKeyPress(key, static_cast<QWidget*>(watched)) : OnKeyRelease(key);
}

bool CShortcutFilter::OnKeyRelease(QKeyEvent* event) {
  if (event->key() != Qt::Key_F7) return false;
  // While a synchronisation runs the key goes on to the focused window.
  if (app_.windows().sync) return false;
  // The machine settings dialog opens here once it exists.
  return true;
}

bool CShortcutFilter::OnModeSlotKey(int slot, bool leftCtrl) {
  const bool allowed = app_.connection().connected() && !app_.windows().sync && !app_.smartPlugWindowOpen();
  if (allowed) {
    CModeCommands& modes = app_.frame()->modeCommands();
    if (leftCtrl) {
      modes.StoreSlot(slot, true);
    } else {
      modes.LoadSlot(slot, true);
    }
  }
  return true;  // consumed whether or not it acted
}

void CShortcutFilter::OnVolumeKey(MasterLevel level, int direction, bool leftCtrl) {
  app_.frame()->inputControls().StepBoth(level,
                                         direction * VolumeStep(CInputControls::StoreValue(level), leftCtrl));
}

bool CShortcutFilter::OnKeyPress(QKeyEvent* event, QWidget* receiver) {
  const int key = event->key();
  const bool leftCtrl = leftCtrl_.LeftCtrlHeld(event->modifiers());
  CMainFrame* frame = app_.frame();
  if (key >= Qt::Key_F1 && key <= Qt::Key_F4) return OnModeSlotKey(key - Qt::Key_F1, leftCtrl);
  if (leftCtrl && key >= Qt::Key_0 && key <= Qt::Key_9) {
    if (CPage* page = frame->view()->currentPage())
      page->SelectSection(key == Qt::Key_0 ? 9 : key - Qt::Key_1);
  }
  switch (key) {
    case Qt::Key_Q:
      OnVolumeKey(MasterLevel::music, 1, leftCtrl);
      break;
    case Qt::Key_A:
      OnVolumeKey(MasterLevel::music, -1, leftCtrl);
      break;
    case Qt::Key_W:
      OnVolumeKey(MasterLevel::mic, 1, leftCtrl);
      break;
    case Qt::Key_S:
      OnVolumeKey(MasterLevel::mic, -1, leftCtrl);
      break;
    case Qt::Key_E:
      OnVolumeKey(MasterLevel::echo, 1, leftCtrl);
      break;
    case Qt::Key_D:
      OnVolumeKey(MasterLevel::echo, -1, leftCtrl);
      break;
    case Qt::Key_R:
      OnVolumeKey(MasterLevel::reverb, 1, leftCtrl);
      break;
    case Qt::Key_F:
      OnVolumeKey(MasterLevel::reverb, -1, leftCtrl);
      break;
    case Qt::Key_X:
      frame->inputControls().ToggleMute(MasterLevel::mic, true);
      break;
    case Qt::Key_Z:
      frame->inputControls().ToggleMute(MasterLevel::music, true);
      break;
    case Qt::Key_C:
      frame->inputControls().ToggleMute(MasterLevel::echo, true);
      break;
    case Qt::Key_V:
      frame->inputControls().ToggleMute(MasterLevel::reverb, true);
      break;
    case Qt::Key_P:
      frame->ToggleShownEqBypass();
      break;
    default:
      break;
  }
  // The main window's accelerators come after the table, as the keys reach the window.
  const bool ctrlOnly = (event->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
  if (ctrlOnly && receiver->window() == frame && (key == Qt::Key_O || key == Qt::Key_S)) {
    frame->OnCommand(key == Qt::Key_O ? cmd::fileOpen : cmd::fileSave);
    return true;
  }
  return false;
}
