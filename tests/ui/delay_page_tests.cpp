// The delay page on the emulator, driven by control id: typed delays with their clamp and sample counts,
// the up-down control, the mode choice with its split bands and row enabling, the switch, and a graph drag
// as one undo step; and its layout at several page sizes.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QWheelEvent>
#include <QtTest>

#include "controls/delay_panel.h"
#include "controls/up_down_ctrl.h"
#include "controls/xbmp_slider.h"
#include "look/command_ids.h"
#include "model/band.h"
#include "model/parameter_store.h"
#include "pages/delay_layout.h"
#include "pages/delay_page.h"
#include "pages/output_nav.h"
#include "services/device_services.h"
#include "shell/main_view.h"
#include "ui_harness.h"

using vireo::TheStore;
namespace slot = vireo::slot;
namespace id = delay_page_id;

class DelayPageTests : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void aTypedDelayIsHeldInRangeAndSentAsSamples();
  void theUpDownStepsATenthAndStopsAtTheFloor();
  void theModeChoiceSendsItsPairAndSplitBandsAndGatesTheSlider();
  void switchingOffDisablesTheRowAndKeepsItsValues();
  void aGraphDragIsOneUndoStep();
  void theWheelStepsTheFocusedDelayEditOrSplitSlider();
  void aLanguageSwitchRetitlesTheRows();
  void nothingOverlapsOrLeavesThePage();

 private:
  CDelayDlg* Page();
  void Type(int channel, const QString& text);
  std::unique_ptr<UiHarness> rig;
};

void DelayPageTests::init() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(1), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  for (int c = 0; c < 8; ++c) {
    TheStore().SetFloat(slot::chDelay[c], 10.0f);
    TheStore().SetInt(slot::chDelayOff[c], 0);
    TheStore().SetInt(slot::chDelayMode[c], 0);
  }
  rig->frame().view()->ShowPage(PageKind::delay);
  QVERIFY(Page() != nullptr);
  rig->ClearRequests();
}

void DelayPageTests::cleanup() {
  rig.reset();
}

CDelayDlg* DelayPageTests::Page() {
  return qobject_cast<CDelayDlg*>(rig->frame().view()->currentPage());
}

void DelayPageTests::Type(int channel, const QString& text) {
  auto* edit = rig->Find<QLineEdit>(id::firstDelayEdit + channel);
  edit->setFocus();
  edit->setText(text);
  QTest::keyClick(edit, Qt::Key_Return);
}

void DelayPageTests::aTypedDelayIsHeldInRangeAndSentAsSamples() {
  struct Case {
    const char* typed;
    const char* shown;
    std::uint32_t samples;
    int upDown;
  };
  // CH 2 is module 6; each delay goes out as trunc(ms * 48 + 0.5) samples. The up-down control keeps to
  // 16..1000.
  const Case cases[] = {{"0.5", "1.5ms", 72, 16},        {"250", "100.0ms", 4800, 1000},
                        {"12.34ms", "12.3ms", 592, 123}, {"abc", "1.5ms", 72, 16},
                        {"1.5", "1.5ms", 0, 16},         {"10", "10.0ms", 480, 100}};
  for (const Case& c : cases) {
    QTest::qWait(0);
    rig->WaitEditsSent();
    rig->ClearRequests();
    Type(1, QString::fromLatin1(c.typed));
    QCOMPARE(rig->Find<QLineEdit>(id::firstDelayEdit + 1)->text(), QString::fromLatin1(c.shown));
    QCOMPARE(rig->Find<CUpDownCtrl>(id::firstUpDown + 1)->GetPos(), c.upDown);
    const auto writes = ParamWrites(rig->Requests(), 6, 18);
    if (c.samples == 0) {  // the delay already stored: nothing goes out
      QVERIFY(writes.empty());
    } else {
      QCOMPARE(writes, (std::vector<std::vector<std::uint32_t>>{{c.samples}}));
    }
  }
  QCOMPARE(Page()->graph()->value(1), 10.0f);
  QCOMPARE(TheStore().Float(slot::chDelay[1]), 10.0f);
}

void DelayPageTests::theUpDownStepsATenthAndStopsAtTheFloor() {
  Type(4, QStringLiteral("1.7"));
  auto* upDown = rig->Find<CUpDownCtrl>(id::firstUpDown + 4);
  upDown->Click(false);  // 1.6
  upDown->Click(false);  // the control stops at 16, the click still gives 1.5
  QCOMPARE(upDown->GetPos(), 16);
  QCOMPARE(TheStore().Float(slot::chDelay[4]), 1.5f);
  QCOMPARE(rig->Find<QLineEdit>(id::firstDelayEdit + 4)->text(), QStringLiteral("1.5ms"));
  rig->WaitEditsSent();
  rig->ClearRequests();
  upDown->Click(false);  // 1.5 again: unchanged, nothing sent
  upDown->Click(true);   // 1.7: from the position 16
  QCOMPARE(ParamWrites(rig->Requests(), 9, 18), (std::vector<std::vector<std::uint32_t>>{{82}}));
}

void DelayPageTests::theModeChoiceSendsItsPairAndSplitBandsAndGatesTheSlider() {
  auto* slider = rig->Find<CXBmpSlider>(id::sliders[2]);
  slider->Step(3);  // 800 / 1300 Hz
  QCOMPARE(rig->Find<QLabel>(id::splitTexts[2])->text(), QStringLiteral("800Hz"));
  rig->frame().Undo();  // the split bands go back as they were
  QCOMPARE(vireo::ReadBand(TheStore(), 7, 13).frequency, 500);
  QCOMPARE(rig->Find<QLabel>(id::splitTexts[2])->text(), QStringLiteral("500Hz"));
  rig->frame().Redo();
  QCOMPARE(slider->GetPos(), 3);
  rig->WaitEditsSent();
  rig->ClearRequests();
  rig->Find<QRadioButton>(id::firstRadio + 5)->click();  // CH 3 "Channel"
  QVERIFY(!slider->isEnabled());
  QVERIFY(!rig->Find<QLabel>(id::splitTexts[2])->isEnabled());
  QCOMPARE(ParamWrites(rig->Requests(), 7, 17), (std::vector<std::vector<std::uint32_t>>{{0x3F800000, 0}}));
  const vireo::BandRecord flat13 = vireo::ReadBand(TheStore(), 7, 13);
  const vireo::BandRecord flat14 = vireo::ReadBand(TheStore(), 7, 14);
  QCOMPARE((std::vector<int>{flat13.type, flat13.frequency, flat14.type, flat14.frequency}),
           (std::vector<int>{1, 800, 1, 1300}));
  QCOMPARE(ParamWrites(rig->Requests(), 7, 13).size(), std::size_t(1));
  QCOMPARE(ParamWrites(rig->Requests(), 7, 14).size(), std::size_t(1));
  rig->WaitEditsSent();
  rig->ClearRequests();
  rig->Find<QRadioButton>(id::firstRadio + 4)->click();  // "High Freq" again, at the same split
  QVERIFY(slider->isEnabled());
  QCOMPARE(ParamWrites(rig->Requests(), 7, 17),
           (std::vector<std::vector<std::uint32_t>>{{0x3F800000, 0x3F800000}}));
  const vireo::BandRecord hp = vireo::ReadBand(TheStore(), 7, 13);
  const vireo::BandRecord lp = vireo::ReadBand(TheStore(), 7, 14);
  QCOMPARE((std::vector<int>{hp.type, hp.frequency, lp.type, lp.frequency}),
           (std::vector<int>{3, 800, 2, 1300}));
}

void DelayPageTests::switchingOffDisablesTheRowAndKeepsItsValues() {
  rig->Find<CXBmpSlider>(id::sliders[7])->Step(1);
  auto* on = rig->Find<QCheckBox>(id::firstSwitch + 7);
  on->click();
  QCOMPARE(TheStore().Int(slot::chDelayOff[7]), 1);
  QCOMPARE(ParamWrites(rig->Requests(), 12, 19), (std::vector<std::vector<std::uint32_t>>{{1}}));
  for (int control : {id::firstRadio + 14, id::firstRadio + 15, id::names[7], id::sliders[7],
                      id::splitTexts[7], id::firstDelayEdit + 7, id::firstUpDown + 7})
    QVERIFY2(!rig->Find(control)->isEnabled(), qPrintable(QString::number(control)));
  QCOMPARE(TheStore().Float(slot::chDelay[7]), 10.0f);
  QCOMPARE(vireo::ReadBand(TheStore(), 12, 13).frequency, 600);
  on->click();
  QVERIFY(rig->Find(id::sliders[7])->isEnabled());
}

void DelayPageTests::aGraphDragIsOneUndoStep() {
  CDelayPanel* graph = Page()->graph();
  graph->resize(1156, 600);  // ten pixels per millisecond
  QCOMPARE(graph->markerX(0), 178);
  const int y = graph->Geometry().LaneHitY(0);
  const std::size_t stepsBefore = rig->app().device().edits().undoSteps();
  QTest::mousePress(graph, Qt::LeftButton, {}, QPoint(183, y));
  for (int x = 193; x <= 233; x += 10) QTest::mouseMove(graph, QPoint(x, y));
  QTest::mouseMove(graph, QPoint(-40, y));  // past the left end
  QTest::mouseMove(graph, QPoint(333, y));  // 150 pixels right of the start: 25 ms
  QTest::mouseRelease(graph, Qt::LeftButton, {}, QPoint(333, y));
  QCOMPARE(TheStore().Float(slot::chDelay[0]), 25.0f);
  QCOMPARE(rig->Find<QLineEdit>(id::firstDelayEdit)->text(), QStringLiteral("25.0ms"));
  QCOMPARE(rig->Find<CUpDownCtrl>(id::firstUpDown)->GetPos(), 250);
  QCOMPARE(graph->grabbedItem(), 0);
  QCOMPARE(rig->app().device().edits().undoSteps(), stepsBefore + 1);
  QVERIFY(ParamWrites(rig->Requests(), 5, 18).size() >= 1);
  QCOMPARE(ParamWrites(rig->Requests(), 5, 18).back(), (std::vector<std::uint32_t>{1200}));

  rig->frame().Undo();
  QCOMPARE(TheStore().Float(slot::chDelay[0]), 10.0f);
  QCOMPARE(graph->value(0), 10.0f);  // the page shows the store again
  QCOMPARE(ParamWrites(rig->Requests(), 5, 18).back(), (std::vector<std::uint32_t>{480}));

  // A press 15 pixels from the marker grabs nothing, and moving sends nothing.
  rig->WaitEditsSent();
  rig->ClearRequests();
  QTest::mousePress(graph, Qt::LeftButton, {}, QPoint(183 + 15, y));
  QTest::mouseMove(graph, QPoint(400, y));
  QTest::mouseRelease(graph, Qt::LeftButton, {}, QPoint(400, y));
  QCOMPARE(graph->grabbedItem(), -1);
  QVERIFY(ParamWrites(rig->Requests(), 5, 18).empty());
}

void DelayPageTests::theWheelStepsTheFocusedDelayEditOrSplitSlider() {
  CDelayDlg* page = Page();
  page->activateWindow();
  auto turn = [page](int delta) {
    const QPointF at(3, page->height() - 3);  // a corner of the page, away from every control
    QWheelEvent wheel(at, page->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(page, &wheel);
  };
  auto* edit = rig->Find<QLineEdit>(id::firstDelayEdit + 6);
  edit->setFocus();
  QTRY_VERIFY(edit->hasFocus());
  turn(120);  // as the up arrow: 10.0 -> 10.1
  QCOMPARE(edit->text(), QStringLiteral("10.1ms"));
  QCOMPARE(TheStore().Float(slot::chDelay[6]), 10.1f);
  auto* slider = rig->Find<CXBmpSlider>(id::sliders[6]);
  slider->setFocus();
  QTRY_VERIFY(slider->hasFocus());
  turn(120);
  QCOMPARE(slider->GetPos(), 1);
  QCOMPARE(vireo::ReadBand(TheStore(), 11, 13).frequency, 600);
}

void DelayPageTests::aLanguageSwitchRetitlesTheRows() {
  QCOMPARE(rig->Find<QRadioButton>(id::firstRadio)->text(), QStringLiteral("High Freq"));
  rig->frame().OnCommand(cmd::switchLanguage);
  QCOMPARE(rig->Find<QCheckBox>(id::firstSwitch + 3)->text(), QString::fromUtf8("开关"));
  QCOMPARE(rig->Find<QRadioButton>(id::firstRadio + 15)->text(), QString::fromUtf8("通道延时"));
  QCOMPARE(rig->Find<QLabel>(id::names[7])->text(), QString::fromUtf8("通道8"));
}

void DelayPageTests::nothingOverlapsOrLeavesThePage() {
  for (QSize page : {QSize(1024, 520), QSize(1920, 1080), QSize(1025, 521), QSize(600, 300)}) {
    const QRect area(QPoint(0, kOutputNavHeight),
                     page.expandedTo(QSize(1024, 520)) - QSize(0, kOutputNavHeight));
    const std::vector<QRect> rects = SeparateRects(LayoutDelayPage(page, kOutputNavHeight));
    for (std::size_t i = 0; i < rects.size(); ++i) {
      QVERIFY2(area.contains(rects[i]), qPrintable(QStringLiteral("rect %1 leaves the page").arg(i)));
      for (std::size_t j = i + 1; j < rects.size(); ++j)
        QVERIFY2(!rects[i].intersects(rects[j]),
                 qPrintable(QStringLiteral("rects %1, %2 overlap").arg(i).arg(j)));
    }
  }
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  DelayPageTests tests;
  return QTest::qExec(&tests, argc, argv);
}
#include "delay_page_tests.moc"
