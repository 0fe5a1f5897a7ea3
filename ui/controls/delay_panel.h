// The delay graph: one lane per output channel with a marker at the channel's delay on a time axis. The
// user drags a marker along its lane; every step is reported to the owning page, which stores and sends
// the delay and puts the marker back with SetValue.
#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "dsp/delay_graph_geometry.h"

class CDelayPanel : public QWidget {
  Q_OBJECT
 public:
  // Our own marker: a flag whose pole, at its left edge, marks the delay.
  static constexpr int kMarkerWidth = 11;
  static constexpr int kMarkerHeight = 11;
  static constexpr int kMaxChannels = 8;

  explicit CDelayPanel(QWidget* parent = nullptr);

  // Lays out `n` lanes (at most eight), each with its marker at 0 ms and the limits 1.5..100 ms.
  void SetChannelCount(int n);
  int channelCount() const { return static_cast<int>(items_.size()); }
  // Holds `ms` inside the lane's limits, moves the marker there and repaints. Other indices are ignored.
  void SetValue(int index, float ms);
  float value(int index) const;
  int markerX(int index) const;
  // Where item `index` is drawn: what a move of its marker repaints.
  QRect ItemArea(int index) const;
  // The lane grabbed by the last press (-1: none); it stays highlighted after the release.
  int grabbedItem() const { return dragged_; }
  vireo::dsp::DelayGraphGeometry Geometry() const;
  // How many times the static background was drawn (once per size and pixel ratio).
  int backgroundBuilds() const { return backgroundBuilds_; }

  QSize sizeHint() const override { return {720, 480}; }
  QSize minimumSizeHint() const override { return {360, 240}; }

 signals:
  // A drag step: lane `index` now stands for `ms` (held inside its limits).
  void DelayChanged(int index, float ms);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  struct Item {
    int channel = 0;
    int markerX = 0;
    float value = 0.0f;
    float minimum = vireo::dsp::kDelayItemMinMs;
    float maximum = vireo::dsp::kDelayItemMaxMs;
  };
  const QImage& Background(qreal ratio);
  void PaintItems(QPainter& p);
  std::vector<int> MarkerXs() const;

  std::vector<Item> items_;
  int dragged_ = -1;
  bool buttonDown_ = false;
  QImage background_;
  int backgroundBuilds_ = 0;
};
