// The keyboard shortcuts.
#include "shell/shortcut_filter.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

#include "device/connection.h"
#include "dialogs/syn_dlg.h"
#include "dialogs/tuning_dialogs.h"
#include "look/command_ids.h"
#include "pages/page.h"
#include "services/app_services.h"
#include "shell/input_controls.h"
#include "shell/main_frame.h"
#include "shell/main_view.h"
#include "shell/mode_commands.h"

CShortcutFilter::CShortcutFilter(AppServices& app) : app_(app) {}

bool CShortcutFilter::IsTextEntry(const QWidget* widget) {
  if (widget == nullptr) return false;
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    if (qobject_cast<const QFileDialog*>(w)) return true;  // its name field, list and type filter alike
  }
  if (const auto* e = qobject_cast<const QLineEdit*>(widget)) return !e->isReadOnly();
  if (const auto* e = qobject_cast<const QTextEdit*>(widget)) return !e->isReadOnly();
  if (const auto* e = qobject_cast<const QPlainTextEdit*>(widget)) return !e->isReadOnly();
  if (const auto* e = qobject_cast<const QAbstractSpinBox*>(widget)) return !e->isReadOnly();
  if (const auto* c = qobject_cast<const QComboBox*>(widget)) return c->isEditable();
  if (const auto* v = qobject_cast<const QAbstractItemView*>(widget)) {
    // A cell being edited: its editor lives on the viewport.
    for (const QWidget* editor : v->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (editor->isVisible() && IsTextEntry(editor)) return true;
    }
  }
  return false;
}

bool CShortcutFilter::TakesLetters(const QWidget* widget) {
  if (widget == nullptr) return false;
  if (IsTextEntry(widget)) return true;
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    // A combo box's open list is a window whose parent is the combo box.
    if (qobject_cast<const QComboBox*>(w) || qobject_cast<const QAbstractSpinBox*>(w)) return true;
    // A cell editor lives on its view's viewport, whatever its kind.
    const QWidget* parent = w->parentWidget();
    if (parent != nullptr) {
      if (const auto* view = qobject_cast<const QAbstractItemView*>(parent->parentWidget());
          view != nullptr && view->viewport() == parent) {
        return true;
      }
    }
  }
  if (const auto* v = qobject_cast<const QAbstractItemView*>(widget)) {
    for (const QWidget* editor : v->viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (editor->isVisible() && editor->isEnabled()) return true;
    }
  }
  return false;
}

CShortcutFilter::EditKey CShortcutFilter::EditKeyOf(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  if (modifiers == Qt::ControlModifier && event.key() == Qt::Key_Z) return EditKey::undo;
  if (modifiers == Qt::ControlModifier && event.key() == Qt::Key_Y) return EditKey::redo;
  if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier) && event.key() == Qt::Key_Z)
    return EditKey::redo;
  return EditKey::none;
}

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
  if (!frame_) return false;
  return type == QEvent::KeyPress ? OnKeyPress(key, static_cast<QWidget*>(watched)) : OnKeyRelease(key);
}

bool CShortcutFilter::OnKeyRelease(QKeyEvent* event) {
  if (event->key() != Qt::Key_F7) return false;
  // While a synchronisation runs the key goes on to the focused window.
  if (app_.windows().sync) return false;
  OpenMachineSettings(app_);
  return true;
}

bool CShortcutFilter::OnModeSlotKey(int slot, bool leftCtrl) {
  const bool allowed = app_.connection().connected() && !app_.windows().sync && !app_.smartPlugWindowOpen();
  if (allowed) {
    CModeCommands& modes = frame_->modeCommands();
    if (leftCtrl) {
      modes.StoreSlot(slot, true);
    } else {
      modes.LoadSlot(slot, true);
    }
  }
  return true;  // consumed whether or not it acted
}

void CShortcutFilter::OnVolumeKey(MasterLevel level, int direction, bool leftCtrl) {
  frame_->inputControls().StepBoth(
      level, direction * VolumeStep(frame_->inputControls().StoreValue(level), leftCtrl));
}

bool CShortcutFilter::OnEditKey(EditKey key, QWidget* receiver) {
  // A text entry undoes its own typing; other windows and a running synchronisation keep the keys.
  CMainFrame* frame = frame_.data();
  if (IsTextEntry(receiver) || receiver->window() != frame || app_.windows().sync) return false;
  if (key == EditKey::undo) {
    frame->Undo();
  } else {
    frame->Redo();
  }
  return true;
}

void CShortcutFilter::OnLetterKey(int key, bool leftCtrl) {
  CInputControls& inputs = frame_->inputControls();
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
      inputs.ToggleMute(MasterLevel::mic, true);
      break;
    case Qt::Key_Z:
      inputs.ToggleMute(MasterLevel::music, true);
      break;
    case Qt::Key_C:
      inputs.ToggleMute(MasterLevel::echo, true);
      break;
    case Qt::Key_V:
      inputs.ToggleMute(MasterLevel::reverb, true);
      break;
    case Qt::Key_P:
      frame_->ToggleShownEqBypass();
      break;
    default:
      break;
  }
}

bool CShortcutFilter::OnKeyPress(QKeyEvent* event, QWidget* receiver) {
  const int key = event->key();
  const bool leftCtrl = leftCtrl_.LeftCtrlHeld(event->modifiers());
  CMainFrame* frame = frame_.data();
  if (key >= Qt::Key_F1 && key <= Qt::Key_F4) return OnModeSlotKey(key - Qt::Key_F1, leftCtrl);
  // A/B: only in the main window and never while a synchronisation rewrites the store.
  if (key == Qt::Key_F9 && receiver->window() == frame && !app_.windows().sync) {
    if (!event->isAutoRepeat()) frame->OnCommand(cmd::abCompare);
    return true;
  }
  if (leftCtrl && key >= Qt::Key_0 && key <= Qt::Key_9) {
    if (CPage* page = frame->view()->currentPage())
      page->SelectSection(key == Qt::Key_0 ? 9 : key - Qt::Key_1);
  }
  if (const EditKey edit = EditKeyOf(*event); edit != EditKey::none) return OnEditKey(edit, receiver);
  // Letters typed into a text entry, a drop-down or a cell editor are theirs, not volume steps, mutes or
  // bypass toggles.
  if (!TakesLetters(receiver)) OnLetterKey(key, leftCtrl);
  // The main window's accelerators come after the table, as the keys reach the window.
  const bool ctrlOnly = (event->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier;
  if (ctrlOnly && receiver->window() == frame && (key == Qt::Key_O || key == Qt::Key_S)) {
    frame->OnCommand(key == Qt::Key_O ? cmd::fileOpen : cmd::fileSave);
    return true;
  }
  return false;
}
