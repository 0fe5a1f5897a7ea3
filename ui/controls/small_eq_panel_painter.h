// Draws the small equaliser preview from vireo::dsp's preview geometry; the grid comes as a kept picture.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

#include "dsp/small_eq_preview.h"

class QPainter;

// The grid picture of one client size at one device pixel ratio, drawn again only when either changes.
class SmallEqGridCache {
 public:
  const QImage& For(QSize size, qreal ratio);
  // How many times the picture was drawn.
  int builds() const { return builds_; }

 private:
  QImage image_;
  QSize size_;
  qreal ratio_ = 0.0;
  int builds_ = 0;
};

struct SmallEqPaintState {
  const vireo::dsp::SmallEqPreview* preview = nullptr;  // laid out for the size being painted
  QColor curve = QColor::fromRgba(0xFF00C8FF);
  bool bypass = false;
  bool hovered = false;
};

// The grid over a client area of `size` logical pixels, sharp at `ratio`.
QImage PaintSmallEqGrid(QSize size, qreal ratio);

// The whole preview: the grid picture, the total curve, PASS when bypassed, the hover frame.
void PaintSmallEqPanel(QPainter& painter, QSize size, const QImage& grid, const SmallEqPaintState& state);
