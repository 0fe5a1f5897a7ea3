// The small preview's events: setters repaint, the pointer frames it, a click is passed on.
#include "controls/small_eq_panel.h"

#include <QMouseEvent>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

CSmallEqPanel::CSmallEqPanel(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted on each repaint, so Qt need not clear the background first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  preview_.SetClientSize(width(), height());
}

void CSmallEqPanel::SetPreviewFrequency(int band, double frequency) {
  if (preview_.SetPreviewFrequency(band, frequency)) update();
}

void CSmallEqPanel::SetPreviewGain(int band, double gain) {
  if (preview_.SetPreviewGain(band, gain)) update();
}

void CSmallEqPanel::RecomputePreviewBand(int band) {
  preview_.RecomputePreviewBand(band);
  update();
}

void CSmallEqPanel::SetBypass(bool bypass) {
  bypass_ = bypass;
  update();
}

void CSmallEqPanel::SetCurveColour(QRgb argb) {
  curveColour_ = argb;
  update();
}

void CSmallEqPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // The ratio of the device really painted on: rendering into a 2x picture redirects this painter there,
  // and its grid must be drawn at 2x, not scaled up.
  const QPaintEngine* engine = painter.paintEngine();
  const qreal ratio = engine != nullptr && engine->paintDevice() != nullptr
                          ? engine->paintDevice()->devicePixelRatioF()
                          : devicePixelRatioF();
  const QImage& grid = grid_.For(size(), ratio);
  PaintSmallEqPanel(painter, size(), grid, {&preview_, QColor::fromRgba(curveColour_), bypass_, hovered()});
}

void CSmallEqPanel::resizeEvent(QResizeEvent*) {
  preview_.SetClientSize(width(), height());
}

void CSmallEqPanel::enterEvent(QEnterEvent*) {
  hovered_ = true;
  update();
}

void CSmallEqPanel::leaveEvent(QEvent*) {
  hovered_ = false;
  update();
}

void CSmallEqPanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
}

// On the release rather than the press: the owner replaces the page, which must not happen under a held
// button, and a press dragged off the preview cancels the click.
void CSmallEqPanel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !pressed_) return;
  pressed_ = false;
  if (rect().contains(event->position().toPoint())) emit clicked();
}

void CSmallEqPanel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange) {
    pressed_ = false;
    update();
  }
  QWidget::changeEvent(event);
}
