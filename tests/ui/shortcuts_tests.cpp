// Keyboard shortcuts: volume steps, mutes, mode-slot keys with Left Ctrl told from right Ctrl, page
// sections, accelerators; keys reach the shell before the focused widget, exactly once.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>

#include "controls/left_ctrl.h"
#include "controls/step_slider.h"
#include "device/connection.h"
#include "look/command_ids.h"
#include "model/parameter_store.h"
#include "model/wire_rules.h"
#include "recording_page.h"
#include "services/device_services.h"
#include "shell/input_controls.h"
#include "shell/main_frame.h"
#include "shell/main_view.h"
#include "ui_harness.h"

using vireo::TheStore;
namespace slot = vireo::slot;

namespace {
// A widget that takes no keys, inside one that records what reaches it.
class KeyRecorder : public QWidget {
 public:
  QList<int> pressed;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    pressed << event->key();
    event->accept();
  }
};

void PressControl(QWidget* target, quint32 scanCode, quint32 keysym) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, scanCode, keysym, 0);
  QApplication::sendEvent(target, &press);
}

// A key with modifiers already held, without the Control key events QTest would invent (those carry no
// native codes and would count as an unknown Control key).
void Key(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(target, &release);
}

void ReleaseControl(QWidget* target, quint32 scanCode, quint32 keysym) {
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier, scanCode, keysym, 0);
  QApplication::sendEvent(target, &release);
}
}  // namespace

class ShortcutsTests : public QObject {
  Q_OBJECT
 private slots:
  void init();
  void cleanup();
  void volumeKeysStepByFiveOrTwo();
  void leftCtrlStepsByOneRightCtrlDoesNot();
  void everyVolumeKeyMovesItsLevel();
  void lettersTypedIntoATextFieldStayText();
  void typingIntoTextEntriesChangesNothing();
  void ctrlZInALineEditIsTheFieldsOwnUndo();
  void ctrlZUndoesCtrlYAndCtrlShiftZRedo();
  void propagationToParentsActsOnce();
  void muteKeysAnnounceMuting();
  void functionKeysLoadSlots();
  void loadKeyAsksWhenParametersChanged();
  void leftCtrlFunctionKeysStoreSlots();
  void rightCtrlWithFunctionKeyLoads();
  void modeKeysAreConsumedWhenTheyCannotAct();
  void leftCtrlDigitsSelectSections();
  void pKeyTogglesTheShownBypass();
  void f7ReleaseIsConsumed();
  void ctrlSStepsTheMicrophoneAndSaves();

 private:
  QWidget* Target() { return rig->frame().view(); }
  RecordingPages pages;
  std::unique_ptr<UiHarness> rig;
};

void ShortcutsTests::init() {
  rig = std::make_unique<UiHarness>();
  QCOMPARE(rig->Start(1), CKestrelv13App::StartResult::running);
  QVERIFY(rig->WaitSynchronised());
  rig->ClearRequests();
}

void ShortcutsTests::cleanup() {
  rig.reset();
}

void ShortcutsTests::volumeKeysStepByFiveOrTwo() {
  TheStore().SetInt(slot::musicVolume, 49);
  rig->frame().RefreshVolumeControls();
  QTest::keyClick(Target(), Qt::Key_Q);
  QCOMPARE(TheStore().Int(slot::musicVolume), 54);
  TheStore().SetInt(slot::musicVolume, 50);
  rig->frame().RefreshVolumeControls();
  QTest::keyClick(Target(), Qt::Key_Q);
  QCOMPARE(TheStore().Int(slot::musicVolume), 52);
  QCOMPARE(rig->Find<CStepSlider>(kOutputIds.music.slider)->value(), 52);
  QCOMPARE(ParamWrites(rig->Requests(), 4, 12).back(), std::vector<std::uint32_t>{vireo::EncodeVol(52)});
  // At the end of the range the value stays and is sent again.
  TheStore().SetInt(slot::musicVolume, 98);
  rig->frame().RefreshVolumeControls();
  QTest::keyClick(Target(), Qt::Key_Q);
  rig->WaitEditsSent();
  QTest::keyClick(Target(), Qt::Key_Q);
  QCOMPARE(TheStore().Int(slot::musicVolume), 99);
  const auto writes = ParamWrites(rig->Requests(), 4, 12);
  QCOMPARE(writes[writes.size() - 1], writes[writes.size() - 2]);
}

void ShortcutsTests::leftCtrlStepsByOneRightCtrlDoesNot() {
  TheStore().SetInt(slot::musicVolume, 20);
  rig->frame().RefreshVolumeControls();
  // No Control key seen: the side is unknown and Ctrl counts as the left one.
  Key(Target(), Qt::Key_Q, Qt::ControlModifier);
  QCOMPARE(TheStore().Int(slot::musicVolume), 21);
  PressControl(Target(), kControlRScanCode, kControlRKeysym);
  Key(Target(), Qt::Key_Q, Qt::ControlModifier);
  QCOMPARE(TheStore().Int(slot::musicVolume), 26);
  ReleaseControl(Target(), kControlRScanCode, kControlRKeysym);
  PressControl(Target(), kControlLScanCode, kControlLKeysym);
  Key(Target(), Qt::Key_A, Qt::ControlModifier);
  QCOMPARE(TheStore().Int(slot::musicVolume), 25);
  ReleaseControl(Target(), kControlLScanCode, kControlLKeysym);
}

void ShortcutsTests::everyVolumeKeyMovesItsLevel() {
  const struct {
    Qt::Key up, down;
    int slotIndex;
  } keys[] = {{Qt::Key_Q, Qt::Key_A, slot::musicVolume},
              {Qt::Key_W, Qt::Key_S, slot::micVolume},
              {Qt::Key_E, Qt::Key_D, slot::echoVolume},
              {Qt::Key_R, Qt::Key_F, slot::reverbVolume}};
  for (const auto& k : keys) {
    TheStore().SetInt(k.slotIndex, 60);
    rig->frame().RefreshVolumeControls();
    QTest::keyClick(Target(), k.up);
    QCOMPARE(TheStore().Int(k.slotIndex), 62);
    QTest::keyClick(Target(), k.down);
    QTest::keyClick(Target(), k.down);
    QCOMPARE(TheStore().Int(k.slotIndex), 58);
  }
}

void ShortcutsTests::lettersTypedIntoATextFieldStayText() {
  TheStore().SetInt(slot::musicVolume, 30);
  rig->frame().RefreshVolumeControls();
  QDialog dialog(&rig->frame());
  auto* edit = new QLineEdit(&dialog);
  dialog.show();
  edit->setFocus();
  QTest::keyClicks(edit, "a");
  QCOMPARE(edit->text(), QString("a"));
  QCOMPARE(TheStore().Int(slot::musicVolume), 30);
}

void ShortcutsTests::typingIntoTextEntriesChangesNothing() {
  QWidget* view = rig->frame().view();
  auto* combo = new QComboBox(view);
  combo->setEditable(true);
  auto* table = new QTableWidget(1, 1, view);
  table->setItem(0, 0, new QTableWidgetItem("1"));
  QFileDialog files(&rig->frame());
  files.setOption(QFileDialog::DontUseNativeDialog);
  files.show();
  table->show();
  table->editItem(table->item(0, 0));  // the band list's cell editor, open
  QWidget* const entries[] = {new QLineEdit(view),
                              new QPlainTextEdit(view),
                              new QSpinBox(view),
                              combo,
                              table,
                              files.findChild<QListView*>("listView")};
  std::vector<std::uint8_t> before(vireo::RegionSize(vireo::Region::mainParams));
  TheStore().ReadBytes(vireo::Region::mainParams, 0, before);
  for (QWidget* entry : entries) {
    QVERIFY(entry);
    entry->show();
    entry->setFocus();
    QTest::keyClicks(entry, "PEQ");
    QTest::keyClicks(entry, "xzcvasdfwr");
  }
  QCOMPARE(qobject_cast<QLineEdit*>(entries[0])->text(), QString("PEQxzcvasdfwr"));
  std::vector<std::uint8_t> after(before.size());
  TheStore().ReadBytes(vireo::Region::mainParams, 0, after);
  QVERIFY(after == before);
  QVERIFY(!RecordingPage::last->bypass);
  const auto requests = rig->Requests();
  QCOMPARE(
      CountCommands(requests, vireo::code::writeParam) + CountCommands(requests, vireo::code::writeBlock), 0);
}

void ShortcutsTests::ctrlZInALineEditIsTheFieldsOwnUndo() {
  TheStore().SetInt(slot::micVolume, 60);
  rig->frame().RefreshVolumeControls();
  QTest::keyClick(Target(), Qt::Key_W);
  auto* edit = new QLineEdit(rig->frame().view());
  edit->show();
  edit->setFocus();
  QTest::keyClicks(edit, "ab");
  Key(edit, Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(edit->text(), QString());
  QCOMPARE(TheStore().Int(slot::micVolume), 62);
  QVERIFY(rig->app().device().edits().CanUndo());
}

void ShortcutsTests::ctrlZUndoesCtrlYAndCtrlShiftZRedo() {
  TheStore().SetInt(slot::micVolume, 60);
  rig->frame().RefreshVolumeControls();
  QTest::keyClick(Target(), Qt::Key_W);
  const struct {
    Qt::KeyboardModifiers modifiers;
    Qt::Key key;
    int volume;
  } steps[] = {{Qt::ControlModifier, Qt::Key_Z, 60},
               {Qt::ControlModifier, Qt::Key_Y, 62},
               {Qt::ControlModifier, Qt::Key_Z, 60},
               {Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z, 62}};
  for (const auto& step : steps) {
    Key(Target(), step.key, step.modifiers);
    QCOMPARE(TheStore().Int(slot::micVolume), step.volume);
    QCOMPARE(rig->Find<CStepSlider>(kOutputIds.mic.slider)->value(), step.volume);
    const float sent = vireo::BitsFloat(ParamWrites(rig->Requests(), 1, 14).back()[0]);
    QVERIFY(qAbs(sent - (step.volume / 100.0f + 0.0005f)) < 1e-6f);
  }
  // Z with the left Control key is undo too, never the music mute; Z alone still toggles it.
  const int muted = TheStore().Int(slot::musicMute);
  PressControl(Target(), kControlLScanCode, kControlLKeysym);
  Key(Target(), Qt::Key_Z, Qt::ControlModifier);
  ReleaseControl(Target(), kControlLScanCode, kControlLKeysym);
  QCOMPARE(TheStore().Int(slot::micVolume), 60);
  QCOMPARE(TheStore().Int(slot::musicMute), muted);
  QTest::keyClick(Target(), Qt::Key_Z);
  QCOMPARE(TheStore().Int(slot::musicMute), 1 - muted);
}

void ShortcutsTests::propagationToParentsActsOnce() {
  TheStore().SetInt(slot::echoVolume, 10);
  rig->frame().RefreshVolumeControls();
  KeyRecorder outer;
  auto* inner = new QWidget(&outer);  // ignores keys: Qt offers them to `outer` next
  outer.show();
  QTest::keyClick(inner, Qt::Key_E);
  QCOMPARE(outer.pressed, QList<int>{Qt::Key_E});
  QCOMPARE(TheStore().Int(slot::echoVolume), 15);
}

void ShortcutsTests::muteKeysAnnounceMuting() {
  QTest::keyClick(Target(), Qt::Key_X);
  QCOMPARE(TheStore().Int(slot::micMute), 1);
  QCOMPARE(rig->lastNotice(), QString("Mic Muted"));
  QTest::keyClick(Target(), Qt::Key_X);
  QCOMPARE(TheStore().Int(slot::micMute), 0);
  QCOMPARE(rig->notices().size(), 1);  // unmuting shows nothing
  QTest::keyClick(Target(), Qt::Key_Z);
  QCOMPARE(rig->lastNotice(), QString("Music Muted"));
  QTest::keyClick(Target(), Qt::Key_C);
  QCOMPARE(rig->lastNotice(), QString("Echo muted"));
  QTest::keyClick(Target(), Qt::Key_V);
  QCOMPARE(rig->lastNotice(), QString("Reverb muted"));
  QCOMPARE(ParamWrites(rig->Requests(), 2, 27).back(), std::vector<std::uint32_t>{FloatWire(0.0f)});
  QTest::keyClick(Target(), Qt::Key_Z);  // unmute: the fade-in
  QCOMPARE(ParamWrites(rig->Requests(), 4, 13).size(), std::size_t(11));
  QTRY_VERIFY(rig->Find<QCheckBox>(kInputIds.reverb.mute)->isChecked());
}

void ShortcutsTests::functionKeysLoadSlots() {
  TheStore().setWriteAck(0);
  QTest::keyClick(Target(), Qt::Key_F3);  // the read-all runs in the synchronisation window
  QCOMPARE(CountCommands(rig->Requests(), vireo::code::recallMode, 2), 1);
  QVERIFY(CountCommands(rig->Requests(), vireo::code::readParam) >= 192);
  QVERIFY(rig->prompts().asked.isEmpty());
  QVERIFY(rig->WaitSynchronised());
  QCOMPARE(TheStore().currentMode(), 2);
}

void ShortcutsTests::loadKeyAsksWhenParametersChanged() {
  TheStore().setWriteAck(1);
  rig->prompts().answers = {BoxAnswer::no};
  QTest::keyClick(Target(), Qt::Key_F2);
  QCOMPARE(rig->prompts().asked.size(), 1);
  QCOMPARE(rig->prompts().asked[0].text, QString("Setting changed ! Are you sure to load Karaoke Mode?"));
  QCOMPARE(rig->prompts().asked[0].caption, QString("Information"));
  QCOMPARE(rig->prompts().asked[0].icon, BoxIcon::question);
  QCOMPARE(CountCommands(rig->Requests(), vireo::code::recallMode), 0);
}

void ShortcutsTests::leftCtrlFunctionKeysStoreSlots() {
  PressControl(Target(), kControlLScanCode, kControlLKeysym);
  QElapsedTimer timer;
  timer.start();
  Key(Target(), Qt::Key_F4, Qt::ControlModifier);
  ReleaseControl(Target(), kControlLScanCode, kControlLKeysym);
  QVERIFY(timer.elapsed() >= 1500);  // the wait after storing
  QCOMPARE(rig->prompts().asked.size(), 1);
  QCOMPARE(rig->prompts().asked[0].text, QString("Save to AV Mode?"));
  QCOMPARE(CountCommands(rig->Requests(), vireo::code::storeMode, 3), 1);
  QCOMPARE(TheStore().currentMode(), 3);
  QCOMPARE(rig->lastNotice(), QString("Saving AV Mode ……"));
}

void ShortcutsTests::rightCtrlWithFunctionKeyLoads() {
  TheStore().setWriteAck(0);
  PressControl(Target(), kControlRScanCode, kControlRKeysym);
  Key(Target(), Qt::Key_F2, Qt::ControlModifier);
  ReleaseControl(Target(), kControlRScanCode, kControlRKeysym);
  QCOMPARE(CountCommands(rig->Requests(), vireo::code::recallMode, 1), 1);
  QCOMPARE(CountCommands(rig->Requests(), vireo::code::storeMode), 0);
  QVERIFY(rig->WaitSynchronised());
}

void ShortcutsTests::modeKeysAreConsumedWhenTheyCannotAct() {
  KeyRecorder recorder;
  recorder.show();
  rig->frame().OnCommand(cmd::smartPlug);
  QVERIFY(rig->app().smartPlugWindowOpen());
  QTest::keyClick(&recorder, Qt::Key_F1);
  rig->app().windows().smartPlugs->close();
  QTRY_VERIFY(!rig->app().smartPlugWindowOpen());
  rig->app().connection().DisconnectMachine();
  Key(&recorder, Qt::Key_F1, Qt::ControlModifier);
  QTest::keyClick(&recorder, Qt::Key_F5);
  QCOMPARE(recorder.pressed, QList<int>{Qt::Key_F5});
  QCOMPARE(CountCommands(rig->Requests(), vireo::code::recallMode), 0);
  QVERIFY(rig->prompts().asked.isEmpty());
}

void ShortcutsTests::leftCtrlDigitsSelectSections() {
  QVERIFY(RecordingPage::last);
  Key(Target(), Qt::Key_5, Qt::ControlModifier);
  Key(Target(), Qt::Key_0, Qt::ControlModifier | Qt::KeypadModifier);
  Key(Target(), Qt::Key_1, Qt::ControlModifier | Qt::KeypadModifier);
  QTest::keyClick(Target(), Qt::Key_7);  // without Ctrl: nothing
  PressControl(Target(), kControlRScanCode, kControlRKeysym);
  Key(Target(), Qt::Key_3, Qt::ControlModifier);
  ReleaseControl(Target(), kControlRScanCode, kControlRKeysym);
  QCOMPARE(RecordingPage::last->sections, (QList<int>{4, 9, 0}));
}

void ShortcutsTests::pKeyTogglesTheShownBypass() {
  QTest::keyClick(Target(), Qt::Key_P);
  QVERIFY(RecordingPage::last->bypass);
  QTRY_VERIFY(rig->Find<QCheckBox>(cmd::eqBypass)->isChecked());
  QTest::keyClick(Target(), Qt::Key_P);
  QVERIFY(!RecordingPage::last->bypass);
}

void ShortcutsTests::f7ReleaseIsConsumed() {
  class ReleaseRecorder : public QWidget {
   public:
    int releases = 0;

   protected:
    void keyReleaseEvent(QKeyEvent* event) override {
      ++releases;
      event->accept();
    }
  } recorder;
  recorder.show();
  QTest::keyRelease(&recorder, Qt::Key_F7);
  QTest::keyRelease(&recorder, Qt::Key_F8);
  QCOMPARE(recorder.releases, 1);
}

void ShortcutsTests::ctrlSStepsTheMicrophoneAndSaves() {
  TheStore().SetInt(slot::micVolume, 30);
  rig->frame().RefreshVolumeControls();
  Key(Target(), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(TheStore().Int(slot::micVolume), 29);
  QCOMPARE(rig->prompts().fileRequests.size(), 1);
  QVERIFY(rig->prompts().fileRequests[0].save);
  QCOMPARE(rig->prompts().fileRequests[0].defaultName, QString("name"));
  Key(Target(), Qt::Key_O, Qt::ControlModifier);
  QCOMPARE(rig->prompts().fileRequests.size(), 2);
  QVERIFY(!rig->prompts().fileRequests[1].save);
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  ShortcutsTests tests;
  return QTest::qExec(&tests, argc, argv);
}

#include "shortcuts_tests.moc"
