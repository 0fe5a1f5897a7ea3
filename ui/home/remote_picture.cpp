// The drawn remote control.
#include "home/remote_picture.h"

#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace {

using remote_keypad::KeyGlyph;
using remote_keypad::KeyShape;
using remote_keypad::KeySpec;

const QColor kGlyph(236, 239, 243);
const QColor kFocus(88, 186, 255);
const QColor kCodeInk(122, 222, 255);

QRectF ToRect(const remote_keypad::Box& b) {
  return {b.x, b.y, b.width, b.height};
}

QRectF Around(remote_keypad::Point c, double r) {
  return {c.x - r, c.y - r, 2 * r, 2 * r};
}

// Qt measures arc angles counter-clockwise from three o'clock.
double WedgeStart(KeyShape shape) {
  switch (shape) {
    case KeyShape::wedgeUp:
      return 45;
    case KeyShape::wedgeLeft:
      return 135;
    case KeyShape::wedgeDown:
      return 225;
    default:
      return -45;
  }
}

QPainterPath KeyPath(const KeySpec& k) {
  QPainterPath path;
  switch (k.shape) {
    case KeyShape::circle:
      path.addEllipse(Around(k.centre, k.radius));
      break;
    case KeyShape::pill:
      path.addRoundedRect(ToRect(k.box), k.box.height / 2, k.box.height / 2);
      break;
    case KeyShape::rockerTop:
    case KeyShape::rockerBottom: {
      // One half of a capsule: round on the outer end, square where the halves meet.
      const double top = remote_keypad::kRockerTop;
      QPainterPath capsule;
      capsule.addRoundedRect(QRectF(k.box.x, top, k.box.width, 2 * remote_keypad::kRockerHalf),
                             k.box.width / 2, k.box.width / 2);
      QPainterPath half;
      half.addRect(ToRect(k.box));
      path = capsule.intersected(half);
      break;
    }
    default: {
      const double start = WedgeStart(k.shape);
      const QRectF outer = Around(k.centre, k.radius);
      const QRectF inner = Around(k.centre, k.innerRadius);
      path.arcMoveTo(outer, start);
      path.arcTo(outer, start, 90);
      path.arcTo(inner, start + 90, -90);
      path.closeSubpath();
      break;
    }
  }
  return path;
}

struct KeyColours {
  QColor top;
  QColor bottom;
};

KeyColours FaceOf(const KeySpec& k, bool hovered, bool pressed) {
  KeyColours c{QColor(104, 110, 123), QColor(64, 68, 79)};
  if (k.glyph == KeyGlyph::power) c = {QColor(226, 78, 70), QColor(160, 36, 32)};
  if (k.function == 8) c = {QColor(78, 150, 226), QColor(38, 94, 170)};
  if (pressed) return {c.bottom.darker(115), c.top.darker(110)};
  if (hovered) return {c.top.lighter(118), c.bottom.lighter(118)};
  return c;
}

QFont LabelFont(double pixelSize, bool bold) {
  QFont font;
  font.setFamilies(
      {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Sans")});
  font.setPixelSize(qRound(pixelSize));
  font.setBold(bold);
  font.setLetterSpacing(QFont::AbsoluteSpacing, 0.5);
  return font;
}

QPointF GlyphCentre(const KeySpec& k) {
  const remote_keypad::Point c =
      remote_keypad::KeyCentre(static_cast<int>(&k - remote_keypad::Keys().data()));
  switch (k.shape) {
    case KeyShape::rockerTop:
    case KeyShape::rockerBottom:
      return {c.x, k.box.y + 22};
    case KeyShape::pill:
      return {c.x, c.y};
    default:
      return {c.x, k.function == 8 ? c.y - 7 : c.y};
  }
}

void PaintGlyph(QPainter& p, const KeySpec& k) {
  const QPointF c = GlyphCentre(k);
  QPen pen(kGlyph, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
  switch (k.glyph) {
    case KeyGlyph::power: {
      const QRectF ring(c.x() - 7.5, c.y() - 6.5, 15, 15);
      p.drawArc(ring, 120 * 16, -300 * 16);
      p.drawLine(QPointF(c.x(), c.y() - 9.5), QPointF(c.x(), c.y() - 1));
      break;
    }
    case KeyGlyph::mute: {
      QPolygonF speaker;
      speaker << QPointF(c.x() - 9, c.y() - 3) << QPointF(c.x() - 5, c.y() - 3)
              << QPointF(c.x() + 1, c.y() - 8) << QPointF(c.x() + 1, c.y() + 8)
              << QPointF(c.x() - 5, c.y() + 3) << QPointF(c.x() - 9, c.y() + 3);
      p.setPen(Qt::NoPen);
      p.setBrush(kGlyph);
      p.drawPolygon(speaker);
      p.setPen(QPen(QColor(255, 120, 110), 2.2, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(c.x() + 4, c.y() - 4), QPointF(c.x() + 10, c.y() + 4));
      p.drawLine(QPointF(c.x() + 10, c.y() - 4), QPointF(c.x() + 4, c.y() + 4));
      break;
    }
    case KeyGlyph::arrowUp:
    case KeyGlyph::arrowDown:
    case KeyGlyph::arrowLeft:
    case KeyGlyph::arrowRight: {
      QPolygonF arrow;
      arrow << QPointF(0, -6) << QPointF(7, 4) << QPointF(-7, 4);
      QTransform turn;
      turn.translate(c.x(), c.y());
      const double angle = k.glyph == KeyGlyph::arrowUp      ? 0
                           : k.glyph == KeyGlyph::arrowRight ? 90
                           : k.glyph == KeyGlyph::arrowDown  ? 180
                                                             : 270;
      turn.rotate(angle);
      p.setPen(Qt::NoPen);
      p.setBrush(kGlyph);
      p.drawPolygon(turn.map(arrow));
      break;
    }
    case KeyGlyph::plus:
      p.drawLine(QPointF(c.x() - 7, c.y()), QPointF(c.x() + 7, c.y()));
      p.drawLine(QPointF(c.x(), c.y() - 7), QPointF(c.x(), c.y() + 7));
      break;
    case KeyGlyph::minus:
      p.drawLine(QPointF(c.x() - 7, c.y()), QPointF(c.x() + 7, c.y()));
      break;
    case KeyGlyph::dots:
      p.setPen(Qt::NoPen);
      p.setBrush(kGlyph);
      for (int i = -1; i <= 1; ++i) p.drawEllipse(QPointF(c.x() + 5.5 * i, c.y()), 1.8, 1.8);
      break;
    case KeyGlyph::text: {
      p.setFont(LabelFont(k.function == 8 ? 12 : 10, true));
      const QRectF box(c.x() - 40, c.y() - 10, 80, 20);
      p.drawText(box, Qt::AlignCenter, QString::fromLatin1(k.label));
      break;
    }
  }
}

void PaintCodeChip(QPainter& p, const KeySpec& k, std::uint8_t code) {
  if (k.codeChip.width <= 0) return;
  const QRectF chip = ToRect(k.codeChip);
  p.setPen(QPen(QColor(255, 255, 255, 34), 0.8));
  p.setBrush(k.function == 8 ? QColor(12, 36, 78, 200) : QColor(16, 18, 22, 230));
  p.drawRoundedRect(chip, 4, 4);
  QFont mono;
  mono.setFamilies(
      {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"), QStringLiteral("Monospace")});
  // The picture is drawn scaled: at its smallest a code would shrink to 7 px, so it keeps 9 screen pixels.
  const double scale = std::max(p.worldTransform().m22(), 0.1);
  mono.setPixelSize(std::max(10, static_cast<int>(std::ceil(9.0 / scale))));
  mono.setBold(true);
  p.setFont(mono);
  p.setPen(kCodeInk);
  p.drawText(chip, Qt::AlignCenter, QString::asprintf("%02X", code));
}

void PaintBody(QPainter& p) {
  const QRectF body(4, 4, remote_keypad::kBodyWidth - 8, remote_keypad::kBodyHeight - 8);
  // A soft shadow under the body.
  for (int i = 1; i <= 4; ++i) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 40, 70, 14));
    p.drawRoundedRect(body.translated(0, i * 1.2).adjusted(-i * 0.6, 0, i * 0.6, i * 0.4), 42, 42);
  }
  QLinearGradient shell(body.topLeft(), body.topRight());
  shell.setColorAt(0, QColor(78, 84, 96));
  shell.setColorAt(0.45, QColor(52, 56, 65));
  shell.setColorAt(1, QColor(36, 39, 46));
  p.setPen(QPen(QColor(22, 24, 28), 1.5));
  p.setBrush(shell);
  p.drawRoundedRect(body, 40, 40);
  p.setPen(QPen(QColor(255, 255, 255, 28), 1.2));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(body.adjusted(3, 3, -3, -3), 37, 37);

  // The infrared window at the top edge.
  QLinearGradient window(QPointF(0, 12), QPointF(0, 24));
  window.setColorAt(0, QColor(70, 14, 18));
  window.setColorAt(1, QColor(20, 6, 8));
  p.setPen(QPen(QColor(10, 10, 12), 1));
  p.setBrush(window);
  p.drawRoundedRect(QRectF(remote_keypad::kBodyWidth / 2 - 24, 13, 48, 10), 5, 5);

  // The sunken well around the direction keys.
  QRadialGradient well(QPointF(remote_keypad::kPadCentre.x, remote_keypad::kPadCentre.y), 74);
  well.setColorAt(0.8, QColor(30, 32, 38));
  well.setColorAt(1, QColor(44, 47, 55));
  p.setPen(QPen(QColor(255, 255, 255, 20), 1));
  p.setBrush(well);
  p.drawEllipse(Around(remote_keypad::kPadCentre, 72));
}

void PaintLegends(QPainter& p) {
  p.setFont(LabelFont(9, true));
  p.setPen(QColor(168, 175, 186));
  const double y = remote_keypad::kRockerTop + 2 * remote_keypad::kRockerHalf + 6;
  for (std::size_t slot : {11u, 13u, 15u}) {
    const KeySpec& k = remote_keypad::Keys()[slot];
    p.drawText(QRectF(k.centre.x - 40, y, 80, 14), Qt::AlignCenter, QString::fromLatin1(k.label));
  }
  p.setFont(LabelFont(11, true));
  p.setPen(QColor(132, 140, 152));
  QFont brand = p.font();
  brand.setLetterSpacing(QFont::AbsoluteSpacing, 3);
  p.setFont(brand);
  p.drawText(QRectF(0, remote_keypad::kBodyHeight - 44, remote_keypad::kBodyWidth, 20), Qt::AlignCenter,
             QStringLiteral("VIREO"));
}

}  // namespace

CRemotePicture::CRemotePicture(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
}

void CRemotePicture::SetCodes(const std::array<std::uint8_t, remote_keypad::kKeyCount>& codes) {
  if (codes == codes_) return;
  codes_ = codes;
  update();
}

void CRemotePicture::SetFocusedKey(int slot) {
  if (slot < 0 || slot >= remote_keypad::kKeyCount || slot == focused_) return;
  focused_ = slot;
  update();
  emit keyShown(ShownKey());
}

QPoint CRemotePicture::KeyPosition(int slot) const {
  const remote_keypad::Fit fit = remote_keypad::FitBody(width(), height());
  const remote_keypad::Point c = remote_keypad::KeyCentre(slot);
  return QPointF(fit.offsetX + c.x * fit.scale, fit.offsetY + c.y * fit.scale).toPoint();
}

QSize CRemotePicture::sizeHint() const {
  return {250, 620};
}

QSize CRemotePicture::minimumSizeHint() const {
  return {180, 450};
}

int CRemotePicture::KeyUnder(const QPointF& pixel) const {
  const remote_keypad::Fit fit = remote_keypad::FitBody(width(), height());
  return remote_keypad::KeyAt(fit.ToDesign({pixel.x(), pixel.y()}));
}

void CRemotePicture::SetHovered(int slot) {
  if (slot == hovered_) return;
  hovered_ = slot;
  setCursor(slot >= 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
  update();
  emit keyShown(ShownKey());
}

void CRemotePicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const remote_keypad::Fit fit = remote_keypad::FitBody(width(), height());
  p.translate(fit.offsetX, fit.offsetY);
  p.scale(fit.scale, fit.scale);
  PaintBody(p);
  const auto& keys = remote_keypad::Keys();
  for (int slot = 0; slot < remote_keypad::kKeyCount; ++slot) {
    const KeySpec& k = keys[static_cast<std::size_t>(slot)];
    const QPainterPath path = KeyPath(k);
    const KeyColours face = FaceOf(k, slot == hovered_, slot == pressed_);
    const QRectF bounds = path.boundingRect();
    QLinearGradient fill(bounds.topLeft(), bounds.bottomLeft());
    fill.setColorAt(0, face.top);
    fill.setColorAt(1, face.bottom);
    p.setPen(QPen(QColor(18, 19, 23), 1.2));
    p.setBrush(fill);
    p.drawPath(path);
    // A thin light edge on top makes the keys stand up from the body.
    QLinearGradient edge(bounds.topLeft(), bounds.bottomLeft());
    edge.setColorAt(0, QColor(255, 255, 255, 70));
    edge.setColorAt(0.5, QColor(255, 255, 255, 0));
    p.setPen(QPen(QBrush(edge), 0.9));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    PaintGlyph(p, k);
    PaintCodeChip(p, k, codes_[static_cast<std::size_t>(k.function)]);
  }
  PaintLegends(p);
  if (hasFocus()) {
    const QPainterPath ring = KeyPath(keys[static_cast<std::size_t>(focused_)]);
    p.setPen(QPen(kFocus, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(ring);
  }
}

void CRemotePicture::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  pressed_ = KeyUnder(event->position());
  if (pressed_ >= 0) SetFocusedKey(pressed_);
  update();
}

void CRemotePicture::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  const int slot = pressed_;
  pressed_ = -1;
  update();
  if (slot >= 0 && KeyUnder(event->position()) == slot) emit keyActivated(slot);
}

void CRemotePicture::mouseMoveEvent(QMouseEvent* event) {
  SetHovered(KeyUnder(event->position()));
  QWidget::mouseMoveEvent(event);
}

void CRemotePicture::leaveEvent(QEvent* event) {
  SetHovered(-1);
  QWidget::leaveEvent(event);
}

void CRemotePicture::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
      SetFocusedKey(remote_keypad::NeighbourKey(focused_, -1, 0));
      break;
    case Qt::Key_Right:
      SetFocusedKey(remote_keypad::NeighbourKey(focused_, 1, 0));
      break;
    case Qt::Key_Up:
      SetFocusedKey(remote_keypad::NeighbourKey(focused_, 0, -1));
      break;
    case Qt::Key_Down:
      SetFocusedKey(remote_keypad::NeighbourKey(focused_, 0, 1));
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      if (!event->isAutoRepeat()) emit keyActivated(focused_);
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
}

void CRemotePicture::focusInEvent(QFocusEvent* event) {
  update();
  QWidget::focusInEvent(event);
}

void CRemotePicture::focusOutEvent(QFocusEvent* event) {
  update();
  QWidget::focusOutEvent(event);
}
