// The drawn remote control of the remote-learning window: 18 keys that can be clicked, a focus ring that
// the arrow keys move, and each function's learned code written by its key.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>

#include "home/remote_keypad.h"

class CRemotePicture : public QWidget {
  Q_OBJECT
 public:
  explicit CRemotePicture(QWidget* parent = nullptr);

  // The 18 bytes of the remote key table; byte k is the code of function k.
  void SetCodes(const std::array<std::uint8_t, remote_keypad::kKeyCount>& codes);
  int focusedKey() const { return focused_; }
  void SetFocusedKey(int slot);
  // The centre of slot `slot` in widget pixels (for clicks from tests and tools).
  QPoint KeyPosition(int slot) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  // A key was clicked, or Enter / Space pressed on the focused key.
  void keyActivated(int slot);
  // The key the user is looking at changed: the one under the pointer, else the focused one.
  void keyShown(int slot);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  int KeyUnder(const QPointF& pixel) const;
  int ShownKey() const { return hovered_ >= 0 ? hovered_ : focused_; }
  void SetHovered(int slot);

  std::array<std::uint8_t, remote_keypad::kKeyCount> codes_{};
  int focused_ = 0;
  int hovered_ = -1;
  int pressed_ = -1;
};
