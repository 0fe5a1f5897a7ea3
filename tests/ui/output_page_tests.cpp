// The output channels page on the emulator, driven by control id: linking a pair with the question and the
// copy of what differs, linked mix levels, the crossover type drop-down, and the layout at its sizes.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QtTest>

#include "controls/eq_panel.h"
#include "controls/xbmp_slider.h"
#include "look/command_ids.h"
#include "model/band.h"
#include "model/parameter_store.h"
#include "pages/band_editor.h"
#include "pages/band_list.h"
#include "pages/eq_editing.h"
#include "pages/output_layout.h"
#include "pages/output_page.h"
#include "pages/output_quick.h"
#include "services/device_services.h"
#include "shell/main_view.h"
#include "tuning/delay_ops.h"
#include "ui_harness.h"

using vireo::TheStore;
namespace slot = vireo::slot;
namespace id = output_page_id;

class OutputPageTests : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void linkingEqualChannelsAsksNothing();
  void theChosenChannelIsCopiedAndOnlyWhatDifferedIsSent();
  void closingTheQuestionUnchecksTheLink();
  void echoOfLinkedChannelsGoesToBothAndMutedSaysSo();
  void theCrossoverTypeShowsOnlyForALowOrHighPassCrossover();
  void aLanguageSwitchKeepsTheRoles();
  void layoutKeepsEveryControlApartAndInside();
  void aLiftOfTheMusicPathWarnsOfClipping();
  void theSplitSliderIsAnUndoStepOfItsOwn();
  void undoingALinkCopyBringsTheSplitBack();

 private:
  CDialogOutput* Page();
  void Check(int linkId);
  CXBmpSlider* SplitSliderInHighFreqMode();
  std::unique_ptr<UiHarness> rig;
};

void OutputPageTests::init() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(1), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  rig->frame().view()->ShowPage(PageKind::output);
  QVERIFY(Page() != nullptr);
  Page()->ShowChannel(0);
  rig->ClearRequests();
}

void OutputPageTests::cleanup() {
  rig.reset();
}

CDialogOutput* OutputPageTests::Page() {
  return qobject_cast<CDialogOutput*>(rig->frame().view()->currentPage());
}

void OutputPageTests::Check(int linkId) {
  rig->Find<QCheckBox>(linkId)->click();
}

void OutputPageTests::linkingEqualChannelsAsksNothing() {
  Check(id::links[0]);
  QVERIFY(rig->prompts().choiceBoxes.isEmpty());
  QVERIFY(rig->Find<QCheckBox>(id::links[0])->isChecked());
  QVERIFY(rig->Requests().empty());
}

void OutputPageTests::theChosenChannelIsCopiedAndOnlyWhatDifferedIsSent() {
  TheStore().SetInt(slot::chEchoLevel[1], 30);
  rig->prompts().choices = {2};
  Check(id::links[0]);
  QCOMPARE(
      rig->prompts().choiceBoxes,
      QStringList{QStringLiteral("Parameter is different, Is need set same?|Both set CH1|Both set CH2")});
  QVERIFY(rig->Find<QCheckBox>(id::links[0])->isChecked());
  QCOMPARE(TheStore().Int(slot::chEchoLevel[0]), 30);
  const auto requests = rig->Requests();
  QCOMPARE(requests.size(), std::size_t(1));
  QCOMPARE(ParamWrites(requests, 5, 22), (std::vector<std::vector<std::uint32_t>>{{0x3E99999A}}));  // 0.3f
}

void OutputPageTests::closingTheQuestionUnchecksTheLink() {
  TheStore().SetInt(slot::chMusicLevel[7], 80);
  Check(id::links[2]);  // no answer scripted: the box is closed
  QCOMPARE(rig->prompts().choiceBoxes.size(), 1);
  QVERIFY(rig->prompts().choiceBoxes[0].endsWith(QStringLiteral("|Both set CH7|Both set CH8")));
  QVERIFY(!rig->Find<QCheckBox>(id::links[2])->isChecked());
  QVERIFY(rig->Requests().empty());
}

void OutputPageTests::echoOfLinkedChannelsGoesToBothAndMutedSaysSo() {
  Check(id::links[1]);
  Page()->ShowChannel(3);
  rig->ClearRequests();
  rig->Find<CXBmpSlider>(id::firstMixSlider + 2)->Step(1);
  const auto requests = rig->Requests();
  QCOMPARE(ParamWrites(requests, 7, 22).size(), std::size_t(1));
  QCOMPARE(ParamWrites(requests, 8, 22).size(), std::size_t(1));
  QCOMPARE(requests.size(), std::size_t(2));
  QVERIFY(rig->notices().isEmpty());
  TheStore().SetInt(slot::chMute[3], 1);  // a muted channel says so after a mix slider moves
  rig->Find<CXBmpSlider>(id::firstMixSlider)->Step(1);
  QCOMPARE(rig->lastNotice(), QStringLiteral("vol is mute"));
}

void OutputPageTests::theCrossoverTypeShowsOnlyForALowOrHighPassCrossover() {
  CEqEditing& eq = Page()->eq();
  Page()->SelectSection(9);
  QVERIFY(!Page()->crossoverShown());  // a Peaking crossover band
  FindByControlId<QRadioButton>(eq.editor(), band_editor_id::firstType + 2)
      ->click();  // HP: the menu's high-pass pair
  QVERIFY(Page()->crossoverShown());
  auto* combo = rig->Find<QComboBox>(id::crossoverCombo);
  QCOMPARE(combo->currentIndex(), 9);  // Butterworth 24dB
  QCOMPARE(eq.list()->item(9, CBandList::kTypeColumn)->text(), QStringLiteral("HP"));

  rig->ClearRequests();
  combo->setCurrentIndex(5);
  emit combo->activated(5);  // Bessel 18dB
  const int expected[] = {9, 11, 1, 1};
  for (int s = 0; s < 4; ++s) QCOMPARE(int(vireo::ReadBand(TheStore(), 5, 9 + s).type), expected[s]);
  QCOMPARE(CountCommands(rig->Requests(), vireo::code::writeBlock), 4);

  Page()->SelectSection(3);
  QVERIFY(!Page()->crossoverShown());
  eq.list()->setCurrentCell(9, 0);
  emit eq.list()->cellClicked(9, 0);
  QVERIFY(Page()->crossoverShown());
  QCOMPARE(combo->currentIndex(), 5);
}

void OutputPageTests::aLanguageSwitchKeepsTheRoles() {
  auto* role = rig->Find<QComboBox>(id::firstRole + 6);
  role->setCurrentIndex(4);
  emit role->activated(4);
  QCOMPARE(ParamWrites(rig->Requests(), 11, 16), (std::vector<std::vector<std::uint32_t>>{{4}}));
  rig->frame().OnCommand(cmd::switchLanguage);
  QCOMPARE(role->itemText(4), QString::fromUtf8("超低"));
  QCOMPARE(role->currentIndex(), 4);
  QCOMPARE(rig->Find<QCheckBox>(id::firstPhase)->text(), QString::fromUtf8("反相180°"));
}

void OutputPageTests::layoutKeepsEveryControlApartAndInside() {
  for (const QSize page : {QSize(1024, 520), QSize(1040, 548), QSize(1920, 940)}) {
    const std::vector<QRect> rects = SeparateRects(LayoutOutputPage(page));
    for (std::size_t i = 0; i < rects.size(); ++i) {
      QVERIFY2(QRect(0, kOutputNavHeight, page.width(), page.height() - kOutputNavHeight).contains(rects[i]),
               qPrintable(QString::number(i)));
      for (std::size_t j = i + 1; j < rects.size(); ++j)
        QVERIFY2(!rects[i].intersects(rects[j]), qPrintable(QStringLiteral("%1 %2").arg(i).arg(j)));
    }
  }
}

CXBmpSlider* OutputPageTests::SplitSliderInHighFreqMode() {
  namespace q = output_quick_id;
  if (!rig->Find<QCheckBox>(q::delaySwitch)->isChecked()) rig->Find<QCheckBox>(q::delaySwitch)->click();
  if (!rig->Find<QRadioButton>(q::highFreqRadio)->isChecked())
    rig->Find<QRadioButton>(q::highFreqRadio)->click();
  auto* split = rig->Find<CXBmpSlider>(q::splitSlider);
  return split->isEnabled() ? split : nullptr;
}

void OutputPageTests::theSplitSliderIsAnUndoStepOfItsOwn() {
  namespace t = vireo::tuning;
  CXBmpSlider* split = SplitSliderInHighFreqMode();
  QVERIFY(split != nullptr);
  const int before = t::ChannelSplitIndex(TheStore(), 0);
  const std::size_t steps = rig->app().device().edits().undoSteps();
  QTest::keyClick(split, before > 0 ? Qt::Key_Left : Qt::Key_Right);
  const int moved = t::ChannelSplitIndex(TheStore(), 0);
  QVERIFY(moved != before);
  QCOMPARE(rig->app().device().edits().undoSteps(), steps + 1);
  QTest::keyClick(split, Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(t::ChannelSplitIndex(TheStore(), 0), before);
  QCOMPARE(split->GetPos(), before);
  // The edit before it (the H.Freq mode) stays.
  QCOMPARE(t::ChannelDelayMode(TheStore(), 0), t::DelayMode::highFreq);
}

void OutputPageTests::undoingALinkCopyBringsTheSplitBack() {
  namespace t = vireo::tuning;
  CXBmpSlider* split = SplitSliderInHighFreqMode();
  QVERIFY(split != nullptr);
  const int second = t::ChannelSplitIndex(TheStore(), 1);
  QTest::keyClick(split, second > 0 ? Qt::Key_Left : Qt::Key_Right);
  QVERIFY(t::ChannelSplitIndex(TheStore(), 0) != second);
  rig->prompts().choices = {1};  // both take CH1
  Check(id::links[0]);
  QCOMPARE(t::ChannelSplitIndex(TheStore(), 1), t::ChannelSplitIndex(TheStore(), 0));
  rig->frame().Undo();
  QCOMPARE(t::ChannelSplitIndex(TheStore(), 1), second);
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  OutputPageTests tests;
  return QTest::qExec(&tests, argc, argv);
}

void OutputPageTests::aLiftOfTheMusicPathWarnsOfClipping() {
  auto* warning = Page()->findChild<QLabel*>(QStringLiteral("headroomWarning"));
  QVERIFY(warning != nullptr);
  QVERIFY(warning->isHidden());
  // Music band 3: Peaking +6 dB at 1000 Hz, Q 1.41; the grid point nearest 1 kHz lies at 1006 Hz.
  const std::array<std::uint8_t, 7> peak{0x00, 0xD2, 0x03, 0xE8, 0x05, 0x82, 0x01};
  TheStore().WriteBytes(vireo::Region::dspBlock,
                        static_cast<std::size_t>(vireo::EqBandAddress(4, 3) /* music: group 4 */), peak);
  Page()->RefreshFromStore();
  QVERIFY(!warning->isHidden());
  QCOMPARE(warning->text(), QString::fromUtf8("\u26A0 +6.0 dB at 1.0 kHz: risk of clipping"));
  QVERIFY(warning->geometry().intersected(Page()->eq().graph()->geometry()).isEmpty());
  TheStore().SetInt(slot::musicEqBypass, 1);
  Page()->RefreshFromStore();
  QVERIFY(warning->isHidden());
}

#include "output_page_tests.moc"
