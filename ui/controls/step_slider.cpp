// The step slider.
#include "controls/step_slider.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

#include "controls/step_math.h"

CStepSlider::CStepSlider(int minimum, int maximum, int width, QWidget* parent)
    : QSlider(Qt::Horizontal, parent) {
  setRange(minimum, maximum);
  setSingleStep(1);
  setPageStep(1);
  setFixedWidth(width);
  setTracking(true);
  setFocusPolicy(Qt::NoFocus);
  connect(this, &QSlider::valueChanged, this, [this](int value) {
    if (!quiet_) emit userChanged(value);
  });
}

void CStepSlider::SetValueQuietly(int value) {
  quiet_ = true;
  setValue(value);
  quiet_ = false;
}

void CStepSlider::mousePressEvent(QMouseEvent* event) {
  // Only the left button steps or drags; the style would let the middle button jump to the pointer.
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  QStyleOptionSlider option;
  initStyleOption(&option);
  const QRect thumb = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
  const int x = event->position().toPoint().x();
  if (x >= thumb.left() && x <= thumb.right()) {
    QSlider::mousePressEvent(event);  // grab the thumb and drag
    return;
  }
  const int next =
      StepTowardClick(value(), minimum(), maximum(), singleStep(), x, thumb.left(), thumb.right() + 1);
  event->accept();
  if (next == value()) {
    emit userChanged(next);
  } else {
    setValue(next);
  }
}

// The ribbon turns the wheel into steps of both twins; the slider alone never takes it.
void CStepSlider::wheelEvent(QWheelEvent* event) {
  event->ignore();
}
