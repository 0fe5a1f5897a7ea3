// Tells the left Control key from the right one by the key events' native codes; where the platform
// gives no codes, any Control key counts as the left one.
#pragma once

#include <qnamespace.h>
#include <QtGlobal>

class QKeyEvent;

enum class CtrlSide { left, right, unknown };

// X11 / Wayland key codes (evdev + 8) and keysyms of Control_L and Control_R.
inline constexpr quint32 kControlLScanCode = 37;
inline constexpr quint32 kControlRScanCode = 105;
inline constexpr quint32 kControlLKeysym = 0xFFE3;
inline constexpr quint32 kControlRKeysym = 0xFFE4;

CtrlSide SideOfControlKey(quint32 nativeScanCode, quint32 nativeVirtualKey);

class LeftCtrlTracker {
 public:
  // Feed every key press and release; only the Control keys change the state.
  void OnKeyEvent(const QKeyEvent& event);
  // Whether Left Ctrl is held, for a key event carrying `modifiers`.
  bool LeftCtrlHeld(Qt::KeyboardModifiers modifiers);

 private:
  bool left_ = false;
  bool right_ = false;
  bool unknown_ = false;
};
