// The picture button.
#include "controls/gdip_button.h"

#include <QPainter>
#include <algorithm>

#include "controls/control_painting.h"
#include "look/control_id.h"
#include "look/dialog_look.h"

CGdipButton::CGdipButton(int controlId, const QString& caption, QWidget* parent) : QAbstractButton(parent) {
  SetControlId(this, controlId);
  setText(caption);
  setFont(SongTiFont(12, 400));
  setAttribute(Qt::WA_Hover);  // repaint when the pointer comes and goes
  setFocusPolicy(Qt::TabFocus);
}

void CGdipButton::SetTextFont(const QFont& font) {
  setFont(font);
  updateGeometry();
}

void CGdipButton::SetTextColor(const QColor& colour) {
  textColour_ = colour;
  update();
}

void CGdipButton::SetCheck(bool checked) {
  if (checked) setCheckable(true);
  setChecked(checked);
  update();
}

void CGdipButton::SetGlyph(ButtonGlyph glyph) {
  glyph_ = glyph;
  update();
}

ButtonState CGdipButton::visualState() const {
  return ResolveButtonState(isEnabled(), isDown(), isCheckable() && isChecked(), underMouse());
}

QSize CGdipButton::sizeHint() const {
  const QFontMetrics metrics(font());
  if (glyph_ != ButtonGlyph::none || text().isEmpty()) return QSize(28, 28);
  return QSize(metrics.horizontalAdvance(text()) + 20, std::max(24, metrics.height() + 10));
}

void CGdipButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const ButtonState state = visualState();
  PaintButtonFace(p, QRectF(rect()), FaceOfState(state));
  const QColor ink = state == ButtonState::disabled ? QColor(245, 245, 245) : textColour_;
  if (glyph_ == ButtonGlyph::back) {
    PaintBackGlyph(p, QRectF(rect()), ink);
    return;
  }
  p.setFont(font());
  p.setPen(ink);
  // Pressed text sinks by a pixel, as a picture button's pressed image does.
  const QRect textRect = state == ButtonState::pressed ? rect().translated(0, 1) : rect();
  p.drawText(textRect, Qt::AlignCenter, text());
  if (hasFocus()) {
    p.setPen(QPen(QColor(255, 255, 255, 160), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(rect()).adjusted(2.5, 2.5, -2.5, -2.5), 2, 2);
  }
}
