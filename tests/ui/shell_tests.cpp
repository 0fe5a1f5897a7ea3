// The shell on the emulator: start-up, languages, status bar, notices, balloon, About, categories and pages.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QToolButton>
#include <QtTest>

#include "controls/step_slider.h"
#include "device/connection.h"
#include "device/events.h"
#include "dialogs/about_dlg.h"
#include "dialogs/info_dlg.h"
#include "dialogs/syn_dlg.h"
#include "i18n/language_table.h"
#include "look/command_ids.h"
#include "model/parameter_store.h"
#include "recording_page.h"
#include "ribbon/application_menu.h"
#include "ribbon/mode_menus.h"
#include "ribbon/ribbon_bar.h"
#include "ribbon/ribbon_category.h"
#include "ribbon/ribbon_panel.h"
#include "services/app_settings.h"
#include "services/choice_box.h"
#include "services/device_services.h"
#include "services/help_page.h"
#include "services/tray_balloon.h"
#include "shell/connection_controller.h"
#include "shell/main_status_bar.h"
#include "shell/main_view.h"
#include "tuning/edit_history.h"
#include "ui_harness.h"

using vireo::TheStore;

class ShellTests : public QObject {
  Q_OBJECT
 private slots:
  void cleanup();
  void startsWithDefaultsChineseAndTheFirstPage();
  void firstStartFollowsTheLocaleThenTheSetting();
  void languageSettingOneStartsInEnglish();
  void f9SwitchesTuningsSendingTheDifferenceAsOneStep();
  void languageSwitchRecaptionsAndIsRemembered();
  void statusBarFollowsConnectionAndMode();
  void secondNoticeReplacesTextAndRestartsTimer();
  void connectionShowsTheBalloonAndUnplugReplugFollow();
  void aboutDialogLinesAndHiddenPeak();
  void categoriesSwitchPages();
  void tabDoubleClickIsConsumed();
  void aTabRowButtonIsNotLeftLitAfterItsBox();
  void eqElementsFollowThePage();
  void helpPageIsInstalledButNeverOverwritten();
  void wirelessTextsFollowTheMetersInSteadyLevelPanels();
  void traceFileRecordsBothDirections();
  void syncDialogTimesOutWithItsMessage();
  void choiceBoxReturnsTheChoice();
  void parameterErrorShowsItsBox();

 private:
  std::unique_ptr<UiHarness> rig;
};

void ShellTests::cleanup() {
  rig.reset();
}

void ShellTests::startsWithDefaultsChineseAndTheFirstPage() {
  rig = std::make_unique<UiHarness>();
  TheStore().SetInt(vireo::slot::micVolume, 77);                    // whatever an earlier run left
  QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::Taiwan));  // no stored language: the locale's
  QCOMPARE(rig->Start(), CKestrelv13App::StartResult::running);
  QLocale::setDefault(QLocale::c());
  CMainFrame& frame = rig->frame();
  QCOMPARE(frame.windowTitle(), QString("Vireo"));
  // No display name of its own (it would follow the application name here): boxes keep their captions
  // without " — Vireo".
  const QString name = QCoreApplication::applicationName();
  QCoreApplication::setApplicationName(QStringLiteral("probe"));
  QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
  QCoreApplication::setApplicationName(name);
  QCOMPARE(frame.minimumSize(), QSize(1040, 700));
  QCOMPARE(TheStore().Int(vireo::slot::micVolume), 0);
  QCOMPARE(LanguageIndex(), 0);
  QVERIFY(!CurrentLanguageTablePath().isEmpty());
  QVERIFY(QFileInfo(CurrentLanguageTablePath()).fileName().startsWith("NOV"));
  QCOMPARE(frame.view()->currentPage()->kind(), PageKind::music);
  QCOMPARE(frame.ribbon()->categoryCaption(kInputCategory), QString::fromUtf8("输入控制"));
  QCOMPARE(frame.ribbon()->category(kInputCategory)->panel(2)->caption(), QString::fromUtf8("效果总音量"));
  // Before the machine answers, the labels name the values the store starts with, as their sliders do.
  QCOMPARE(rig->Find<QLabel>(kInputIds.mic.label)->text(), QString::fromUtf8("话筒音量:  0"));
  QCOMPARE(rig->Find<QLabel>(kOutputIds.noiseGateLabel)->text(), QString::fromUtf8("音乐噪声门:  0"));
  QCOMPARE(AppSettings().ApplicationLook(), 215);
  // The view lays its page out at least 1024 x 520.
  frame.resize(frame.minimumSize());
  QTest::qWait(20);
  QVERIFY(frame.view()->currentPage()->width() >= 1024);
  QVERIFY(frame.view()->currentPage()->height() >= 520);
  QCOMPARE(frame.view()->currentPage()->geometry(), frame.view()->pageArea());
  // At the smallest size every panel, the wireless one included, stays whole in the narrower sliders.
  CRibbonCategory* input = frame.ribbon()->category(kInputCategory);
  QTRY_VERIFY(input->panel(kWirelessPanel)->isVisible());
  QVERIFY(input->panel(kWirelessPanel)->geometry().right() < input->width());
  QCOMPARE(input->slider(MasterLevel::mic)->width(), 70);
  frame.resize(1250, 760);
  QTRY_COMPARE(input->slider(MasterLevel::mic)->width(), 90);
  QVERIFY(input->panel(kWirelessPanel)->isVisible());
  // Connected within a second of the start.
  QTRY_VERIFY_WITH_TIMEOUT(TheStore().connected() != 0, 1000);
  QVERIFY(rig->WaitSynchronised());
}

void ShellTests::firstStartFollowsTheLocaleThenTheSetting() {
  QSettings(kSettingsKey, kApplicationName).remove("Workspace/language");
  const std::pair<QLocale, int> cases[] = {{QLocale(QLocale::Chinese, QLocale::China), 0},
                                           {QLocale(QLocale::Chinese, QLocale::HongKong), 0},
                                           {QLocale(QLocale::English, QLocale::UnitedStates), 1},
                                           {QLocale(QLocale::German, QLocale::Germany), 1},
                                           {QLocale::c(), 1}};
  for (const auto& [locale, language] : cases) {
    QLocale::setDefault(locale);
    QCOMPARE(AppSettings().Language(), language);
  }
  AppSettings().SetLanguage(0);  // a stored choice wins over an English desktop
  QCOMPARE(AppSettings().Language(), 0);
  QLocale::setDefault(QLocale::c());
}

void ShellTests::languageSettingOneStartsInEnglish() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(1), CKestrelv13App::StartResult::running);
  CRibbonBar* ribbon = rig->frame().ribbon();
  QCOMPARE(LanguageIndex(), 1);
  QCOMPARE(ribbon->categoryCaption(kOutputCategory), QString("Output"));
  QCOMPARE(ribbon->category(kInputCategory)->panel(1)->caption(), QString("Mic Vol"));
  QCOMPARE(ribbon->tabRowButton(cmd::features)->text(), QString("Features"));
  QCOMPARE(rig->Find<QLabel>(kInputIds.mic.label)->text(), QString("Mic    Vol:   0"));
  QCOMPARE(rig->Find<QCheckBox>(kOutputIds.music.mute)->text(), QString("Mute"));
  QCOMPARE(rig->Find<QToolButton>(kInputIds.loadMode)->text(), QString("LoadMode"));
  QCOMPARE(ribbon->applicationMenu()->findChild<QLabel*>("recentHeading")->text(),
           QString::fromUtf8("Last documents(最近的文档)"));
  QCOMPARE(rig->frame().mainStatusBar()->connectionPane()->text(), QString("USB:Disconnected"));
  QCOMPARE(rig->frame().mainStatusBar()->bypassBox()->text(), QString("Bypass"));
  // The English captions are the wider ones: the smallest window still shows every panel whole.
  rig->frame().resize(rig->frame().minimumSize());
  CRibbonCategory* output = ribbon->category(kOutputCategory);
  ribbon->SelectCategory(kOutputCategory);
  QTRY_VERIFY(output->panel(kWirelessPanel)->isVisible());
  QVERIFY(output->panel(kWirelessPanel)->geometry().right() < output->width());
}

void ShellTests::f9SwitchesTuningsSendingTheDifferenceAsOneStep() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(1), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  CMainFrame& frame = rig->frame();
  QLabel* pane = frame.mainStatusBar()->abPane();
  QVERIFY(pane->isHidden());
  QTest::keyClick(&frame, Qt::Key_F9);  // B begins as a copy of A
  QCOMPARE(pane->text(), QString("Tuning B live (F9: A/B)"));
  QVERIFY(frame.ribbon()->tabRowButton(cmd::abCompare)->isChecked());
  rig->app().device().edits().Apply({vireo::tuning::FieldValue{"echoVolume", 0, 30}});
  rig->WaitEditsSent();
  rig->ClearRequests();
  frame.OnCommand(cmd::abCompare);  // the tab row's "A/B"
  QCOMPARE(pane->text(), QString("Tuning A live (F9: A/B)"));
  const int echoA = TheStore().Int(vireo::slot::echoVolume);
  QVERIFY(echoA != 30);
  QCOMPARE(rig->Requests().size(), std::size_t(1));  // the echo volume alone, no write-all
  frame.Undo();
  QCOMPARE(TheStore().Int(vireo::slot::echoVolume), 30);
  QCOMPARE(pane->text(), QString("Tuning B live (F9: A/B)"));  // the undone switch
  frame.Redo();
  QCOMPARE(pane->text(), QString("Tuning A live (F9: A/B)"));
}

void ShellTests::languageSwitchRecaptionsAndIsRemembered() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(0), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  CRibbonBar* ribbon = rig->frame().ribbon();
  TheStore().SetInt(vireo::slot::musicPitch, -3);
  TheStore().SetInt(vireo::slot::reverbVolume, 8);
  const QString firstTable = CurrentLanguageTablePath();
  rig->frame().OnCommand(cmd::switchLanguage);
  QCOMPARE(LanguageIndex(), 1);
  QCOMPARE(AppSettings().Language(), 1);
  QVERIFY(CurrentLanguageTablePath() != firstTable);
  QCOMPARE(ribbon->categoryCaption(kInputCategory), QString("Input"));
  QCOMPARE(ribbon->category(kOutputCategory)->panel(1)->caption(), QString("Mic  Vol"));
  QCOMPARE(ribbon->category(kInputCategory)->panel(2)->caption(), QString("Effect Vol"));
  QCOMPARE(ribbon->category(kOutputCategory)->panel(6)->caption(), QString("Music Pitch:-3"));
  QCOMPARE(rig->Find<QLabel>(kOutputIds.reverb.label)->text(), QString("Reverb Vol:  8"));
  QCOMPARE(rig->Find<QCheckBox>(kInputIds.echo.mute)->text(), QString("Mute"));
  QCOMPARE(ribbon->tabRowButton(cmd::machineReset)->text(), QString("Reset"));
  QCOMPARE(ribbon->tabRowButton(cmd::switchLanguage)->text(), QString::fromUtf8("中/EN"));
  QCOMPARE(rig->Find<QToolButton>(kOutputIds.saveFile)->text(), QString("SaveFile"));
  QCOMPARE(ribbon->modeMenus()->loadMenu()->actions()[1]->text(), QString("Karaoke"));
  QCOMPARE(ribbon->applicationMenu()->actions()[0]->text(), QString("Open(&O)"));
  // The heading keeps the language it was built in.
  QCOMPARE(ribbon->applicationMenu()->findChild<QLabel*>("recentHeading")->text(),
           QString::fromUtf8("最近的文档(Last documents)"));
  QTRY_COMPARE(rig->frame().mainStatusBar()->connectionPane()->text(), QString("USB:Connected"));
  // Qt's stock buttons (question boxes, file dialogs) follow the language.
  QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancel"));
  // Switching back: the Chinese words, and the reverb label with the switch's name.
  rig->frame().OnCommand(cmd::switchLanguage);
  QCOMPARE(AppSettings().Language(), 0);
  QCOMPARE(ribbon->categoryCaption(kOutputCategory), QString::fromUtf8("输出调节"));
  QCOMPARE(rig->Find<QLabel>(kInputIds.reverb.label)->text(), QString::fromUtf8("混响音量:  8"));
  QCOMPARE(ribbon->modeMenus()->saveMenu()->actions()[1]->text(), QString::fromUtf8("K歌"));
  QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8("取消"));
}

void ShellTests::statusBarFollowsConnectionAndMode() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(0), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  CMainStatusBar* status = rig->frame().mainStatusBar();
  TheStore().setCurrentMode(2);
  QTRY_COMPARE(status->modePane()->text(), QString::fromUtf8("当前模式:游戏"));
  QCOMPARE(status->connectionPane()->text(), QString::fromUtf8("USB：已连接"));
  QCOMPARE(status->connectionPane()->palette().color(QPalette::WindowText), QColor(0, 150, 0));
  QCOMPARE(status->modePane()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
  CModeMenus* menus = rig->frame().ribbon()->modeMenus();
  for (QMenu* menu : {menus->loadMenu(), menus->saveMenu()}) {
    // One tick, on the current mode; no item is a check box.
    for (int i = 0; i < 4; ++i) {
      QVERIFY(!menu->actions()[i]->isCheckable());
      QCOMPARE(!menu->actions()[i]->icon().isNull(), i == 2);
      QCOMPARE(menu->actions()[i]->data().toBool(), i == 2);
    }
  }
  rig->app().connection().DisconnectMachine();
  QTRY_COMPARE(status->connectionPane()->text(), QString::fromUtf8("USB：未连接"));
  QCOMPARE(status->connectionPane()->palette().color(QPalette::WindowText), QColor(220, 0, 0));
  rig->frame().OnCommand(cmd::switchLanguage);
  QCOMPARE(status->modePane()->text(), QString("Current Mode:Game"));
}

void ShellTests::secondNoticeReplacesTextAndRestartsTimer() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(0), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  CKestrelv13App& app = rig->app();
  app.ShowNotice("first", 300);
  QPointer<CInfoDlg> notice = ExistingWindow<CInfoDlg>(app.windows().notice);
  QVERIFY(notice && notice->isVisible());
  QCOMPARE(notice->windowTitle(), QString::fromUtf8("信息"));
  QTest::qWait(200);
  app.ShowNotice("second", 400);
  QCOMPARE(app.windows().notice.data(), notice.data());  // the same pop-up
  QCOMPARE(notice->message(), QString("second"));
  QTest::qWait(250);  // past the first duration
  QVERIFY(notice && notice->isVisible());
  QTRY_VERIFY(!notice);  // gone after the second one's duration, its slot empty
  QVERIFY(!app.windows().notice);
  app.ShowNotice("third", 5000);
  QVERIFY(app.windows().notice);
  FindByControlId<QPushButton>(app.windows().notice.data(), 2)->click();  // "关闭"
  QTRY_VERIFY(!app.windows().notice);
}

void ShellTests::connectionShowsTheBalloonAndUnplugReplugFollow() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(1), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  CTrayBalloon& tray = rig->frame().view()->tray();
  QCOMPARE(tray.lastText(), QString("Device connected!"));
  QCOMPARE(tray.lastTitle(), QString("Information"));
  QCOMPARE(tray.shownCount(), 1);
  rig->emulatorBackend().Unplug();
  QTRY_COMPARE(tray.lastText(), QString("Device Disconnected!"));
  QVERIFY(!TheStore().connected());
  rig->emulatorBackend().Replug();
  QTRY_COMPARE(tray.shownCount(), 3);
  QCOMPARE(tray.lastText(), QString("Device connected!"));
  QVERIFY(rig->WaitSynchronised());
  QVERIFY(rig->frame().view()->connectionController().meterTimerActive());
  rig->ClearRequests();
  QTRY_VERIFY(CountCommands(rig->Requests(), vireo::code::levelMeters) > 0);  // meters polled when idle
}

void ShellTests::aboutDialogLinesAndHiddenPeak() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(0), CKestrelv13App::StartResult::running);
  {
    CAboutDlg offline(TheStore(), true, nullptr);
    QVERIFY(offline.line(1007)->isHidden());
    QVERIFY(offline.line(1006)->isHidden());
  }
  QVERIFY(rig->WaitSynchronised());
  vireo::MachineConnection& connection = rig->app().connection();
  CAboutDlg about(TheStore(), connection.meterPollEnabled(),
                  [&connection](bool on) { connection.setMeterPollEnabled(on); });
  about.show();
  QCOMPARE(about.windowTitle(), QString("About"));
  QCOMPARE(about.palette().color(QPalette::Window), QColor(240, 250, 255));
  QCOMPARE(about.line(1007)->text(), QString("MCU Ver:2013-06-21 CMD Ver:18"));
  QCOMPARE(about.line(1006)->text(), QString("DSP Ver:2013-07-02"));
  QVERIFY(about.line(1006)->isVisible());
  QVERIFY(about.line(1005)->isHidden());
  QVERIFY(about.peakBox()->isHidden());
  QVERIFY(about.peakBox()->isChecked());
  QTest::keyRelease(&about, Qt::Key_F11, Qt::ControlModifier);
  QVERIFY(about.line(1005)->isHidden());
  QTest::keyRelease(&about, Qt::Key_F11, Qt::ControlModifier | Qt::ShiftModifier);
  QVERIFY(about.line(1005)->isVisible());
  QCOMPARE(about.line(1005)->text(), QString("Module:Calyx"));
  QVERIFY(about.peakBox()->isVisible());
  about.peakBox()->click();
  QVERIFY(!connection.meterPollEnabled());
}

void ShellTests::categoriesSwitchPages() {
  RecordingPages pages;
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(0), CKestrelv13App::StartResult::running);
  CMainFrame& frame = rig->frame();
  rig->app().setCurrentOutputChannel(3);
  frame.ribbon()->SelectCategory(kOutputCategory);
  QCOMPARE(frame.view()->currentPage()->kind(), PageKind::output);
  QCOMPARE(RecordingPage::last->channels, QList<int>{3});
  frame.ribbon()->SelectCategory(kInputCategory);
  QCOMPARE(frame.view()->currentPage()->kind(), PageKind::music);
  frame.view()->ShowPage(PageKind::delay);
  frame.ribbon()->SelectCategory(kOutputCategory);
  QCOMPARE(frame.view()->currentPage()->kind(), PageKind::output);
  // Output again while its page is shown: the page stays and is told its channel.
  QPointer<CPage> output = frame.view()->currentPage();
  frame.ribbon()->SelectCategory(kInputCategory);
  frame.ribbon()->SelectCategory(kOutputCategory);
  QVERIFY(!output);  // the Input category replaced it in between
  output = frame.view()->currentPage();
  QMetaObject::invokeMethod(frame.ribbon()->tabBar(), "currentChanged", Q_ARG(int, kOutputCategory));
  QCOMPARE(frame.view()->currentPage(), output.data());
  QCOMPARE(RecordingPage::last->channels, (QList<int>{3, 3}));
  frame.ribbon()->SelectCategory(kInputCategory);
  QMetaObject::invokeMethod(frame.ribbon()->tabBar(), "currentChanged", Q_ARG(int, kInputCategory));
  QCOMPARE(RecordingPage::last->returnsToFirst, 1);
}

void ShellTests::aTabRowButtonIsNotLeftLitAfterItsBox() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(0), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  rig->frame().show();
  QToolButton* reset = rig->frame().ribbon()->tabRowButton(cmd::machineReset);
  // The pointer was over the button when it was clicked; the question box took it elsewhere.
  reset->setAttribute(Qt::WA_UnderMouse, true);
  QCursor::setPos(reset->mapToGlobal(QPoint(-200, 300)));
  rig->prompts().answers = {BoxAnswer::no};
  reset->click();
  QCOMPARE(rig->prompts().asked.size(), 1);
  QVERIFY(!reset->testAttribute(Qt::WA_UnderMouse));
}

void ShellTests::tabDoubleClickIsConsumed() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(0), CKestrelv13App::StartResult::running);
  QTabBar* tabs = rig->frame().ribbon()->tabBar();
  QSignalSpy doubleClicks(tabs, &QTabBar::tabBarDoubleClicked);
  QTest::mouseDClick(tabs, Qt::LeftButton, {}, tabs->tabRect(kOutputCategory).center());
  QCOMPARE(doubleClicks.count(), 0);
  QVERIFY(rig->frame().ribbon()->isVisible());
}

void ShellTests::eqElementsFollowThePage() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(0), CKestrelv13App::StartResult::running);
  CMainStatusBar* status = rig->frame().mainStatusBar();
  rig->frame().UpdateCommandUi();
  QVERIFY(status->bypassBox()->isEnabled());  // the microphone and music page shows its EQ
  rig->frame().view()->ShowPage(PageKind::delay);
  rig->frame().UpdateCommandUi();
  QVERIFY(!status->bypassBox()->isEnabled());  // the delay page shows no EQ
  QVERIFY(!status->resetEqButton()->isEnabled());
  QCOMPARE(status->resetEqButton()->text(), QString::fromUtf8("重置均衡"));
  RecordingPages pages;
  rig->frame().view()->ShowPage(PageKind::efx);
  rig->frame().UpdateCommandUi();
  QVERIFY(status->bypassBox()->isEnabled());
  status->bypassBox()->click();
  QVERIFY(RecordingPage::last->bypass);
  QVERIFY(status->bypassBox()->isChecked());
  rig->prompts().answers = {BoxAnswer::no, BoxAnswer::yes};
  status->resetEqButton()->click();
  QCOMPARE(RecordingPage::last->resets, 0);
  status->resetEqButton()->click();
  QCOMPARE(RecordingPage::last->resets, 1);
  QCOMPARE(rig->prompts().asked[0].text, QString::fromUtf8("您确定重置当前均衡吗?"));
  QCOMPARE(rig->prompts().asked[0].caption, QString::fromUtf8("提示"));
}

void ShellTests::helpPageIsInstalledButNeverOverwritten() {
  rig = std::make_unique<UiHarness>();
  const QString path = rig->dir() + "/help/Plug.html";
  QCOMPARE(rig->Start(0), CKestrelv13App::StartResult::running);
  QFile installed(path);
  QVERIFY(installed.open(QIODevice::ReadOnly));
  QVERIFY(installed.readAll().contains("Smart plugs"));
  installed.close();
  // A page that is there already stays as it is, at the next start too.
  rig.reset();
  rig = std::make_unique<UiHarness>();
  const QString second = rig->dir() + "/help/Plug.html";
  QVERIFY(QDir().mkpath(rig->dir() + "/help"));
  QFile kept(second);
  QVERIFY(kept.open(QIODevice::WriteOnly));
  kept.write("kept");
  kept.close();
  QCOMPARE(rig->Start(0), CKestrelv13App::StartResult::running);
  QVERIFY(InstallHelpPage(second));
  QVERIFY(kept.open(QIODevice::ReadOnly));
  QCOMPARE(kept.readAll(), QByteArray("kept"));
}

void ShellTests::wirelessTextsFollowTheMetersInSteadyLevelPanels() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(0), CKestrelv13App::StartResult::running);
  // The meters below are the test's own: no poll of the emulated machine may overwrite them.
  rig->app().connection().setMeterPollEnabled(false);
  const std::uint8_t meters[16] = {0, 0, 0, 0, 0, 0, 0, 0, 231, 13, 13, 202, 160, 1, 250, 0};
  TheStore().WriteBytes(vireo::Region::levelMeters, 0, meters);
  rig->frame().UpdateCommandUi();
  CRibbonCategory* output = rig->frame().ribbon()->category(kOutputCategory);
  QCOMPARE(output->wirelessLabel(0, 0)->text(), QString::fromUtf8("RF:■■■■■ AF:■■■■■"));
  QCOMPARE(output->wirelessLabel(0, 1)->text(), QString::fromUtf8("频率:672.25MHz"));
  QCOMPARE(output->wirelessLabel(0, 2)->text(), QString::fromUtf8("电   量:■■■■■"));
  QCOMPARE(output->wirelessLabel(1, 0)->text(), QString::fromUtf8("RF:■_______ AF:■_______"));
  QCOMPARE(output->wirelessLabel(1, 1)->text(), QString::fromUtf8("频率:665.25MHz"));
  QCOMPARE(ControlIdOf(output->wirelessLabel(1, 2)), 32937);
  QCOMPARE(rig->frame().ribbon()->category(kInputCategory)->wirelessLabel(0, 1)->text(),
           QString::fromUtf8("频率:672.25MHz"));
  // Columns keep their width whatever the texts: the panel must not jitter as the bars move.
  rig->frame().ribbon()->SelectCategory(kOutputCategory);
  rig->frame().show();
  QCoreApplication::processEvents();
  const QRect second = output->wirelessLabel(1, 0)->geometry();
  // The effect panel has no mute box, yet its label and slider stand level with the microphone's.
  for (int id : {kOutputIds.effect.label, kOutputIds.effect.slider}) {
    const int mic = id == kOutputIds.effect.label ? kOutputIds.mic.label : kOutputIds.mic.slider;
    QCOMPARE(rig->Find<QWidget>(id)->geometry().top(), rig->Find<QWidget>(mic)->geometry().top());
  }
  const std::uint8_t quiet[16] = {};
  TheStore().WriteBytes(vireo::Region::levelMeters, 0, quiet);
  rig->frame().UpdateCommandUi();
  // Read before the event loop runs: a meter reply already on its way would bring other bars.
  QCOMPARE(output->wirelessLabel(0, 0)->text(), QString::fromUtf8("RF:_________ AF:_________"));
  QCoreApplication::processEvents();
  QCOMPARE(output->wirelessLabel(1, 0)->geometry(), second);
}

void ShellTests::traceFileRecordsBothDirections() {
  rig = std::make_unique<UiHarness>();
  LaunchOptions launch = UiHarness::EmulatorLaunch();
  launch.traceFile = rig->dir() + "/trace.txt";
  QCOMPARE(rig->Start(0, launch), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  rig.get()->Stop();
  QFile trace(launch.traceFile);
  QVERIFY(trace.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = trace.readAll().split('\n');
  QVERIFY(lines.size() > 400);
  QVERIFY(lines[0].startsWith("> 02 80 00"));  // the first request: the model name
  QCOMPARE(lines[0].size(), 1 + 61 * 3);
  QVERIFY(lines[1].startsWith("< 01 80 43 61 6C 79 78"));  // "Calyx"
}

void ShellTests::syncDialogTimesOutWithItsMessage() {
  QCOMPARE(kSyncTimeoutMs, 30000);
  ScriptedPrompts prompts;
  SetPrompts(&prompts);
  CSynDlg dialog(QString(), nullptr, 60);
  QVERIFY(dialog.shownText().startsWith(QString::fromUtf8("当前正在与机器同步数据")));
  QCOMPARE(dialog.windowTitle(), QString::fromUtf8("同步过程"));
  dialog.exec();
  QVERIFY(dialog.timedOut());
  ShowSyncTimeoutMessage(nullptr);
  SetPrompts(nullptr);
  QCOMPARE(prompts.asked.size(), 1);
  QCOMPARE(prompts.asked[0].text, QString::fromUtf8("发生错误，与设备数据同步超时……"));
  QCOMPARE(prompts.asked[0].caption, QString::fromUtf8("错误"));
  QCOMPARE(prompts.asked[0].icon, BoxIcon::error);
  CSynDlg finished("custom", nullptr, 60);
  QTimer::singleShot(10, &finished, &CSynDlg::Finish);
  finished.exec();
  QVERIFY(!finished.timedOut());
  QCOMPARE(finished.shownText(), QString("custom"));
}

void ShellTests::choiceBoxReturnsTheChoice() {
  CDlgMsgBox box("message", "one", "two");
  QCOMPARE(FindByControlId<QLabel>(&box, 1186)->text(), QString("message"));
  QCOMPARE(FindByControlId<QPushButton>(&box, 1)->text(), QString("one"));
  QTimer::singleShot(0, [&box] { FindByControlId<QPushButton>(&box, 3)->click(); });
  box.exec();
  QCOMPARE(box.choice(), 2);
  CDlgMsgBox cancelled("m", "a", "b");
  QTimer::singleShot(0, [&cancelled] { FindByControlId<QPushButton>(&cancelled, 2)->click(); });
  cancelled.exec();
  QCOMPARE(cancelled.choice(), 0);
}

void ShellTests::parameterErrorShowsItsBox() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(1), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  rig->prompts().asked.clear();
  // Status 0x05 for module 1, parameter 14, as the core packs them into the event.
  rig->frame().OnDeviceEvent(vireo::event::parameterError, (0x05 << 16) | (0x01 << 8) | 0x0E, 0);
  QCOMPARE(rig->prompts().asked.size(), 1);
  QCOMPARE(rig->prompts().asked[0].text, QString::fromUtf8("参数错误,代码0x:05,指令1:0x01,指令2:0x0E "));
  QCOMPARE(rig->prompts().asked[0].caption, QString("Error"));
  QCOMPARE(rig->prompts().asked[0].icon, BoxIcon::error);
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  ShellTests tests;
  return QTest::qExec(&tests, argc, argv);
}

#include "shell_tests.moc"
