// The machine settings, features and music source dialogs on the emulator: opening, one instance, the
// controls by id, what reaches the machine, refresh after a synchronisation, closing.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

#include "controls/gdip_button.h"
#include "controls/xbmp_slider.h"
#include "device/connection.h"
#include "dialogs/features_dlg.h"
#include "dialogs/machine_set_dlg.h"
#include "dialogs/music_input_dlg.h"
#include "look/command_ids.h"
#include "model/parameter_store.h"
#include "ribbon/ribbon_bar.h"
#include "ui_harness.h"

using vireo::TheStore;
namespace slot = vireo::slot;
namespace t = vireo::tuning;

class TuningDialogsTests : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void f7OpensOneSettingsDialog();
  void aLowerMaximumPullsTheStartVolumeDownAtOnce();
  void disablingAStartVolumeShowsInvalid();
  void applySendsThePowerOnModeAndCancelDropsEdits();
  void applyWithoutAMachineDoesNotClaimSuccess();
  void aModeButtonRestoresTheSlotAndReadsBack();
  void clearPlugDataResetsTheControllerAndDropsTheKeyFiles();
  void featuresShowTheStoredBoostAndSendTheNewOne();
  void featuresFollowASynchronisationWhileHidden();
  void theWheelGoesToTheFocusedSlider();
  void musicSourceSelectsByTheStoreAndSendsPortThenSource();
  void undoBringsTheSourceBackAndTheDialogFollows();
  void englishTexts();
  void atTheirMinimumSizeNothingIsClippedOrFlattened();

 private:
  template <typename T = QWidget>
  T* In(QWidget* dialog, int id) {
    return FindByControlId<T>(dialog, id);
  }
  CMachineSetDlg* Settings() { return qobject_cast<CMachineSetDlg*>(rig->app().windows().machineSettings); }
  void PressF7() { QTest::keyRelease(&rig->frame(), Qt::Key_F7); }
  std::unique_ptr<UiHarness> rig;
};

void TuningDialogsTests::init() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(0), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  rig->ClearRequests();
}

void TuningDialogsTests::cleanup() {
  rig.reset();
}

void TuningDialogsTests::f7OpensOneSettingsDialog() {
  PressF7();
  QPointer<CMachineSetDlg> first = Settings();
  QVERIFY(first && first->isVisible());
  PressF7();
  QCOMPARE(Settings(), first.data());
  QCOMPARE(rig->app().frame()->findChildren<CMachineSetDlg*>().size(), 1);
  In<CGdipButton>(first, machine_set_id::cancel)->click();
  QTRY_VERIFY(first.isNull());
  QVERIFY(rig->app().windows().machineSettings.isNull());
}

void TuningDialogsTests::aLowerMaximumPullsTheStartVolumeDownAtOnce() {
  PressF7();
  CMachineSetDlg* dialog = Settings();
  auto* start = In<CXBmpSlider>(dialog, machine_set_id::micStartSlider);
  auto* max = In<CXBmpSlider>(dialog, machine_set_id::micMaxSlider);
  start->Step(50 - start->GetPos());
  QCOMPARE(TheStore().Int(slot::micVolume), 50);
  rig->ClearRequests();
  max->Step(30 - max->GetPos());
  QCOMPARE(start->GetPos(), 30);
  QCOMPARE(start->maximum(), 30);
  QCOMPARE(In<QLabel>(dialog, machine_set_id::micStartValue)->text(), QString("30"));
  QCOMPARE(TheStore().Int(slot::micVolume), 30);
  const auto sent = ParamWrites(rig->Requests(), 1, 14);
  QCOMPARE(sent.size(), std::size_t{1});
  QCOMPARE(sent[0][0], FloatWire(static_cast<float>(0.3f + 0.0005)));
  max->Step(-99);  // the maximum stops at 1
  QCOMPARE(max->GetPos(), 1);
  QCOMPARE(TheStore().Byte(vireo::Region::machineSettingsEdit, 5), 1);
}

void TuningDialogsTests::disablingAStartVolumeShowsInvalid() {
  PressF7();
  CMachineSetDlg* dialog = Settings();
  auto* box = In<QCheckBox>(dialog, machine_set_id::musicStartBox);
  box->click();
  QCOMPARE(TheStore().Byte(vireo::Region::machineSettingsEdit, 4), 255);
  QCOMPARE(In<QLabel>(dialog, machine_set_id::musicStartValue)->text(), QString::fromUtf8("无效"));
  QVERIFY(!In<CXBmpSlider>(dialog, machine_set_id::musicStartSlider)->isEnabled());
  TheStore().SetInt(slot::musicVolume, 42);
  box->click();
  QCOMPARE(TheStore().Byte(vireo::Region::machineSettingsEdit, 4), 42);
  QCOMPARE(In<QLabel>(dialog, machine_set_id::musicStartValue)->text(), QString("42"));
}

void TuningDialogsTests::applySendsThePowerOnModeAndCancelDropsEdits() {
  PressF7();
  auto* list = In<QComboBox>(Settings(), machine_set_id::powerOnList);
  list->setCurrentIndex(3);
  emit list->activated(3);  // "M3"
  In<CGdipButton>(Settings(), machine_set_id::apply)->click();
  QCOMPARE(rig->lastNotice(), QString::fromUtf8("机器设置已生效!"));
  const auto requests = rig->Requests();
  QCOMPARE(CountCommands(requests, 145), 1);
  for (const vireo::Report& r : requests)
    if (r[1] == 145) QCOMPARE(int{r[2 + 11]}, 3);
  QVERIFY(Settings()->isVisible());  // Apply keeps it open

  emit list->activated(1);
  Settings()->close();
  QTRY_VERIFY(rig->app().windows().machineSettings.isNull());
  QCOMPARE(TheStore().Byte(vireo::Region::machineSettingsEdit, 11), 3);
  PressF7();
  QCOMPARE(In<QComboBox>(Settings(), machine_set_id::powerOnList)->currentIndex(), 3);
}

void TuningDialogsTests::applyWithoutAMachineDoesNotClaimSuccess() {
  PressF7();
  rig->app().connection().DisconnectMachine();
  emit In<QComboBox>(Settings(), machine_set_id::powerOnList)->activated(2);
  In<CGdipButton>(Settings(), machine_set_id::apply)->click();
  QCOMPARE(rig->lastNotice(), QString::fromUtf8("请先连接机器"));
  QCOMPARE(TheStore().Byte(vireo::Region::machineSettings, 11), 2);
  // The factory buttons do nothing without a machine.
  const int mode = TheStore().currentMode();
  In<CGdipButton>(Settings(), machine_set_id::firstModeButton + (mode + 1) % 4)->click();
  QCOMPARE(TheStore().currentMode(), mode);
  QVERIFY(!rig->app().windows().sync);
}

void TuningDialogsTests::aModeButtonRestoresTheSlotAndReadsBack() {
  PressF7();
  CGdipButton* m2 = In<CGdipButton>(Settings(), machine_set_id::firstModeButton + 1);
  m2->click();  // runs the synchronisation window until the read-all ends
  QTRY_VERIFY(!rig->app().windows().sync);
  QCOMPARE(TheStore().currentMode(), 1);
  QCOMPARE(CountCommands(rig->Requests(), 6, 1), 1);
  QVERIFY(m2->isChecked());
  QVERIFY(!In<CGdipButton>(Settings(), machine_set_id::firstModeButton)->isChecked());
}

void TuningDialogsTests::clearPlugDataResetsTheControllerAndDropsTheKeyFiles() {
  QVERIFY(rig->WaitSynchronised());
  QVERIFY(QDir().mkpath(rig->dir() + "/Plug"));
  QFile keys(rig->dir() + "/Plug/4.xml");
  QVERIFY(keys.open(QIODevice::WriteOnly));
  keys.close();
  rig->ClearRequests();
  PressF7();
  const auto asked = rig->prompts().asked.size();
  const auto notices = rig->notices().size();
  rig->prompts().answers.push_back(BoxAnswer::no);  // the question first: No clears nothing
  In<CGdipButton>(Settings(), machine_set_id::clearPlugs)->click();
  QCOMPARE(rig->prompts().asked.size(), asked + 1);
  QVERIFY(keys.exists());
  QCOMPARE(rig->notices().size(), notices);
  In<CGdipButton>(Settings(), machine_set_id::clearPlugs)->click();
  QCOMPARE(rig->lastNotice(), QString::fromUtf8("正在清除插座数据，请稍等……"));
  QVERIFY(!keys.exists());
  // The controller reset: request 18 carrying the frame 01 04 00 42 02 BB (0xFF ^ 04 ^ 00 ^ 42 ^ 02).
  const auto isReset = [](const vireo::Report& r) {
    return r[1] == 18 && r[2] == 6 && r[3] == 0x01 && r[4] == 0x04 && r[5] == 0x00 && r[6] == 0x42 &&
           r[7] == 0x02 && r[8] == 0xBB;
  };
  QTRY_VERIFY(std::ranges::any_of(rig->Requests(), isReset));
}

void TuningDialogsTests::featuresShowTheStoredBoostAndSendTheNewOne() {
  const std::array<std::uint8_t, 2> minus12{0xC1, 0x40};
  TheStore().WriteBytes(vireo::Region::micBoostLevel, 0, minus12);
  rig->frame().ribbon()->tabRowButton(cmd::features)->click();
  auto* dialog = qobject_cast<CloudnessDlg*>(rig->app().windows().features);
  QVERIFY(dialog && dialog->isVisible());
  auto* boost = dialog->slider(t::FeatureSlider::micBoost);
  QCOMPARE(boost->GetPos(), 12);
  QCOMPARE(In<QLabel>(dialog, 1006)->text(), QString("12dB"));
  boost->Step(8);
  QCOMPARE(In<QLabel>(dialog, 1006)->text(), QString("20dB"));
  QCOMPARE(TheStore().Byte(vireo::Region::micBoostLevel, 0), 0xC1);
  QCOMPARE(TheStore().Byte(vireo::Region::micBoostLevel, 1), 0xA0);  // -20.0
  QCOMPARE(ParamWrites(rig->Requests(), 1, 59), (std::vector<std::vector<std::uint32_t>>{{0x3DCCCCCD}}));
  // Escape hides it; it keeps its slot.
  QTest::keyClick(dialog, Qt::Key_Escape);
  QVERIFY(!dialog->isVisible());
  QCOMPARE(rig->app().windows().features.data(), static_cast<QWidget*>(dialog));
}

void TuningDialogsTests::featuresFollowASynchronisationWhileHidden() {
  rig->frame().OnCommand(cmd::features);
  auto* dialog = qobject_cast<CloudnessDlg*>(rig->app().windows().features);
  dialog->hide();
  TheStore().SetInt(slot::musicLowDelay, 7);
  TheStore().SetFloat(slot::musicCompRatio, 4.5f);
  rig->frame().RefreshAfterSync();
  QCOMPARE(dialog->slider(t::FeatureSlider::lowDelay)->GetPos(), 7);
  QCOMPARE(In<QLabel>(dialog, 1015)->text(), QString("4.5:1"));
}

void TuningDialogsTests::theWheelGoesToTheFocusedSlider() {
  rig->frame().OnCommand(cmd::features);
  auto* dialog = qobject_cast<CloudnessDlg*>(rig->app().windows().features);
  QApplication::setActiveWindow(dialog);
  CXBmpSlider* ratio = dialog->slider(t::FeatureSlider::compRatio);
  CXBmpSlider* gain = dialog->slider(t::FeatureSlider::lowGain);
  ratio->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ratio));
  const int ratioBefore = ratio->GetPos();
  const int gainBefore = gain->GetPos();
  const QPointF over = gain->rect().center();
  QWheelEvent turn(over, gain->mapToGlobal(over), {}, {0, 120}, Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
  QApplication::sendEvent(gain, &turn);
  QCOMPARE(ratio->GetPos(), ratioBefore + 1);
  QCOMPARE(gain->GetPos(), gainBefore);
}

void TuningDialogsTests::musicSourceSelectsByTheStoreAndSendsPortThenSource() {
  TheStore().SetInt(slot::musicSource, 2);
  TheStore().SetInt(slot::hdmiPort, 3);
  rig->frame().ribbon()->tabRowButton(cmd::inputSource)->click();
  auto* dialog = qobject_cast<CDialogMusicInput*>(rig->app().windows().inputSource);
  QVERIFY(dialog && dialog->radio(t::MusicInput::hdmi4)->isChecked());
  dialog->radio(t::MusicInput::hdmi3)->click();
  std::vector<std::pair<int, std::uint32_t>> sent;
  for (const vireo::Report& r : rig->Requests())
    if (r[1] == 9 && r[3] == 4 && (r[4] == 33 || r[4] == 23)) sent.emplace_back(r[4], std::uint32_t{r[9]});
  QCOMPARE(sent, (std::vector<std::pair<int, std::uint32_t>>{{33, 2}, {23, 2}}));
  dialog->slider(t::MusicInput::hdmi1)->Step(200);
  QCOMPARE(In<QLabel>(dialog, 1006)->text(), QString("127%"));
  QCOMPARE(ParamWrites(rig->Requests(), 4, 26).back()[0], FloatWire(1.27f));
  QTest::keyClick(dialog, Qt::Key_Return);
  QVERIFY(!dialog->isVisible());
}

void TuningDialogsTests::undoBringsTheSourceBackAndTheDialogFollows() {
  TheStore().SetInt(slot::musicSource, 3);
  TheStore().SetInt(slot::hdmiPort, 1);
  rig->frame().OnCommand(cmd::inputSource);
  auto* dialog = qobject_cast<CDialogMusicInput*>(rig->app().windows().inputSource);
  dialog->radio(t::MusicInput::hdmi3)->click();
  rig->WaitEditsSent();
  rig->ClearRequests();
  rig->frame().Undo();
  QCOMPARE(TheStore().Int(slot::musicSource), 3);
  QCOMPARE(TheStore().Int(slot::hdmiPort), 1);
  QVERIFY(dialog->radio(t::MusicInput::bluetooth)->isChecked());
  // The machine ends on Bluetooth too.
  QCOMPARE(ParamWrites(rig->Requests(), 4, 23).back()[0], std::uint32_t{3});
}

void TuningDialogsTests::englishTexts() {
  rig.reset();
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(1), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  PressF7();
  QCOMPARE(Settings()->windowTitle(), QString("Machine Set"));
  In<QCheckBox>(Settings(), machine_set_id::micStartBox)->click();
  QCOMPARE(In<QLabel>(Settings(), machine_set_id::micStartValue)->text(), QString("Invalid"));
  rig->frame().OnCommand(cmd::features);
  QCOMPARE(rig->app().windows().features->windowTitle(), QString("Features"));
  rig->frame().OnCommand(cmd::inputSource);
  auto* sources = qobject_cast<CDialogMusicInput*>(rig->app().windows().inputSource);
  QCOMPARE(sources->windowTitle(), QString("Music source setting"));
  QCOMPARE(sources->radio(t::MusicInput::bluetooth)->text(), QString("Bluetooth"));
}

void TuningDialogsTests::atTheirMinimumSizeNothingIsClippedOrFlattened() {
  rig->frame().ribbon()->tabRowButton(cmd::features)->click();
  PressF7();
  for (QWidget* dialog : {rig->app().windows().features, rig->app().windows().machineSettings}) {
    QVERIFY(dialog != nullptr);
    dialog->resize(dialog->minimumSize().expandedTo(dialog->minimumSizeHint()));
    QTRY_VERIFY(dialog->width() <= dialog->minimumSizeHint().width() + 1);
    QCoreApplication::processEvents();
    for (QLabel* label : dialog->findChildren<QLabel*>()) {
      if (!label->isVisible() || !label->wordWrap()) continue;
      QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(label->text()));
    }
    for (CXBmpSlider* slider : dialog->findChildren<CXBmpSlider*>()) {
      if (!slider->isVisible()) continue;
      // A horizontal slider as tall as its thumb, so the thumb keeps its shape.
      QVERIFY2(slider->height() >= slider->minimumSizeHint().height(),
               qPrintable(QString::number(ControlIdOf(slider))));
    }
  }
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  TuningDialogsTests tests;
  return QTest::qExec(&tests, argc, argv);
}

#include "tuning_dialogs_tests.moc"
