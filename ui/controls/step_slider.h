// A horizontal slider on which a click on the track moves exactly one step towards the click.
#pragma once

#include <QSlider>

class CStepSlider : public QSlider {
  Q_OBJECT
 public:
  CStepSlider(int minimum, int maximum, int width, QWidget* parent = nullptr);

  // Programmatic positioning (refresh from the store): no userChanged.
  void SetValueQuietly(int value);

 signals:
  // The user moved the slider (drag, track click, keys on the focused slider). A track click reports
  // even when the value stayed at the end of the range.
  void userChanged(int value);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  bool quiet_ = false;
};
