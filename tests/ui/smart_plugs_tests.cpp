// The smart-plug window's plug side on the emulator's demo network (2 Lamp, 3 Dimmer, 4 IR Plug): name
// rules, adding and renaming plugs, the switch and knob frames, the wait dialog's time-out and stops, the
// meter poll and the help key.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QtTest>

#include "controls/report_ctrl.h"
#include "device/connection.h"
#include "dialogs/syn_dlg.h"
#include "home/home_theater_dlg.h"
#include "home/knob_dlg.h"
#include "home/plug_edit_dlg.h"
#include "home/plug_list_page.h"
#include "home/switch_dlg.h"
#include "home/wait_dlg.h"
#include "services/smart_home_link.h"
#include "smarthome/smart_home_controller.h"
#include "ui_harness.h"

namespace sh = vireo::smarthome;
using Bytes = std::vector<int>;

class SmartPlugsTests : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void addModeProposesAFreeNameAndRefusesAnEmptyOne();
  void namesAreKeptToTwelveCharactersWhenTypedOrPasted();
  void addingAPlugSendsTheAddFrameAndListsTheNewPlug();
  void renamingWritesTheRecordAtTheNodesAddress();
  void removingAPlugDropsItFromTheListWithItsDialog();
  void switchAndKnobSendTheirBasicSets();
  void theWaitDialogTimesOutAndStopsAddMode();
  void abortSendsTheStopOfEachOperation();
  void withoutAConnectionNothingIsSent();
  void openingReadsTheNetworkOnceUnderTheSyncWindow();
  void resetEmptiesThePlugFolderAndSendsTheControllerReset();
  void meterPollStopsWhileOpenAndComesBack();
  void helpKeyOpensTheHelpPage();
  void tabsShowTheirPageWithTheirCaptionInBlue();
  void englishTexts();

 private:
  CDialogHomeTheater* OpenWindow();
  // The reports whose first bytes are `prefix`.
  int CountStarting(const Bytes& prefix);
  SmartHomeLink& link() { return rig->app().smartHome(); }
  // The synchronisation window runs its own event loop until the operation's end: `then` runs inside
  // it, once the window is up.
  void WhileSyncShown(std::function<void()> then);
  QString SyncText() {
    return QTextDocumentFragment::fromHtml(ExistingWindow<CSynDlg>(rig->app().windows().sync)->shownText())
        .toPlainText();
  }
  std::unique_ptr<UiHarness> rig;
  QPointer<CDialogHomeTheater> window;
};

void SmartPlugsTests::init() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(0), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  // Read the network first, so the window has nothing to read when it opens.
  QVERIFY(link().controller().StartReadAll());
  link().controller().WaitIdle();
  QVERIFY(link().controller().smartTableRead());
  rig->ClearRequests();
}

void SmartPlugsTests::cleanup() {
  delete window;
  rig.reset();
}

CDialogHomeTheater* SmartPlugsTests::OpenWindow() {
  window = new CDialogHomeTheater(link(), rig->app().frame());
  window->setWaitTimings({150, 20000, 50});
  window->show();
  return window;
}

void SmartPlugsTests::WhileSyncShown(std::function<void()> then) {
  auto* poll = new QTimer(this);
  connect(poll, &QTimer::timeout, this, [this, poll, then] {
    if (!rig->app().windows().sync) return;
    poll->deleteLater();
    poll->stop();
    then();
  });
  poll->start(10);
}

int SmartPlugsTests::CountStarting(const Bytes& prefix) {
  int count = 0;
  for (const vireo::Report& r : rig->Requests()) {
    if (std::equal(prefix.begin(), prefix.end(), r.begin(), [](int b, std::uint8_t v) { return b == v; }))
      ++count;
  }
  return count;
}

void SmartPlugsTests::addModeProposesAFreeNameAndRefusesAnEmptyOne() {
  OpenWindow();
  CDlgZwaveList* list = window->plugList();
  QCOMPARE(list->nodes(), (std::vector<int>{2, 3, 4}));
  list->OnAdd();
  CDlgZwaveEdit* edit = list->editDialog();
  QVERIFY(edit && edit->isVisible());
  auto* name = FindByControlId<QLineEdit>(edit, plug_edit_id::name);
  QCOMPARE(name->text(), QString::fromUtf8("开关1"));
  QCOMPARE(FindByControlId<QPushButton>(edit, plug_edit_id::ok)->text(), QString::fromUtf8("添加"));
  name->clear();
  FindByControlId<QPushButton>(edit, plug_edit_id::ok)->click();
  QCOMPARE(rig->lastNotice(), QString::fromUtf8("名称不能为空"));
  QVERIFY(edit->isVisible());
  QCOMPARE(CountStarting({0x02, 0x12}), 0);
}

void SmartPlugsTests::namesAreKeptToTwelveCharactersWhenTypedOrPasted() {
  OpenWindow();
  window->plugList()->OnAdd();
  CDlgZwaveEdit* edit = window->plugList()->editDialog();
  auto* name = FindByControlId<QLineEdit>(edit, plug_edit_id::name);
  name->clear();
  QTest::keyClicks(name, QStringLiteral("abcdefghijkl"));
  QCOMPARE(name->text(), QStringLiteral("abcdefghijkl"));
  QVERIFY(rig->notices().isEmpty());
  QTest::keyClicks(name, QStringLiteral("m"));
  QCOMPARE(name->text(), QStringLiteral("abcdefghijkl"));
  QCOMPARE(rig->lastNotice(), QString::fromUtf8("名字太长，只保留12个字符长度"));
  // A paste is cut the same way and said so, not silently.
  name->clear();
  QApplication::clipboard()->setText(QString::fromUtf8("客厅落地灯客厅落地灯客厅落地灯"));
  name->paste();
  QCOMPARE(name->text(), QString::fromUtf8("客厅落地灯客厅落地灯客厅"));
  QCOMPARE(rig->notices().size(), 2);
}

void SmartPlugsTests::addingAPlugSendsTheAddFrameAndListsTheNewPlug() {
  OpenWindow();
  CDlgZwaveList* list = window->plugList();
  FindByControlId<QPushButton>(list, plug_list_id::add)->click();
  CDlgZwaveEdit* edit = list->editDialog();
  FindByControlId<QComboBox>(edit, plug_edit_id::typeList)->setCurrentIndex(1);
  auto* name = FindByControlId<QLineEdit>(edit, plug_edit_id::name);
  name->setText(QStringLiteral("Hall"));
  FindByControlId<QPushButton>(edit, plug_edit_id::ok)->click();
  QVERIFY(window->waitDialog());
  QCOMPARE(window->waitDialog()->text(), QString::fromUtf8("添加设备……"));
  // 0x4A 0x01 0x30: LEN 5, checksum FF^05^00^4A^01^30 = 0x81.
  QTRY_COMPARE(CountStarting({0x02, 0x12, 0x07, 0x01, 0x05, 0x00, 0x4A, 0x01, 0x30, 0x81}), 1);
  QTRY_VERIFY_WITH_TIMEOUT(link().controller().present(5), 15000);
  window->OnZwaveEvent(sh::zevent::addNode, (5 << 16) | sh::kAddJoined);
  QCOMPARE(list->nodes(), (std::vector<int>{2, 3, 4, 5}));
  auto* rows = FindByControlId<CReportCtrl>(list, plug_list_id::list);
  QCOMPARE(rows->GetItemText(3, 0), QStringLiteral("Hall"));
  // The record at 5 x 28 = 140 (0x008C): knob, three zeros, "Hall" in UTF-16 little-endian.
  QTRY_COMPARE(
      CountStarting({0x02, 0x13, 0x00, 0x8C, 0x1C, 0x02, 0, 0, 0, 'H', 0, 'a', 0, 'l', 0, 'l', 0, 0}), 1);
  QTRY_VERIFY(!window->waitDialog());
}

void SmartPlugsTests::renamingWritesTheRecordAtTheNodesAddress() {
  OpenWindow();
  CDlgZwaveList* list = window->plugList();
  auto* rows = FindByControlId<CReportCtrl>(list, plug_list_id::list);
  rows->resize(300, 200);
  const QPoint onDimmer(20, rows->rowViewportPosition(1) + 5);
  QContextMenuEvent click(QContextMenuEvent::Mouse, onDimmer, rows->viewport()->mapToGlobal(onDimmer));
  QApplication::sendEvent(rows->viewport(), &click);
  CDlgZwaveEdit* edit = list->editDialog();
  QVERIFY(edit);
  QCOMPARE(edit->mode(), CDlgZwaveEdit::Mode::edit);
  QCOMPARE(FindByControlId<QPushButton>(edit, plug_edit_id::ok)->text(), QString::fromUtf8("修改"));
  auto* name = FindByControlId<QLineEdit>(edit, plug_edit_id::name);
  QCOMPARE(name->text(), QStringLiteral("Dimmer"));
  QCOMPARE(FindByControlId<QComboBox>(edit, plug_edit_id::typeList)->currentIndex(), 1);
  name->setText(QStringLiteral("Lamp2"));
  FindByControlId<QComboBox>(edit, plug_edit_id::typeList)->setCurrentIndex(0);
  FindByControlId<QPushButton>(edit, plug_edit_id::ok)->click();
  // Node 3 at 84 (0x54): switch, "Lamp2", zeros up to the 28th byte.
  QTRY_COMPARE(CountStarting({0x02, 0x13, 0x00, 0x54, 0x1C, 0x01, 0,   0, 0, 'L', 0,
                              'a',  0,    'm',  0,    'p',  0,    '2', 0, 0, 0}),
               1);
  QCOMPARE(rows->GetItemText(1, 0), QStringLiteral("Lamp2"));
}

void SmartPlugsTests::removingAPlugDropsItFromTheListWithItsDialog() {
  OpenWindow();
  CDlgZwaveList* list = window->plugList();
  list->OpenPlug(2);  // IR Plug (node 4), the plug the emulator lets go
  QVERIFY(list->switchDialog());
  FindByControlId<QPushButton>(list, plug_list_id::remove)->click();
  QCOMPARE(window->waitDialog()->text(), QString::fromUtf8("删除设备"));
  // 0x4B 0x01 0x09: checksum FF^05^00^4B^01^09 = 0xB9.
  QTRY_COMPARE(CountStarting({0x02, 0x12, 0x07, 0x01, 0x05, 0x00, 0x4B, 0x01, 0x09, 0xB9}), 1);
  QTRY_VERIFY_WITH_TIMEOUT(!link().controller().present(4), 15000);
  window->OnZwaveEvent(sh::zevent::removeNode, (4 << 16) | sh::kRemoveLeft);
  QCOMPARE(list->nodes(), (std::vector<int>{2, 3}));
  QVERIFY(!list->switchDialog());
  // Removal mode ends: 0x4B 0x05, checksum FF^04^00^4B^05 = 0xB5.
  QTRY_COMPARE(CountStarting({0x02, 0x12, 0x06, 0x01, 0x04, 0x00, 0x4B, 0x05, 0xB5}), 1);
  QTRY_VERIFY(!window->waitDialog());
}

void SmartPlugsTests::switchAndKnobSendTheirBasicSets() {
  OpenWindow();
  CDlgZwaveList* list = window->plugList();
  list->OpenPlug(0);  // Lamp, a switch plug
  CDlgZwaveSwitch* onOff = list->switchDialog();
  QVERIFY(onOff && onOff->node() == 2);
  FindByControlId<QPushButton>(onOff, switch_id::on)->click();
  QCOMPARE(window->waitDialog()->text(), QString::fromUtf8("设备开启操作"));
  QCOMPARE(window->waitDialog()->kind(), sh::WaitKind::set);
  // Node 2, Basic Set 255, callback 0x43; checksum FF^0A^00^13^02^03^20^01^FF^25^43 = 0x5F.
  const Bytes on = {0x02, 0x12, 0x0C, 0x01, 0x0A, 0x00, 0x13, 0x02, 0x03, 0x20, 0x01, 0xFF, 0x25, 0x43, 0x5F};
  QTRY_COMPARE(CountStarting(on), 1);
  FindByControlId<QPushButton>(onOff, switch_id::off)->click();
  QCOMPARE(window->waitDialog()->text(), QString::fromUtf8("设备关闭操作"));
  const Bytes off = {0x02, 0x12, 0x0C, 0x01, 0x0A, 0x00, 0x13, 0x02,
                     0x03, 0x20, 0x01, 0x00, 0x25, 0x43, 0xA0};
  QTRY_COMPARE(CountStarting(off), 1);

  list->OpenPlug(1);  // Dimmer at 40
  QVERIFY(!list->switchDialog());
  CDlgZwaveLight* knob = list->knobDialog();
  QVERIFY(knob && knob->node() == 3);
  QCOMPARE(knob->level(), 40);
  QCOMPARE(FindByControlId<QLabel>(knob, knob_id::value)->text(), QStringLiteral("40%"));
  FindByControlId<QPushButton>(knob, knob_id::up)->click();
  QCOMPARE(knob->level(), 41);
  QPointer<CWaitDlg> wait = window->waitDialog();
  // Node 3, Basic Set 41 (0x29); checksum FF^0A^00^13^03^03^20^01^29^25^43 = 0x88.
  const Bytes up = {0x02, 0x12, 0x0C, 0x01, 0x0A, 0x00, 0x13, 0x03, 0x03, 0x20, 0x01, 0x29, 0x25, 0x43, 0x88};
  QTRY_COMPARE(CountStarting(up), 1);
  QTRY_COMPARE(rig->machine().zwave().value(3), 41);
  // The answer (end of send, acknowledged), as the application hands it on, closes the wait dialog.
  window->OnZwaveEvent(sh::zevent::sendDone, 0x43 << 16);
  QTRY_VERIFY(wait.isNull());
}

void SmartPlugsTests::theWaitDialogTimesOutAndStopsAddMode() {
  OpenWindow();
  window->setWaitTimings({150, 400, 50});
  window->OpenWait(sh::WaitKind::add, 0, QStringLiteral("x"));
  QPointer<CWaitDlg> wait = window->waitDialog();
  QTRY_VERIFY(wait->progress() >= 10);
  QTRY_VERIFY(wait.isNull());
  QCOMPARE(rig->lastNotice(), QString::fromUtf8("发生错误，操作超时……"));
  // 0x4A 0x05 0x00: checksum FF^05^00^4A^05^00 = 0xB5.
  QTRY_COMPARE(CountStarting({0x02, 0x12, 0x07, 0x01, 0x05, 0x00, 0x4A, 0x05, 0x00, 0xB5}), 1);
}

void SmartPlugsTests::abortSendsTheStopOfEachOperation() {
  OpenWindow();
  window->OpenWait(sh::WaitKind::remove, 0, QStringLiteral("x"));
  FindByControlId<QPushButton>(window->waitDialog(), wait_id::abort)->click();
  QTRY_COMPARE(CountStarting({0x02, 0x12, 0x07, 0x01, 0x05, 0x00, 0x4B, 0x05, 0x00, 0xB4}), 1);
  QTRY_VERIFY(!window->waitDialog());
  window->OpenWait(sh::WaitKind::set, 2, QStringLiteral("x"));
  QTest::keyClick(window->waitDialog(), Qt::Key_Escape);
  QTRY_COMPARE(CountStarting({0x02, 0x12, 0x01, 0x13, 0x00}), 1);
  // An answered operation has nothing left to stop.
  window->OpenWait(sh::WaitKind::set, 2, QStringLiteral("x"));
  window->OnZwaveEvent(sh::zevent::sendDone, 0x43 << 16);
  QCOMPARE(window->waitDialog()->progress(), 100);
  QVERIFY(window->waitDialog()->answered());
  QTest::keyClick(window->waitDialog(), Qt::Key_Escape);
  QCOMPARE(CountStarting({0x02, 0x12, 0x01, 0x13, 0x00}), 1);
}

void SmartPlugsTests::withoutAConnectionNothingIsSent() {
  OpenWindow();
  window->plugList()->OpenPlug(0);
  rig->emulatorBackend().Unplug();
  QTRY_VERIFY(!link().connected());
  rig->ClearRequests();
  FindByControlId<QPushButton>(window->plugList()->switchDialog(), switch_id::on)->click();
  QCOMPARE(rig->lastNotice(), QString::fromUtf8("请先连接设备!"));
  QVERIFY(!window->waitDialog());
  FindByControlId<QPushButton>(window->plugList(), plug_list_id::add)->click();
  QVERIFY(!window->plugList()->editDialog());
  FindByControlId<QPushButton>(window->plugList(), plug_list_id::remove)->click();
  QCOMPARE(rig->notices().count(QString::fromUtf8("请先连接设备!")), 3);
  QVERIFY(rig->Requests().empty());
}

void SmartPlugsTests::openingReadsTheNetworkOnceUnderTheSyncWindow() {
  link().controller().ClearSmartTableRead();
  QString shown;
  WhileSyncShown([&] {
    shown = SyncText();
    QTRY_VERIFY_WITH_TIMEOUT(link().controller().smartTableRead(), 15000);
    link().controller().WaitIdle();
    window->OnSmartHomeRefresh(sh::kRefreshDone, 0);
  });
  OpenWindow();
  QTRY_COMPARE(shown, QString::fromUtf8("同步插座数据，请稍等……"));
  QTRY_VERIFY(!rig->app().windows().sync);
  QCOMPARE(window->plugList()->nodes(), (std::vector<int>{2, 3, 4}));
  // The node list request 01 03 00 02 FE went out once; a second window reads nothing.
  QCOMPARE(CountStarting({0x02, 0x12, 0x05, 0x01, 0x03, 0x00, 0x02, 0xFE}), 1);
  window->close();
  OpenWindow();
  QTest::qWait(400);
  QVERIFY(!rig->app().windows().sync);
  QCOMPARE(CountStarting({0x02, 0x12, 0x05, 0x01, 0x03, 0x00, 0x02, 0xFE}), 1);
}

void SmartPlugsTests::resetEmptiesThePlugFolderAndSendsTheControllerReset() {
  OpenWindow();
  const QString folder = QString::fromStdString(link().plugFolder());
  QVERIFY(QDir().mkpath(folder));
  QFile key(folder + "/4.xml");
  QVERIFY(key.open(QIODevice::WriteOnly));
  key.close();
  QString shown;
  WhileSyncShown([&] {
    shown = SyncText();
    link().controller().WaitIdle();
    window->OnSmartHomeRefresh(sh::kRefreshDone, 0);
  });
  // One click would take every plug, scene and key file: No leaves them all.
  rig->prompts().answers.push_back(BoxAnswer::no);
  FindByControlId<QPushButton>(window, home_id::reset)->click();
  QCOMPARE(rig->prompts().asked.size(), 1);
  QCOMPARE(rig->prompts().asked[0].icon, BoxIcon::question);
  QVERIFY(QFile::exists(folder + "/4.xml"));
  QCOMPARE(CountStarting({0x02, 0x12, 0x06, 0x01, 0x04, 0x00, 0x42, 0x02, 0xBB}), 0);
  FindByControlId<QPushButton>(window, home_id::reset)->click();
  QCOMPARE(shown, QString::fromUtf8("正在复位，请稍等……"));
  QVERIFY(!QFile::exists(folder + "/4.xml"));
  // 0x42 0x02: LEN 4, checksum FF^04^00^42^02 = 0xBB.
  QCOMPARE(CountStarting({0x02, 0x12, 0x06, 0x01, 0x04, 0x00, 0x42, 0x02, 0xBB}), 1);
}

void SmartPlugsTests::meterPollStopsWhileOpenAndComesBack() {
  QVERIFY(link().meterPollEnabled());
  OpenWindow();
  QVERIFY(!link().meterPollEnabled());
  window->close();
  QVERIFY(link().meterPollEnabled());
  // A poll that was already off stays off.
  link().setMeterPollEnabled(false);
  OpenWindow();
  window->close();
  QVERIFY(!link().meterPollEnabled());
}

void SmartPlugsTests::helpKeyOpensTheHelpPage() {
  OpenWindow();
  QFile page(rig->app().helpPagePath());
  QVERIFY(QDir().mkpath(QFileInfo(page).absolutePath()));
  if (!page.exists()) {
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();
  }
  window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window));
  QTest::keyClick(window, Qt::Key_F1);
  QCOMPARE(rig->prompts().openedUrls.size(), 1);
  FindByControlId<QPushButton>(window, home_id::help)->click();
  QCOMPARE(rig->prompts().openedUrls.size(), 2);
}

void SmartPlugsTests::tabsShowTheirPageWithTheirCaptionInBlue() {
  OpenWindow();
  const auto colour = [this](int id) {
    return FindByControlId<QPushButton>(window, id)->palette().color(QPalette::ButtonText);
  };
  QCOMPARE(window->currentPage(), int(CDialogHomeTheater::plugPage));
  QCOMPARE(colour(home_id::plugTab), QColor(0, 0, 255));
  QCOMPARE(colour(home_id::sceneTab), QColor(0, 0, 0));
  FindByControlId<QPushButton>(window, home_id::learnTab)->click();
  QCOMPARE(window->currentPage(), int(CDialogHomeTheater::learnPage));
  QVERIFY(window->page(2)->isVisible() && !window->page(0)->isVisible());
  QCOMPARE(colour(home_id::learnTab), QColor(0, 0, 255));
  QCOMPARE(colour(home_id::plugTab), QColor(0, 0, 0));
}

void SmartPlugsTests::englishTexts() {
  rig.reset();
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(1), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  link().controller().StartReadAll();
  link().controller().WaitIdle();
  OpenWindow();
  QCOMPARE(window->windowTitle(), QStringLiteral("Smart plug"));
  QCOMPARE(FindByControlId<QLabel>(window, home_id::powerOnCaption)->text(), QStringLiteral("Power ON"));
  QCOMPARE(FindByControlId<QPushButton>(window, home_id::sceneTab)->text(), QStringLiteral("Scene list"));
  CDlgZwaveList* list = window->plugList();
  QCOMPARE(FindByControlId<QPushButton>(list, plug_list_id::remove)->text(), QStringLiteral("Delete plug"));
  list->OnRemove();
  QCOMPARE(window->waitDialog()->text(), QStringLiteral("Remove plug"));
  QCOMPARE(FindByControlId<QPushButton>(window->waitDialog(), wait_id::abort)->text(),
           QStringLiteral("Abort"));
  window->OnZwaveEvent(sh::zevent::removeNode, 1);
  QCOMPARE(window->waitDialog()->text(), QStringLiteral("Press and hold 3 second"));
  delete window->waitDialog();
  list->OpenPlug(1);
  FindByControlId<QPushButton>(list->knobDialog(), knob_id::up)->click();
  delete window->waitDialog();
  for (int k = 0; k < 60; ++k) FindByControlId<QPushButton>(list->knobDialog(), knob_id::up)->click();
  QCOMPARE(FindByControlId<QLabel>(list->knobDialog(), knob_id::value)->text(), QStringLiteral("MAX"));
  list->EditPlug(0);
  QCOMPARE(FindByControlId<QPushButton>(list->editDialog(), plug_edit_id::ok)->text(),
           QStringLiteral("Modify"));
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  SmartPlugsTests tests;
  return QTest::qExec(&tests, argc, argv);
}

#include "smart_plugs_tests.moc"
