// Painting and mouse handling of the delay graph: every position comes from vireo::dsp's delay geometry.
#include "controls/delay_panel.h"

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>

#include "look/dialog_look.h"

namespace {

using vireo::dsp::DelayGraphGeometry;

const QColor kBackground(22, 26, 34);
const QColor kEdgeLine(128, 128, 128);
const QColor kInnerLine(64, 64, 64);
constexpr int kLabelGap = 5;
constexpr int kAxisTextGap = 5;
constexpr int kQuietAlpha = 64;
constexpr int kGrabbedAlpha = 128;

// Marker and value colour, and lane label colour, by channel.
constexpr std::array<QRgb, CDelayPanel::kMaxChannels> kChannelColours{
    qRgb(227, 207, 87), qRgb(176, 224, 230), qRgb(255, 153, 18), qRgb(65, 105, 225),
    qRgb(235, 142, 85), qRgb(106, 90, 205),  qRgb(65, 224, 208), qRgb(127, 255, 0)};
constexpr std::array<QRgb, CDelayPanel::kMaxChannels> kLabelColours{
    qRgb(227, 207, 87), qRgb(227, 207, 87), qRgb(176, 224, 230), qRgb(255, 153, 18),
    qRgb(65, 105, 225), qRgb(65, 105, 225), qRgb(235, 142, 85),  qRgb(235, 142, 85)};

QColor ChannelColour(int channel) {
  return QColor(kChannelColours[static_cast<std::size_t>(channel) % kChannelColours.size()]);
}

QFont GraphFont() {
  return SongTiFont(12, QFont::Normal);
}

void PaintLanes(QPainter& p, const DelayGraphGeometry& g) {
  const float h = g.LaneHeight();
  for (int k = 0; k <= g.lanes; ++k) {
    const bool edge = k == 0 || k == g.lanes;
    p.setPen(QPen(edge ? kEdgeLine : kInnerLine, edge ? 1.0 : 0.6));
    const double y = g.PlotTop() + static_cast<double>(k * h);
    p.drawLine(QPointF(g.PlotLeft(), y), QPointF(g.PlotRight(), y));
  }
}

// Always in Chinese with the channel code, as the machine's panels label them.
void PaintLaneLabels(QPainter& p, const DelayGraphGeometry& g, const std::vector<int>& channels) {
  const int textHeight = p.fontMetrics().height();
  const int right = g.PlotLeft() - kLabelGap;
  for (int k = 1; k <= g.lanes; ++k) {
    const int channel = channels[static_cast<std::size_t>(k - 1)];
    p.setPen(QColor(kLabelColours[static_cast<std::size_t>(channel) % kLabelColours.size()]));
    const int centre = static_cast<int>(std::lround(g.LabelCentreY(k)));
    p.drawText(QRect(0, centre - textHeight / 2, right, textHeight), Qt::AlignRight | Qt::AlignVCenter,
               QString::fromUtf8("通道(CH)%1").arg(channel + 1));
  }
}

void PaintAxis(QPainter& p, const DelayGraphGeometry& g) {
  const QFontMetrics metrics = p.fontMetrics();
  for (const vireo::dsp::DelayAxisTick& tick : vireo::dsp::DelayAxisTicks(g)) {
    const QString text = QString::fromStdString(tick.label);
    const int width = metrics.horizontalAdvance(text);
    p.setPen(Qt::white);
    p.drawText(QRectF(tick.x - width / 2.0, g.PlotBottom() + kAxisTextGap, width, metrics.height()),
               Qt::AlignCenter, text);
    if (tick.line) {
      p.setPen(QPen(kEdgeLine, 1.0));
      p.drawLine(QPointF(tick.x, g.PlotTop()), QPointF(tick.x, g.PlotBottom()));
    }
  }
}

// A flag on a pole: the pole is the marker's left edge, where its delay lies.
void PaintMarker(QPainter& p, int x, int y, const QColor& colour) {
  const QPointF flag[] = {{x + 0.5, y + 0.5},
                          {x + CDelayPanel::kMarkerWidth - 0.5, y + CDelayPanel::kMarkerHeight / 2.0},
                          {x + 0.5, y + CDelayPanel::kMarkerHeight - 0.5}};
  p.setPen(QPen(colour.lighter(130), 1.0));
  p.setBrush(colour);
  p.drawPolygon(flag, 3);
  p.setBrush(Qt::NoBrush);
}

}  // namespace

CDelayPanel::CDelayPanel(QWidget* parent) : QWidget(parent) {
  // The background picture covers every pixel.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CDelayPanel::SetChannelCount(int n) {
  items_.assign(static_cast<std::size_t>(std::clamp(n, 0, kMaxChannels)), Item{});
  const DelayGraphGeometry g = Geometry();
  for (std::size_t i = 0; i < items_.size(); ++i) {
    items_[i].channel = static_cast<int>(i);
    items_[i].markerX = g.XOfValue(0.0f);
  }
  dragged_ = -1;
  background_ = QImage();  // the lane count is part of it
  update();
}

void CDelayPanel::SetValue(int index, float ms) {
  if (index < 0 || index >= channelCount() || std::isnan(ms)) return;
  Item& item = items_[static_cast<std::size_t>(index)];
  if (item.minimum != item.maximum) ms = std::clamp(ms, item.minimum, item.maximum);
  item.value = ms;
  const QRect before = ItemArea(index);
  item.markerX = Geometry().XOfValue(ms);
  update(before | ItemArea(index));
}

QRect CDelayPanel::ItemArea(int index) const {
  if (index < 0 || index >= channelCount()) return {};
  // The marker, its value text on either side of the pole, and the pole down to the plot's bottom. The
  // dashed line left of the marker only changes where the marker moved, which the old and new areas
  // cover between them.
  constexpr int kTextRoom = 80;
  const DelayGraphGeometry g = Geometry();
  const int x = items_[static_cast<std::size_t>(index)].markerX;
  const int top = g.LaneTop(index);
  return QRect(QPoint(x - kTextRoom, top), QPoint(x + kMarkerWidth + kTextRoom, g.PlotBottom() + 1));
}

float CDelayPanel::value(int index) const {
  return index >= 0 && index < channelCount() ? items_[static_cast<std::size_t>(index)].value : 0.0f;
}

int CDelayPanel::markerX(int index) const {
  return index >= 0 && index < channelCount() ? items_[static_cast<std::size_t>(index)].markerX : 0;
}

DelayGraphGeometry CDelayPanel::Geometry() const {
  return {width(), height(), channelCount()};
}

std::vector<int> CDelayPanel::MarkerXs() const {
  std::vector<int> xs;
  xs.reserve(items_.size());
  for (const Item& item : items_) xs.push_back(item.markerX);
  return xs;
}

const QImage& CDelayPanel::Background(qreal ratio) {
  if (background_.isNull() || background_.deviceIndependentSize().toSize() != size() ||
      background_.devicePixelRatio() != ratio) {
    background_ = QImage(size().expandedTo(QSize(1, 1)) * ratio, QImage::Format_ARGB32_Premultiplied);
    background_.setDevicePixelRatio(ratio);
    background_.fill(kBackground);
    QPainter p(&background_);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setFont(GraphFont());
    const DelayGraphGeometry g = Geometry();
    std::vector<int> channels;
    for (const Item& item : items_) channels.push_back(item.channel);
    PaintLanes(p, g);
    PaintLaneLabels(p, g, channels);
    PaintAxis(p, g);
    ++backgroundBuilds_;
  }
  return background_;
}

void CDelayPanel::PaintItems(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setFont(GraphFont());
  const DelayGraphGeometry g = Geometry();
  const int textHeight = p.fontMetrics().height();
  for (int i = 0; i < channelCount(); ++i) {
    const Item& item = items_[static_cast<std::size_t>(i)];
    const QColor colour = ChannelColour(item.channel);
    const int top = g.MarkerTop(i, kMarkerHeight, textHeight);
    // The row of the one-pixel lines.
    const int lineRow = top + kMarkerHeight / 2 + 5;
    p.setRenderHint(QPainter::Antialiasing, true);
    PaintMarker(p, item.markerX, top, colour);
    // The lines are one pixel wide on whole pixels: without smoothing they look the same and cost a
    // fraction (a smoothed dash pattern across a wide graph was most of a drag step).
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(colour, 1.0, Qt::DashLine));
    p.drawLine(QPoint(g.PlotLeft(), lineRow), QPoint(item.markerX, lineRow));
    QColor pole = colour;
    pole.setAlpha(i == dragged_ ? kGrabbedAlpha : kQuietAlpha);
    p.setPen(QPen(pole, 1.0));
    p.drawLine(QPoint(item.markerX, lineRow), QPoint(item.markerX, g.PlotBottom()));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(colour);
    const QString text = QString::fromStdString(vireo::dsp::DelayMsText(item.value));
    const int textWidth = p.fontMetrics().horizontalAdvance(text);
    // Right of the pole; near the right edge, left of it, so that "100.0ms" is never cut off.
    int textLeft = item.markerX + 2;
    if (textLeft + textWidth > width()) textLeft = item.markerX - 2 - textWidth;
    p.drawText(QRect(textLeft, top + kMarkerHeight, textWidth, textHeight), Qt::AlignLeft | Qt::AlignTop,
               text);
  }
}

void CDelayPanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // The ratio of the device really painted on, so that a 2x picture gets a 2x background.
  const QPaintEngine* engine = p.paintEngine();
  const qreal ratio = engine != nullptr && engine->paintDevice() != nullptr
                          ? engine->paintDevice()->devicePixelRatioF()
                          : devicePixelRatioF();
  p.drawImage(QPoint(0, 0), Background(ratio));
  PaintItems(p);
}

void CDelayPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  const DelayGraphGeometry g = Geometry();
  for (Item& item : items_) item.markerX = g.XOfValue(item.value);
}

void CDelayPanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  buttonDown_ = true;
  const QPoint at = event->position().toPoint();
  dragged_ = vireo::dsp::HitDelayMarker(Geometry(), MarkerXs(), kMarkerWidth, at.x(), at.y());
  update();
}

void CDelayPanel::mouseMoveEvent(QMouseEvent* event) {
  if (!buttonDown_ || dragged_ < 0 || dragged_ >= channelCount()) return;
  Item& item = items_[static_cast<std::size_t>(dragged_)];
  const QRect before = ItemArea(dragged_);
  item.markerX = event->position().toPoint().x() - kMarkerWidth / 2;
  item.value = Geometry().ValueAtX(item.markerX, item.minimum, item.maximum);
  update(before | ItemArea(dragged_));
  emit DelayChanged(dragged_, item.value);
}

void CDelayPanel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  buttonDown_ = false;
}
