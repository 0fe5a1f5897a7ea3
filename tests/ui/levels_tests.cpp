// The master levels on the ribbon, driven by control id on the emulator: store, wire and notices.
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest>

#include "controls/step_slider.h"
#include "device/connection.h"
#include "dialogs/info_dlg.h"
#include "model/parameter_store.h"
#include "model/wire_rules.h"
#include "ribbon/application_menu.h"
#include "ribbon/master_levels.h"
#include "ribbon/mode_menus.h"
#include "ribbon/ribbon_bar.h"
#include "ribbon/ribbon_category.h"
#include "ribbon/ribbon_panel.h"
#include "services/device_services.h"
#include "shell/connection_controller.h"
#include "shell/input_controls.h"
#include "shell/main_frame.h"
#include "shell/main_view.h"
#include "ui_harness.h"

using vireo::TheStore;
namespace slot = vireo::slot;

class LevelsTests : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void twinsFollowEachOther();
  void microphoneLimitStoresAndSendsTheMaximum();
  void mutedVolumeNoticeReplacesTheLimitNotice();
  void encodingsOfEachLevel();
  void pitchCaptionFollowsTheShownCategory();
  void musicUnmuteFadesInWithTenReports();
  void muteBoxesSendAndFollowTheStore();
  void refreshShowsTheStoreWithoutSending();
  void wheelOverEachPanelMovesBothTwins();
  void wheelOutsideThePanelsDoesNothing();
  void wheelOverAnOpenMenuLeavesTheLevels();
  void aThumbDragIsOneStepUndoneFromTheRibbon();
  void historyIsClearedByAMachineResetAndAReadAll();
  void labelsAgreeWithTheirSlidersBeforeTheMachineAnswers();

 private:
  CStepSlider* Slider(int id) { return rig->Find<CStepSlider>(id); }
  QString Label(int id) { return rig->Find<QLabel>(id)->text(); }
  std::unique_ptr<UiHarness> rig;
};

void LevelsTests::init() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(0), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  rig->ClearRequests();
}

void LevelsTests::labelsAgreeWithTheirSlidersBeforeTheMachineAnswers() {
  rig.reset();
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(0), CKestrelv13App::StartResult::running);
  // Right after start-up, before any reply has been handled: a label never names another value than its
  // slider shows.
  for (MasterLevel level :
       {MasterLevel::mic, MasterLevel::effect, MasterLevel::reverb, MasterLevel::echo, MasterLevel::music}) {
    for (const CategoryIds& category : {kInputIds, kOutputIds}) {
      const MasterLevelIds ids = IdsOf(category, level);
      QCOMPARE(Label(ids.label), LevelLabelText(level, Slider(ids.slider)->value(), 0));
    }
  }
}

void LevelsTests::cleanup() {
  rig.reset();
}

void LevelsTests::twinsFollowEachOther() {
  const int synchronised = TheStore().Int(slot::micVolume);
  QVERIFY(synchronised != 30);
  Slider(kOutputIds.mic.slider)->setValue(30);  // the user drags the Output twin...
  // ...while the Input category is shown, the change takes the shown (Input) twin's value.
  QCOMPARE(TheStore().Int(slot::micVolume), synchronised);
  rig->frame().ribbon()->SelectCategory(kOutputCategory);
  Slider(kOutputIds.mic.slider)->setValue(30);
  QCOMPARE(TheStore().Int(slot::micVolume), 30);
  QCOMPARE(Slider(kInputIds.mic.slider)->value(), 30);
  QCOMPARE(Label(kInputIds.mic.label), QString::fromUtf8("话筒音量: 30"));
  QCOMPARE(Label(kOutputIds.mic.label), QString::fromUtf8("话筒音量: 30"));
  rig->frame().ribbon()->SelectCategory(kInputCategory);
  Slider(kInputIds.echo.slider)->setValue(12);
  QCOMPARE(Slider(kOutputIds.echo.slider)->value(), 12);
  QCOMPARE(TheStore().Int(slot::echoVolume), 12);
  QCOMPARE(Label(kOutputIds.echo.label), QString::fromUtf8("回声音量: 12"));
  QCOMPARE(Slider(kOutputIds.mic.slider)->value(), 30);  // the category switch refreshed from the store
}

void LevelsTests::microphoneLimitStoresAndSendsTheMaximum() {
  TheStore().SetByte(vireo::Region::machineSettings, 5, 60);
  Slider(kInputIds.mic.slider)->setValue(80);
  QCOMPARE(TheStore().Int(slot::micVolume), 60);
  QCOMPARE(Slider(kInputIds.mic.slider)->value(), 60);
  QCOMPARE(Slider(kOutputIds.mic.slider)->value(), 60);
  const auto writes = ParamWrites(rig->Requests(), 1, 14);
  QCOMPARE(writes.size(), std::size_t(1));
  QCOMPARE(writes[0], std::vector<std::uint32_t>{vireo::EncodeVol(60)});
  QVERIFY(qAbs(vireo::BitsFloat(writes[0][0]) - 0.6005f) < 1e-6f);
  QCOMPARE(rig->lastNotice(), QString::fromUtf8("不能超过最大话筒音量!"));
  QVERIFY(rig->app().windows().notice);
  QCOMPARE(ExistingWindow<CInfoDlg>(rig->app().windows().notice)->message(),
           QString::fromUtf8("不能超过最大话筒音量!"));
}

void LevelsTests::mutedVolumeNoticeReplacesTheLimitNotice() {
  TheStore().SetByte(vireo::Region::machineSettings, 6, 40);
  TheStore().SetInt(slot::musicMute, 1);
  Slider(kInputIds.music.slider)->setValue(45);
  QCOMPARE(TheStore().Int(slot::musicVolume), 40);
  QCOMPARE(ExistingWindow<CInfoDlg>(rig->app().windows().notice)->message(),
           QString::fromUtf8("当前是静音状态"));
  TheStore().SetInt(slot::musicMute, 0);
  Slider(kInputIds.music.slider)->setValue(39);
  QCOMPARE(rig->lastNotice(), QString::fromUtf8("当前是静音状态"));  // nothing new below the maximum
}

void LevelsTests::encodingsOfEachLevel() {
  Slider(kInputIds.music.slider)->setValue(1);
  Slider(kInputIds.music.slider)->setValue(0);
  Slider(kInputIds.reverb.slider)->setValue(1);
  Slider(kInputIds.reverb.slider)->setValue(0);
  Slider(kInputIds.effect.slider)->setValue(25);
  Slider(kInputIds.noiseGateSlider)->setValue(100);
  const auto requests = rig->Requests();
  QCOMPARE(ParamWrites(requests, 4, 12).back(), std::vector<std::uint32_t>{FloatWire(0.0005f)});
  QCOMPARE(ParamWrites(requests, 3, 24).back(),
           (std::vector<std::uint32_t>{FloatWire(0.0f), FloatWire(0.0f)}));
  QCOMPARE(ParamWrites(requests, 1, 34).back(), std::vector<std::uint32_t>{FloatWire(0.2505f)});
  QCOMPARE(ParamWrites(requests, 1, 57).back(), std::vector<std::uint32_t>{FloatWire(0.2505f)});
  QCOMPARE(ParamWrites(requests, 4, 22).back(), std::vector<std::uint32_t>{FloatWire(0.01f)});
  QCOMPARE(Label(kOutputIds.noiseGateLabel), QString::fromUtf8("音乐噪声门:100"));
  QCOMPARE(TheStore().Int(slot::effectVolume), 25);
}

void LevelsTests::pitchCaptionFollowsTheShownCategory() {
  CRibbonBar* ribbon = rig->frame().ribbon();
  Slider(kInputIds.pitchSlider)->setValue(-5);
  QCOMPARE(TheStore().Int(slot::musicPitch), -5);
  QCOMPARE(ParamWrites(rig->Requests(), 4, 21).back(), std::vector<std::uint32_t>{0u});
  QCOMPARE(ribbon->category(kInputCategory)->panel(6)->caption(), QString::fromUtf8("音乐变调:-5"));
  QCOMPARE(Slider(kOutputIds.pitchSlider)->value(), -5);
  ribbon->SelectCategory(kOutputCategory);
  QCOMPARE(ribbon->category(kOutputCategory)->panel(6)->caption(), QString::fromUtf8("音乐变调:-5"));
  Slider(kOutputIds.pitchSlider)->setValue(5);
  QCOMPARE(ParamWrites(rig->Requests(), 4, 21).back(), std::vector<std::uint32_t>{10u});
  QCOMPARE(ribbon->category(kOutputCategory)->panel(6)->caption(), QString::fromUtf8("音乐变调:+5"));
}

void LevelsTests::musicUnmuteFadesInWithTenReports() {
  auto* box = rig->Find<QCheckBox>(kInputIds.music.mute);
  box->click();  // mute
  QCOMPARE(TheStore().Int(slot::musicMute), 1);
  QCOMPARE(ParamWrites(rig->Requests(), 4, 13), (std::vector<std::vector<std::uint32_t>>{{FloatWire(0.0f)}}));
  rig->ClearRequests();
  rig->Find<QCheckBox>(kOutputIds.music.mute)->click();  // unmute from the twin
  QCOMPARE(TheStore().Int(slot::musicMute), 0);
  const auto writes = ParamWrites(rig->Requests(), 4, 13);
  QCOMPARE(writes.size(), std::size_t(10));
  for (int i = 0; i < 9; ++i) QCOMPARE(writes[i][0], FloatWire(static_cast<float>(i) / 10.0f));
  QCOMPARE(writes[9][0], FloatWire(1.0f));
  QVERIFY(!box->isChecked());
  QVERIFY(rig->notices().isEmpty());  // the boxes announce nothing
}

void LevelsTests::muteBoxesSendAndFollowTheStore() {
  rig->Find<QCheckBox>(kInputIds.reverb.mute)->click();
  QCOMPARE(TheStore().Int(slot::reverbMute), 1);
  QCOMPARE(ParamWrites(rig->Requests(), 3, 25).back(),
           (std::vector<std::uint32_t>{FloatWire(0.0f), FloatWire(0.0f)}));
  QVERIFY(rig->Find<QCheckBox>(kOutputIds.reverb.mute)->isChecked());
  rig->Find<QCheckBox>(kInputIds.mic.mute)->click();
  rig->Find<QCheckBox>(kInputIds.mic.mute)->click();
  QCOMPARE(ParamWrites(rig->Requests(), 1, 15).back(), std::vector<std::uint32_t>{FloatWire(1.0f)});
  // The idle update ticks the boxes from the store.
  TheStore().SetInt(slot::echoMute, 1);
  QTRY_VERIFY(rig->Find<QCheckBox>(kOutputIds.echo.mute)->isChecked());
  QVERIFY(rig->Find<QCheckBox>(kInputIds.echo.mute)->isChecked());
}

void LevelsTests::refreshShowsTheStoreWithoutSending() {
  TheStore().SetInt(slot::micVolume, 44);
  TheStore().SetInt(slot::reverbVolume, 5);
  TheStore().SetInt(slot::musicNoiseGate, 7);
  TheStore().SetInt(slot::musicPitch, 2);
  rig->frame().RefreshVolumeControls();
  QCOMPARE(Slider(kInputIds.mic.slider)->value(), 44);
  QCOMPARE(Slider(kOutputIds.reverb.slider)->value(), 5);
  QCOMPARE(Label(kInputIds.reverb.label), QString::fromUtf8("混响音量:    5"));
  QCOMPARE(Slider(kOutputIds.pitchSlider)->value(), 2);
  QCOMPARE(rig->frame().ribbon()->category(kInputCategory)->panel(6)->caption(),
           QString::fromUtf8("音乐变调:+2"));
  QCOMPARE(Label(kOutputIds.noiseGateLabel), QString::fromUtf8("音乐噪声门:  7"));
  QVERIFY(rig->Requests().empty());
}

namespace {
void TurnWheel(QWidget* target, int angle) {
  const QPoint local = target->rect().center();
  QWheelEvent wheel(local, target->mapToGlobal(local), QPoint(), QPoint(0, angle), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(target, &wheel);
}
}  // namespace

void LevelsTests::wheelOverEachPanelMovesBothTwins() {
  CRibbonBar* ribbon = rig->frame().ribbon();
  TheStore().SetInt(slot::musicNoiseGate, 10);
  rig->frame().RefreshVolumeControls();
  for (int category : {kInputCategory, kOutputCategory}) {
    ribbon->SelectCategory(category);
    CRibbonCategory* shown = ribbon->category(category);
    const struct {
      QWidget* over;
      MasterLevel level;
    } cases[] = {{shown->panel(1), MasterLevel::mic},
                 {shown->label(MasterLevel::effect), MasterLevel::effect},
                 {shown->panel(3), MasterLevel::reverb},
                 {shown->muteBox(MasterLevel::echo), MasterLevel::echo},
                 {shown->slider(MasterLevel::music), MasterLevel::music},
                 {shown->slider(MasterLevel::pitch), MasterLevel::pitch},
                 {shown->slider(MasterLevel::noiseGate), MasterLevel::noiseGate}};
    for (const auto& c : cases) {
      const int before = rig->app().frame()->inputControls().StoreValue(c.level);
      TurnWheel(c.over, 120);
      rig->WaitEditsSent();  // each turn reaches the machine
      QCOMPARE(rig->app().frame()->inputControls().StoreValue(c.level), before + 1);
      QCOMPARE(ribbon->category(kInputCategory)->slider(c.level)->value(), before + 1);
      QCOMPARE(ribbon->category(kOutputCategory)->slider(c.level)->value(), before + 1);
      TurnWheel(c.over, -120);
      QCOMPARE(rig->app().frame()->inputControls().StoreValue(c.level), before);
    }
  }
  QCOMPARE(ParamWrites(rig->Requests(), 4, 22).size(), std::size_t(4));
}

void LevelsTests::wheelOutsideThePanelsDoesNothing() {
  CRibbonBar* ribbon = rig->frame().ribbon();
  TurnWheel(ribbon->category(kInputCategory)->panel(7), 120);
  TurnWheel(ribbon->tabBar(), -120);
  QCOMPARE(ribbon->shownCategory(), kInputCategory);  // the tabs do not take the wheel either
  QVERIFY(rig->Requests().empty());
}

void LevelsTests::wheelOverAnOpenMenuLeavesTheLevels() {
  CRibbonBar* ribbon = rig->frame().ribbon();
  // The application menu drops down over the microphone panel; its wheel turns belong to the menu.
  const QWidget* under = ribbon->category(kInputCategory)->panel(1);
  const QPoint global = under->mapToGlobal(under->rect().center());
  const int before = TheStore().Int(slot::micVolume);
  for (QMenu* menu : {static_cast<QMenu*>(ribbon->applicationMenu()), ribbon->modeMenus()->loadMenu()}) {
    QWheelEvent wheel(menu->mapFromGlobal(global), global, QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(menu, &wheel);
  }
  QCOMPARE(TheStore().Int(slot::micVolume), before);
  QCOMPARE(ribbon->category(kInputCategory)->slider(MasterLevel::mic)->value(), before);
  QVERIFY(rig->Requests().empty());
}

void LevelsTests::aThumbDragIsOneStepUndoneFromTheRibbon() {
  QToolButton* undo = rig->frame().ribbon()->tabRowButton(cmd::editUndo);
  QToolButton* redo = rig->frame().ribbon()->tabRowButton(cmd::editRedo);
  QCOMPARE(undo->text(), QString::fromUtf8("撤销"));
  QVERIFY(!undo->isEnabled() && !redo->isEnabled());
  const int synchronised = TheStore().Int(slot::micVolume);
  CStepSlider* slider = Slider(kInputIds.mic.slider);
  slider->setSliderDown(true);
  for (int value : {20, 25, 30}) slider->setValue(value);
  slider->setSliderDown(false);
  QCOMPARE(TheStore().Int(slot::micVolume), 30);
  QVERIFY(undo->isEnabled());
  undo->click();
  QCOMPARE(TheStore().Int(slot::micVolume), synchronised);
  QCOMPARE(Slider(kOutputIds.mic.slider)->value(), synchronised);
  QCOMPARE(Label(kInputIds.mic.label), QString::fromUtf8("话筒音量:%1").arg(synchronised, 3));
  QVERIFY(!undo->isEnabled() && redo->isEnabled());  // the whole drag was one step
  const float sent = vireo::BitsFloat(ParamWrites(rig->Requests(), 1, 14).back()[0]);
  QVERIFY(qAbs(sent - (synchronised / 100.0f + 0.0005f)) < 1e-6f);
}

void LevelsTests::historyIsClearedByAMachineResetAndAReadAll() {
  vireo::tuning::EditSession& edits = rig->app().device().edits();
  Slider(kInputIds.echo.slider)->setValue(12);
  QVERIFY(edits.CanUndo());
  rig->frame().OnCommand(cmd::machineReset);  // the scripted prompt answers yes
  QVERIFY(!edits.CanUndo());
  Slider(kInputIds.echo.slider)->setValue(14);
  edits.Undo();
  QVERIFY(edits.CanRedo());
  QVERIFY(rig->frame().view()->connectionController().StartReadAllWithDialog());
  QVERIFY(rig->WaitSynchronised());
  QVERIFY(!edits.CanUndo() && !edits.CanRedo());
  QVERIFY(!rig->frame().ribbon()->tabRowButton(cmd::editRedo)->isEnabled());
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  LevelsTests tests;
  return QTest::qExec(&tests, argc, argv);
}

#include "levels_tests.moc"
