// The room picture.
#include "controls/ss_volume_panel.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <vector>

namespace {

using vireo::dsp::RoomGridLine;
using vireo::dsp::RoomMap;
using vireo::dsp::RoomPixel;

const QColor kRoomBackground(22, 26, 38);
const QColor kGridLine(64, 64, 64);
const QColor kGridEdge(128, 128, 128);
const QColor kGridText(73, 90, 151);
constexpr int kIconHalf = 14;  // the item pictures are 28 pixels square

struct SpeakerLook {
  const char* name;
  QColor colour;
};
const std::array<SpeakerLook, 8> kSpeakers{{{"前置左(L)", QColor(227, 207, 87)},
                                            {"中置(CEN)", QColor(176, 224, 230)},
                                            {"前置右(R)", QColor(227, 207, 87)},
                                            {"后环绕左(SBL)", QColor(65, 105, 225)},
                                            {"超低(SUB)", QColor(235, 142, 85)},
                                            {"后环绕右(SBR)", QColor(65, 105, 225)},
                                            {"侧环绕左(SL)", QColor(255, 153, 18)},
                                            {"侧环绕右(SR)", QColor(255, 153, 18)}}};

QFont PixelFont(const char* family, int pixels, bool bold) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// The edges' labels first, then the inner ones from the centre outwards.
std::vector<RoomGridLine> LabelOrder(std::vector<RoomGridLine> lines) {
  std::stable_partition(lines.begin(), lines.end(), [](const RoomGridLine& l) { return l.edge; });
  return lines;
}

// Tahoma 13 where the label fits the margin, smaller where it does not ("+3.5m" beside a 30-pixel inset).
QFont FittingFont(const QString& text, int room) {
  QFont font = PixelFont("Tahoma", 13, false);
  while (font.pixelSize() > 8 && QFontMetrics(font).horizontalAdvance(text) > room)
    font.setPixelSize(font.pixelSize() - 1);
  return font;
}

void DrawGrid(QPainter& p, const RoomMap& map) {
  const auto rows = vireo::dsp::RoomHorizontalLines(map);
  const auto columns = vireo::dsp::RoomVerticalLines(map);
  for (const RoomGridLine& line : rows) {
    p.setPen(QPen(line.edge ? kGridEdge : kGridLine, 1));
    p.drawLine(map.left(), line.position, map.right(), line.position);
  }
  for (const RoomGridLine& line : columns) {
    p.setPen(QPen(line.edge ? kGridEdge : kGridLine, 1));
    p.drawLine(line.position, map.top(), line.position, map.bottom());
  }
  p.setPen(kGridText);
  // A label that would run into one of its own axis already drawn is left out (a small picture of a large
  // room); its line stays.
  auto place = [&p](std::vector<QRect>& drawn, const QRect& box, const QString& text, Qt::Alignment align) {
    for (const QRect& other : drawn) {
      if (other.intersects(box)) return;
    }
    drawn.push_back(box);
    p.drawText(box, align, text);
  };
  std::vector<QRect> left;
  const int room = map.left() - 3;
  // One size for the inner labels of the side, the largest at which every one fits beside its line.
  QString widest;
  for (const RoomGridLine& line : rows) {
    const QString text = QString::fromStdString(line.label);
    if (!line.edge && text.size() > widest.size()) widest = text;
  }
  const QFont inner = FittingFont(widest, room - 1);
  for (const RoomGridLine& line : LabelOrder(rows)) {
    const QString text = QString::fromStdString(line.label);
    p.setFont(inner);
    const QFontMetrics metrics = p.fontMetrics();
    const int w = metrics.horizontalAdvance(text);
    if (w <= room || !line.edge) {
      place(left, QRect(room - w, line.position - metrics.height() / 2, w, metrics.height()), text,
            Qt::AlignRight | Qt::AlignVCenter);
    } else {
      // A half-metre edge ("+3.5m") is wider than the margin: it stands at the picture's left edge, above
      // the top line or below the bottom one, in the same size as the rest.
      const bool top = line.position <= map.centreY();
      const int y = top ? line.position - metrics.height() - 1 : line.position + 2;
      place(left, QRect(1, y, w, metrics.height()), text, Qt::AlignLeft | Qt::AlignVCenter);
    }
  }
  p.setFont(PixelFont("Tahoma", 13, false));
  const QFontMetrics metrics = p.fontMetrics();
  std::vector<QRect> below;
  for (const RoomGridLine& line : LabelOrder(columns)) {
    const QString text = QString::fromStdString(line.label);
    const int w = metrics.horizontalAdvance(text) + 4;
    QRect box(line.position - w / 2, map.bottom() + 3, w, metrics.height());
    // The bottom-left corner holds the lowest label of the left side: the first label underneath steps
    // right of it.
    for (const QRect& other : left) {
      if (other.intersects(box)) box.moveLeft(other.right() + 2);
    }
    place(below, box, text, Qt::AlignHCenter | Qt::AlignTop);
  }
}

// A person seen from above: shoulders and head, on a light disc so it stands out on the dark room.
void DrawListener(QPainter& p, QPoint at) {
  const QPointF c(at);
  p.setPen(QPen(QColor(20, 60, 20), 1.5));
  p.setBrush(QColor(170, 230, 160));
  p.drawEllipse(c, kIconHalf, kIconHalf);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(40, 110, 60));
  p.drawRoundedRect(QRectF(c.x() - 9, c.y() + 1, 18, 9), 4.5, 4.5);
  p.setBrush(QColor(245, 215, 180));
  p.drawEllipse(QPointF(c.x(), c.y() - 3), 5.5, 5.5);
  p.setBrush(QColor(70, 50, 35));
  p.drawChord(QRectF(c.x() - 5.5, c.y() - 8.5, 11, 11), 0, 180 * 16);
}

// A loudspeaker cabinet with its cone, framed in the loudspeaker's colour.
void DrawSpeaker(QPainter& p, QPoint at, const QColor& colour) {
  const QRectF cabinet(at.x() - kIconHalf + 2, at.y() - kIconHalf, 2 * kIconHalf - 4, 2 * kIconHalf);
  p.setPen(QPen(colour, 2));
  p.setBrush(QColor(232, 232, 232));
  p.drawRoundedRect(cabinet, 3, 3);
  p.setPen(QPen(QColor(150, 150, 150), 1));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(at.x(), at.y() + 3), 8, 8);
  p.drawEllipse(QPointF(at.x(), at.y() - 9), 2.5, 2.5);
}

}  // namespace

CSSVolumePanel::CSSVolumePanel(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  for (int i = 0; i < kRoomItems; ++i) items_[static_cast<std::size_t>(i)].index = i;
}

RoomMap CSSVolumePanel::Map() const {
  return RoomMap(width(), height(), roomWidth_, roomLength_);
}

void CSSVolumePanel::SetRoomSize(int width, int length) {
  roomWidth_ = width;
  roomLength_ = length;
  RebuildBackground();
  PlaceItems();
  update();
}

void CSSVolumePanel::SetItem(int index, vireo::dsp::RoomMetres metres) {
  if (index < 0 || index >= kRoomItems) return;
  SSVolumeItem& item = items_[static_cast<std::size_t>(index)];
  item.metres = metres;
  item.pixel = Map().ToPixel(metres);
  update();
}

void CSSVolumePanel::PlaceItems() {
  const RoomMap map = Map();
  for (SSVolumeItem& item : items_) item.pixel = map.ToPixel(item.metres);
}

void CSSVolumePanel::RebuildBackground() {
  if (width() <= 0 || height() <= 0) return;
  // In the painting surface's own format, so that every repaint is a plain copy.
  background_ = QImage(size() * devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
  background_.setDevicePixelRatio(devicePixelRatioF());
  background_.fill(kRoomBackground);
  QPainter p(&background_);
  DrawGrid(p, Map());
}

void CSSVolumePanel::PaintTo(QPainter& p) {
  if (background_.isNull() || background_.deviceIndependentSize().toSize() != size()) RebuildBackground();
  p.drawImage(0, 0, background_);
  p.setRenderHint(QPainter::Antialiasing);
  const QFont number = PixelFont("Arial", 12, true);
  const QFont name = PixelFont("Arial", 11, false);
  // Loudspeakers first, the listener on top: it is the item dragged most.
  for (int i = 1; i < kRoomItems; ++i) {
    const SSVolumeItem& item = items_[static_cast<std::size_t>(i)];
    const QPoint at(item.pixel.x, item.pixel.y);
    const SpeakerLook& look = kSpeakers[static_cast<std::size_t>(i - 1)];
    DrawSpeaker(p, at, look.colour);
    p.setFont(number);
    p.setPen(Qt::red);
    p.drawText(QRect(at.x() - kIconHalf, at.y() - kIconHalf, 2 * kIconHalf, 2 * kIconHalf), Qt::AlignCenter,
               QString::number(i));
    p.setFont(name);
    p.setPen(look.colour);
    const QString text = QString::fromUtf8(look.name);
    const int textWidth = p.fontMetrics().horizontalAdvance(text);
    p.drawText(QPoint(at.x() - textWidth / 2, at.y() + kIconHalf + 2 + p.fontMetrics().ascent()), text);
  }
  const SSVolumeItem& listener = items_[0];
  DrawListener(p, QPoint(listener.pixel.x, listener.pixel.y));
}

void CSSVolumePanel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  PaintTo(p);
}

void CSSVolumePanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  RebuildBackground();
  PlaceItems();
}

void CSSVolumePanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  std::array<RoomPixel, kRoomItems> pixels{};
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = items_[i].pixel;
  const QPoint mouse = event->position().toPoint();
  grabbed_ = vireo::dsp::HitRoomItem(pixels, {mouse.x(), mouse.y()});
  if (grabbed_ >= 0) emit itemGrabbed(items_[static_cast<std::size_t>(grabbed_)]);
}

void CSSVolumePanel::mouseMoveEvent(QMouseEvent* event) {
  if (grabbed_ < 0 || !(event->buttons() & Qt::LeftButton)) return;
  DragTo(event->position().toPoint());
}

void CSSVolumePanel::DragTo(QPoint mouse) {
  const RoomMap map = Map();
  SSVolumeItem& item = items_[static_cast<std::size_t>(grabbed_)];
  item.pixel = map.ClampToPlot({mouse.x(), mouse.y()});
  item.metres = map.ToMetres(item.pixel);
  emit itemMoved(item);
  update();
}

void CSSVolumePanel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) grabbed_ = -1;
}
