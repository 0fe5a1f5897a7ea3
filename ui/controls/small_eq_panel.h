// The small equaliser preview: a seven-band curve that cannot be edited, framed while the pointer is over
// it, showing PASS when the equaliser is bypassed; a click asks its owner to open the full editor.
#pragma once

#include <QColor>
#include <QWidget>

#include "controls/small_eq_panel_painter.h"
#include "dsp/small_eq_preview.h"

class CSmallEqPanel : public QWidget {
  Q_OBJECT
 public:
  static constexpr QRgb kDefaultCurveColour = 0xFF00C8FF;

  explicit CSmallEqPanel(QWidget* parent = nullptr);

  // Band 0..6, with the rules of vireo::dsp::SmallEqPreview; each call repaints.
  void SetPreviewFrequency(int band, double frequency);
  void SetPreviewGain(int band, double gain);
  // After writing a band's type or Q into its record.
  void RecomputePreviewBand(int band);
  const vireo::dsp::PreviewBand& band(int index) const { return preview_.band(index); }
  vireo::dsp::PreviewBand& band(int index) { return preview_.band(index); }
  const vireo::dsp::SmallEqPreview& preview() const { return preview_; }

  void SetBypass(bool bypass);
  bool bypass() const { return bypass_; }
  // ARGB; the page picks the colour of its view.
  void SetCurveColour(QRgb argb);
  QRgb curveColour() const { return curveColour_; }
  // The pointer is over the enabled preview: the frame is drawn.
  bool hovered() const { return hovered_ && isEnabled(); }
  int gridBuilds() const { return grid_.builds(); }

  QSize sizeHint() const override { return {300, 150}; }

 signals:
  // A left click: pressed and released over the preview.
  void clicked();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  vireo::dsp::SmallEqPreview preview_;
  SmallEqGridCache grid_;
  QRgb curveColour_ = kDefaultCurveColour;
  bool bypass_ = false;
  bool hovered_ = false;
  bool pressed_ = false;
};
