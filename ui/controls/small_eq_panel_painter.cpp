// Painting of the small preview: every position comes from vireo::dsp's preview geometry.
#include "controls/small_eq_panel_painter.h"

#include <QPainter>
#include <QPolygonF>

#include "look/dialog_look.h"

namespace {

using namespace vireo::dsp;

// The grid's colours are chosen against black: the faint lines are barely above it.
const QColor kBackground(0, 0, 0);
const QColor kFaintLine = QColor::fromRgba(0xFF171717);
const QColor kMajorLine = QColor::fromRgba(0xFF404040);
const QColor kEdgeLine = QColor::fromRgba(0xFF808080);
const QColor kHoverFrame(0, 255, 255);
constexpr double kCurveWidth = 1.7;

QColor LineColour(PreviewLineWeight weight) {
  switch (weight) {
    case PreviewLineWeight::faint:
      return kFaintLine;
    case PreviewLineWeight::major:
      return kMajorLine;
    default:
      return kEdgeLine;
  }
}

// Lines are filled pixel rows and columns rather than stroked, so they cover whole device pixels at any
// ratio.
void PaintGridLines(QPainter& p, const PreviewPlot& plot) {
  for (const PreviewLevelLine& line : PreviewLevelLines(plot)) {
    p.fillRect(QRect(plot.left, line.y, plot.width + 1, 1), LineColour(line.weight));
  }
  for (int x : PreviewFrequencyLines(plot)) {
    p.fillRect(QRect(x, plot.top, 1, plot.height + 1), kMajorLine);
  }
}

// Curve points name whole pixels; the line runs through their centres, on the grid rows it crosses.
void PaintTotalCurve(QPainter& p, const PreviewCurve& total, const QColor& colour) {
  QPolygonF line;
  line.reserve(static_cast<int>(total.size()));
  for (const PixelPoint& point : total) {
    line << QPointF(point.x + 0.5, point.y + 0.5);
  }
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(colour, kCurveWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPolyline(line);
  p.restore();
}

void PaintFrame(QPainter& p, QSize size, const QColor& colour) {
  const int w = size.width();
  const int h = size.height();
  p.fillRect(QRect(0, 0, w, 1), colour);
  p.fillRect(QRect(0, h - 1, w, 1), colour);
  p.fillRect(QRect(0, 0, 1, h), colour);
  p.fillRect(QRect(w - 1, 0, 1, h), colour);
}

}  // namespace

const QImage& SmallEqGridCache::For(QSize size, qreal ratio) {
  if (image_.isNull() || size != size_ || ratio != ratio_) {
    image_ = PaintSmallEqGrid(size, ratio);
    size_ = size;
    ratio_ = ratio;
    ++builds_;
  }
  return image_;
}

QImage PaintSmallEqGrid(QSize size, qreal ratio) {
  QImage image(size.expandedTo(QSize(1, 1)) * ratio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(kBackground);
  QPainter p(&image);
  PaintGridLines(p, PreviewPlotForClient(size.width(), size.height()));
  return image;
}

void PaintSmallEqPanel(QPainter& painter, QSize size, const QImage& grid, const SmallEqPaintState& state) {
  painter.drawImage(QPointF(0, 0), grid);
  if (state.preview != nullptr) PaintTotalCurve(painter, state.preview->total(), state.curve);
  if (state.bypass) {
    painter.setFont(HeiTiFont(32, 400));
    painter.setPen(Qt::white);
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, QStringLiteral("PASS"));
  }
  if (state.hovered) PaintFrame(painter, size, kHoverFrame);
}
