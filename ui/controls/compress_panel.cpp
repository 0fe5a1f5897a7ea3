// Painting of the compressor curve: every position comes from vireo::dsp's compressor geometry.
#include "controls/compress_panel.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>

#include "dsp/compressor_curve.h"
#include "look/dialog_look.h"

namespace {

using namespace vireo::dsp;

const QColor kBackground(0, 0, 0);
const QColor kGrid(0, 110, 0);
const QColor kText(255, 255, 0);
const QColor kCurve(0, 207, 255);
const QColor kDot(255, 10, 10, 200);
const QColor kBand(120, 120, 120, 65);
const QColor kOffText(0, 150, 255);
constexpr int kDotDiameter = 8;
constexpr int kLabelGap = 2;         // between a left label and the plot's edge
constexpr int kBottomLabelTop = 23;  // from the bottom edge

// Grid lines are filled pixel rows and columns, so they cover whole device pixels at any ratio.
void PaintGrid(QPainter& p, const CompCurveAxes& axes) {
  const int right = axes.width - kCompPlotRightMargin;
  const int bottom = axes.PlotHeight() + kCompPlotTop;
  for (const CompGridLine& line : CompOutputGrid()) {
    p.fillRect(QRect(kCompPlotLeft, axes.Y(line.db), right - kCompPlotLeft + 1, 1), kGrid);
  }
  for (const CompGridLine& line : CompInputGrid()) {
    p.fillRect(QRect(axes.X(line.db), kCompPlotTop, 1, bottom - kCompPlotTop + 1), kGrid);
  }
}

QString Label(const CompGridLine& line) {
  return QString::fromLatin1(line.label.data(), static_cast<int>(line.label.size()));
}

void PaintLabels(QPainter& p, const CompCurveAxes& axes) {
  p.setFont(SongTiFont(12, QFont::Normal));
  p.setPen(kText);
  const int textHeight = p.fontMetrics().height();
  const int labelWidth = kCompPlotLeft - kLabelGap;
  for (const CompGridLine& line : CompOutputGrid()) {
    const QRect box(0, axes.Y(line.db) - textHeight / 2, labelWidth, textHeight);
    p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, Label(line));
  }
  // Centred under their lines, but never into the left labels' column nor past the right edge.
  const int top = axes.height - kBottomLabelTop;
  for (const CompGridLine& line : CompInputGrid()) {
    const QString text = Label(line);
    const int textWidth = p.fontMetrics().horizontalAdvance(text);
    const int left =
        std::max(kCompPlotLeft, std::min(axes.X(line.db) - textWidth / 2, axes.width - textWidth));
    p.drawText(QRect(left, top, textWidth, textHeight), Qt::AlignLeft | Qt::AlignTop, text);
  }
}

QPointF Centre(const PixelPoint& point) {
  return {point.x + 0.5, point.y + 0.5};
}

void PaintCurve(QPainter& p, const CompCurve& c) {
  p.fillRect(QRect(c.bandLeft, c.bandTop, c.bandWidth, c.bandHeight), kBand);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(kCurve, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  const QPointF line[] = {Centre(c.low), Centre(c.start), Centre(c.threshold), Centre(c.end)};
  p.drawPolyline(line, 4);
  p.setPen(Qt::NoPen);
  p.setBrush(kDot);
  p.drawEllipse(Centre(c.threshold), kDotDiameter / 2.0, kDotDiameter / 2.0);
}

void PaintOff(QPainter& p, QSize size) {
  QFont font = HeiTiFont(40, QFont::Bold);
  font.setPointSize(40);
  p.setFont(font);
  p.setPen(kOffText);
  p.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter, QStringLiteral("OFF"));
}

}  // namespace

CCompressPanelPlus::CCompressPanelPlus(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

const QImage& CCompressPanelPlus::Grid(qreal ratio) {
  if (grid_.isNull() || grid_.deviceIndependentSize().toSize() != size() ||
      grid_.devicePixelRatio() != ratio) {
    grid_ = QImage(size().expandedTo(QSize(1, 1)) * ratio, QImage::Format_ARGB32_Premultiplied);
    grid_.setDevicePixelRatio(ratio);
    grid_.fill(kBackground);
    QPainter p(&grid_);
    const CompCurveAxes axes{width(), height()};
    PaintGrid(p, axes);
    PaintLabels(p, axes);
    ++gridBuilds_;
  }
  return grid_;
}

void CCompressPanelPlus::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // The ratio of the device really painted on: rendering into a 2x picture redirects this painter there,
  // and the grid must be drawn at 2x, not scaled up.
  const QPaintEngine* engine = p.paintEngine();
  const qreal ratio = engine != nullptr && engine->paintDevice() != nullptr
                          ? engine->paintDevice()->devicePixelRatioF()
                          : devicePixelRatioF();
  p.drawImage(QPoint(0, 0), Grid(ratio));
  PaintCurve(p, CompressorCurve(CompCurveAxes{width(), height()}, threshold_, slope_, start_));
  if (!on_) PaintOff(p, size());
}
