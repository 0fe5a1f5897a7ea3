// The drawn controls as a page meets them: what a drag, a click, the wheel and the arrow keys report; the
// meter's timer; the picture button's clicks and states; the report list's clicks, keys and wheel.
#include <QWheelEvent>
#include <QtTest>

#include "controls/gdip_button.h"
#include "controls/peak_meter_ctrl.h"
#include "controls/report_ctrl.h"
#include "controls/xbmp_slider.h"
#include "look/control_id.h"
#include "ui_harness.h"

namespace {

// Every notification of a slider, in order, as "changed 1052 7". Focus is logged only when asked for: whether
// a lone test window is active is up to the platform.
struct SliderLog {
  QStringList lines;
  explicit SliderLog(CXBmpSlider& s, bool withFocus = false) {
    QObject::connect(&s, &CXBmpSlider::positionChanged, [this](int id, int p) { Add("changed", id, p); });
    QObject::connect(&s, &CXBmpSlider::released, [this](int id, int p) { Add("released", id, p); });
    if (withFocus)
      QObject::connect(&s, &CXBmpSlider::focusGained, [this](int id, int p) { Add("focus", id, p); });
  }
  void Add(const char* what, int id, int position) {
    lines << QStringLiteral("%1 %2 %3").arg(QLatin1String(what)).arg(id).arg(position);
  }
};

// A delay-page slider: 100 x 20, margins 7, 7, 3, 2, range 0..25.
void MakeDelaySlider(CXBmpSlider& s, int position) {
  s.SetRange(0, 25);
  s.SetMargins(kDelaySliderMargins);
  s.resize(100, 20);
  s.SetPos(position);
  s.show();
}

void Move(QWidget& w, QPoint at) {
  QMouseEvent move(QEvent::MouseMove, at, w.mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &move);
}

void Wheel(QWidget& w, QPoint angle) {
  QWheelEvent wheel(QPointF(5, 5), QPointF(w.mapToGlobal(QPoint(5, 5))), QPoint(), angle, Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&w, &wheel);
}

}  // namespace

class PictureControlsTests : public QObject {
  Q_OBJECT
 private slots:
  void sliderDefaultsAndQuietPositioning();
  void trackClickMovesExactlyOneStep();
  void dragFollowsThePointer();
  void arrowKeysStepAndNotifyEvenAtTheEnds();
  void wheelStepsOneANotch();
  void disabledSliderIgnoresInput();
  void focusIsReportedBeforeTheClick();
  void verticalSliderClickAboveRaises();
  void meterLightsAndFallsOnItsTimer();
  void buttonClicksAndToggles();
  void reportListClicksKeysAndWheel();
};

void PictureControlsTests::sliderDefaultsAndQuietPositioning() {
  CXBmpSlider s(1052);
  QCOMPARE(ControlIdOf(&s), 1052);
  QCOMPARE(s.minimum(), 0);
  QCOMPARE(s.maximum(), 127);
  QCOMPARE(s.GetPos(), 0);
  QCOMPARE(s.orientation(), SliderOrientation::horizontal);
  SliderLog log(s);
  s.SetPos(200);
  QCOMPARE(s.GetPos(), 127);
  s.SetRange(-5, 5);
  QCOMPARE(s.GetPos(), 5);
  s.SetRange(10, 3);  // a maximum below the minimum collapses the range
  QCOMPARE(s.maximum(), 10);
  QCOMPARE(s.GetPos(), 10);
  QVERIFY(log.lines.isEmpty());
}

void PictureControlsTests::trackClickMovesExactlyOneStep() {
  CXBmpSlider s(1052);
  MakeDelaySlider(s, 13);
  SliderLog log(s);
  QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(95, 10));  // far right of the thumb
  QCOMPARE(s.GetPos(), 14);
  QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(1, 10));
  QCOMPARE(s.GetPos(), 13);
  QTest::mouseClick(&s, Qt::RightButton, {}, QPoint(1, 10));  // only the left button acts
  QCOMPARE(s.GetPos(), 13);
  const QStringList expected{"changed 1052 14", "released 1052 14", "changed 1052 13", "released 1052 13"};
  QCOMPARE(log.lines, expected);
}

void PictureControlsTests::dragFollowsThePointer() {
  CXBmpSlider s(1060);
  MakeDelaySlider(s, 0);
  SliderLog log(s);
  const QPoint grip = s.ThumbRectangle().center();
  QTest::mousePress(&s, Qt::LeftButton, {}, grip);
  QVERIFY(s.dragging());
  QCOMPARE(s.GetPos(), 0);       // grabbing the thumb moves nothing but still reports
  Move(s, grip + QPoint(1, 0));  // within the same step: nothing to report
  Move(s, QPoint(500, 40));      // far past the end, below the control
  QCOMPARE(s.GetPos(), 25);
  Move(s, QPoint(-50, 0));
  QCOMPARE(s.GetPos(), 0);
  QTest::mouseRelease(&s, Qt::LeftButton, {}, QPoint(-50, 0));
  QVERIFY(!s.dragging());
  Move(s, QPoint(60, 10));  // no longer dragging
  QCOMPARE(s.GetPos(), 0);
  const QStringList expected{"changed 1060 0", "changed 1060 25", "changed 1060 0", "released 1060 0"};
  QCOMPARE(log.lines, expected);
}

void PictureControlsTests::arrowKeysStepAndNotifyEvenAtTheEnds() {
  CXBmpSlider s(1209);
  s.SetRange(-150, 150);
  s.SetPos(150);
  SliderLog log(s);
  const struct {
    Qt::Key key;
    int position;
  } cases[] = {{Qt::Key_Up, 150}, {Qt::Key_Right, 150}, {Qt::Key_Down, 149}, {Qt::Key_Left, 148}};
  for (const auto& c : cases) {
    log.lines.clear();
    QTest::keyClick(&s, c.key);
    QCOMPARE(s.GetPos(), c.position);
    QCOMPARE(log.lines, (QStringList{QString("changed 1209 %1").arg(c.position),
                                     QString("released 1209 %1").arg(c.position)}));
  }
}

void PictureControlsTests::wheelStepsOneANotch() {
  CXBmpSlider s(1000);
  MakeDelaySlider(s, 25);
  SliderLog log(s);
  Wheel(s, QPoint(0, 120));   // up at the maximum: stays, still reports
  Wheel(s, QPoint(0, -360));  // one message, one step, whatever its size
  Wheel(s, QPoint(120, 0));   // a sideways wheel is not ours
  QCOMPARE(s.GetPos(), 24);
  const QStringList expected{"changed 1000 25", "released 1000 25", "changed 1000 24", "released 1000 24"};
  QCOMPARE(log.lines, expected);
}

void PictureControlsTests::disabledSliderIgnoresInput() {
  CXBmpSlider s(1210);
  MakeDelaySlider(s, 10);
  s.setEnabled(false);
  SliderLog log(s);
  QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(95, 10));
  QTest::keyClick(&s, Qt::Key_Up);
  Wheel(s, QPoint(0, 120));
  s.Step(1);
  QCOMPARE(s.GetPos(), 10);
  QVERIFY(log.lines.isEmpty());
}

void PictureControlsTests::focusIsReportedBeforeTheClick() {
  QWidget page;
  CXBmpSlider first(1052, &page);
  CXBmpSlider second(1053, &page);
  second.move(0, 30);
  for (CXBmpSlider* s : {&first, &second}) s->resize(100, 20);
  page.show();
  page.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&page));
  first.setFocus();
  SliderLog log(second, true);
  QTest::mouseClick(&second, Qt::LeftButton, {}, QPoint(95, 10));
  QVERIFY(second.hasFocus());
  QCOMPARE(log.lines.value(0), QString("focus 1053 0"));
  QCOMPARE(log.lines.value(1), QString("changed 1053 1"));
}

void PictureControlsTests::verticalSliderClickAboveRaises() {
  CXBmpSlider s(1211);
  s.SetOrientation(SliderOrientation::vertical);
  s.SetMargins(kEffectEqSliderMargins);
  s.SetRange(10, 3000);
  s.resize(24, 200);
  s.SetPos(10);
  s.show();
  QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(12, 2));
  QCOMPARE(s.GetPos(), 11);
  QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(12, 199));
  QCOMPARE(s.GetPos(), 10);
}

void PictureControlsTests::meterLightsAndFallsOnItsTimer() {
  CPeakMeterCtrl meter(1170);
  meter.SetSettings(InputMeterSettings());
  meter.SetHorizontal(true);
  meter.resize(152, 12);
  meter.show();
  const int half[] = {30};  // 7 of 15 LEDs
  meter.SetData(half);
  QVERIFY(!meter.falloffRunning());  // never started: new data only redraws
  const QImage shot = meter.grab().toImage();
  QCOMPARE(shot.pixelColor(65, 6).green() > 200, true);  // LED 6 lit green
  QCOMPARE(shot.pixelColor(75, 6).green() < 100, true);  // LED 7 unlit
  meter.StartFalloff(1);
  QVERIFY(meter.falloffRunning());
  QTRY_VERIFY_WITH_TIMEOUT(!meter.falloffRunning(), 5000);  // fell to silence and stopped
  QCOMPARE(meter.ballistics().Level(0), 0);
  const int full[] = {75};
  meter.SetData(full);  // a started meter wakes again for new data
  QVERIFY(meter.falloffRunning());
  QCOMPARE(meter.ballistics().Level(0), 60);
  meter.StopFalloff();
  meter.SetData(full);
  QVERIFY(!meter.falloffRunning());
}

void PictureControlsTests::buttonClicksAndToggles() {
  CGdipButton nav(1226, QStringLiteral("Delay"));
  nav.resize(80, 24);
  nav.show();
  QSignalSpy clicks(&nav, &QAbstractButton::clicked);
  QTest::mouseClick(&nav, Qt::LeftButton);
  QCOMPARE(clicks.count(), 1);
  QVERIFY(!nav.isChecked());
  nav.SetToggle(true);
  QTest::mouseClick(&nav, Qt::LeftButton);
  QVERIFY(nav.isChecked());
  QCOMPARE(nav.visualState(), ButtonState::checked);
  nav.SetCheck(false);  // shown by the page, not clicked
  QCOMPARE(clicks.count(), 2);
  QCOMPARE(nav.visualState(), ButtonState::normal);
  nav.setDown(true);
  QCOMPARE(nav.visualState(), ButtonState::pressed);
  nav.setDown(false);
  nav.setEnabled(false);
  QTest::mouseClick(&nav, Qt::LeftButton);
  QCOMPARE(clicks.count(), 2);
  QCOMPARE(nav.visualState(), ButtonState::disabled);
}

void PictureControlsTests::reportListClicksKeysAndWheel() {
  CReportCtrl list(1141);
  QCOMPARE(list.InsertColumn(0, " ", Qt::AlignHCenter, 50), 0);
  QCOMPARE(list.InsertColumn(9, "Parameter name", Qt::AlignLeft, 130), 1);
  for (int row = 0; row < 9; ++row) QCOMPARE(list.InsertRow(row, QString::number(row + 1)), row);
  QVERIFY(list.SetItemText(4, 1, "Echo Predelay"));
  QVERIFY(!list.SetItemText(9, 1, "no such row"));
  QCOMPARE(list.GetItemText(4, 1), QString("Echo Predelay"));
  QCOMPARE(list.GetItemText(4, 0), QString("5"));
  QCOMPARE(list.item(4, 0)->textAlignment() & Qt::AlignHorizontal_Mask, int(Qt::AlignHCenter));
  list.resize(200, 260);
  list.show();
  QSignalSpy clicks(&list, &CReportCtrl::rowClicked);
  QSignalSpy wheel(&list, &CReportCtrl::wheelTurned);
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(list.model()->index(2, 1)).center());
  QCOMPARE(clicks.count(), 1);
  QCOMPARE(clicks[0], (QVariantList{1141, 2}));
  QTest::keyClick(&list, Qt::Key_Down);  // the highlight moves, the page is not told
  QCOMPARE(list.GetSelectedRow(), 3);
  QCOMPARE(clicks.count(), 1);
  Wheel(*list.viewport(), QPoint(0, -120));
  QCOMPARE(wheel.count(), 1);
  QCOMPARE(wheel[0], (QVariantList{1141, -1}));
  list.DeleteAll();
  QCOMPARE(list.rowCount() + list.columnCount(), 0);
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  PictureControlsTests tests;
  return QTest::qExec(&tests, argc, argv);
}

#include "picture_controls_tests.moc"
