// The up-down control beside an edit: two arrow buttons over a position in a range. A click asks the owner
// for one step up or down; the owner decides what the position becomes.
#pragma once

#include <QWidget>

class QToolButton;

class CUpDown : public QWidget {
  Q_OBJECT
 public:
  CUpDown(int controlId, QWidget* parent);

  // A maximum below the minimum is taken as the minimum; the position is kept inside.
  void SetRange(int minimum, int maximum);
  int minimum() const { return minimum_; }
  int maximum() const { return maximum_; }
  void SetPos(int position);
  int GetPos() const { return position_; }
  // The position one step up (+1) or down (-1) from here, inside the range.
  int Stepped(int delta) const;

  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 signals:
  // +1 for the upper arrow, -1 for the lower one.
  void stepClicked(int delta);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* up_;
  QToolButton* down_;
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
};
