// Drawing of the small controls.
#include "controls/control_painting.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

const QColor kInk(21, 66, 139);
const QColor kGroove(190, 208, 232);
const QColor kGrooveEdge(141, 178, 227);
const QColor kActiveLight(120, 175, 235);
const QColor kActive(30, 90, 170);
const QColor kDisabledFill(200, 200, 200);
const QColor kDisabledEdge(160, 160, 160);

constexpr qreal kGrooveThickness = 4.0;

QLinearGradient Across(const QRectF& r, bool horizontal, const QColor& first, const QColor& second) {
  QLinearGradient g =
      horizontal ? QLinearGradient(r.topLeft(), r.bottomLeft()) : QLinearGradient(r.topLeft(), r.topRight());
  g.setColorAt(0, first);
  g.setColorAt(1, second);
  return g;
}

QRectF Groove(QPointF a, QPointF b) {
  const qreal half = kGrooveThickness / 2;
  return QRectF(QPointF(std::min(a.x(), b.x()) - half, std::min(a.y(), b.y()) - half),
                QPointF(std::max(a.x(), b.x()) + half, std::max(a.y(), b.y()) + half));
}

}  // namespace

void PaintSliderTrack(QPainter& p, QPointF from, QPointF to, QPointF activeFrom, QPointF activeTo,
                      bool enabled) {
  const bool horizontal = from.y() == to.y();
  p.setPen(QPen(enabled ? kGrooveEdge : kDisabledEdge, 1));
  p.setBrush(enabled ? kGroove : kDisabledFill);
  p.drawRoundedRect(Groove(from, to), kGrooveThickness / 2, kGrooveThickness / 2);
  if (!enabled || activeFrom == activeTo) return;
  const QRectF active = Groove(activeFrom, activeTo);
  p.setPen(Qt::NoPen);
  p.setBrush(Across(active, horizontal, kActiveLight, kActive));
  p.drawRoundedRect(active, kGrooveThickness / 2, kGrooveThickness / 2);
}

void PaintSliderThumb(QPainter& p, const QRectF& thumb, bool horizontal, ThumbLook look) {
  const QRectF body = thumb.adjusted(0.5, 0.5, -0.5, -0.5);
  QColor edge = kInk.lighter(150);
  QColor first(255, 255, 255);
  QColor second(196, 216, 241);
  QColor grip = kActive;
  if (look == ThumbLook::focused) {
    edge = kInk;
    first = kActiveLight;
    second = kActive;
    grip = Qt::white;
  } else if (look == ThumbLook::disabled) {
    edge = kDisabledEdge;
    first = QColor(240, 240, 240);
    second = kDisabledFill;
    grip = kDisabledEdge;
  }
  p.setPen(QPen(edge, 1));
  // The gradient runs along the travel, so the thumb reads as a raised cap on the groove.
  p.setBrush(Across(body, !horizontal, first, second));
  p.drawRoundedRect(body, 2.5, 2.5);
  // A grip line across the travel marks the exact position.
  p.setPen(QPen(grip, 1.2, Qt::SolidLine, Qt::RoundCap));
  const QPointF c = body.center();
  if (horizontal) {
    p.drawLine(QPointF(c.x(), body.top() + 3), QPointF(c.x(), body.bottom() - 3));
  } else {
    p.drawLine(QPointF(body.left() + 3, c.y()), QPointF(body.right() - 3, c.y()));
  }
}

void PaintButtonFace(QPainter& p, const QRectF& rect, const ButtonFace& face) {
  const QRectF body = rect.adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient fill(body.topLeft(), body.bottomLeft());
  fill.setColorAt(0, ToQColor(face.top));
  fill.setColorAt(1, ToQColor(face.bottom));
  p.setPen(QPen(ToQColor(face.border), 1));
  p.setBrush(fill);
  p.drawRoundedRect(body, 3, 3);
  // A soft gloss on the upper half, as on the ribbon's own buttons.
  QLinearGradient gloss(body.topLeft(), QPointF(body.left(), body.center().y()));
  gloss.setColorAt(0, QColor(255, 255, 255, 90));
  gloss.setColorAt(1, QColor(255, 255, 255, 10));
  p.setPen(Qt::NoPen);
  p.setBrush(gloss);
  p.drawRoundedRect(QRectF(body.left() + 1, body.top() + 1, body.width() - 2, body.height() / 2 - 1), 2, 2);
}

void PaintBackGlyph(QPainter& p, const QRectF& rect, const QColor& colour) {
  const qreal s = std::min(rect.width(), rect.height()) * 0.32;
  const QPointF c = rect.center();
  QPainterPath arrow;
  arrow.moveTo(c.x() + s, c.y());
  arrow.lineTo(c.x() - s, c.y());
  arrow.moveTo(c.x() - s * 0.15, c.y() - s * 0.85);
  arrow.lineTo(c.x() - s, c.y());
  arrow.lineTo(c.x() - s * 0.15, c.y() + s * 0.85);
  p.setPen(QPen(colour, std::max<qreal>(1.5, s * 0.35), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(arrow);
}

void PaintLed(QPainter& p, const QRectF& cell, const QColor& colour, bool lit) {
  if (cell.width() <= 0 || cell.height() <= 0) return;
  p.setPen(Qt::NoPen);
  if (lit) {
    QLinearGradient glow(cell.topLeft(), cell.bottomLeft());
    glow.setColorAt(0, colour.lighter(160));
    glow.setColorAt(0.45, colour);
    glow.setColorAt(1, colour.darker(115));
    p.setBrush(glow);
  } else {
    p.setBrush(colour);
  }
  const qreal radius = std::min<qreal>(1.5, std::min(cell.width(), cell.height()) / 3);
  p.drawRoundedRect(cell, radius, radius);
}
