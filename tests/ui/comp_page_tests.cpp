// The compressor page on the emulator, driven by control id: the channel selector, the switch, the four
// sliders with their seven-word message, the curve's values, and one undo step per drag.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include "controls/compress_panel.h"
#include "controls/gdip_button.h"
#include "controls/xbmp_slider.h"
#include "look/command_ids.h"
#include "model/parameter_store.h"
#include "pages/comp_page.h"
#include "pages/output_nav.h"
#include "pages/output_quick.h"
#include "services/device_services.h"
#include "shell/main_view.h"
#include "ui_harness.h"

using vireo::TheStore;
namespace slot = vireo::slot;
namespace id = comp_page_id;

class CompPageTests : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void aSliderSendsTheSelectedChannelsFourValues();
  void theSwitchSendsItsOffFlagAndTheCurveFollows();
  void aDragIsOneUndoStep();
  void aLanguageSwitchRefillsTheChannelsAndKeepsTheSelection();
  void theNavigationBarPressesItsPageAndSwitchesAfterTheClick();
  void valuesWithAFractionReadAsStoredNotAsTheSliderHoldsThem();

 private:
  CCompDlg* Page();
  void SelectChannel(int channel);
  std::unique_ptr<UiHarness> rig;
};

void CompPageTests::init() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(1), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  rig->frame().view()->ShowPage(PageKind::comp);
  rig->ClearRequests();
}

void CompPageTests::cleanup() {
  rig.reset();
}

CCompDlg* CompPageTests::Page() {
  return qobject_cast<CCompDlg*>(rig->frame().view()->currentPage());
}

void CompPageTests::SelectChannel(int channel) {
  auto* combo = rig->Find<QComboBox>(id::channelCombo);
  combo->setCurrentIndex(channel);
  emit combo->activated(channel);
}

void CompPageTests::aSliderSendsTheSelectedChannelsFourValues() {
  QVERIFY(Page() != nullptr);
  QCOMPARE(Page()->channel(), 0);
  // CH 3: a threshold with a fraction, as a mode file may hold it, and the ends of the other ranges.
  TheStore().SetFloat(slot::chCompThreshold[2], -12.5f);
  TheStore().SetFloat(slot::chCompRatio[2], 30.0f);
  TheStore().SetFloat(slot::chCompAttack[2], 1.0f);
  TheStore().SetFloat(slot::chCompRelease[2], 1000.0f);
  SelectChannel(2);
  auto* ratio = rig->Find<CXBmpSlider>(id::firstSlider + 1);
  QCOMPARE(rig->Find<CXBmpSlider>(id::firstSlider)->GetPos(), -12);
  QCOMPARE(ratio->GetPos(), 300);
  QCOMPARE(rig->Find<QLineEdit>(id::firstValueBox)->text(), QStringLiteral("-12dB"));
  QCOMPARE(rig->Find<QLineEdit>(id::firstValueBox + 1)->text(), QStringLiteral("30.0:1"));
  QCOMPARE(rig->Find<QLineEdit>(id::firstValueBox + 3)->text(), QStringLiteral("1000ms"));

  ratio->Step(-1);  // 29.9:1; the stored threshold goes out unchanged
  QCOMPARE(rig->Find<QLineEdit>(id::firstValueBox + 1)->text(), QStringLiteral("29.9:1"));
  const auto writes = ParamWrites(rig->Requests(), 7, 27);
  QCOMPARE(writes.size(), std::size_t(1));
  QCOMPARE(writes[0], (std::vector<std::uint32_t>{0xC1480000, 0, 0x3F777029, 0x41A00000, 0x3D4CCCCD,
                                                  0x3CA8E6B3, 0x37AEC2C7}));
  rig->ClearRequests();
  rig->Find<CXBmpSlider>(id::firstSlider)->Step(1);  // whole decibels from the threshold slider
  QCOMPARE(ParamWrites(rig->Requests(), 7, 27).at(0).at(0), 0xC1300000u);  // -11.0
  QCOMPARE(Page()->curve()->threshold(), -11.0f);
  QCOMPARE(Page()->curve()->slope(), 1.0f / 29.9f);
  QVERIFY(ParamWrites(rig->Requests(), 5, 27).empty());  // CH 1 keeps its compressor
}

void CompPageTests::theSwitchSendsItsOffFlagAndTheCurveFollows() {
  SelectChannel(7);
  auto* on = rig->Find<QCheckBox>(id::onBox);
  const bool wasOn = on->isChecked();
  QCOMPARE(wasOn, TheStore().Int(slot::chCompOff[7]) == 0);
  on->click();
  rig->WaitEditsSent();  // else the second click's job takes the unsent first one's place
  on->click();
  const std::uint32_t first = wasOn ? 1 : 0;
  QCOMPARE(ParamWrites(rig->Requests(), 12, 28),
           (std::vector<std::vector<std::uint32_t>>{{first}, {1 - first}}));
  on->setChecked(true);
  on->click();  // off
  QCOMPARE(TheStore().Int(slot::chCompOff[7]), 1);
  QVERIFY(!Page()->curve()->on());
}

void CompPageTests::aDragIsOneUndoStep() {
  auto* release = rig->Find<CXBmpSlider>(id::firstSlider + 3);
  release->resize(300, 26);
  TheStore().SetFloat(slot::chCompRelease[0], 100.0f);
  Page()->RefreshFromStore();
  const std::size_t stepsBefore = rig->app().device().edits().undoSteps();
  const QPoint thumb = release->ThumbRectangle().center();
  QTest::mousePress(release, Qt::LeftButton, {}, thumb);
  for (int dx = 10; dx <= 60; dx += 10) QTest::mouseMove(release, thumb + QPoint(dx, 0));
  QTest::mouseRelease(release, Qt::LeftButton, {}, thumb + QPoint(60, 0));
  QVERIFY(TheStore().Float(slot::chCompRelease[0]) > 100.0f);
  QCOMPARE(rig->app().device().edits().undoSteps(), stepsBefore + 1);
  rig->ClearRequests();
  rig->frame().Undo();
  QCOMPARE(TheStore().Float(slot::chCompRelease[0]), 100.0f);
  QCOMPARE(release->GetPos(), 100);  // the page shows the store again
  const auto writes = ParamWrites(rig->Requests(), 5, 27);
  QVERIFY(!writes.empty());
  QCOMPARE(writes.back().at(6), 0x395A6E3Au);  // 1 - e^(-1/4800)
}

void CompPageTests::aLanguageSwitchRefillsTheChannelsAndKeepsTheSelection() {
  SelectChannel(5);
  auto* combo = rig->Find<QComboBox>(id::channelCombo);
  QCOMPARE(combo->itemText(0), QStringLiteral("CH 1"));
  rig->frame().OnCommand(cmd::switchLanguage);
  QCOMPARE(combo->count(), 8);
  QCOMPARE(combo->itemText(7), QString::fromUtf8("通道8"));
  QCOMPARE(combo->currentIndex(), 5);
  QCOMPARE(Page()->channel(), 5);
  QCOMPARE(rig->Find<QCheckBox>(id::onBox)->text(), QString::fromUtf8("压限启用"));
}

void CompPageTests::theNavigationBarPressesItsPageAndSwitchesAfterTheClick() {
  CPage* comp = Page();
  QVERIFY(FindByControlId<CGdipButton>(comp, output_nav_id::comp)->isChecked());
  QVERIFY(!FindByControlId<CGdipButton>(comp, output_nav_id::delay)->isChecked());
  // The page's own button keeps the page.
  FindByControlId<CGdipButton>(comp, output_nav_id::comp)->click();
  QCoreApplication::processEvents();
  QCOMPARE(rig->frame().view()->currentPage(), comp);
  QVERIFY(FindByControlId<CGdipButton>(comp, output_nav_id::comp)->isChecked());
  // "CH 3" (id 1070) opens the output channels page on channel 3, once the click is over.
  FindByControlId<CGdipButton>(comp, 1070)->click();
  QCOMPARE(rig->frame().view()->currentPage(), comp);
  QTRY_COMPARE(rig->frame().view()->currentPage()->kind(), PageKind::output);
  QCOMPARE(rig->app().currentOutputChannel(), 2);
}

void CompPageTests::valuesWithAFractionReadAsStoredNotAsTheSliderHoldsThem() {
  // A file may hold fractions the sliders cannot: the texts round the stored value.
  TheStore().SetFloat(slot::chCompThreshold[0], -12.7f);
  TheStore().SetFloat(slot::chCompRatio[0], 4.06f);
  TheStore().SetFloat(slot::chCompAttack[0], 10.6f);
  TheStore().SetFloat(slot::chCompRelease[0], 99.5f);
  const QStringList expected = {"-13dB", "4.1:1", "11ms", "100ms"};
  Page()->ShowChannel(0);
  for (int i = 0; i < 4; ++i) QCOMPARE(rig->Find<QLineEdit>(id::firstValueBox + i)->text(), expected[i]);
  // The output page's quick controls show the same.
  rig->frame().view()->ShowPage(PageKind::output);
  CPage* output = rig->frame().view()->currentPage();
  output->RefreshFromStore();
  for (int i = 0; i < 4; ++i) {
    QWidget* text = FindByControlId(output, output_quick_id::firstCompText + i);
    QVERIFY(text != nullptr);
    QCOMPARE(text->property("text").toString(), expected[i]);
  }
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  CompPageTests tests;
  return QTest::qExec(&tests, argc, argv);
}
#include "comp_page_tests.moc"
