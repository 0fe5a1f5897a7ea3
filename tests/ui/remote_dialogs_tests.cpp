// The remote-learning window and its learning dialog over a recording link: the key pictures, what each
// sends, the learned code, the remote files and their failures, the meter poll, the keyboard.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QtTest>
#include <cstdlib>
#include <vector>

#include "controls/gdip_button.h"
#include "device/connection.h"
#include "home/remote_dlg.h"
#include "home/remote_keypad.h"
#include "home/remote_picture.h"
#include "home/remote_study_dlg.h"
#include "i18n/language_table.h"
#include "look/command_ids.h"
#include "model/parameter_store.h"
#include "services/smart_home_link.h"
#include "ui_harness.h"

namespace {

struct SentCommand {
  int code;
  std::vector<std::uint8_t> bytes;
  bool releasePacing;
};

// What the remote windows use of the application, recorded.
class RecordingLink final : public SmartHomeLink {
 public:
  vireo::smarthome::SmartHomeController& controller() override { std::abort(); }  // not the remote's
  vireo::ParameterStore& store() override { return store_; }
  bool connected() const override { return connected_; }
  void ShowNotice(const QString& text, int durationMs) override {
    notices.append(text);
    noticeMs = durationMs;
  }
  void ShowSyncWindow(const QString&) override {}
  void FinishSyncWindow() override {}
  std::string plugFolder() const override { return {}; }
  void OpenHelp() override {}
  bool meterPollEnabled() const override { return poll; }
  void setMeterPollEnabled(bool on) override { poll = on; }
  void SendCommand(std::uint8_t code, std::span<const std::uint8_t> bytes, bool releasePacing) override {
    sent.push_back({code, {bytes.begin(), bytes.end()}, releasePacing});
  }

  bool connected_ = true;
  bool poll = true;
  QStringList notices;
  int noticeMs = 0;
  std::vector<SentCommand> sent;

 private:
  vireo::ParameterStore store_;
};

using Bytes = std::vector<std::uint8_t>;

CGdipButton* Button(QWidget* window, int id) {
  return FindByControlId<CGdipButton>(window, id);
}

}  // namespace

class RemoteDialogsTests : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void everyKeyIsHitAtItsCentreAndNothingOutsideTheBody();
  void theBodyFitsCentredInAnyWidget();
  void arrowKeysFollowRowsAndColumns();
  void learningKey5Sends96With5AndShowsItsText();
  void aLearnedCodeShowsInHexAndTheDialogClosesWithoutStopping();
  void cancelAndEscapeStopTheLearningOnce();
  void closeAfterACodeSendsNoStop();
  void theEighteenthKeyHasNoFunction();
  void withoutAMachineNothingIsSent();
  void keyboardMovesTheRingAndEnterLearns();
  void applySendsTheEighteenBytes();
  void saveWithAnotherExtensionWritesTheRemoFile();
  void aSeventeenByteFileLeavesTheTable();
  void aRemoFileThatTheNewExtensionWouldHitIsOverwrittenOnlyAfterAYes();
  void aGoodFileFillsTheTableAndIsSent();
  void unreadableAndUnwritableFilesShowTheirBoxes();
  void aCancelledFileDialogShowsNothing();
  void theMeterPollComesBackAsItWas();
  void closingTheWindowWhileLearningStopsTheLearning();
  void englishTexts();

 private:
  CRemoteDlg* Open() {
    dialog = new CRemoteDlg(*link, nullptr);
    dialog->show();
    return dialog;
  }
  void ClickKey(int slot) {
    QTest::mouseClick(dialog->picture(), Qt::LeftButton, {}, dialog->picture()->KeyPosition(slot));
  }
  QLabel* Label(QWidget* window, int id) { return FindByControlId<QLabel>(window, id); }
  void SetTable(std::uint8_t first) {
    for (std::size_t i = 0; i < 18; ++i)
      link->store().SetByte(vireo::Region::remoteKeyTable, i, static_cast<std::uint8_t>(first + i));
  }
  Bytes Table() {
    Bytes table(18);
    link->store().ReadBytes(vireo::Region::remoteKeyTable, 0, table);
    return table;
  }
  QString Path(const QString& name) const { return dir.path() + "/" + name; }

  std::unique_ptr<RecordingLink> link;
  ScriptedPrompts prompts;
  QTemporaryDir dir;
  QPointer<CRemoteDlg> dialog;
};

void RemoteDialogsTests::init() {
  link = std::make_unique<RecordingLink>();
  prompts.files.clear();
  prompts.asked.clear();
  prompts.fileRequests.clear();
  SetPrompts(&prompts);
  SetLanguageIndex(0);
}

void RemoteDialogsTests::cleanup() {
  delete dialog;
  SetPrompts(nullptr);
}

void RemoteDialogsTests::everyKeyIsHitAtItsCentreAndNothingOutsideTheBody() {
  for (int slot = 0; slot < remote_keypad::kKeyCount; ++slot)
    QCOMPARE(remote_keypad::KeyAt(remote_keypad::KeyCentre(slot)), slot);
  QCOMPARE(remote_keypad::KeyAt({2, 2}), -1);
  QCOMPARE(remote_keypad::KeyAt({120, 250 - 28.5}), -1);  // the gap between OK and the ring
  QCOMPARE(remote_keypad::KeyAt({120, 250 - 62.5}), -1);  // just outside the ring
  QCOMPARE(remote_keypad::Keys()[remote_keypad::kUnsupportedKey].function, 0);
}

void RemoteDialogsTests::theBodyFitsCentredInAnyWidget() {
  struct Case {
    double width, height, scale, offsetX, offsetY;
  };
  // The body is 240 x 620 design units.
  const Case cases[] = {
      {240, 620, 1, 0, 0}, {480, 620, 1, 120, 0}, {240, 1240, 1, 0, 310}, {120, 620, 0.5, 0, 155}};
  for (const Case& c : cases) {
    const remote_keypad::Fit fit = remote_keypad::FitBody(c.width, c.height);
    QCOMPARE(fit.scale, c.scale);
    QCOMPARE(fit.offsetX, c.offsetX);
    QCOMPARE(fit.offsetY, c.offsetY);
  }
  const remote_keypad::Point back = remote_keypad::FitBody(120, 620).ToDesign({60, 155 + 125});
  QCOMPARE(back.x, 120.0);
  QCOMPARE(back.y, 250.0);  // the OK key's centre
}

void RemoteDialogsTests::arrowKeysFollowRowsAndColumns() {
  struct Case {
    int from, dx, dy, to;
  };
  // Slots: 0 power, 1 source, 2 HDMI, 3..6 up/down/left/right, 7 OK, 8 menu, 9 mute, 10 esc,
  // 11/12 mic +/-, 13/14 effect +/-, 15/16 music +/-, 17 the key without a function.
  const Case cases[] = {{0, 1, 0, 9},   {0, 0, 1, 1},  {1, 1, 0, 2},  {3, 0, 1, 7},   {7, -1, 0, 5},
                        {7, 1, 0, 6},   {4, 0, 1, 17}, {8, 0, 1, 11}, {11, 0, 1, 12}, {12, 1, 0, 14},
                        {16, 1, 0, 16}, {0, 0, -1, 0}, {9, 1, 0, 9}};
  for (const Case& c : cases)
    QVERIFY2(remote_keypad::NeighbourKey(c.from, c.dx, c.dy) == c.to,
             qPrintable(QString("from %1 by (%2,%3)").arg(c.from).arg(c.dx).arg(c.dy)));
}

void RemoteDialogsTests::learningKey5Sends96With5AndShowsItsText() {
  Open();
  ClickKey(4);  // M4/down, function 5
  QCOMPARE(link->sent.size(), 1u);
  QCOMPARE(link->sent[0].code, 0x60);
  QCOMPARE(link->sent[0].bytes, (Bytes{0x05}));
  QCOMPARE(link->sent[0].releasePacing, false);
  CRemoteStudyDlg* study = dialog->studyDialog();
  QVERIFY(study && study->isVisible() && study->isModal());
  QCOMPARE(study->windowTitle(), QString::fromUtf8("学习中……"));
  QCOMPARE(Label(study, remote_study_id::keyText)->text(), QString::fromUtf8("您正在学习的键：M4/方向下"));
  ClickKey(6);  // the window is busy learning: a second key starts nothing
  QCOMPARE(link->sent.size(), 1u);
}

void RemoteDialogsTests::aLearnedCodeShowsInHexAndTheDialogClosesWithoutStopping() {
  Open();
  ClickKey(4);
  QPointer<CRemoteStudyDlg> study = dialog->studyDialog();
  // The dispatcher stores the code before it reports it.
  link->store().SetByte(vireo::Region::remoteKeyTable, 5, 0x3C);
  dialog->OnKeyLearned(0x3C);
  QCOMPARE(Label(study, remote_study_id::code)->text(), QString("3C"));
  QVERIFY(Label(study, remote_study_id::code)->isVisible());
  QVERIFY(Label(study, remote_study_id::closingNote)->isVisible());
  QCOMPARE(Label(study, remote_study_id::closingNote)->text(), QString::fromUtf8("窗口将自动关闭"));
  QVERIFY(!Button(study, remote_study_id::cancel)->isVisible());
  QVERIFY(Button(study, remote_study_id::close)->isVisible());
  QTest::qWait(700);
  QVERIFY(study);  // still there before the second is up
  QTRY_VERIFY_WITH_TIMEOUT(!study, 2000);
  QCOMPARE(link->sent.size(), 1u);  // only the 96
}

void RemoteDialogsTests::cancelAndEscapeStopTheLearningOnce() {
  Open();
  ClickKey(0);
  Button(dialog->studyDialog(), remote_study_id::cancel)->click();
  QTRY_VERIFY(!dialog->studyDialog());
  ClickKey(9);
  QTest::keyClick(dialog->studyDialog(), Qt::Key_Escape);
  QTRY_VERIFY(!dialog->studyDialog());
  QCOMPARE(link->sent.size(), 4u);
  for (std::size_t stop : {1u, 3u}) {
    QCOMPARE(link->sent[stop].code, 0x61);
    QVERIFY(link->sent[stop].bytes.empty());
    QCOMPARE(link->sent[stop].releasePacing, true);
  }
  QCOMPARE(link->sent[2].bytes, (Bytes{0x0A}));  // mute is function 10
}

void RemoteDialogsTests::closeAfterACodeSendsNoStop() {
  Open();
  ClickKey(7);
  dialog->OnKeyLearned(0x81);
  Button(dialog->studyDialog(), remote_study_id::close)->click();
  QTRY_VERIFY(!dialog->studyDialog());
  ClickKey(7);
  dialog->OnKeyLearned(0x82);
  QTest::keyClick(dialog->studyDialog(), Qt::Key_Escape);
  QTRY_VERIFY(!dialog->studyDialog());
  QCOMPARE(link->sent.size(), 2u);
  QCOMPARE(link->sent[1].code, 0x60);
}

void RemoteDialogsTests::theEighteenthKeyHasNoFunction() {
  Open();
  ClickKey(remote_keypad::kUnsupportedKey);
  QCOMPARE(prompts.asked.size(), 1);
  QCOMPARE(prompts.asked[0].text, QString::fromUtf8("不支持该功能"));
  QCOMPARE(prompts.asked[0].caption, QString::fromUtf8("提示"));
  QCOMPARE(prompts.asked[0].icon, BoxIcon::information);
  QVERIFY(link->sent.empty());
  QVERIFY(!dialog->studyDialog());
}

void RemoteDialogsTests::withoutAMachineNothingIsSent() {
  link->connected_ = false;
  Open();
  ClickKey(0);
  Button(dialog, remote_dlg_id::apply)->click();
  Button(dialog, remote_dlg_id::loadFile)->click();
  Button(dialog, remote_dlg_id::saveFile)->click();
  QVERIFY(link->sent.empty());
  QVERIFY(!dialog->studyDialog());
  QVERIFY(prompts.fileRequests.isEmpty());
  QCOMPARE(link->notices.size(), 4);
  for (const QString& notice : link->notices)
    QCOMPARE(notice, QString::fromUtf8("请先连接机器再进行此操作!"));
}

void RemoteDialogsTests::keyboardMovesTheRingAndEnterLearns() {
  Open();
  dialog->activateWindow();
  dialog->picture()->setFocus();
  QCOMPARE(dialog->picture()->focusedKey(), 0);
  link->store().SetByte(vireo::Region::remoteKeyTable, 10, 0x4E);
  QTest::keyClick(dialog->picture(), Qt::Key_Right);  // power -> mute
  QCOMPARE(Label(dialog, remote_dlg_id::keyName)->text(), QString::fromUtf8("静音键"));
  QVERIFY(Label(dialog, remote_dlg_id::keyCode)->text().endsWith("4E"));
  QTest::keyClick(dialog->picture(), Qt::Key_Return);
  QCOMPARE(link->sent.size(), 1u);
  QCOMPARE(link->sent[0].bytes, (Bytes{0x0A}));
  QTest::keyClick(dialog->studyDialog(), Qt::Key_Escape);
  QTRY_VERIFY(!dialog->studyDialog());
  QTest::keyClick(dialog->picture(), Qt::Key_Down);  // mute -> HDMI
  QTest::keyClick(dialog->picture(), Qt::Key_Space);
  QCOMPARE(link->sent.back().bytes, (Bytes{0x03}));
}

void RemoteDialogsTests::applySendsTheEighteenBytes() {
  SetTable(0x20);
  Open();
  Button(dialog, remote_dlg_id::apply)->click();
  QCOMPARE(link->sent.size(), 1u);
  QCOMPARE(link->sent[0].code, 0x63);
  QCOMPARE(link->sent[0].bytes, (Bytes{0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B,
                                       0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31}));
  QCOMPARE(link->notices, QStringList{QString::fromUtf8("遥控器键码保存成功!")});
  QCOMPARE(link->noticeMs, 1100);
}

void RemoteDialogsTests::saveWithAnotherExtensionWritesTheRemoFile() {
  SetTable(0xE0);
  Open();
  prompts.files.push_back(Path("living.txt"));
  Button(dialog, remote_dlg_id::saveFile)->click();
  QCOMPARE(prompts.fileRequests.size(), 1);
  QCOMPARE(prompts.fileRequests[0].filter, QString("Remote Data File(*.remo)"));
  QCOMPARE(prompts.fileRequests[0].defaultSuffix, QString("remo"));
  QVERIFY(!QFile::exists(Path("living.txt")));
  QFile file(Path("living.remo"));
  QVERIFY(file.open(QIODevice::ReadOnly));
  QCOMPARE(file.readAll(), QByteArray::fromHex("E0E1E2E3E4E5E6E7E8E9EAEBECEDEEEFF0F1"));
  QCOMPARE(link->notices, QStringList{QString::fromUtf8("保存遥控文件成功")});
  QVERIFY(link->sent.empty());
}

void RemoteDialogsTests::aRemoFileThatTheNewExtensionWouldHitIsOverwrittenOnlyAfterAYes() {
  SetTable(0xE0);
  QFile keep(Path("keep.remo"));
  QVERIFY(keep.open(QIODevice::WriteOnly));
  keep.write(QByteArray(18, '\x11'));
  keep.close();
  Open();
  prompts.files.push_back(Path("keep.dat"));
  prompts.answers.push_back(BoxAnswer::no);
  Button(dialog, remote_dlg_id::saveFile)->click();
  QCOMPARE(prompts.asked.size(), 1);
  QVERIFY(prompts.asked[0].text.startsWith(QDir::toNativeSeparators(Path("keep.remo"))));
  QVERIFY(keep.open(QIODevice::ReadOnly));
  QCOMPARE(keep.readAll(), QByteArray(18, '\x11'));
  keep.close();
  QVERIFY(link->notices.isEmpty());
  prompts.files.push_back(Path("keep.dat"));
  prompts.answers.push_back(BoxAnswer::yes);
  Button(dialog, remote_dlg_id::saveFile)->click();
  QCOMPARE(prompts.asked.size(), 2);
  QVERIFY(keep.open(QIODevice::ReadOnly));
  QCOMPARE(keep.readAll(), QByteArray::fromHex("E0E1E2E3E4E5E6E7E8E9EAEBECEDEEEFF0F1"));
}

void RemoteDialogsTests::aSeventeenByteFileLeavesTheTable() {
  SetTable(0x40);
  QFile file(Path("short.remo"));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(17, '\x55'));
  file.close();
  Open();
  prompts.files.push_back(Path("short.remo"));
  Button(dialog, remote_dlg_id::loadFile)->click();
  QCOMPARE(Table()[0], 0x40);
  QCOMPARE(Table()[17], 0x51);
  QCOMPARE(link->notices, QStringList{QString::fromUtf8("载入遥控文件失败")});
  QVERIFY(prompts.asked.isEmpty());  // the file opened; it is just not a remote file
  QVERIFY(link->sent.empty());
}

void RemoteDialogsTests::aGoodFileFillsTheTableAndIsSent() {
  QFile file(Path("good.remo"));
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(QByteArray::fromHex("000102030405063C08090A0B0C0D0E0F1011"));
  file.close();
  Open();
  prompts.files.push_back(Path("good.remo"));
  Button(dialog, remote_dlg_id::loadFile)->click();
  const Bytes expected{0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x3C, 0x08,
                       0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10, 0x11};
  QCOMPARE(Table(), expected);
  QCOMPARE(link->sent.size(), 1u);
  QCOMPARE(link->sent[0].code, 0x63);
  QCOMPARE(link->sent[0].bytes, expected);
  QCOMPARE(link->notices, QStringList{QString::fromUtf8("载入遥控文件成功")});
}

void RemoteDialogsTests::unreadableAndUnwritableFilesShowTheirBoxes() {
  SetTable(0x01);
  Open();
  const QString missing = Path("missing.remo");
  const QString noFolder = Path("no/such/keys.remo");
  prompts.files = {missing, noFolder};
  Button(dialog, remote_dlg_id::loadFile)->click();
  Button(dialog, remote_dlg_id::saveFile)->click();
  QCOMPARE(prompts.asked.size(), 2);
  QCOMPARE(prompts.asked[0].text, "Can't write to file:\n" + missing + "\nProbaby it is write protected.");
  QCOMPARE(prompts.asked[1].text,
           "Errcode=2,Can't write to file:\n" + noFolder + "\nProbaby it is write protected.");
  for (const PromptRecord& box : prompts.asked) QCOMPARE(box.caption, QString("Can't write to file"));
  QCOMPARE(link->notices,
           (QStringList{QString::fromUtf8("载入遥控文件失败"), QString::fromUtf8("保存遥控文件失败")}));
  QCOMPARE(Table()[5], 0x06);
}

void RemoteDialogsTests::aCancelledFileDialogShowsNothing() {
  Open();
  Button(dialog, remote_dlg_id::loadFile)->click();
  Button(dialog, remote_dlg_id::saveFile)->click();
  QCOMPARE(prompts.fileRequests.size(), 2);
  QVERIFY(link->notices.isEmpty());
  QVERIFY(prompts.asked.isEmpty());
}

void RemoteDialogsTests::theMeterPollComesBackAsItWas() {
  for (bool before : {true, false}) {
    link->poll = before;
    Open();
    QCOMPARE(link->poll, false);
    if (before) {
      dialog->close();  // the window deletes itself on close
    } else {
      QTest::keyClick(dialog, Qt::Key_Escape);
    }
    QTRY_VERIFY(!dialog);
    QCOMPARE(link->poll, before);
  }
}

void RemoteDialogsTests::closingTheWindowWhileLearningStopsTheLearning() {
  Open();
  ClickKey(1);
  delete dialog;
  QCOMPARE(link->sent.size(), 2u);
  QCOMPARE(link->sent[1].code, 0x61);
  QCOMPARE(link->poll, true);
}

void RemoteDialogsTests::englishTexts() {
  SetLanguageIndex(1);
  Open();
  QCOMPARE(dialog->windowTitle(), QString("Learn remoter control"));
  QCOMPARE(Button(dialog, remote_dlg_id::apply)->text(), QString("Apply"));
  ClickKey(0);
  CRemoteStudyDlg* study = dialog->studyDialog();
  QCOMPARE(study->windowTitle(), QString("Learning"));
  QCOMPARE(Label(study, remote_study_id::keyText)->text(), QString("Learning key:Power key"));
  dialog->OnKeyLearned(0x05);
  QCOMPARE(Label(study, remote_study_id::closingNote)->text(), QString("Window will be closed!"));
  SetLanguageIndex(0);
  dialog->Recaption();
  QCOMPARE(dialog->windowTitle(), QString::fromUtf8("遥控学习"));
  QCOMPARE(Button(study, remote_study_id::close)->text(), QString::fromUtf8("关闭"));
}

// The same window on the application's link to the emulated machine: the reports on the wire.
class RemoteOnTheMachineTests : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void learningSendsItsReportAndTheReplyFillsTheTable();
  void applySendsTheTableAsOneReport();

 private:
  const vireo::Report* Find(const std::vector<vireo::Report>& requests, int code) {
    for (const vireo::Report& r : requests)
      if (r[1] == code) return &r;
    return nullptr;
  }
  std::unique_ptr<UiHarness> rig;
  QPointer<CRemoteDlg> dialog;
};

void RemoteOnTheMachineTests::init() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(0), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  rig->ClearRequests();
  // Opened as the ribbon opens it, so the learned key (1001) reaches it through the main window.
  rig->frame().OnCommand(cmd::remoteControl);
  dialog = qobject_cast<CRemoteDlg*>(rig->app().windows().remoteLearning.data());
  QVERIFY(dialog);
}

void RemoteOnTheMachineTests::cleanup() {
  delete dialog;
  rig.reset();
}

void RemoteOnTheMachineTests::learningSendsItsReportAndTheReplyFillsTheTable() {
  QVERIFY(!rig->app().connection().meterPollEnabled());
  vireo::TheStore().SetByte(vireo::Region::remoteKeyTable, 5, 0x00);
  QTest::mouseClick(dialog->picture(), Qt::LeftButton, {}, dialog->picture()->KeyPosition(4));
  // The emulated machine "sees" a key a moment later and answers 96 with index 5 and code 0x85.
  QPointer<CRemoteStudyDlg> study = dialog->studyDialog();
  QVERIFY(study);
  QTRY_COMPARE_WITH_TIMEOUT(vireo::TheStore().Byte(vireo::Region::remoteKeyTable, 5), 0x85, 10000);
  QTRY_COMPARE(FindByControlId<QLabel>(study.data(), remote_study_id::code)->text(), QString("85"));
  QTRY_VERIFY_WITH_TIMEOUT(!study || !study->isVisible(), 5000);  // closes itself after a second
  const std::vector<vireo::Report> requests = rig->Requests();
  const vireo::Report* learn = Find(requests, 0x60);
  QVERIFY(learn);
  QCOMPARE((*learn)[0], 0x02);
  QCOMPARE((*learn)[2], 0x05);
  QVERIFY(!Find(requests, 0x61));  // a learned key needs no stop
  dialog->close();
  QTRY_VERIFY(!dialog);
  QVERIFY(rig->app().connection().meterPollEnabled());
}

void RemoteOnTheMachineTests::applySendsTheTableAsOneReport() {
  for (std::size_t i = 0; i < 18; ++i)
    vireo::TheStore().SetByte(vireo::Region::remoteKeyTable, i, static_cast<std::uint8_t>(0x90 + i));
  Button(dialog, remote_dlg_id::apply)->click();
  const std::vector<vireo::Report> requests = rig->Requests();
  const vireo::Report* apply = Find(requests, 0x63);
  QVERIFY(apply);
  const QByteArray args(reinterpret_cast<const char*>(apply->data()) + 2, 19);
  QCOMPARE(args, QByteArray::fromHex("909192939495969798999A9B9C9D9E9FA0A100"));
  QCOMPARE(rig->lastNotice(), QString::fromUtf8("遥控器键码保存成功!"));
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  RemoteDialogsTests tests;
  RemoteOnTheMachineTests machineTests;
  const int failed = QTest::qExec(&tests, argc, argv);
  return failed + QTest::qExec(&machineTests, argc, argv);
}

#include "remote_dialogs_tests.moc"
