// The smart-plug window's scene page and remote key page on the emulator's plug network (2 "Lamp" switch,
// 3 "Dimmer" knob, 4 "IR Plug"): step edits and their messages, the bytes a save writes, and learning,
// emitting and renaming keys.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

#include "controls/gdip_button.h"
#include "controls/report_ctrl.h"
#include "controls/xbmp_slider.h"
#include "home/remote_learn_page.h"
#include "home/scene_page.h"
#include "home/smart_home_windows.h"
#include "i18n/language_table.h"
#include "services/smart_home_link.h"
#include "smarthome/plug_keys.h"
#include "smarthome/smart_home_controller.h"
#include "ui_harness.h"

namespace sh = vireo::smarthome;
namespace sid = scene_page_id;
namespace lid = remote_learn_id;

namespace {
struct WaitCall {
  sh::WaitKind kind;
  int node;
  QString text;
};
}  // namespace

class ScenePagesTests : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void aPlugChosenWithTheMouseShowsItsEditorAndKeys();
  void theTwentyNinthStepIsRefused();
  void saveWritesTheStepsAtTheScenesAddress();
  void movesStopAtTheEndsAndNeedASelection();
  void theDeleteKeyRemovesTheSelectedStep();
  void modifyAndTheResetsChangeTheSelectedStep();
  void pagesFitTheSmallestPageArea();
  void tabWalksEachColumnTopToBottom();
  void learnSendsTheLearnValueAndTheListFollowsTheReport();
  void emitSendsTheEmitValue();
  void inTheWindowALearnedKeyShowsReady();
  void renameWritesTheKeyFile();
  void renameAndLearnNeedANameAPlugAndARow();
  void anUnreadableKeyFileIsKeptAndSaidOnce();
  void englishTexts();
  void recaptionFollowsTheLanguage();
  void testRunsTheSavedSceneAndKeepsTheEdits();
  void withoutAMachineNothingIsSentOrClaimed();

 private:
  void Open(int language = 0);
  template <typename T = QWidget>
  T* In(QWidget* page, int id) {
    return FindByControlId<T>(page, id);
  }
  void Click(QWidget* page, int id) { In<CGdipButton>(page, id)->click(); }
  void ClickRow(int listId, int row);
  void ChoosePlug(int node);
  std::vector<vireo::Report> SetFrames();  // the Basic Set frames (function 0x13) the machine got
  std::unique_ptr<UiHarness> rig;
  std::unique_ptr<CDialogZwaveRemoter> scenes;
  std::unique_ptr<CRemoteLearnDlg> learn;
  std::vector<WaitCall> waits;
};

void ScenePagesTests::init() {
  waits.clear();
}

void ScenePagesTests::Open(int language) {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(language), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  sh::SmartHomeController& controller = rig->app().smartHome().controller();
  QVERIFY(controller.StartReadAll());
  QTRY_VERIFY_WITH_TIMEOUT(controller.smartTableRead(), 20000);
  controller.WaitIdle();
  scenes = std::make_unique<CDialogZwaveRemoter>(rig->app().smartHome(), nullptr);
  scenes->resize(720, 460);
  scenes->show();
  QVERIFY(QTest::qWaitForWindowExposed(scenes.get()));
  learn = std::make_unique<CRemoteLearnDlg>(
      rig->app().smartHome(),
      [this](sh::WaitKind kind, int node, const QString& text) {
        waits.push_back({kind, node, text});
      },
      nullptr);
  rig->ClearRequests();
}

void ScenePagesTests::cleanup() {
  scenes.reset();
  learn.reset();
  rig.reset();
}

// Rows are chosen as a user does, with a click on the row: a mouse press makes the row current before it
// selects it, which a setter never shows.
void ScenePagesTests::ClickRow(int listId, int row) {
  auto* list = In<QListWidget>(scenes.get(), listId);
  QVERIFY(row >= 0 && row < list->count());
  list->scrollToItem(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
  QCOMPARE(list->currentRow(), row);
}

void ScenePagesTests::ChoosePlug(int node) {
  auto* plugs = In<QListWidget>(scenes.get(), sid::plugList);
  for (int i = 0; i < plugs->count(); ++i) {
    if (plugs->item(i)->data(Qt::UserRole).toInt() == node) ClickRow(sid::plugList, i);
  }
}

std::vector<vireo::Report> ScenePagesTests::SetFrames() {
  std::vector<vireo::Report> frames;
  for (const vireo::Report& r : rig->Requests()) {
    if (r[1] == 0x12 && r[3] == 0x01 && r[6] == 0x13) frames.push_back(r);
  }
  return frames;
}

void ScenePagesTests::aPlugChosenWithTheMouseShowsItsEditorAndKeys() {
  Open();
  ClickRow(sid::sceneList, 1);
  Click(scenes.get(), sid::clear);
  auto* keys = In<QListWidget>(scenes.get(), sid::keyList);
  ChoosePlug(2);  // the switch plug
  QVERIFY(In(scenes.get(), sid::switchBox)->isVisible());
  QCOMPARE(keys->count(), sh::kPlugKeyCount);
  auto* box = In<QCheckBox>(scenes.get(), sid::switchBox);
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
  QVERIFY(box->isChecked());
  Click(scenes.get(), sid::add);
  ChoosePlug(3);  // the knob plug
  QVERIFY(In(scenes.get(), sid::levelSlider)->isVisible());
  QVERIFY(!box->isVisible());
  ClickRow(sid::keyList, 4);
  Click(scenes.get(), sid::addKey);
  QVERIFY(rig->notices().isEmpty());
  QCOMPARE(scenes->steps(), (std::vector<sh::SceneStep>{{2, 99}, {3, 128 + 4}}));
}

void ScenePagesTests::theTwentyNinthStepIsRefused() {
  Open();
  In<QListWidget>(scenes.get(), sid::sceneList)->setCurrentRow(3);  // Music: one step
  ChoosePlug(2);
  for (int i = 0; i < 27; ++i) Click(scenes.get(), sid::add);
  QCOMPARE(static_cast<int>(scenes->steps().size()), 28);
  QVERIFY(rig->notices().isEmpty());
  Click(scenes.get(), sid::add);
  QCOMPARE(rig->lastNotice(), QStringLiteral("情景指令已达最大数量"));
  Click(scenes.get(), sid::addDelay);
  QCOMPARE(rig->notices().size(), 2);
  QCOMPARE(In<CReportCtrl>(scenes.get(), sid::stepList)->rowCount(), 28);
}

void ScenePagesTests::saveWritesTheStepsAtTheScenesAddress() {
  Open();
  In<QListWidget>(scenes.get(), sid::sceneList)->setCurrentRow(1);  // Movie
  Click(scenes.get(), sid::clear);
  ChoosePlug(3);
  In<CXBmpSlider>(scenes.get(), sid::levelSlider)->SetPos(40);
  Click(scenes.get(), sid::add);
  In<CXBmpSlider>(scenes.get(), sid::delaySlider)->SetPos(7);
  Click(scenes.get(), sid::addDelay);
  ChoosePlug(2);
  In<QCheckBox>(scenes.get(), sid::switchBox)->setChecked(true);
  Click(scenes.get(), sid::add);
  ChoosePlug(4);
  ClickRow(sid::keyList, 2);
  Click(scenes.get(), sid::addKey);
  Click(scenes.get(), sid::save);
  QCOMPARE(rig->lastNotice(), QStringLiteral("保存完成"));

  // Scene 1 lives at 6524 + 56 = 6580 = 0x19B4: [3, 40] [240, 7] [2, 99] [4, 128 + 2], then zeros.
  std::vector<std::uint8_t> expected(56, 0);
  const std::uint8_t steps[] = {3, 40, 240, 7, 2, 99, 4, 130};
  std::copy(std::begin(steps), std::end(steps), expected.begin());
  QTRY_COMPARE(rig->machine().zwave().Memory(6580, 56), expected);
  int writes = 0;
  for (const vireo::Report& r : rig->Requests()) {
    if (r[1] != 0x13) continue;
    ++writes;
    QCOMPARE(std::vector<int>({r[2], r[3], r[4]}), std::vector<int>({0x19, 0xB4, 56}));
    QCOMPARE(std::vector<std::uint8_t>(r.begin() + 5, r.begin() + 61), expected);
  }
  QCOMPARE(writes, 1);
  // The PC copy is what a test run and a later visit of the scene show.
  QCOMPARE(static_cast<int>(rig->app().smartHome().controller().memory().scene(1).size()), 4);
}

void ScenePagesTests::movesStopAtTheEndsAndNeedASelection() {
  Open();
  In<QListWidget>(scenes.get(), sid::sceneList)->setCurrentRow(4);  // PowerON: five steps
  auto* list = In<CReportCtrl>(scenes.get(), sid::stepList);
  Click(scenes.get(), sid::up);
  QCOMPARE(rig->lastNotice(), QStringLiteral("请先选择列表项"));
  list->selectRow(0);
  Click(scenes.get(), sid::up);
  QCOMPARE(rig->lastNotice(), QStringLiteral("已移至首项"));
  list->selectRow(4);
  Click(scenes.get(), sid::down);
  QCOMPARE(rig->lastNotice(), QStringLiteral("已移至尾项"));
  list->selectRow(3);
  Click(scenes.get(), sid::down);
  QCOMPARE(scenes->steps()[4], (sh::SceneStep{4, 128}));
  QCOMPARE(list->GetSelectedRow(), 4);  // the moved step stays selected
  QCOMPARE(rig->notices().size(), 3);
}

void ScenePagesTests::theDeleteKeyRemovesTheSelectedStep() {
  Open();
  In<QListWidget>(scenes.get(), sid::sceneList)->setCurrentRow(4);
  auto* list = In<CReportCtrl>(scenes.get(), sid::stepList);
  list->selectRow(2);  // the one-second wait
  QTest::keyClick(list, Qt::Key_Delete);
  QCOMPARE(scenes->steps(), (std::vector<sh::SceneStep>{{2, 99}, {3, 60}, {4, 128}, {254, 1}}));
  QCOMPARE(list->GetSelectedRow(), 2);
  QCOMPARE(list->GetItemText(2, 1), QStringLiteral("IR Plug"));
}

void ScenePagesTests::modifyAndTheResetsChangeTheSelectedStep() {
  Open();
  In<QListWidget>(scenes.get(), sid::sceneList)->setCurrentRow(4);
  auto* list = In<CReportCtrl>(scenes.get(), sid::stepList);
  Click(scenes.get(), sid::modify);
  QCOMPARE(rig->lastNotice(), QStringLiteral("请选择列表项"));
  list->selectRow(0);  // [2, 99]
  ChoosePlug(3);
  In<CXBmpSlider>(scenes.get(), sid::levelSlider)->SetPos(25);
  Click(scenes.get(), sid::modify);
  QCOMPARE(scenes->steps()[0], (sh::SceneStep{3, 25}));
  list->selectRow(2);  // [240, 1]: a delay takes a delay, not a key
  In<CXBmpSlider>(scenes.get(), sid::delaySlider)->SetPos(9);
  Click(scenes.get(), sid::resetDelay);
  QCOMPARE(scenes->steps()[2], (sh::SceneStep{240, 9}));
  Click(scenes.get(), sid::resetValue);
  QCOMPARE(rig->lastNotice(), QStringLiteral("所选指令不能设置此项"));
  QCOMPARE(scenes->steps()[2], (sh::SceneStep{240, 9}));
  list->selectRow(3);  // [4, 128] takes key 5
  ClickRow(sid::keyList, 5);
  Click(scenes.get(), sid::resetKey);
  QCOMPARE(scenes->steps()[3], (sh::SceneStep{4, 133}));
  // Nothing is written until Save.
  QCOMPARE(rig->app().smartHome().controller().memory().scene(4)[0], (sh::SceneStep{2, 99}));
}

void ScenePagesTests::pagesFitTheSmallestPageArea() {
  Open(1);  // the English captions are the wider ones
  for (QWidget* page : {static_cast<QWidget*>(scenes.get()), static_cast<QWidget*>(learn.get())}) {
    const QSize least = page->minimumSizeHint();
    QVERIFY2(least.width() <= 560 && least.height() <= 380,
             qPrintable(QStringLiteral("%1x%2").arg(least.width()).arg(least.height())));
  }
}

void ScenePagesTests::tabWalksEachColumnTopToBottom() {
  Open();
  ChoosePlug(3);  // a knob plug: the level slider, not the switch box, takes part
  QList<int> order;
  QWidget* at = In(scenes.get(), sid::sceneList);
  do {
    if ((at->focusPolicy() & Qt::TabFocus) != 0 && at->isVisibleTo(scenes.get()) && ControlIdOf(at) != 0) {
      order << ControlIdOf(at);
    }
    at = at->nextInFocusChain();
  } while (at != In(scenes.get(), sid::sceneList) && order.size() < 40);
  const QList<int> expected = {sid::sceneList,   sid::stepList, sid::up,          sid::down,
                               sid::deleteStep,  sid::modify,   sid::clear,       sid::plugList,
                               sid::levelSlider, sid::add,      sid::resetValue,  sid::keyList,
                               sid::addKey,      sid::resetKey, sid::delaySlider, sid::addDelay,
                               sid::resetDelay,  sid::test,     sid::save};
  QCOMPARE(order, expected);
}

void ScenePagesTests::learnSendsTheLearnValueAndTheListFollowsTheReport() {
  Open();
  auto* plugs = In<QComboBox>(learn.get(), lid::plugChoice);
  plugs->setCurrentIndex(plugs->findData(4));
  auto* keys = In<CReportCtrl>(learn.get(), lid::keyList);
  QCOMPARE(keys->rowCount(), 63);
  QCOMPARE(keys->GetItemText(5, 2), QStringLiteral("未学习"));
  keys->selectRow(5);
  Click(learn.get(), lid::learn);
  QCOMPARE(static_cast<int>(waits.size()), 1);
  QCOMPARE(waits[0].kind, sh::WaitKind::learn);
  QCOMPARE(waits[0].node, 4);
  QCOMPARE(waits[0].text, QStringLiteral("遥控学习操作"));
  // Basic Set of node 4 to 192 + 5 = 197 (0xC5), callback 0x44 for a value of 128 or more.
  QTRY_COMPARE(static_cast<int>(SetFrames().size()), 1);
  const vireo::Report frame = SetFrames()[0];
  QCOMPARE(std::vector<int>(frame.begin() + 7, frame.begin() + 14),
           std::vector<int>({4, 3, 0x20, 0x01, 0xC5, 0x25, 0x44}));
  const std::string path = sh::PlugKeyFilePath(rig->app().smartHome().plugFolder(), 4);
  learn->OnNodeValue(4, 3);
  QCOMPARE(keys->GetItemText(5, 2), QStringLiteral("已学习"));
  QCOMPARE(keys->GetItemText(4, 2), QStringLiteral("未学习"));
  std::vector<sh::PlugKey> onFile;
  std::string error;
  QTRY_VERIFY(sh::LoadPlugKeys(path, &onFile, &error) && onFile[5].status == 1);
}

void ScenePagesTests::inTheWindowALearnedKeyShowsReady() {
  Open();
  OpenSmartPlugs(rig->app());
  QWidget* window = rig->app().windows().smartPlugs;
  QVERIFY(window != nullptr);
  auto* page = window->findChild<CRemoteLearnDlg*>();
  auto* plugs = In<QComboBox>(page, lid::plugChoice);
  plugs->setCurrentIndex(plugs->findData(4));
  auto* keys = In<CReportCtrl>(page, lid::keyList);
  keys->selectRow(7);
  Click(page, lid::learn);
  // The plug asks for the remote's key (2), then reports it learned (3); the window hands that on.
  QTRY_COMPARE_WITH_TIMEOUT(keys->GetItemText(7, 2), QStringLiteral("已学习"), 20000);
  QCOMPARE(keys->GetItemText(6, 2), QStringLiteral("未学习"));
  window->close();
}

void ScenePagesTests::emitSendsTheEmitValue() {
  Open();
  In<QComboBox>(learn.get(), lid::plugChoice)->setCurrentIndex(0);  // Lamp, node 2
  In<CReportCtrl>(learn.get(), lid::keyList)->selectRow(62);
  Click(learn.get(), lid::emitKey);
  QCOMPARE(static_cast<int>(waits.size()), 1);
  QCOMPARE(waits[0].node, 2);
  QCOMPARE(waits[0].text, QStringLiteral("遥控操作"));
  QTRY_COMPARE(static_cast<int>(SetFrames().size()), 1);
  QCOMPARE(static_cast<int>(SetFrames()[0][11]), 128 + 62);
}

void ScenePagesTests::renameWritesTheKeyFile() {
  Open();
  auto* plugs = In<QComboBox>(learn.get(), lid::plugChoice);
  plugs->setCurrentIndex(plugs->findData(3));
  auto* keys = In<CReportCtrl>(learn.get(), lid::keyList);
  keys->selectRow(2);
  auto* name = In<QLineEdit>(learn.get(), lid::nameField);
  QCOMPARE(name->text(), QStringLiteral("Key3"));
  name->setText(QStringLiteral("风扇"));
  QTest::keyClick(name, Qt::Key_Return);
  QCOMPARE(keys->GetItemText(2, 1), QStringLiteral("风扇"));
  std::vector<sh::PlugKey> onFile;
  std::string error;
  QVERIFY(sh::LoadPlugKeys(sh::PlugKeyFilePath(rig->app().smartHome().plugFolder(), 3), &onFile, &error));
  QCOMPARE(QString::fromStdString(onFile[2].name), QStringLiteral("风扇"));
  QCOMPARE(onFile[3].name, std::string("Key4"));
  // The scene page names an emit step after the renamed key.
  In<QListWidget>(scenes.get(), sid::sceneList)->setCurrentRow(2);
  ChoosePlug(3);
  ClickRow(sid::keyList, 2);
  Click(scenes.get(), sid::addKey);
  QCOMPARE(In<CReportCtrl>(scenes.get(), sid::stepList)->GetItemText(2, 2), QStringLiteral("遥控键:风扇"));
}

void ScenePagesTests::anUnreadableKeyFileIsKeptAndSaidOnce() {
  Open();
  const QString folder = QString::fromStdString(rig->app().smartHome().plugFolder());
  QVERIFY(QDir().mkpath(folder));
  QFile bad(folder + "/4.xml");
  QVERIFY(bad.open(QIODevice::WriteOnly));
  bad.write("<keys><key name=");  // cut short
  bad.close();
  auto* plugs = In<QComboBox>(learn.get(), lid::plugChoice);
  plugs->setCurrentIndex(plugs->findData(4));
  QCOMPARE(rig->prompts().asked.size(), 1);
  QVERIFY2(rig->prompts().asked[0].text.startsWith(QString::fromUtf8("插座4的Key文件无法读取")),
           qPrintable(rig->prompts().asked[0].text));
  const QStringList kept = QDir(folder).entryList({"4.xml.unreadable-*"}, QDir::Files);
  QCOMPARE(kept.size(), 1);
  QFile copy(folder + "/" + kept[0]);
  QVERIFY(copy.open(QIODevice::ReadOnly));
  QCOMPARE(copy.readAll(), QByteArray("<keys><key name="));
  QCOMPARE(In<CReportCtrl>(learn.get(), lid::keyList)->rowCount(), 63);
  plugs->setCurrentIndex(plugs->findData(2));
  plugs->setCurrentIndex(plugs->findData(4));
  QCOMPARE(rig->prompts().asked.size(), 1);
}

void ScenePagesTests::renameAndLearnNeedANameAPlugAndARow() {
  Open();
  Click(learn.get(), lid::learn);
  QCOMPARE(rig->lastNotice(), QStringLiteral("请在列表中选择一个按键"));
  In<QLineEdit>(learn.get(), lid::nameField)->setText(QStringLiteral("  "));
  Click(learn.get(), lid::rename);
  QCOMPARE(rig->prompts().asked.size(), 1);
  QCOMPARE(rig->prompts().asked[0].text, QStringLiteral("遥控键名称不能为空字符串!"));
  QVERIFY(waits.empty());
  QVERIFY(SetFrames().empty());
}

void ScenePagesTests::englishTexts() {
  Open(1);
  auto* sceneList = In<QListWidget>(scenes.get(), sid::sceneList);
  QCOMPARE(sceneList->item(2)->text(), QStringLiteral("Karaoke"));
  QCOMPARE(sceneList->item(5)->text(), QStringLiteral("PowerOFF"));
  auto* steps = In<CReportCtrl>(scenes.get(), sid::stepList);
  QCOMPARE(steps->horizontalHeaderItem(1)->text(), QStringLiteral("Name"));
  sceneList->setCurrentRow(4);
  QCOMPARE(steps->GetItemText(2, 2), QStringLiteral("1s"));
  steps->selectRow(0);
  Click(scenes.get(), sid::up);
  QCOMPARE(rig->lastNotice(), QStringLiteral("Already be first"));
  Click(learn.get(), lid::rename);  // the name field starts empty
  In<QLineEdit>(learn.get(), lid::nameField)->setText(QStringLiteral("TV"));
  Click(learn.get(), lid::rename);
  QCOMPARE(rig->lastNotice(), QStringLiteral("Please select a key row"));
  Click(learn.get(), lid::learn);
  QCOMPARE(rig->lastNotice(), QStringLiteral("Please select a row"));
  QCOMPARE(In<CReportCtrl>(learn.get(), lid::keyList)->GetItemText(0, 2), QStringLiteral("Not Ready"));
}

void ScenePagesTests::recaptionFollowsTheLanguage() {
  Open(0);
  In<QListWidget>(scenes.get(), sid::sceneList)->setCurrentRow(4);
  SetLanguageIndex(1);
  QVERIFY(WriteLanguageTable(1));  // as the language switch does before the windows recaption
  scenes->Recaption();
  learn->Recaption();
  SetLanguageIndex(0);
  QVERIFY(WriteLanguageTable(0));
  QCOMPARE(In<CGdipButton>(scenes.get(), sid::resetDelay)->text(), QStringLiteral("Reset delay"));
  QCOMPARE(In<QListWidget>(scenes.get(), sid::sceneList)->item(0)->text(), QStringLiteral("TV"));
  QCOMPARE(In<CReportCtrl>(scenes.get(), sid::stepList)->GetItemText(0, 2), QStringLiteral("ON"));
  QCOMPARE(In<CGdipButton>(learn.get(), lid::emitKey)->text(), QStringLiteral("Emit"));
  QCOMPARE(In<CReportCtrl>(learn.get(), lid::keyList)->horizontalHeaderItem(1)->text(),
           QStringLiteral("Key name"));
}

void ScenePagesTests::testRunsTheSavedSceneAndKeepsTheEdits() {
  Open();
  In<QListWidget>(scenes.get(), sid::sceneList)->setCurrentRow(3);  // Music: [3, 50]
  Click(scenes.get(), sid::clear);
  // The synchronisation window is modal; the run's end would close it, here the test does.
  QTimer::singleShot(0, this, [this] { rig->app().FinishSyncWindow(); });
  Click(scenes.get(), sid::test);
  QTRY_COMPARE(static_cast<int>(SetFrames().size()), 1);
  const vireo::Report frame = SetFrames()[0];
  QCOMPARE(std::vector<int>(frame.begin() + 7, frame.begin() + 12), std::vector<int>({3, 3, 0x20, 0x01, 50}));
  // The refresh after the run keeps the edits; one after new data from the machine does not.
  scenes->RefreshLists();
  QVERIFY(scenes->steps().empty());
  const std::vector<sh::SceneStep> read = {{2, 99}};
  rig->app().smartHome().controller().memory().setScene(3, read);
  scenes->RefreshLists();
  QCOMPARE(scenes->steps(), read);
}

void ScenePagesTests::withoutAMachineNothingIsSentOrClaimed() {
  Open();
  rig->emulatorBackend().Unplug();
  QTRY_VERIFY(!rig->app().smartHome().connected());
  In<QListWidget>(scenes.get(), sid::sceneList)->setCurrentRow(0);
  Click(scenes.get(), sid::clear);
  Click(scenes.get(), sid::save);
  QCOMPARE(rig->lastNotice(), QStringLiteral("请先连接设备!"));
  QCOMPARE(static_cast<int>(rig->app().smartHome().controller().memory().scene(0).size()), 3);
  In<CReportCtrl>(learn.get(), lid::keyList)->selectRow(0);
  Click(learn.get(), lid::learn);
  QCOMPARE(rig->lastNotice(), QStringLiteral("请先连接设备!"));
  QVERIFY(waits.empty());
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  ScenePagesTests tests;
  return QTest::qExec(&tests, argc, argv);
}

#include "scene_pages_tests.moc"
