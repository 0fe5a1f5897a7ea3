// The modeless auxiliary windows of the application: each exists at most once; a destroyed window
// empties its own slot (QPointer).
#pragma once

#include <QPointer>
#include <QWidget>

// The window a slot holds, if it is a T and still exists.
template <typename T>
T* ExistingWindow(const QPointer<QWidget>& slot) {
  return qobject_cast<T*>(slot.data());
}

struct WindowSlots {
  QPointer<QWidget> machineSettings;  // 335
  QPointer<QWidget> notice;           // 344
  QPointer<QWidget> remoteLearning;   // 373
  QPointer<QWidget> inputSource;      // 512
  QPointer<QWidget> smartPlugs;       // 479
  QPointer<QWidget> features;         // 515
  QPointer<QWidget> wait;             // 486
  QPointer<QWidget> plugEdit;         // 480
  QPointer<QWidget> dimmerPlug;       // 484
  QPointer<QWidget> switchPlug;       // 485
  QPointer<QWidget> sync;             // 347
};
