// Channel picture.
#include "pages/channel_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <array>

#include "i18n/language_table.h"

namespace {

// Where each channel's loudspeaker stands in the room, as fractions of the room's width and depth (front
// at the top): front left and right, surround back left and right, subwoofer, centre, side left and right.
constexpr std::array<QPointF, 8> kSpeakers = {{{0.16, 0.14},
                                               {0.84, 0.14},
                                               {0.30, 0.90},
                                               {0.70, 0.90},
                                               {0.30, 0.14},
                                               {0.50, 0.10},
                                               {0.08, 0.55},
                                               {0.92, 0.55}}};

const QColor kRoom(250, 252, 255);
const QColor kRoomEdge(150, 170, 190);
const QColor kIdle(170, 180, 190);
const QColor kLit(0, 160, 230);

}  // namespace

CChannelPicture::CChannelPicture(QWidget* parent) : QWidget(parent) {}

void CChannelPicture::SetChannel(int channel) {
  channel_ = channel >= 0 && channel < 8 ? channel : 0;
  update();
}

void CChannelPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const int labelHeight = 18;
  const QRectF room = QRectF(rect()).adjusted(1, 1, -1, -1 - labelHeight);
  p.setPen(QPen(kRoomEdge, 1));
  p.setBrush(kRoom);
  p.drawRoundedRect(room, 6, 6);

  // The listener: a head with its nose toward the front.
  const QPointF listener(room.center().x(), room.top() + room.height() * 0.55);
  p.setBrush(QColor(120, 130, 140));
  p.setPen(Qt::NoPen);
  p.drawEllipse(listener, 6, 6);
  p.drawPolygon(
      QPolygonF({listener + QPointF(-3, -5), listener + QPointF(3, -5), listener + QPointF(0, -9)}));

  const double size = std::max(6.0, std::min(room.width(), room.height()) * 0.11);
  for (int c = 0; c < static_cast<int>(kSpeakers.size()); ++c) {
    const QPointF at(room.left() + room.width() * kSpeakers[static_cast<std::size_t>(c)].x(),
                     room.top() + room.height() * kSpeakers[static_cast<std::size_t>(c)].y());
    const bool lit = c == channel_;
    const QColor colour = lit ? kLit : kIdle;
    if (lit) {
      p.setPen(QPen(kLit, 1.2));
      p.setBrush(Qt::NoBrush);
      QPainterPath beam;
      beam.moveTo(at);
      beam.lineTo(listener);
      p.drawPath(beam);
    }
    p.setPen(QPen(colour.darker(130), 1));
    p.setBrush(colour);
    const QRectF box(at.x() - size / 2, at.y() - size / 2, size, size);
    p.drawRoundedRect(box, 2, 2);
    p.setBrush(lit ? QColor(255, 255, 255) : QColor(230, 235, 240));
    p.drawEllipse(box.center(), size * 0.25, size * 0.25);
  }

  QFont font = p.font();
  font.setBold(true);
  p.setFont(font);
  p.setPen(kLit.darker(140));
  const QString name = LanguageIndex() == 1 ? QStringLiteral("CH %1").arg(channel_ + 1)
                                            : QString::fromUtf8("通道%1").arg(channel_ + 1);
  p.drawText(QRectF(0, height() - labelHeight, width(), labelHeight), Qt::AlignCenter, name);
}
