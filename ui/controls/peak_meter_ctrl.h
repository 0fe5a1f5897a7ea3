// The LED peak meter: rows (or columns) of LEDs lit up to each band's level, falling back on a timer.
#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>
#include <array>
#include <span>

#include "controls/peak_meter_math.h"

// Lit and unlit colours of the green, yellow and red zones.
struct MeterColours {
  std::array<QColor, 3> lit{QColor(0, 255, 0), QColor(255, 255, 0), QColor(255, 0, 0)};
  std::array<QColor, 3> unlit{QColor(2, 60, 2), QColor(60, 60, 2), QColor(60, 2, 2)};
};

class CPeakMeterCtrl : public QWidget {
  Q_OBJECT
 public:
  explicit CPeakMeterCtrl(int controlId, QWidget* parent = nullptr);

  // Each of these starts the bands again from silence.
  void SetMeterBands(int bands, int leds);
  void SetRangeValue(int maximum, int low, int medium);
  void SetHoldCount(int ticks);
  void SetSettings(const PeakMeterSettings& settings);
  const PeakMeterSettings& settings() const { return ballistics_.settings(); }

  // Horizontal bars (one row per band) or vertical ones (one column per band).
  void SetHorizontal(bool horizontal);
  // The peak line, drawn in the vertical style only.
  void SetPeakLine(bool shown);
  void SetBackgroundColor(const QColor& colour);
  void SetColours(const MeterColours& colours);

  // Levels of bands firstBand, firstBand + 1, ... . A meter whose falloff was started restarts its timer
  // with the last interval, also after it stopped in silence; otherwise it only redraws.
  void SetData(std::span<const int> values, int firstBand = 0);
  void StartFalloff(int intervalMs);
  void StopFalloff();
  bool falloffRunning() const { return timer_.isActive(); }
  const PeakMeterBallistics& ballistics() const { return ballistics_; }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void OnTick();
  void PaintBand(QPainter& p, int band);

  PeakMeterBallistics ballistics_;
  QTimer timer_;
  bool falloffStarted_ = false;
  int intervalMs_ = 10;
  bool horizontal_ = false;
  bool peakLine_ = true;
  QColor background_{240, 250, 255};
  MeterColours colours_;
};
