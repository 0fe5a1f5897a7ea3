// Ribbon pictures drawn with QPainter at 16 and 32 pixels.
#include "controls/ribbon_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kBlue(30, 90, 170);
const QColor kLightBlue(120, 175, 235);

void DrawApplication(QPainter& p) {
  QLinearGradient fill(0, 0, 0, 32);
  fill.setColorAt(0, kLightBlue);
  fill.setColorAt(1, kBlue);
  p.setBrush(fill);
  p.setPen(QPen(kBlue.darker(130), 1));
  p.drawEllipse(QRectF(1.5, 1.5, 29, 29));
  QPainterPath v;
  v.moveTo(8, 9);
  v.lineTo(16, 24);
  v.lineTo(24, 9);
  p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(v);
}

void DrawFolder(QPainter& p) {
  p.setPen(QPen(QColor(150, 110, 20), 1.2));
  p.setBrush(QColor(245, 200, 80));
  QPainterPath folder;
  folder.moveTo(3, 8);
  folder.lineTo(12, 8);
  folder.lineTo(14, 11);
  folder.lineTo(29, 11);
  folder.lineTo(29, 26);
  folder.lineTo(3, 26);
  folder.closeSubpath();
  p.drawPath(folder);
  p.setBrush(QColor(252, 225, 130));
  p.drawPolygon(QPolygonF({QPointF(7, 15), QPointF(31, 15), QPointF(28, 26), QPointF(3, 26)}));
}

void DrawDisk(QPainter& p) {
  p.setPen(QPen(kBlue.darker(140), 1.2));
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
  p.setBrush(Qt::white);
  p.drawRect(QRectF(9, 5, 14, 9));
  p.setBrush(QColor(200, 210, 225));
  p.drawRect(QRectF(9, 18, 14, 9));
}

void DrawSlots(QPainter& p, bool arrowUp) {
  p.setPen(QPen(kBlue.darker(140), 1));
  for (int i = 0; i < 3; ++i) {
    p.setBrush(i == 2 ? kLightBlue : QColor(220, 232, 248));
    p.drawRoundedRect(QRectF(3 + 2 * i, 4 + 5 * i, 18, 12), 2, 2);
  }
  QPainterPath arrow;
  const double tip = arrowUp ? 6 : 28;
  const double base = arrowUp ? 16 : 18;
  arrow.moveTo(25, tip);
  arrow.lineTo(31, base);
  arrow.lineTo(19, base);
  arrow.closeSubpath();
  p.setBrush(QColor(40, 160, 60));
  p.setPen(Qt::NoPen);
  p.drawPath(arrow);
  p.drawRect(QRectF(23, arrowUp ? base : 8, 4, 10));
}

void DrawExit(QPainter& p) {
  p.setPen(QPen(QColor(190, 40, 40), 3.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(9, 9), QPointF(23, 23));
  p.drawLine(QPointF(23, 9), QPointF(9, 23));
}

void DrawAbout(QPainter& p) {
  p.setPen(QPen(kBlue, 1.5));
  p.setBrush(QColor(235, 243, 252));
  p.drawEllipse(QRectF(3, 3, 26, 26));
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawEllipse(QRectF(14, 7.5, 4, 4));
  p.drawRoundedRect(QRectF(14, 13, 4, 12), 1.5, 1.5);
}

// A curved arrow turning back to the left; redo draws it mirrored.
void DrawUndo(QPainter& p, bool mirrored) {
  if (mirrored) {
    p.translate(32, 0);
    p.scale(-1, 1);
  }
  QPainterPath shaft;
  shaft.moveTo(23, 26);
  shaft.cubicTo(29, 20, 27, 10, 16, 10);
  shaft.lineTo(12, 10);
  p.setPen(QPen(kBlue, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(shaft);
  p.setPen(QPen(kBlue, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(kLightBlue);
  p.drawPolygon(QPolygonF({QPointF(3, 10), QPointF(13, 3), QPointF(13, 17)}));
}

// A phone with two waves: the remote control over the network.
void DrawPhone(QPainter& p) {
  p.setPen(QPen(kBlue.darker(140), 1.2));
  p.setBrush(QColor(235, 243, 252));
  p.drawRoundedRect(QRectF(5, 5, 14, 24), 2.5, 2.5);
  p.setPen(Qt::NoPen);
  p.setBrush(kLightBlue);
  p.drawRect(QRectF(7.5, 8.5, 9, 15));
  p.setBrush(kBlue);
  p.drawEllipse(QRectF(10.8, 25, 2.4, 2.4));
  p.setBrush(Qt::NoBrush);
  for (int i = 0; i < 2; ++i) {
    p.setPen(QPen(QColor(40, 160, 60), 2.2, Qt::SolidLine, Qt::RoundCap));
    const double r = 4.5 + 4.5 * i;
    p.drawArc(QRectF(20 - r, 11 - r, 2 * r, 2 * r), -40 * 16, 80 * 16);
  }
}

QPixmap Render(RibbonPicture picture, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  switch (picture) {
    case RibbonPicture::application:
      DrawApplication(p);
      break;
    case RibbonPicture::openFile:
      DrawFolder(p);
      break;
    case RibbonPicture::saveFile:
      DrawDisk(p);
      break;
    case RibbonPicture::loadMode:
      DrawSlots(p, false);
      break;
    case RibbonPicture::saveMode:
      DrawSlots(p, true);
      break;
    case RibbonPicture::exit:
      DrawExit(p);
      break;
    case RibbonPicture::about:
      DrawAbout(p);
      break;
    case RibbonPicture::undo:
    case RibbonPicture::redo:
      DrawUndo(p, picture == RibbonPicture::redo);
      break;
    case RibbonPicture::phone:
      DrawPhone(p);
      break;
  }
  return pixmap;
}

}  // namespace

QIcon RibbonIcon(RibbonPicture picture) {
  QIcon icon;
  for (int size : {16, 32, 48}) icon.addPixmap(Render(picture, size));
  return icon;
}
