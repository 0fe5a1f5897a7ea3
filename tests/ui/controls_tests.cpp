// The shell's pure pieces: step slider geometry and clicks, label and pane texts, Left Ctrl, the trace
// line, the command line.
#include <QKeyEvent>
#include <QLabel>
#include <QtTest>

#include "controls/left_ctrl.h"
#include "controls/step_math.h"
#include "controls/step_slider.h"
#include "look/dialog_look.h"
#include "ribbon/master_levels.h"
#include "ribbon/mode_slot_texts.h"
#include "services/launch_options.h"
#include "services/trace_file.h"
#include "shell/main_status_bar.h"
#include "shell/shortcut_filter.h"
#include "ui_harness.h"

class ControlsTests : public QObject {
  Q_OBJECT
 private slots:
  void ellipsesSitOnTheBaselineInEitherLanguage();
  void stepTowardClickMovesExactlyOneStep();
  void sliderTrackClicksMoveOneStepAndReport();
  void sliderQuietSetDoesNotReport();
  void labelFormats();
  void pitchCaptionAlwaysSigned();
  void panelCaptionsOfBuildAndSwitch();
  void paneTexts();
  void modeSlotTexts();
  void controlSides();
  void leftCtrlTracking();
  void volumeSteps();
  void traceLineFormat();
  void launchOptions();
};

void ControlsTests::ellipsesSitOnTheBaselineInEitherLanguage() {
  for (const char* text : {"请手动重启……", "Please restart……"}) {
    QLabel label;
    label.setFont(ApplicationFont());
    SetTextWithLatinEllipsis(&label, QString::fromUtf8(text));
    label.adjustSize();
    QImage image(label.size(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    label.render(&image);
    // The lowest ink of the last few columns (the ellipsis) against the text's baseline.
    const QFontMetrics metrics(label.font());
    const int baseline = (label.height() - metrics.height()) / 2 + metrics.ascent();
    int inkBottom = -1;
    for (int x = std::max(0, label.width() - 12); x < label.width(); ++x)
      for (int y = 0; y < label.height(); ++y)
        if (qGray(image.pixel(x, y)) < 160) inkBottom = std::max(inkBottom, y);
    QVERIFY2(inkBottom >= baseline - 2, text);
  }
}

void ControlsTests::stepTowardClickMovesExactlyOneStep() {
  // Thumb at [40, 50): clicks left of it go down by one, right of it up by one, on it nothing.
  QCOMPARE(StepTowardClick(30, 0, 99, 1, 39, 40, 50), 29);
  QCOMPARE(StepTowardClick(30, 0, 99, 1, 0, 40, 50), 29);
  QCOMPARE(StepTowardClick(30, 0, 99, 1, 50, 40, 50), 31);
  QCOMPARE(StepTowardClick(30, 0, 99, 1, 200, 40, 50), 31);
  QCOMPARE(StepTowardClick(30, 0, 99, 1, 45, 40, 50), 30);
  // Kept within the range.
  QCOMPARE(StepTowardClick(0, 0, 99, 1, 0, 5, 15), 0);
  QCOMPARE(StepTowardClick(99, 0, 99, 1, 500, 5, 15), 99);
  QCOMPARE(StepTowardClick(-5, -5, 5, 1, 0, 5, 15), -5);
  QCOMPARE(ClampedStep(97, 5, 0, 99), 99);
  QCOMPARE(ClampedStep(3, -5, 0, 99), 0);
  QCOMPARE(ClampedStep(-4, -2, -5, 5), -5);
}

void ControlsTests::sliderTrackClicksMoveOneStepAndReport() {
  CStepSlider slider(0, 99, 90);
  slider.resize(90, 20);
  slider.SetValueQuietly(50);
  slider.show();
  QList<int> reported;
  connect(&slider, &CStepSlider::userChanged, [&](int v) { reported << v; });
  QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(1, 10));  // far to the left
  QCOMPARE(slider.value(), 49);
  QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(88, 10));  // far to the right
  QCOMPARE(slider.value(), 50);
  QCOMPARE(reported, (QList<int>{49, 50}));
  // Other buttons neither step nor jump to the pointer.
  QTest::mouseClick(&slider, Qt::MiddleButton, {}, QPoint(1, 10));
  QTest::mouseClick(&slider, Qt::RightButton, {}, QPoint(88, 10));
  QCOMPARE(slider.value(), 50);
  QCOMPARE(reported, (QList<int>{49, 50}));
  // A click on the thumb grabs it: no step.
  slider.SetValueQuietly(0);
  reported.clear();
  QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(2, 10));
  QCOMPARE(slider.value(), 0);
  QVERIFY(reported.isEmpty());
}

void ControlsTests::sliderQuietSetDoesNotReport() {
  CStepSlider slider(-5, 5, 100);
  int reports = 0;
  connect(&slider, &CStepSlider::userChanged, [&](int) { ++reports; });
  slider.SetValueQuietly(3);
  QCOMPARE(slider.value(), 3);
  QCOMPARE(reports, 0);
  slider.setValue(4);  // any other change is the user's
  QCOMPARE(reports, 1);
}

void ControlsTests::labelFormats() {
  QCOMPARE(LevelLabelText(MasterLevel::mic, 100, 0), QString::fromUtf8("话筒音量:100"));
  QCOMPARE(LevelLabelText(MasterLevel::mic, 7, 1), QString("Mic    Vol:   7"));
  QCOMPARE(LevelLabelText(MasterLevel::effect, 42, 1), QString("Effect    Vol: 42"));
  QCOMPARE(LevelLabelText(MasterLevel::reverb, 100, 0), QString::fromUtf8("混响音量:  100"));
  QCOMPARE(LevelLabelText(MasterLevel::reverb, 5, 0, true), QString::fromUtf8("混响音量:  5"));
  QCOMPARE(LevelLabelText(MasterLevel::echo, 0, 1), QString("Echo Vol:  0"));
  QCOMPARE(LevelLabelText(MasterLevel::music, 99, 0), QString::fromUtf8("音乐音量: 99"));
  QCOMPARE(LevelLabelText(MasterLevel::noiseGate, 100, 1), QString("Noisegate:    100"));
  QCOMPARE(LevelLabelText(MasterLevel::noiseGate, 100, 0), QString::fromUtf8("音乐噪声门:100"));
}

void ControlsTests::pitchCaptionAlwaysSigned() {
  QCOMPARE(PitchCaption(0, 1), QString("Music Pitch:+0"));
  QCOMPARE(PitchCaption(5, 1), QString("Music Pitch:+5"));
  QCOMPARE(PitchCaption(-5, 1), QString("Music Pitch:-5"));
  QCOMPARE(PitchCaption(3, 0), QString::fromUtf8("音乐变调:+3"));
  QCOMPARE(PitchCaption(-2, 0), QString::fromUtf8("音乐变调:-2"));
}

void ControlsTests::panelCaptionsOfBuildAndSwitch() {
  QCOMPARE(BuildPanelCaption(1, 1), QString("Mic Vol"));
  QCOMPARE(BuildPanelCaption(2, 1), QString("Efx Vol"));
  QCOMPARE(BuildPanelCaption(6, 1), QString("Music pitch"));
  QCOMPARE(SwitchPanelCaption(1, 1, 0), QString("Mic  Vol"));
  QCOMPARE(SwitchPanelCaption(2, 1, 0), QString("Effect Vol"));
  QCOMPARE(SwitchPanelCaption(6, 1, -1), QString("Music Pitch:-1"));
  QCOMPARE(SwitchPanelCaption(7, 0, 0), QString::fromUtf8("调用"));
  QCOMPARE(SwitchPanelCaption(8, 1, 0), QString("Save"));
  QCOMPARE(BuildPanelCaption(9, 0), QString::fromUtf8("无线话筒"));
  QCOMPARE(SwitchPanelCaption(9, 1, 0), QString("Wireless Mic"));
  QCOMPARE(BuildPanelCaption(10, 0), QString());
}

void ControlsTests::paneTexts() {
  QCOMPARE(ConnectionPaneText(true, 0), QString::fromUtf8("USB：已连接"));
  QCOMPARE(ConnectionPaneText(false, 1), QString("USB:Disconnected"));
  QCOMPARE(ModePaneText(2, 1), QString("Current Mode:Game"));
  QCOMPARE(ModePaneText(1, 0), QString::fromUtf8("当前模式:K歌"));
}

void ControlsTests::modeSlotTexts() {
  QCOMPARE(ModeSlotName(3, 0), QString("AV"));
  QCOMPARE(ModeSlotModeName(0, 0), QString::fromUtf8("电影模式"));
  QCOMPARE(ModeSlotModeName(1, 1), QString("Karaoke Mode"));
  QCOMPARE(ModeSlotQuestionTail(2, 1), QString("Game Mode?"));
  QCOMPARE(ModeSlotQuestionTail(7, 0), QString::fromUtf8("AV模式?"));  // clamped
}

void ControlsTests::controlSides() {
  QCOMPARE(SideOfControlKey(37, 0), CtrlSide::left);
  QCOMPARE(SideOfControlKey(105, 0), CtrlSide::right);
  QCOMPARE(SideOfControlKey(0, kControlLKeysym), CtrlSide::left);
  QCOMPARE(SideOfControlKey(0, kControlRKeysym), CtrlSide::right);
  QCOMPARE(SideOfControlKey(0, 0), CtrlSide::unknown);
}

void ControlsTests::leftCtrlTracking() {
  LeftCtrlTracker tracker;
  // No Control key seen (side unknown): any Ctrl counts.
  QVERIFY(tracker.LeftCtrlHeld(Qt::ControlModifier));
  QVERIFY(!tracker.LeftCtrlHeld(Qt::NoModifier));
  const QKeyEvent rightDown(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, kControlRScanCode,
                            kControlRKeysym, 0);
  const QKeyEvent rightUp(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier, kControlRScanCode,
                          kControlRKeysym, 0);
  const QKeyEvent leftDown(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, kControlLScanCode,
                           kControlLKeysym, 0);
  tracker.OnKeyEvent(rightDown);
  QVERIFY(!tracker.LeftCtrlHeld(Qt::ControlModifier));
  tracker.OnKeyEvent(leftDown);
  QVERIFY(tracker.LeftCtrlHeld(Qt::ControlModifier));
  tracker.OnKeyEvent(rightUp);
  QVERIFY(tracker.LeftCtrlHeld(Qt::ControlModifier));
  // A key without Ctrl clears a release that never arrived.
  QVERIFY(!tracker.LeftCtrlHeld(Qt::NoModifier));
  tracker.OnKeyEvent(rightDown);
  QVERIFY(!tracker.LeftCtrlHeld(Qt::ControlModifier));
}

void ControlsTests::volumeSteps() {
  QCOMPARE(CShortcutFilter::VolumeStep(49, false), 5);
  QCOMPARE(CShortcutFilter::VolumeStep(50, false), 2);
  QCOMPARE(CShortcutFilter::VolumeStep(0, true), 1);
  QCOMPARE(CShortcutFilter::VolumeStep(99, true), 1);
}

void ControlsTests::traceLineFormat() {
  const std::uint8_t report[] = {0x02, 0x09, 0x00, 0xAB, 0x0F};
  QCOMPARE(QString::fromStdString(TraceLine(true, report)), QString("> 02 09 00 AB 0F"));
  QCOMPARE(QString::fromStdString(TraceLine(false, std::span<const std::uint8_t>(report, 2))),
           QString("< 02 09"));
}

void ControlsTests::launchOptions() {
  LaunchOptions plain = ParseLaunchOptions({});
  QVERIFY(plain.ok);
  QVERIFY(!plain.emulator);
  LaunchOptions full = ParseLaunchOptions({"--emulator", "--emulator-model", "Brio", "--emulator-kind", "17",
                                           "--emulator-latency", "3", "--trace", "t.txt", "m2.noveq"});
  QVERIFY(full.ok);
  QVERIFY(full.emulator);
  QCOMPARE(QString::fromStdString(full.emulatorOptions.modelName), QString("Brio"));
  QCOMPARE(int(full.emulatorOptions.kind), 17);
  QCOMPARE(full.emulatorOptions.replyLatencyMs, 3);
  QCOMPARE(full.traceFile, QString("t.txt"));
  QCOMPARE(full.modeFile, QString("m2.noveq"));
  // An emulator option alone means the emulator.
  QVERIFY(ParseLaunchOptions({"--emulator-state", "a.noveq"}).emulator);
  QVERIFY(!ParseLaunchOptions({"--emulator-kind", "300"}).ok);
  QVERIFY(!ParseLaunchOptions({"--emulator-kind"}).ok);
  QVERIFY(!ParseLaunchOptions({"--bogus"}).ok);
  QVERIFY(!ParseLaunchOptions({"a.noveq", "b.noveq"}).ok);
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  ControlsTests tests;
  return QTest::qExec(&tests, argc, argv);
}

#include "controls_tests.moc"
