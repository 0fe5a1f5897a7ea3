// The EQ graph driven like a user: presses, drags, menus, wheel and keys, with what its owner hears.
// The graph is 1042 x 338: a 1000 x 300 plot at (36, 18), 10 px per dB; band 6 (slot 5) sits at 1000 Hz.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWheelEvent>
#include <QtTest>

#include "controls/eq_panel.h"
#include "controls/eq_panel_painter.h"
#include "i18n/language_table.h"
#include "ui_harness.h"

using vireo::dsp::EqBand;

class EqPanelTests : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void leftClickNotifiesOnceOnThePress();
  void leftPressOnSwitchedOffBandIsAnEmptyClick();
  void leftDragStopsAtTheLimits();
  void rightDragRaisesQAndSkipsTheTypeMenu();
  void typeMenuRetypesTheBand();
  void copyPasteMenuOutsideTheBands();
  void wheelStepsGainOrPassesTheEventOn();
  void keysEditUpToTheLimitsAndDigitsPick();
  void paintShowsCurveAreaAndBypass();

 private:
  QPoint MarkerAt(int slot) const;
  std::unique_ptr<CEqPanel> panel_;
  QStringList heard_;
  QList<CEqPanel::MenuEntries> menus_;
  int menuAnswer_ = 0;
};

void EqPanelTests::init() {
  panel_ = std::make_unique<CEqPanel>();
  panel_->SetLanguage(1);
  panel_->resize(1042, 338);
  panel_->SetIdentity(6);
  panel_->SetBandCount(10);
  panel_->show();
  QApplication::setActiveWindow(panel_.get());
  heard_.clear();
  menus_.clear();
  menuAnswer_ = 0;
  CEqPanel* p = panel_.get();
  connect(p, &CEqPanel::BandChanged, [this](const EqBand& b, int slot) {
    heard_ << QStringLiteral("changed %1 %2").arg(slot).arg(b.bandNumber);
  });
  connect(p, &CEqPanel::BandPicked,
          [this](const EqBand&, int slot) { heard_ << QStringLiteral("picked %1").arg(slot); });
  connect(p, &CEqPanel::EmptyClick, [this] { heard_ << QStringLiteral("empty"); });
  connect(p, &CEqPanel::CopyPasteEq,
          [this](int action, int id) { heard_ << QStringLiteral("copypaste %1 %2").arg(action).arg(id); });
  p->SetMenuRunner([this](const CEqPanel::MenuEntries& entries, const QPoint&) {
    menus_ << entries;
    return menuAnswer_;
  });
}

QPoint EqPanelTests::MarkerAt(int slot) const {
  const EqBand& b = panel_->band(slot);
  return QPoint(qRound(36 + b.markerX), qRound(18 + b.markerY));
}

void EqPanelTests::leftClickNotifiesOnceOnThePress() {
  QTest::mouseClick(panel_.get(), Qt::LeftButton, {}, MarkerAt(5));
  QCOMPARE(heard_, QStringList{"changed 5 5"});
  QCOMPARE(panel_->selectedBand(), 5);
  QVERIFY(panel_->hasFocus());
}

void EqPanelTests::leftPressOnSwitchedOffBandIsAnEmptyClick() {
  panel_->SetBandType(5, 0);
  QTest::mouseClick(panel_.get(), Qt::LeftButton, {}, MarkerAt(5));
  QCOMPARE(heard_, QStringList{"empty"});
  QCOMPARE(panel_->selectedBand(), -1);
  QTest::mouseClick(panel_.get(), Qt::RightButton, {}, MarkerAt(5));  // the right press ignores the type
  QCOMPARE(panel_->selectedBand(), 5);
}

void EqPanelTests::leftDragStopsAtTheLimits() {
  QTest::mousePress(panel_.get(), Qt::LeftButton, {}, MarkerAt(5));
  QTest::mouseMove(panel_.get(), QPoint(-100, -100));
  QCOMPARE(panel_->band(5).frequency, 20.0f);
  QCOMPARE(panel_->band(5).gain, 15.0f);
  QTest::mouseMove(panel_.get(), QPoint(2000, 1000));
  QCOMPARE(panel_->band(5).frequency, 20000.0f);
  QCOMPARE(panel_->band(5).gain, -15.0f);
  QTest::mouseRelease(panel_.get(), Qt::LeftButton, {}, QPoint(2000, 1000));
  QCOMPARE(heard_.size(), 4);  // press, two moves, release
}

void EqPanelTests::rightDragRaisesQAndSkipsTheTypeMenu() {
  const QPoint at = MarkerAt(5);
  QTest::mousePress(panel_.get(), Qt::RightButton, {}, at);
  QTest::mouseMove(panel_.get(), at + QPoint(12, 0));
  QTest::mouseRelease(panel_.get(), Qt::RightButton, {}, at + QPoint(12, 0));
  QCOMPARE(panel_->band(5).q, 1.41f + 1.0f);
  QCOMPARE(heard_.size(), 3);
  QVERIFY(menus_.isEmpty());
}

void EqPanelTests::typeMenuRetypesTheBand() {
  panel_->SetBandGain(5, 6.0);
  menuAnswer_ = CEqPanel::kTypeMenuCommand + 2;  // LP
  QTest::mouseClick(panel_.get(), Qt::RightButton, {}, MarkerAt(5));
  QCOMPARE(menus_.size(), 1);
  QStringList texts;
  for (const auto& entry : menus_[0]) texts << entry.second;
  QCOMPARE(texts, (QStringList{"PEQ", "LP", "HP", "LS", "HS"}));
  QCOMPARE(panel_->band(5).type, 2);
  QCOMPARE(panel_->band(5).gain, 0.0f);
  QCOMPARE(heard_, (QStringList{"changed 5 5", "changed 5 5", "changed 5 5"}));  // press, release, menu
}

void EqPanelTests::copyPasteMenuOutsideTheBands() {
  panel_->SetLanguage(0);
  menuAnswer_ = CEqPanel::kPasteCommand;
  QTest::mouseClick(panel_.get(), Qt::RightButton, {}, QPoint(300, 40));
  QCOMPARE(menus_.size(), 1);
  QCOMPARE(menus_[0][0].second, QString::fromUtf8("复制均衡"));
  QCOMPARE(menus_[0][1].second, QString::fromUtf8("粘贴均衡"));
  QCOMPARE(heard_, QStringList{"copypaste 1 6"});
}

void EqPanelTests::wheelStepsGainOrPassesTheEventOn() {
  QTest::mouseClick(panel_.get(), Qt::LeftButton, {}, MarkerAt(5));
  auto wheel = [this](int delta) {
    QWheelEvent e(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(panel_.get(), &e);
    return e.isAccepted();
  };
  QVERIFY(wheel(120));
  QCOMPARE(panel_->band(5).gain, 0.1f);
  panel_->SetBandType(5, 2);
  heard_.clear();
  QVERIFY(!wheel(-120));
  QVERIFY(heard_.isEmpty());
}

void EqPanelTests::keysEditUpToTheLimitsAndDigitsPick() {
  QTest::keyClick(panel_.get(), Qt::Key_Up);  // nothing selected: swallowed
  QVERIFY(heard_.isEmpty());
  QTest::mouseClick(panel_.get(), Qt::LeftButton, {}, MarkerAt(5));
  for (int i = 0; i < 80; ++i) QTest::keyClick(panel_.get(), Qt::Key_Up);
  QCOMPARE(panel_->band(5).gain, 15.0f);
  QTest::keyClick(panel_.get(), Qt::Key_Right, Qt::ControlModifier);
  QCOMPARE(panel_->band(5).frequency, 1006.0f);
  QCOMPARE(heard_.size(), 82);
  QTest::keyClick(panel_.get(), Qt::Key_7);
  QCOMPARE(heard_.last(), QStringLiteral("picked 6"));
  QCOMPARE(panel_->selectedBand(), 6);
}

void EqPanelTests::paintShowsCurveAreaAndBypass() {
  panel_->SetBandGain(5, 12.0);
  panel_->SelectBand(5);
  QImage image(panel_->size(), QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  PaintEqPanel(painter, image.size(), {&panel_->bands(), 5, -1, true, 1});
  painter.end();
  QCOMPARE(image.pixelColor(2, 2), QColor(20, 20, 20));
  const int peakX = MarkerAt(5).x();
  const QColor area = image.pixelColor(peakX, 18 + 150 - 60);  // inside the +12 dB peak, 6 dB up
  QVERIFY(area.red() > 20 && area.blue() > 20);                // tinted by band 6's colour
  bool curve = false;
  for (int y = 160; y < 176 && !curve; ++y) curve = image.pixelColor(60, y) == QColor(0, 200, 255);
  QVERIFY(curve);
  int white = 0;
  for (int x = 400; x < 640; ++x) white += image.pixelColor(x, 169) == Qt::white ? 1 : 0;
  QVERIFY(white > 10);  // BYPASS across the middle
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  EqPanelTests tests;
  return QTest::qExec(&tests, argc, argv);
}

#include "eq_panel_tests.moc"
