// The up-down control beside a value box: two arrow buttons over a position in a range. A click reports
// the position it started from and its direction, then the control steps its own position (kept inside
// the range); the owner decides what the click means.
#pragma once

#include <QWidget>

class QToolButton;

class CUpDownCtrl : public QWidget {
  Q_OBJECT
 public:
  CUpDownCtrl(int controlId, QWidget* parent = nullptr);

  void SetRange(int minimum, int maximum);
  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  // Kept inside the range; no notification.
  void SetPos(int position);
  int GetPos() const { return position_; }
  // A click on the up (true) or down arrow, as if the user made it.
  void Click(bool up);

  QSize sizeHint() const override { return {18, 24}; }

 signals:
  // Before the position moves: the position the click started from and its direction.
  void clicked(int controlId, int position, bool up);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
  QToolButton* up_;
  QToolButton* down_;
};
