// Drawn plug icons and power pictures.
#include "home/plug_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

#include "look/control_id.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The socket body every plug icon shares; returns the face inside the rim.
QRectF PaintSocketBody(QPainter& p, const QRectF& r, const QColor& rim) {
  const double s = std::min(r.width(), r.height());
  const QRectF body(r.center().x() - s * 0.45, r.center().y() - s * 0.45, s * 0.9, s * 0.9);
  QLinearGradient fill(body.topLeft(), body.bottomLeft());
  fill.setColorAt(0, QColor(255, 255, 255));
  fill.setColorAt(1, QColor(218, 226, 236));
  p.setPen(QPen(rim, std::max(1.0, s / 16)));
  p.setBrush(fill);
  p.drawRoundedRect(body, s * 0.16, s * 0.16);
  return body.adjusted(s * 0.12, s * 0.12, -s * 0.12, -s * 0.12);
}

// Two slanted pin slots in the upper part of the face.
void PaintPinSlots(QPainter& p, const QRectF& face, double top, double bottom) {
  const double s = face.width();
  p.setPen(QPen(QColor(60, 70, 85), std::max(1.0, s / 8), Qt::SolidLine, Qt::RoundCap));
  const double y0 = face.top() + face.height() * top;
  const double y1 = face.top() + face.height() * bottom;
  p.drawLine(QPointF(face.left() + s * 0.22, y0), QPointF(face.left() + s * 0.12, y1));
  p.drawLine(QPointF(face.right() - s * 0.22, y0), QPointF(face.right() - s * 0.12, y1));
}

void PaintRocker(QPainter& p, const QRectF& face) {
  const double s = face.width();
  const QRectF rocker(face.center().x() - s * 0.2, face.top() + face.height() * 0.55, s * 0.4, s * 0.4);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(46, 160, 67));
  p.drawRoundedRect(rocker, s * 0.08, s * 0.08);
  p.setPen(QPen(Qt::white, std::max(1.0, s / 12), Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(rocker.center().x(), rocker.top() + s * 0.09),
             QPointF(rocker.center().x(), rocker.bottom() - s * 0.09));
}

void PaintDial(QPainter& p, const QRectF& face) {
  const double s = face.width();
  const QPointF c(face.center().x(), face.top() + face.height() * 0.72);
  const double radius = s * 0.24;
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(232, 140, 30));
  p.drawEllipse(c, radius, radius);
  // The pointer at about two thirds of the travel.
  const double angle = -kPi / 4;
  p.setPen(QPen(Qt::white, std::max(1.0, s / 12), Qt::SolidLine, Qt::RoundCap));
  p.drawLine(c, QPointF(c.x() + radius * 0.8 * std::cos(angle), c.y() + radius * 0.8 * std::sin(angle)));
}

QColor Adjusted(const QColor& c, ButtonState state) {
  switch (state) {
    case ButtonState::hover:
      return c.lighter(118);
    case ButtonState::pressed:
    case ButtonState::checked:
      return c.darker(125);
    case ButtonState::disabled: {
      const int grey = 128 + c.lightness() / 2;
      return QColor(grey, grey, grey);
    }
    case ButtonState::normal:
      break;
  }
  return c;
}

}  // namespace

void PaintPlugIcon(QPainter& p, const QRectF& rect, int type) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const QColor rim = type == 1   ? QColor(30, 90, 170)
                     : type == 2 ? QColor(180, 100, 20)
                                 : QColor(120, 128, 140);
  const QRectF face = PaintSocketBody(p, rect, rim);
  if (type == 1) {
    PaintPinSlots(p, face, 0.05, 0.4);
    PaintRocker(p, face);
  } else if (type == 2) {
    PaintPinSlots(p, face, 0.05, 0.4);
    PaintDial(p, face);
  } else {
    PaintPinSlots(p, face, 0.25, 0.75);
  }
  p.restore();
}

QIcon PlugIcon(int type, int size) {
  QIcon icon;
  for (int ratio : {1, 2}) {
    QPixmap pixmap(size * ratio, size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    PaintPlugIcon(p, QRectF(0, 0, size, size), type);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

void PaintPowerPicture(QPainter& p, const QRectF& rect, bool powerOn, ButtonState state) {
  p.save();
  p.setRenderHint(QPainter::Antialiasing);
  const double s = std::min(rect.width(), rect.height());
  const QPointF c = rect.center();
  const double radius = s * 0.46;
  const QColor base = Adjusted(powerOn ? QColor(40, 160, 70) : QColor(205, 50, 45), state);
  QRadialGradient fill(QPointF(c.x() - radius * 0.3, c.y() - radius * 0.4), radius * 1.5);
  fill.setColorAt(0, base.lighter(150));
  fill.setColorAt(0.6, base);
  fill.setColorAt(1, base.darker(140));
  p.setPen(QPen(base.darker(170), std::max(1.0, s / 40)));
  p.setBrush(fill);
  p.drawEllipse(c, radius, radius);
  // The power sign: an open ring with a bar through its gap.
  const double ring = radius * 0.5;
  const QPen sign(QColor(255, 255, 255), std::max(1.5, s / 11), Qt::SolidLine, Qt::RoundCap);
  p.setPen(sign);
  p.setBrush(Qt::NoBrush);
  const QRectF arc(c.x() - ring, c.y() - ring + s * 0.03, 2 * ring, 2 * ring);
  p.drawArc(arc, 125 * 16, 290 * 16);  // counter-clockwise round the bottom, the gap at the top
  p.drawLine(QPointF(c.x(), c.y() - ring * 1.15), QPointF(c.x(), c.y() + s * 0.01));
  p.restore();
}

CPowerButton::CPowerButton(int controlId, bool powerOn, QWidget* parent)
    : QAbstractButton(parent), powerOn_(powerOn) {
  SetControlId(this, controlId);
  setAttribute(Qt::WA_Hover);
  setFocusPolicy(Qt::TabFocus);
  setCursor(Qt::PointingHandCursor);
  setFixedSize(sizeHint());
}

void CPowerButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const ButtonState state = ResolveButtonState(isEnabled(), isDown(), false, underMouse());
  PaintPowerPicture(p, QRectF(rect()).translated(0, state == ButtonState::pressed ? 1 : 0), powerOn_, state);
  if (hasFocus()) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 0, 0, 140), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
  }
}
