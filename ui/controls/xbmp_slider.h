// The picture slider: the numeric control of the tuning pages. A click on the track moves one step, the
// thumb drags, arrows and the wheel step by one; every change is reported with the slider's control id.
#pragma once

#include <QColor>
#include <QWidget>

#include "controls/slider_math.h"

class CXBmpSlider : public QWidget {
  Q_OBJECT
 public:
  explicit CXBmpSlider(int controlId, QWidget* parent = nullptr);

  // The range; a maximum below the minimum is taken as the minimum. The position is kept inside.
  void SetRange(int minimum, int maximum);
  int minimum() const { return geometry_.minimum; }
  int maximum() const { return geometry_.maximum; }
  // Programmatic positioning (refresh from the store): clamped, no notification.
  void SetPos(int position);
  int GetPos() const { return position_; }
  void SetOrientation(SliderOrientation orientation);
  SliderOrientation orientation() const { return geometry_.orientation; }
  void SetMargins(const SliderMargins& margins);
  // An explicit thumb size; (0, 0) lets the thumb fill the control across the travel.
  void SetThumbSize(int width, int height);
  void SetBackgroundColor(const QColor& colour);
  // Moves by `delta` as the arrow keys and the wheel do: position-changed, then released. A disabled slider
  // ignores it. The pages forward the wheel to a focused slider through this.
  void Step(int delta);

  // The geometry in use, for hit tests of the pages and the tests.
  SliderGeometry CurrentGeometry() const;
  QRect ThumbRectangle() const;
  bool dragging() const { return dragging_; }

  QSize sizeHint() const override;
  // A layout squeezes the slider no thinner than its thumb, which would otherwise be flattened to fit.
  QSize minimumSizeHint() const override;

 signals:
  void positionChanged(int controlId, int position);
  void focusGained(int controlId, int position);
  void released(int controlId, int position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void MoveTo(int position);
  int Id() const;

  SliderGeometry geometry_;
  bool fitThumb_ = true;
  int position_ = 0;
  bool dragging_ = false;
  QColor background_{199, 199, 199};
};
