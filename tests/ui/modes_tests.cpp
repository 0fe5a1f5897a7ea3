// Mode files and mode slots from the interface, the identity checks after a synchronisation, the reset
// and exit questions, and the store matching the machine after the first synchronisation.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include "controls/step_slider.h"
#include "device/connection.h"
#include "dialogs/backups_dlg.h"
#include "dialogs/field_names.h"
#include "emulator/working_set.h"
#include "look/command_ids.h"
#include "model/backups.h"
#include "model/mode_file.h"
#include "model/parameter_store.h"
#include "model/slot_fields.h"
#include "model/wire_rules.h"
#include "services/app_settings.h"
#include "shell/mode_commands.h"
#include "ui_harness.h"

using vireo::TheStore;
namespace slot = vireo::slot;
namespace code = vireo::code;

namespace {
// A version-8 file of the defaults with a few levels changed.
QString WriteModeFileWith(const QString& path, int echoVolume, int musicSource = 0) {
  vireo::ParameterStore store;
  vireo::ResetStoreDefaults(store);
  store.SetInt(slot::echoVolume, echoVolume);
  store.SetInt(slot::musicSource, musicSource);
  if (!vireo::WriteModeFile(store, path.toStdString()).ok) return {};
  return path;
}
}  // namespace

class ModesTests : public QObject {
  Q_OBJECT
 private slots:
  void cleanup();
  void fileCommandsNeedTheMachine();
  void loadFileWritesAllAndStoresItsSlot();
  void unsupportedVersionChangesNothing();
  void truncatedFileSaysItIsShort();
  void saveFileStoresTheSlotAndWritesTheFile();
  void openByPathChecksTheFile();
  void commandLineFileWaitsForTheFirstSynchronisation();
  void aMissingCommandLineFileIsReportedOverTheMainWindow();
  void slotCommandsAskAndSend();
  void overwritesKeepABackupThatTheWindowListsAndRestores();
  void aBackupThatCannotBeWrittenAsksFirst();
  void resetAsksThenNotifies();
  void smartPlugWithoutMachineReminds();
  void exitQuestionCancelNoAndYes();
  void wrongModelClosesTheLink();
  void wrongKindClosesTheLink();
  void storeEqualsTheMachineAfterTheFirstSynchronisation();

 private:
  void StartSynchronised(int language = 0, LaunchOptions launch = UiHarness::EmulatorLaunch());
  std::unique_ptr<UiHarness> rig;
};

void ModesTests::StartSynchronised(int language, LaunchOptions launch) {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(language, std::move(launch)), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  rig->ClearRequests();
}

void ModesTests::cleanup() {
  rig.reset();
}

void ModesTests::fileCommandsNeedTheMachine() {
  StartSynchronised(1);
  rig->app().connection().DisconnectMachine();
  rig->frame().OnCommand(kInputIds.loadFile);
  QCOMPARE(rig->lastNotice(), QString("Please connect device!"));
  rig->frame().OnCommand(cmd::fileSave);
  QCOMPARE(rig->notices().size(), 2);
  QVERIFY(rig->prompts().fileRequests.isEmpty());
  rig->frame().OnCommand(cmd::loadSlotFirst);  // slot commands do nothing at all
  QCOMPARE(rig->notices().size(), 2);
  QVERIFY(rig->prompts().asked.isEmpty());
}

void ModesTests::loadFileWritesAllAndStoresItsSlot() {
  StartSynchronised();
  const QString path = WriteModeFileWith(rig->dir() + "/M2 party.noveq", 33, 5);
  QVERIFY(!path.isEmpty());
  rig->prompts().files = {path};
  rig->frame().OnCommand(cmd::fileOpen);
  QVERIFY(rig->WaitSynchronised());
  QCOMPARE(rig->prompts().fileRequests[0].filter, QString("Mode Files (*.noveq)"));
  QCOMPARE(TheStore().Int(slot::echoVolume), 33);
  QCOMPARE(TheStore().Int(slot::musicSource), 0);  // AUX2 is not a source a file may choose
  QCOMPARE(*rig->machine().Param(2, 26), std::vector<std::uint32_t>{vireo::EncodePct(33)});
  // The file's name begins with m2: after the write-all the machine stores it in slot 1.
  const auto requests = rig->Requests();
  QCOMPARE(CountCommands(requests, code::setMode, 1), 1);
  QCOMPARE(CountCommands(requests, code::storeMode, 1), 1);
  QCOMPARE(TheStore().currentMode(), 1);
  QCOMPARE(rig->app().connection().pendingSlot(), -1);
  QCOMPARE(AppSettings().RecentFiles().value(0), QFileInfo(path).absoluteFilePath());
}

void ModesTests::unsupportedVersionChangesNothing() {
  StartSynchronised();
  const QString path = rig->dir() + "/m1 broken.noveq";
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  const char version9[4] = {9, 0, 0, 0};
  file.write(version9, 4);
  file.write(QByteArray(2171, '\0'));
  file.close();
  TheStore().SetInt(slot::echoVolume, 21);
  rig->prompts().files = {path};
  rig->frame().OnCommand(kOutputIds.loadFile);
  QCOMPARE(rig->prompts().asked.size(), 1);
  QCOMPARE(rig->prompts().asked[0].text, QString("Mode file version not support!"));
  QCOMPARE(rig->prompts().asked[0].caption, QString("Info"));
  QCOMPARE(rig->prompts().asked[0].icon, BoxIcon::information);
  QCOMPARE(TheStore().Int(slot::echoVolume), 21);
  QCOMPARE(rig->app().connection().pendingSlot(), -1);  // a file that failed stores no slot later
  QCOMPARE(CountCommands(rig->Requests(), code::writeParam), 0);
  QVERIFY(AppSettings().RecentFiles().isEmpty());
}

void ModesTests::truncatedFileSaysItIsShort() {
  StartSynchronised();
  const QString path = rig->dir() + "/short.noveq";
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  const char version8[4] = {8, 0, 0, 0};
  file.write(version8, 4);
  file.write(QByteArray(2000, '\0'));  // 2175 bytes make a version-8 file
  file.close();
  rig->prompts().files = {path};
  rig->frame().OnCommand(kOutputIds.loadFile);
  QCOMPARE(rig->prompts().asked.size(), 1);
  const QString text = rig->prompts().asked[0].text;
  QVERIFY2(text == QString("The file is shorter than a version-8 mode file.") ||
               text == QString::fromUtf8("文件不完整：比版本8的模式文件短。"),
           qPrintable(text));
  QCOMPARE(CountCommands(rig->Requests(), code::writeParam), 0);
}

void ModesTests::saveFileStoresTheSlotAndWritesTheFile() {
  StartSynchronised();
  TheStore().setCurrentMode(3);
  TheStore().setWriteAck(1);
  TheStore().SetInt(slot::reverbVolume, 17);
  const QString path = rig->dir() + "/saved.noveq";
  rig->prompts().files = {path};
  rig->frame().OnCommand(kInputIds.saveFile);
  const FileDialogRequest request = rig->prompts().fileRequests.value(0);
  QVERIFY(request.save);
  QCOMPARE(request.defaultSuffix, QString("noveq"));
  QCOMPARE(request.defaultName, QString("name"));
  QCOMPARE(QFileInfo(path).size(), qint64(vireo::kModeFileBytes));
  QCOMPARE(CountCommands(rig->Requests(), code::storeMode, 3), 1);
  QCOMPARE(TheStore().writeAck(), 0);
  vireo::ParameterStore readBack;
  QVERIFY(vireo::ReadModeFile(readBack, path.toStdString()).ok);
  QCOMPARE(readBack.Int(slot::reverbVolume), 17);
  QCOMPARE(AppSettings().RecentFiles().value(0), QFileInfo(path).absoluteFilePath());

  // A file that cannot be written: the box with the system's error code; the list stays as it was.
  rig->prompts().files = {rig->dir() + "/no such folder/x.noveq"};
  rig->frame().OnCommand(cmd::fileSave);
  QCOMPARE(rig->prompts().asked.size(), 1);
  QVERIFY(rig->prompts().asked[0].text.startsWith("Errcode="));
  QVERIFY(rig->prompts().asked[0].text.contains("Can't write to file:\n" + rig->dir() +
                                                "/no such folder/x.noveq"));
  QCOMPARE(rig->prompts().asked[0].caption, QString("Can't write to file"));
  QCOMPARE(rig->prompts().asked[0].icon, BoxIcon::warning);
  QCOMPARE(AppSettings().RecentFiles().size(), 1);
}

void ModesTests::openByPathChecksTheFile() {
  StartSynchronised();
  CKestrelv13App& app = rig->app();
  app.OpenModeFileByPath(rig->dir() + "/missing.noveq");
  QCOMPARE(rig->prompts().asked.value(0).text, QString::fromUtf8("文件不存在！"));
  QCOMPARE(rig->prompts().asked.value(0).caption, QString::fromUtf8("文件打开错误"));
  const int synchronised = TheStore().Int(slot::echoVolume);
  QVERIFY(synchronised != 44);
  const QString other = WriteModeFileWith(rig->dir() + "/preset.txt", 44);
  app.OpenModeFileByPath(other);
  QCOMPARE(TheStore().Int(slot::echoVolume), synchronised);  // another extension: silently nothing
  QCOMPARE(rig->prompts().asked.size(), 1);
  const QString upper = WriteModeFileWith(rig->dir() + "/PRESET.NOVEQ", 45);
  app.OpenModeFileByPath(upper);
  QVERIFY(rig->WaitSynchronised());
  QCOMPARE(TheStore().Int(slot::echoVolume), 45);
  QCOMPARE(*rig->machine().Param(2, 26), std::vector<std::uint32_t>{vireo::EncodePct(45)});
  // Without the machine a file is not even read.
  app.connection().DisconnectMachine();
  app.OpenModeFileByPath(WriteModeFileWith(rig->dir() + "/later.noveq", 46));
  QCOMPARE(TheStore().Int(slot::echoVolume), 45);
  QCOMPARE(rig->prompts().asked.size(), 1);
}

void ModesTests::commandLineFileWaitsForTheFirstSynchronisation() {
  rig = std::make_unique<UiHarness>();
  LaunchOptions launch = UiHarness::EmulatorLaunch();
  launch.modeFile = WriteModeFileWith(rig->dir() + "/start.noveq", 52);
  QCOMPARE(rig->Start(0, launch), CKestrelv13App::StartResult::running);
  QTRY_COMPARE_WITH_TIMEOUT(TheStore().Int(slot::echoVolume), 52, 20000);
  QVERIFY(rig->WaitSynchronised());
  QTRY_COMPARE(rig->machine().Param(2, 26).value_or(std::vector<std::uint32_t>{}),
               std::vector<std::uint32_t>{vireo::EncodePct(52)});
}

void ModesTests::aMissingCommandLineFileIsReportedOverTheMainWindow() {
  rig = std::make_unique<UiHarness>();
  LaunchOptions launch = UiHarness::EmulatorLaunch();
  launch.modeFile = rig->dir() + "/missing.noveq";
  QCOMPARE(rig->Start(0, launch), CKestrelv13App::StartResult::running);
  QCOMPARE(rig->prompts().asked.size(), 1);
  QCOMPARE(rig->prompts().asked[0].text, QString::fromUtf8("文件不存在！"));
  QVERIFY(rig->prompts().asked[0].mainWindowShown);
}

void ModesTests::slotCommandsAskAndSend() {
  StartSynchronised();
  TheStore().setWriteAck(1);
  rig->prompts().answers = {BoxAnswer::no};
  rig->frame().OnCommand(cmd::loadSlotFirst + 1);
  QCOMPARE(rig->prompts().asked[0].text, QString::fromUtf8("参数已更改，确定要直接载入K歌模式?"));
  QCOMPARE(rig->prompts().asked[0].caption, QString::fromUtf8("信息"));
  QCOMPARE(CountCommands(rig->Requests(), code::recallMode), 0);
  rig->frame().OnCommand(cmd::loadSlotFirst + 1);  // yes this time
  QCOMPARE(CountCommands(rig->Requests(), code::recallMode, 1), 1);
  QVERIFY(CountCommands(rig->Requests(), code::readParam) >= 192);
  QVERIFY(rig->WaitSynchronised());
  QCOMPARE(TheStore().currentMode(), 1);

  rig->ClearRequests();
  rig->frame().OnCommand(cmd::saveSlotFirst + 2);
  QCOMPARE(rig->prompts().asked.last().text, QString::fromUtf8("确定要保存至游戏模式?"));
  QCOMPARE(CountCommands(rig->Requests(), code::storeMode, 2), 1);
  QCOMPARE(rig->lastNotice(), QString::fromUtf8("正在储存游戏模式,请稍等"));
  QCOMPARE(TheStore().currentMode(), 2);

  rig->ClearRequests();
  const int asked = rig->prompts().asked.size();
  rig->frame().OnCommand(cmd::resetSlotFirst);
  QCOMPARE(rig->prompts().asked.size(), asked);  // no question
  QCOMPARE(CountCommands(rig->Requests(), code::restoreMode, 0), 1);
  QVERIFY(rig->WaitSynchronised());
  QCOMPARE(TheStore().currentMode(), 0);
}

void ModesTests::overwritesKeepABackupThatTheWindowListsAndRestores() {
  StartSynchronised(1);
  TheStore().SetInt(vireo::slot::echoVolume, 33);  // the tuning as the slot recall finds it
  rig->frame().OnCommand(cmd::loadSlotFirst + 1);
  QVERIFY(rig->WaitSynchronised());
  const std::vector<vireo::BackupEntry> kept = vireo::ListBackups(rig->app().backupFolder().toStdString());
  QCOMPARE(kept.size(), std::size_t(1));
  QCOMPARE(QString::fromStdString(kept[0].source), QString("slot-2"));

  CBackupsDlg window(rig->app(), &rig->frame());
  QCOMPARE(window.list()->topLevelItemCount(), 1);
  QCOMPARE(window.list()->topLevelItem(0)->text(1), QString("Mode slot 2"));
  QVERIFY(window.details()->toPlainText().contains("Echo volume: "));
  for (const vireo::SlotField& field : vireo::SlotFields())  // every field has a name a user can read
    QVERIFY2(!FieldDisplayName(field.name, 0, 0).contains('['), field.name.data());
  QCOMPARE(FieldDisplayName("chDelay", 3, 1), QString("CH4 delay"));
  QVERIFY(window.details()->toPlainText().contains(" → 33"));
  rig->ClearRequests();
  window.restoreButton()->click();  // the scripted box says yes
  QVERIFY(rig->WaitSynchronised());
  QCOMPARE(TheStore().Int(vireo::slot::echoVolume), 33);
  QVERIFY(CountCommands(rig->Requests(), code::writeBlock) > 0);  // a write-all
  QCOMPARE(vireo::ListBackups(rig->app().backupFolder().toStdString()).front().source,
           std::string("restore"));
}

void ModesTests::aBackupThatCannotBeWrittenAsksFirst() {
  StartSynchronised(1);
  QFile blocker(rig->app().backupFolder());  // a file where the folder would go
  QVERIFY(QDir().mkpath(QFileInfo(blocker).absolutePath()));
  QVERIFY(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  rig->prompts().answers = {BoxAnswer::no};
  rig->frame().OnCommand(cmd::loadSlotFirst + 2);
  QVERIFY(rig->prompts().asked.last().text.startsWith("The machine's tuning could not be backed up:"));
  QCOMPARE(CountCommands(rig->Requests(), code::recallMode), 0);
  rig->frame().OnCommand(cmd::loadSlotFirst + 2);  // yes: without a backup
  QCOMPARE(CountCommands(rig->Requests(), code::recallMode, 2), 1);
  QVERIFY(rig->WaitSynchronised());
}

void ModesTests::resetAsksThenNotifies() {
  StartSynchronised();
  rig->prompts().answers = {BoxAnswer::no, BoxAnswer::yes};
  rig->frame().OnCommand(cmd::machineReset);
  QCOMPARE(CountCommands(rig->Requests(), code::reset), 0);
  rig->frame().OnCommand(cmd::machineReset);
  QCOMPARE(rig->prompts().asked[0].text,
           QString::fromUtf8("您确定要将机器复位吗? \n机器复位后请手动重启机器."));
  QCOMPARE(rig->prompts().asked[0].caption, QString::fromUtf8("提示"));
  QCOMPARE(CountCommands(rig->Requests(), code::reset, 170), 1);
  QCOMPARE(rig->lastNotice(), QString::fromUtf8("请手动重启……"));
  rig->app().connection().DisconnectMachine();
  rig->frame().OnCommand(cmd::machineReset);
  QCOMPARE(rig->prompts().asked.size(), 2);
}

void ModesTests::smartPlugWithoutMachineReminds() {
  StartSynchronised(1);
  rig->frame().OnCommand(cmd::smartPlug);
  QVERIFY(rig->notices().isEmpty());
  rig->app().connection().DisconnectMachine();
  rig->frame().OnCommand(cmd::smartPlug);
  QCOMPARE(rig->lastNotice(), QString("Please connect device"));
}

void ModesTests::exitQuestionCancelNoAndYes() {
  StartSynchronised();
  QSignalSpy closed(&rig->frame(), &CMainFrame::closed);
  TheStore().setWriteAck(1);
  rig->prompts().answers = {BoxAnswer::cancel};
  QVERIFY(!rig->frame().close());
  QCOMPARE(closed.count(), 0);
  QCOMPARE(rig->prompts().asked[0].buttons, BoxButtons::yesNoCancel);
  QCOMPARE(rig->prompts().asked[0].caption, QString::fromUtf8("保存?"));
  QVERIFY(TheStore().connected());

  const QString path = rig->dir() + "/preset.noveq";
  rig->prompts().answers = {BoxAnswer::yes};
  rig->prompts().files = {path};
  TheStore().setCurrentMode(1);
  QVERIFY(rig->frame().close());
  QCOMPARE(closed.count(), 1);
  QCOMPARE(rig->prompts().fileRequests.last().defaultName, QString("preset"));
  QVERIFY(QFileInfo::exists(path));
  const auto requests = rig->Requests();
  QCOMPARE(CountCommands(requests, code::storeMode, 1), 1);
  QCOMPARE(CountCommands(requests, code::disconnect), 1);
  QVERIFY(!TheStore().connected());
}

void ModesTests::wrongModelClosesTheLink() {
  rig = std::make_unique<UiHarness>();
  LaunchOptions launch = UiHarness::EmulatorLaunch();
  launch.emulatorOptions.modelName = "Other";
  QCOMPARE(rig->Start(0, launch), CKestrelv13App::StartResult::running);
  QTRY_COMPARE_WITH_TIMEOUT(rig->prompts().asked.size(), 1, 20000);
  QCOMPARE(rig->prompts().asked[0].text, QString::fromUtf8("机器型号与软件不匹配!"));
  QCOMPARE(rig->prompts().asked[0].caption, QString::fromUtf8("错误"));
  QCOMPARE(rig->prompts().asked[0].icon, BoxIcon::error);
  QVERIFY(!TheStore().connected());
  QVERIFY(!rig->app().windows().sync);
}

void ModesTests::wrongKindClosesTheLink() {
  rig = std::make_unique<UiHarness>();
  LaunchOptions launch = UiHarness::EmulatorLaunch();
  launch.emulatorOptions.kind = 17;
  QCOMPARE(rig->Start(0, launch), CKestrelv13App::StartResult::running);
  QTRY_COMPARE_WITH_TIMEOUT(rig->prompts().asked.size(), 1, 20000);
  QCOMPARE(rig->prompts().asked[0].text, QString::fromUtf8("机器与软件通信版本不匹配，请使用机器配套软件!"));
  QVERIFY(!TheStore().connected());
  QCOMPARE(CountCommands(rig->Requests(), code::readParam), 0);  // kind 17: nothing read
}

void ModesTests::storeEqualsTheMachineAfterTheFirstSynchronisation() {
  rig = std::make_unique<UiHarness>();
  LaunchOptions launch = UiHarness::EmulatorLaunch();
  vireo::ParameterStore tuned;
  vireo::ResetStoreDefaults(tuned);
  tuned.SetInt(slot::micVolume, 61);
  tuned.SetInt(slot::musicVolume, 38);
  tuned.SetInt(slot::reverbVolume, 12);
  tuned.SetInt(slot::musicPitch, -2);
  tuned.SetInt(slot::echoMute, 1);
  tuned.SetInt(vireo::slot::chDelay[2], 3);
  launch.emulatorState = rig->dir() + "/machine.noveq";
  QVERIFY(vireo::WriteModeFile(tuned, launch.emulatorState.toStdString()).ok);
  QCOMPARE(rig->Start(0, launch), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  QCOMPARE(TheStore().Int(slot::micVolume), 61);
  QCOMPARE(rig->Find<CStepSlider>(kOutputIds.music.slider)->value(), 38);
  QVERIFY(vireo::emulator::WorkingSetFromStore(TheStore()) == rig->machine().workingSet());
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  ModesTests tests;
  return QTest::qExec(&tests, argc, argv);
}

#include "modes_tests.moc"
