// The LED peak meter.
#include "controls/peak_meter_ctrl.h"

#include <QPainter>
#include <algorithm>

#include "controls/control_painting.h"
#include "look/control_id.h"

CPeakMeterCtrl::CPeakMeterCtrl(int controlId, QWidget* parent) : QWidget(parent) {
  SetControlId(this, controlId);
  setAttribute(Qt::WA_OpaquePaintEvent);
  connect(&timer_, &QTimer::timeout, this, &CPeakMeterCtrl::OnTick);
}

void CPeakMeterCtrl::SetSettings(const PeakMeterSettings& settings) {
  ballistics_.Configure(settings);
  update();
}

void CPeakMeterCtrl::SetMeterBands(int bands, int leds) {
  PeakMeterSettings s = settings();
  s.bands = bands;
  s.leds = leds;
  SetSettings(s);
}

void CPeakMeterCtrl::SetRangeValue(int maximum, int low, int medium) {
  PeakMeterSettings s = settings();
  s.maximum = maximum;
  s.low = low;
  s.medium = medium;
  SetSettings(s);
}

void CPeakMeterCtrl::SetHoldCount(int ticks) {
  PeakMeterSettings s = settings();
  s.holdCount = ticks;
  SetSettings(s);
}

void CPeakMeterCtrl::SetHorizontal(bool horizontal) {
  horizontal_ = horizontal;
  update();
}

void CPeakMeterCtrl::SetPeakLine(bool shown) {
  peakLine_ = shown;
  update();
}

void CPeakMeterCtrl::SetBackgroundColor(const QColor& colour) {
  background_ = colour;
  update();
}

void CPeakMeterCtrl::SetColours(const MeterColours& colours) {
  colours_ = colours;
  update();
}

void CPeakMeterCtrl::SetData(std::span<const int> values, int firstBand) {
  ballistics_.SetData(values, firstBand);
  // Restarting postpones the next fall by a whole interval, so a fresh level is seen before it drops.
  if (falloffStarted_) timer_.start(intervalMs_);
  update();
}

void CPeakMeterCtrl::StartFalloff(int intervalMs) {
  intervalMs_ = std::max(1, intervalMs);
  falloffStarted_ = true;
  timer_.start(intervalMs_);
}

void CPeakMeterCtrl::StopFalloff() {
  falloffStarted_ = false;
  timer_.stop();
}

void CPeakMeterCtrl::OnTick() {
  if (!ballistics_.Tick()) timer_.stop();
  update();
}

QSize CPeakMeterCtrl::sizeHint() const {
  return horizontal_ ? QSize(150, 12) : QSize(12, 150);
}

void CPeakMeterCtrl::PaintBand(QPainter& p, int band) {
  const PeakMeterSettings& s = settings();
  const int lit = LitLedCount(s, ballistics_.Level(band));
  for (int led = 0; led < s.leds; ++led) {
    const MeterCell c = MeterCellRect(s, horizontal_, width(), height(), band, led);
    const auto zone = std::size_t(ZoneOfLed(s, led));
    const bool on = led < lit;
    PaintLed(p, QRectF(c.x, c.y, c.width, c.height), on ? colours_.lit[zone] : colours_.unlit[zone], on);
  }
  const int peakLed = LitLedCount(s, ballistics_.Peak(band)) - 1;
  if (horizontal_ || !peakLine_ || peakLed < 0) return;
  const MeterCell c = MeterCellRect(s, false, width(), height(), band, peakLed);
  p.fillRect(QRectF(c.x, c.y, c.width, std::min(2, c.height)),
             colours_.lit[std::size_t(ZoneOfLed(s, peakLed))]);
}

void CPeakMeterCtrl::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), background_);
  p.setRenderHint(QPainter::Antialiasing);
  for (int band = 0; band < settings().bands; ++band) PaintBand(p, band);
}
