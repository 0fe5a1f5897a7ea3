// Measurement-driven tuning on the music page's graph, driven as a user does: the graph's menu, the file
// chooser, the fit and target windows; the fit is one undo step, the prediction follows a drag.
#include <QDoubleSpinBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>
#include <cmath>
#include <complex>
#include <numbers>

#include "controls/eq_panel.h"
#include "dsp/frequency_grid.h"
#include "model/parameter_store.h"
#include "pages/eq_editing.h"
#include "pages/eq_fit_dialogs.h"
#include "pages/eq_measurement.h"
#include "pages/music_page.h"
#include "shell/main_view.h"
#include "tuning/edit_history.h"
#include "tuning/eq_operations.h"
#include "ui_harness.h"

using vireo::TheStore;

namespace {

// The textbook peaking filter (bilinear transform, fs 48 kHz), written out here rather than taken from
// the program: |H| in dB at f.
double PeakingDb(double f, double f0, double gainDb, double q) {
  const double fs = 48000.0, a = std::pow(10.0, gainDb / 40.0), w0 = 2 * std::numbers::pi * f0 / fs;
  const double alpha = std::sin(w0) / (2 * q), w = 2 * std::numbers::pi * f / fs;
  const std::complex<double> z1 = std::polar(1.0, -w), z2 = z1 * z1;
  const std::complex<double> h = (1 + alpha * a - 2 * std::cos(w0) * z1 + (1 - alpha * a) * z2) /
                                 (1 + alpha / a - 2 * std::cos(w0) * z1 + (1 - alpha / a) * z2);
  return 20 * std::log10(std::abs(h));
}

// 200 points from 20 Hz to 20 kHz at 75 dB with a 6 dB dip at 1 kHz, Q 2, as REW exports them.
QByteArray DippedMeasurement() {
  QByteArray text = "* Measurement data measured by REW\n* Freq(Hz) SPL(dB) Phase(degrees)\n";
  for (int i = 0; i < 200; ++i) {
    const double f = 20.0 * std::pow(1000.0, i / 199.0);
    text += QByteArray::number(f, 'f', 3) + ' ' + QByteArray::number(75.0 + PeakingDb(f, 1000, -6, 2), 'f', 3) +
            " 0\n";
  }
  return text;
}

int GridIndexNear(double hz) {
  const auto& grid = vireo::dsp::GridFrequencies();
  int best = 0;
  for (int i = 1; i < vireo::dsp::kGridPoints; ++i)
    if (std::abs(std::log(grid[i] / hz)) < std::abs(std::log(grid[best] / hz))) best = i;
  return best;
}

}  // namespace

class EqMeasurementTests : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void aMeasurementIsDrawnFittedInOneStepAndUndone();
  void aBadFileChangesNothingAndTheRoomTargetIsDrawn();

 private:
  CEqPanel* Graph();
  QString Write(const QString& name, const QByteArray& text);
  // A right click on an empty spot of the graph; the menu's entries are kept and `choice` is chosen.
  void RightClickChoosing(int choice);
  std::unique_ptr<UiHarness> rig;
  CEqPanel::MenuEntries lastMenu;
};

void EqMeasurementTests::init() {
  SetMusicPageView(2);
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(1), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
}

void EqMeasurementTests::cleanup() {
  rig.reset();
}

CEqPanel* EqMeasurementTests::Graph() {
  auto* music = qobject_cast<CDialogMusic*>(rig->frame().view()->currentPage());
  return music ? music->eq().graph() : nullptr;
}

QString EqMeasurementTests::Write(const QString& name, const QByteArray& text) {
  QFile file(rig->dir() + "/" + name);
  if (!file.open(QIODevice::WriteOnly)) return {};
  file.write(text);
  return file.fileName();
}

void EqMeasurementTests::RightClickChoosing(int choice) {
  CEqPanel* graph = Graph();
  graph->SetMenuRunner([this, choice](const CEqPanel::MenuEntries& entries, const QPoint&) {
    lastMenu = entries;
    return choice;
  });
  QTest::mouseClick(graph, Qt::RightButton, {}, QPoint(graph->width() - 12, 24));
}

void EqMeasurementTests::aMeasurementIsDrawnFittedInOneStepAndUndone() {
  CEqPanel* graph = Graph();
  QVERIFY(graph);
  graph->SelectBand(-1);
  const QString file = Write("dip.txt", DippedMeasurement());
  rig->prompts().files = {file};
  RightClickChoosing(CEqPanel::kLoadMeasurementCommand);
  QCOMPARE(lastMenu.size(), 7);  // no fit or clear before a measurement
  QVERIFY(graph->overlay().hasMeasurement);
  // Levelled to the flat target: the dip sits about 6 dB below the rest.
  const auto k1k = static_cast<std::size_t>(GridIndexNear(1000));
  const auto k100 = static_cast<std::size_t>(GridIndexNear(100));
  QVERIFY(std::abs(graph->overlay().measurement[k100] - graph->overlay().measurement[k1k] - 6.0) < 0.2);

  // The prediction follows a band while it is dragged, before the button is released.
  const float before = graph->Prediction()[k1k];
  const vireo::dsp::EqBand& band = graph->band(5);
  const QPoint marker(qRound(36 + band.markerX), qRound(18 + band.markerY));
  QTest::mousePress(graph, Qt::LeftButton, {}, marker);
  QTest::mouseMove(graph, marker - QPoint(0, 40));
  QVERIFY(graph->Prediction()[k1k] != before);
  QTest::mouseRelease(graph, Qt::LeftButton, {}, marker - QPoint(0, 40));
  graph->SelectBand(-1);

  std::vector<vireo::dsp::BandShape> stored;
  for (int i = 0; i < 10; ++i) stored.push_back(vireo::tuning::ReadEqBand(TheStore(), 6, i));
  const std::size_t steps = rig->app().edits().undoSteps();
  bool dialogSeen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<CEqFitDlg*>(QApplication::activeModalWidget());
    if (!dialog) return;
    dialogSeen = true;
    QCOMPARE(dialog->bandsBox()->maximum(), 10);
    QCOMPARE(dialog->boostBox()->value(), 6.0);
    dialog->bandsBox()->setFocus();
    QTest::keyClick(dialog->bandsBox(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(dialog->bandsBox(), "3");
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
  });
  QSignalSpy finished(Graph()->findChild<CEqMeasurement*>(), &CEqMeasurement::fitFinished);
  RightClickChoosing(CEqPanel::kFitBandsCommand);
  QVERIFY(dialogSeen);
  QVERIFY(lastMenu.size() == 9);
  QVERIFY(finished.count() == 1 || finished.wait(10000));
  QCOMPARE(rig->app().edits().undoSteps(), steps + 1);
  // "... Error over 20–16000 Hz: BEFORE → AFTER dB RMS.": the dip is made up to a few hundredths.
  const QString report = rig->prompts().asked.last().text;
  QVERIFY2(report.startsWith("Fitted "), qPrintable(report));
  const double after = report.section(QChar(0x2192), 1).split(' ', Qt::SkipEmptyParts).value(0).toDouble();
  QVERIFY2(after < 0.1, qPrintable(report));
  // The strongest band makes up the dip: +6 dB at 1 kHz, Q 2, give or take the grid; any other is small.
  int strongest = 0;
  for (int i = 1; i < 10; ++i)
    if (std::abs(vireo::tuning::ReadEqBand(TheStore(), 6, i).gainDb) >
        std::abs(vireo::tuning::ReadEqBand(TheStore(), 6, strongest).gainDb))
      strongest = i;
  const vireo::dsp::BandShape fitted = vireo::tuning::ReadEqBand(TheStore(), 6, strongest);
  QCOMPARE(fitted.type, 1);
  QVERIFY2(std::abs(fitted.gainDb - 6.0) <= 0.3 && std::abs(fitted.frequency - 1000) <= 30 &&
               std::abs(fitted.q - 2.0) <= 0.2,
           qPrintable(QString("%1 dB %2 Hz Q %3").arg(fitted.gainDb).arg(fitted.frequency).arg(fitted.q)));
  for (int i = 0; i < 10; ++i)
    if (i != strongest) QVERIFY(std::abs(vireo::tuning::ReadEqBand(TheStore(), 6, i).gainDb) < 1.0);
  QCOMPARE(graph->band(strongest).gain, static_cast<float>(fitted.gainDb));  // the page shows the fit

  rig->frame().Undo();
  for (int i = 0; i < 10; ++i) QCOMPARE(vireo::tuning::ReadEqBand(TheStore(), 6, i).gainDb, stored[i].gainDb);

  RightClickChoosing(CEqPanel::kClearMeasurementCommand);
  QVERIFY(!graph->overlay().hasMeasurement);
}

void EqMeasurementTests::aBadFileChangesNothingAndTheRoomTargetIsDrawn() {
  CEqPanel* graph = Graph();
  graph->SelectBand(-1);
  QByteArray bad = DippedMeasurement();
  bad.replace("\n20.000 ", "\n20.000 nan\n20.000 ");  // line 3 holds a NaN
  rig->prompts().files = {Write("bad.txt", bad)};
  RightClickChoosing(CEqPanel::kLoadMeasurementCommand);
  QVERIFY(!graph->overlay().hasMeasurement);
  QVERIFY2(rig->prompts().asked.last().text.contains("line 3"), qPrintable(rig->prompts().asked.last().text));

  rig->prompts().files = {Write("dip.txt", DippedMeasurement())};
  RightClickChoosing(CEqPanel::kLoadMeasurementCommand);
  QVERIFY(graph->overlay().hasMeasurement);
  bool dialogSeen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<CEqTargetDlg*>(QApplication::activeModalWidget());
    if (!dialog) return;
    dialogSeen = true;
    QVERIFY(dialog->flatButton()->isChecked());
    QVERIFY(!dialog->tiltBox()->isEnabled());
    QTest::mouseClick(dialog->roomButton(), Qt::LeftButton, {}, QPoint(6, dialog->roomButton()->height() / 2));
    QVERIFY(dialog->tiltBox()->isEnabled());
    dialog->tiltBox()->setFocus();
    QTest::keyClick(dialog->tiltBox(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(dialog->tiltBox(), "-2");
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
  });
  RightClickChoosing(CEqPanel::kTargetCommand);
  QVERIFY(dialogSeen);
  QVERIFY(graph->overlay().hasTarget);
  // L(f) = -2 log10(f / 1000) + 4 / (1 + (f / 150)^2), 0 dB at 1 kHz less the rise's tail there.
  for (double hz : {20.0, 1000.0, 10000.0}) {
    const int i = GridIndexNear(hz);
    const double f = vireo::dsp::GridFrequencies()[static_cast<std::size_t>(i)];
    const double expected = -2 * std::log10(f / 1000) + 4 / (1 + (f / 150) * (f / 150));
    QVERIFY2(std::abs(graph->overlay().target[static_cast<std::size_t>(i)] - expected) < 0.01,
             qPrintable(QString("%1 Hz: %2 dB").arg(f).arg(graph->overlay().target[static_cast<std::size_t>(i)])));
  }
}

QTEST_MAIN(EqMeasurementTests)
#include "eq_measurement_tests.moc"
