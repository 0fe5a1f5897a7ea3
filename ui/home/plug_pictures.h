// The smart-plug window's own pictures, drawn rather than loaded so they stay sharp at every device
// pixel ratio: the plug type icons of the plug list and the Power ON / Power OFF picture buttons.
#pragma once

#include <QAbstractButton>
#include <QIcon>
#include <QRectF>

#include "look/button_look.h"

class QPainter;

// `type` as stored in a plug record: 1 switch plug (a socket with a rocker), 2 knob plug (a socket with
// a dial), anything else a plain socket.
void PaintPlugIcon(QPainter& p, const QRectF& rect, int type);
// The icon at `size` and twice that for high-density screens.
QIcon PlugIcon(int type, int size = 24);

// The round power picture: green for the power-on scene, red for the power-off scene.
void PaintPowerPicture(QPainter& p, const QRectF& rect, bool powerOn, ButtonState state);

// A picture button showing the power picture, with a control id like the other buttons.
class CPowerButton : public QAbstractButton {
  Q_OBJECT
 public:
  CPowerButton(int controlId, bool powerOn, QWidget* parent = nullptr);
  QSize sizeHint() const override { return {64, 64}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool powerOn_;
};
