// Left Control detection.
#include "controls/left_ctrl.h"

#include <QKeyEvent>

CtrlSide SideOfControlKey(quint32 nativeScanCode, quint32 nativeVirtualKey) {
  if (nativeVirtualKey == kControlLKeysym) return CtrlSide::left;
  if (nativeVirtualKey == kControlRKeysym) return CtrlSide::right;
  if (nativeScanCode == kControlLScanCode) return CtrlSide::left;
  if (nativeScanCode == kControlRScanCode) return CtrlSide::right;
  return CtrlSide::unknown;
}

void LeftCtrlTracker::OnKeyEvent(const QKeyEvent& event) {
  if (event.key() != Qt::Key_Control) return;
  const bool down = event.type() == QEvent::KeyPress;
  switch (SideOfControlKey(event.nativeScanCode(), event.nativeVirtualKey())) {
    case CtrlSide::left:
      left_ = down;
      break;
    case CtrlSide::right:
      right_ = down;
      break;
    case CtrlSide::unknown:
      unknown_ = down;
      break;
  }
}

namespace {
bool LeftCtrlHeldImpl(bool left, bool right, bool unknown) {
  if (left || unknown) return true;
  // Only the right key was seen going down: it does not count. Seen nothing (Ctrl went down before we
  // had the focus): the side is unknown, so it counts.
  return !right;
}
}  // namespace

bool LeftCtrlTracker::LeftCtrlHeld(Qt::KeyboardModifiers modifiers) {
  if (!(modifiers & Qt::ControlModifier)) {
    // A release we never saw (focus elsewhere) must not leave a key "held".
    left_ = right_ = unknown_ = false;
    return false;
  }
  return LeftCtrlHeldImpl(left_, right_, unknown_);
}
