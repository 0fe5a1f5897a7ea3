// The compressor's transfer-curve picture: output against input level with the threshold marked, and
// "OFF" over it while the compressor is switched off. It takes no mouse input; the page sets its values.
#pragma once

#include <QImage>
#include <QWidget>

class CCompressPanelPlus : public QWidget {
  Q_OBJECT
 public:
  explicit CCompressPanelPlus(QWidget* parent = nullptr);

  // Each takes effect at the next redraw (update()).
  void SetOn(bool on) { on_ = on; }
  void SetThreshold(float db) { threshold_ = db; }
  void SetSlope(float slope) { slope_ = slope; }
  void SetStart(float db) { start_ = db; }

  bool on() const { return on_; }
  float threshold() const { return threshold_; }
  float slope() const { return slope_; }
  // How many times the grid picture was drawn (once per size and pixel ratio).
  int gridBuilds() const { return gridBuilds_; }

  QSize sizeHint() const override { return {420, 330}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage& Grid(qreal ratio);

  bool on_ = true;
  float threshold_ = -15.0f;
  float start_ = -5.0f;
  float slope_ = 1.0f;
  QImage grid_;
  int gridBuilds_ = 0;
};
