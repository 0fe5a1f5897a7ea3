// The drawn controls on their own, in the states a user meets them.
#include "gallery_controls.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include "controls/compress_panel.h"
#include "controls/eq_panel.h"
#include "dsp/compressor_curve.h"
#include "gallery_shots.h"
#include "i18n/language_table.h"

namespace {

// A microphone equaliser as someone might tune it: a rumble filter, a cut, two lifts, a shelf, a top cut.
void TuneMicrophone(CEqPanel& panel) {
  panel.SetIdentity(0);
  panel.SetBandCount(10);
  panel.SetBandType(0, 3);
  panel.SetBandFrequency(0, 40);
  panel.SetBandGain(2, -6);
  panel.SetBandGain(4, 5);
  panel.SetBandQ(4, 2.5);
  panel.SetBandGain(6, 3);
  panel.SetBandType(8, 5);
  panel.SetBandGain(8, 4);
  panel.SetBandType(9, 2);
}

// An output channel with a Linkwitz-Riley 24 dB low-pass crossover at 2 kHz.
void TuneChannel(CEqPanel& panel) {
  panel.SetIdentity(7);
  panel.SetBandCount(10);
  panel.SetBandCount(13);
  panel.SetBandGain(1, 4);
  panel.SetBandGain(3, -3);
  panel.SetBandType(9, 12);
  panel.SetBandFrequency(9, 2000);
  panel.ApplyCrossoverFamily(9, 1);
}

void Hover(CEqPanel& panel, int slot) {
  const vireo::dsp::EqBand& b = panel.band(slot);
  const QPointF at(vireo::dsp::kPlotLeft + b.markerX + 3, vireo::dsp::kPlotTop + b.markerY + 3);
  QMouseEvent move(QEvent::MouseMove, at, panel.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(&panel, &move);
}

class ControlShots {
 public:
  ControlShots(const QDir& out, QString tag) : out_(out), tag_(std::move(tag)) {}

  // At the screen's ratio, and at twice that as on a HiDPI screen.
  void Take(QWidget& widget, const QString& name) {
    WaitUntil([] { return false; }, 30);
    Save(widget.grab().toImage(), name);
    QImage sharp(widget.size() * 2, QImage::Format_ARGB32_Premultiplied);
    sharp.setDevicePixelRatio(2.0);
    widget.render(&sharp);
    Save(sharp, name + QStringLiteral("@2x"));
  }
  QStringList written() const { return written_; }

 private:
  void Save(const QImage& image, const QString& name) {
    const QString path = out_.filePath(QStringLiteral("%1_%2.png").arg(name, tag_));
    if (image.save(path)) written_ << path;
  }

  QDir out_;
  QString tag_;
  QStringList written_;
};

}  // namespace

QStringList RenderControlGallery(const QDir& out, const QString& languageTag) {
  ControlShots shots(out, languageTag);
  CEqPanel panel;
  panel.SetLanguage(LanguageIndex());
  panel.resize(1024, 520);
  panel.show();
  TuneMicrophone(panel);
  shots.Take(panel, QStringLiteral("eq_graph_idle"));
  panel.SelectBand(4);
  shots.Take(panel, QStringLiteral("eq_graph_selected"));
  panel.SelectBand(-1);
  panel.SetBypass(true);
  panel.resize(panel.minimumSizeHint());
  shots.Take(panel, QStringLiteral("eq_graph_bypass_min"));
  panel.SetBypass(false);
  panel.resize(1920, 1080);
  TuneChannel(panel);
  panel.SelectBand(9);
  Hover(panel, 1);
  shots.Take(panel, QStringLiteral("eq_graph_channel"));
  CCompressPanelPlus curve;
  curve.resize(420, 330);
  curve.show();
  curve.SetStart(vireo::dsp::kCompCurveStartDb);
  curve.SetThreshold(-24.0f);
  curve.SetSlope(1.0f / 3.0f);
  shots.Take(curve, QStringLiteral("comp_curve"));
  return shots.written();
}
