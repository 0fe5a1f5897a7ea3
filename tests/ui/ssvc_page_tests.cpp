// The sound-field location page on the emulator, driven by control id: a drag in the room picture is one
// undo step that sends the record and the corrections, the room size clamps, "Locate" keeps one row, the
// language switch relabels the channel rows, and the layout keeps every control apart.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "controls/ss_volume_panel.h"
#include "look/command_ids.h"
#include "model/parameter_store.h"
#include "pages/ssvc_layout.h"
#include "pages/ssvc_page.h"
#include "services/device_services.h"
#include "shell/main_view.h"
#include "ui_harness.h"

using vireo::TheStore;
namespace id = ssvc_page_id;

class SsvcPageTests : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void aListenerDragIsOneUndoStepWithRecordAndCorrections();
  void roomSizesAreHeldToOneToTen();
  void locateKeepsAtMostOneRow();
  void aLanguageSwitchRelabelsTheChannelRows();
  void theLayoutKeepsControlsApartAndInsideThePage();

 private:
  CSSVCDlg* Page();
  std::unique_ptr<UiHarness> rig;
};

void SsvcPageTests::init() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(1), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  rig->frame().view()->ShowPage(PageKind::ssvc);
  rig->ClearRequests();
}

void SsvcPageTests::cleanup() {
  rig.reset();
}

CSSVCDlg* SsvcPageTests::Page() {
  return qobject_cast<CSSVCDlg*>(rig->frame().view()->currentPage());
}

void SsvcPageTests::aListenerDragIsOneUndoStepWithRecordAndCorrections() {
  QVERIFY(Page() != nullptr);
  CSSVolumePanel* picture = Page()->picture();
  picture->resize(600, 400);  // plot 540 x 340: 135 and 85 pixels a metre in the 4 m room
  const vireo::LocationGeometry before = TheStore().geometry();
  const SSVolumeItem& listener = picture->item(0);
  const QPoint start(listener.pixel.x, listener.pixel.y);
  QCOMPARE(start, QPoint(300, 200));
  const std::size_t steps = rig->app().device().edits().undoSteps();
  QTest::mousePress(picture, Qt::LeftButton, {}, start + QPoint(5, -5));  // within reach
  for (int d = 27; d <= 135; d += 27) QTest::mouseMove(picture, start + QPoint(d, 0));
  QTest::mouseRelease(picture, Qt::LeftButton, {}, start + QPoint(135, 0));
  QCOMPARE(rig->app().device().edits().undoSteps(), steps + 1);
  QCOMPARE(TheStore().geometry().listener, (vireo::Point{1.0f, 0.0f}));
  QCOMPARE(rig->Find<QLineEdit>(id::listenerX)->text(), QStringLiteral("+1.0m"));

  const std::vector<vireo::Report> sent = rig->Requests();
  QVERIFY(CountCommands(sent, 0x85, 0x05) >= 1);  // the record at 0x0505
  // The listener sits on R (+1, +1)'s x, one metre away: R's channel 2 gets 0 dB, SR's channel 8 +1.5 dB.
  const auto r = ParamWrites(sent, 6, 29);
  const auto sr = ParamWrites(sent, 12, 29);
  QVERIFY(!r.empty() && !sr.empty());
  QCOMPARE(r.back().at(0), 0x3F800000u);
  QCOMPARE(sr.back().at(0), 0x3F9820D7u);

  rig->frame().Undo();
  QCOMPARE(TheStore().geometry().listener, before.listener);
  QCOMPARE(rig->Find<QLineEdit>(id::listenerX)->text(), QStringLiteral("+0.0m"));
}

void SsvcPageTests::roomSizesAreHeldToOneToTen() {
  auto* width = rig->Find<QLineEdit>(id::widthEdit);
  auto* length = rig->Find<QLineEdit>(id::lengthEdit);
  width->setText(QStringLiteral("12"));
  length->setText(QStringLiteral("0"));
  rig->Find<QPushButton>(id::modify)->click();
  QCOMPARE(width->text(), QStringLiteral("10m"));
  QCOMPARE(length->text(), QStringLiteral("1m"));
  QCOMPARE(TheStore().geometry().roomWidth, 10);
  QCOMPARE(TheStore().geometry().roomLength, 1);
  const std::vector<vireo::Report> sent = rig->Requests();
  QCOMPARE(CountCommands(sent, 0x85, 0x05), 1);
  QCOMPARE(ParamWrites(sent, 5, 29).size(), std::size_t(0));  // a room change corrects nobody
}

void SsvcPageTests::locateKeepsAtMostOneRow() {
  auto* third = rig->Find<QCheckBox>(id::locate[2]);
  auto* fifth = rig->Find<QCheckBox>(id::locate[4]);
  third->click();
  rig->WaitEditsSent();
  fifth->click();
  rig->WaitEditsSent();
  QVERIFY(!third->isChecked());
  QVERIFY(fifth->isChecked());
  fifth->click();
  QVERIFY(!fifth->isChecked());
  const auto expected = std::vector<std::vector<std::uint32_t>>{
      {static_cast<std::uint32_t>(TheStore().Int(vireo::slot::chType[2]) & 0xFF)},
      {static_cast<std::uint32_t>(TheStore().Int(vireo::slot::chType[4]) & 0xFF)},
      {8}};
  QCOMPARE(ParamWrites(rig->Requests(), 4, 34), expected);
}

void SsvcPageTests::aLanguageSwitchRelabelsTheChannelRows() {
  TheStore().SetInt(vireo::slot::chType[0], 2);
  Page()->RefreshFromStore();
  QCOMPARE(rig->Find<QLabel>(id::firstRole)->text(), QStringLiteral("CH 1 (CH-SBL)"));
  rig->frame().OnCommand(cmd::switchLanguage);
  QCOMPARE(rig->Find<QLabel>(id::firstRole)->text(), QString::fromUtf8("通道1 (后环绕左)"));
  QCOMPARE(rig->Find<QPushButton>(id::modify)->text(), QString::fromUtf8("立即修改"));
  QCOMPARE(rig->Find<QCheckBox>(id::locate[7])->text(), QString::fromUtf8("定位"));
}

void SsvcPageTests::theLayoutKeepsControlsApartAndInsideThePage() {
  for (const QSize size : {QSize(1024, 520), QSize(800, 400), QSize(1900, 960)}) {
    const SsvcPageLayout l = LayoutSsvcPage(size);
    const QRect page(QPoint(0, kSsvcNavBarHeight),
                     size.expandedTo(QSize(1024, 520)) - QSize(0, kSsvcNavBarHeight));
    const std::vector<QRect> rects = SsvcControlRects(l);
    for (std::size_t i = 0; i < rects.size(); ++i) {
      QVERIFY2(page.contains(rects[i]), qPrintable(QStringLiteral("control %1 leaves the page").arg(i)));
      for (std::size_t j = i + 1; j < rects.size(); ++j)
        QVERIFY2(!rects[i].intersects(rects[j]),
                 qPrintable(QStringLiteral("controls %1 and %2").arg(i).arg(j)));
    }
    for (const auto& [frame, inside] : SsvcGroups(l)) {
      for (const QRect& r : inside) QVERIFY(r.isNull() || frame.adjusted(1, 1, -1, -1).contains(r));
    }
  }
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  SsvcPageTests tests;
  return QTest::qExec(&tests, argc, argv);
}
#include "ssvc_page_tests.moc"
