// The drawn pictures of the small controls (slider track and thumbs, button faces, meter LEDs), in the
// ribbon's blues. Vector drawing, so every device pixel ratio stays sharp.
#pragma once

#include <QColor>
#include <QRectF>

#include "look/button_look.h"

class QPainter;

enum class ThumbLook { normal, focused, disabled };

// The groove along which the thumb travels, from `from` to `to` (the centre line of the travel), with the
// part between `activeFrom` and `activeTo` in the active colour.
void PaintSliderTrack(QPainter& p, QPointF from, QPointF to, QPointF activeFrom, QPointF activeTo,
                      bool enabled);
void PaintSliderThumb(QPainter& p, const QRectF& thumb, bool horizontal, ThumbLook look);

void PaintButtonFace(QPainter& p, const QRectF& rect, const ButtonFace& face);
// A left-pointing arrow, the back button's picture, centred in `rect`.
void PaintBackGlyph(QPainter& p, const QRectF& rect, const QColor& colour);

// One LED of a meter: lit LEDs glow from a lighter top edge, unlit ones are flat.
void PaintLed(QPainter& p, const QRectF& cell, const QColor& colour, bool lit);

inline QColor ToQColor(Rgb c) {
  return QColor(c.r, c.g, c.b);
}
