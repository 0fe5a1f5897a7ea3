// The picture slider.
#include "controls/xbmp_slider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "controls/control_painting.h"
#include "look/control_id.h"

CXBmpSlider::CXBmpSlider(int controlId, QWidget* parent) : QWidget(parent) {
  SetControlId(this, controlId);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);  // the paint fills every pixel with the background first
}

int CXBmpSlider::Id() const {
  return ControlIdOf(this);
}

void CXBmpSlider::SetRange(int minimum, int maximum) {
  geometry_.minimum = minimum;
  geometry_.maximum = std::max(minimum, maximum);
  position_ = std::clamp(position_, geometry_.minimum, geometry_.maximum);
  update();
}

void CXBmpSlider::SetPos(int position) {
  const int clamped = std::clamp(position, geometry_.minimum, geometry_.maximum);
  if (clamped == position_) return;
  position_ = clamped;
  update();
}

void CXBmpSlider::SetOrientation(SliderOrientation orientation) {
  geometry_.orientation = orientation;
  updateGeometry();
  update();
}

void CXBmpSlider::SetMargins(const SliderMargins& margins) {
  geometry_.margins = margins;
  update();
}

void CXBmpSlider::SetThumbSize(int width, int height) {
  fitThumb_ = width <= 0 || height <= 0;
  geometry_.thumbWidth = std::max(0, width);
  geometry_.thumbHeight = std::max(0, height);
  update();
}

void CXBmpSlider::SetBackgroundColor(const QColor& colour) {
  background_ = colour;
  update();
}

SliderGeometry CXBmpSlider::CurrentGeometry() const {
  SliderGeometry g = geometry_;
  g.width = width();
  g.height = height();
  if (fitThumb_) FitThumb(g);
  return g;
}

QRect CXBmpSlider::ThumbRectangle() const {
  const SliderRect r = ThumbRect(CurrentGeometry(), position_);
  return QRect(r.x, r.y, r.width, r.height);
}

QSize CXBmpSlider::sizeHint() const {
  return geometry_.orientation == SliderOrientation::horizontal ? QSize(120, 20) : QSize(24, 120);
}

QSize CXBmpSlider::minimumSizeHint() const {
  const int across =
      geometry_.orientation == SliderOrientation::horizontal ? geometry_.thumbHeight : geometry_.thumbWidth;
  const int along = 3 * std::max(geometry_.thumbWidth, geometry_.thumbHeight);
  return geometry_.orientation == SliderOrientation::horizontal ? QSize(along, across) : QSize(across, along);
}

void CXBmpSlider::MoveTo(int position) {
  if (position != position_) {
    position_ = position;
    update();
  }
}

void CXBmpSlider::Step(int delta) {
  if (!isEnabled()) return;
  MoveTo(SliderStep(CurrentGeometry(), position_, delta));
  emit positionChanged(Id(), position_);
  emit released(Id(), position_);
}

void CXBmpSlider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  event->accept();
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  const SliderGeometry g = CurrentGeometry();
  const QPoint at = event->position().toPoint();
  if (ThumbRect(g, position_).Contains(at.x(), at.y())) {
    dragging_ = true;
  } else {
    MoveTo(StepTowardPoint(g, position_, at.x(), at.y()));
  }
  emit positionChanged(Id(), position_);
}

void CXBmpSlider::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const QPoint at = event->position().toPoint();
  const int next = DragPosition(CurrentGeometry(), at.x(), at.y());
  // Pointer moves within one step change nothing; they would only repeat the same edit to the machine.
  if (next == position_) return;
  MoveTo(next);
  emit positionChanged(Id(), position_);
}

void CXBmpSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  dragging_ = false;
  emit released(Id(), position_);
}

void CXBmpSlider::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Right:
      Step(1);
      break;
    case Qt::Key_Down:
    case Qt::Key_Left:
      Step(-1);
      break;
    default:
      QWidget::keyPressEvent(event);
  }
}

void CXBmpSlider::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0) {
    event->ignore();
    return;
  }
  Step(delta > 0 ? 1 : -1);
}

void CXBmpSlider::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
  emit focusGained(Id(), position_);
}

void CXBmpSlider::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

void CXBmpSlider::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange && !isEnabled()) dragging_ = false;
  QWidget::changeEvent(event);
}

void CXBmpSlider::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), background_);
  p.setRenderHint(QPainter::Antialiasing);
  const SliderGeometry g = CurrentGeometry();
  const SliderRect thumb = ThumbRect(g, position_);
  const bool horizontal = g.orientation == SliderOrientation::horizontal;
  const QPointF centre(thumb.x + thumb.width / 2.0, thumb.y + thumb.height / 2.0);
  const int travel = SliderTravel(g);
  // The groove joins the thumb centres at the two ends of the travel; the active part runs from the
  // minimum's end to the thumb.
  QPointF from, to;
  if (horizontal) {
    from = QPointF(g.margins.startX + g.thumbWidth / 2.0, centre.y());
    to = QPointF(from.x() + travel, centre.y());
  } else {
    to = QPointF(centre.x(), g.margins.topY + g.thumbHeight / 2.0);
    from = QPointF(centre.x(), to.y() + travel);
  }
  PaintSliderTrack(p, from, to, from, centre, isEnabled());
  const ThumbLook look = !isEnabled() ? ThumbLook::disabled
                         : hasFocus() ? ThumbLook::focused
                                      : ThumbLook::normal;
  PaintSliderThumb(p, QRectF(thumb.x, thumb.y, thumb.width, thumb.height), horizontal, look);
}
