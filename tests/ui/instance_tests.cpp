// One copy per user: a second start asks the first to restore and raise itself and ends; with no window
// answering it says so.
#include <QProcess>
#include <QtTest>
#include <atomic>
#include <thread>

#include "app/single_instance.h"
#include "ui_harness.h"

class InstanceTests : public QObject {
  Q_OBJECT
 private slots:
  void secondStartRestoresTheFirst();
  void secondProcessActivatesTheFirstAndEnds();
  void runningCopyWithoutWindowIsReported();
  void lockOfAGoneCopyIsTakenOver();
};

void InstanceTests::secondStartRestoresTheFirst() {
  UiHarness rig;
  QCOMPARE(rig.Start(0), CKestrelv13App::StartResult::running);
  SingleInstanceGuard* guard = rig.app().instanceGuard();
  QVERIFY(guard && guard->listening());
  int activations = 0;
  connect(guard, &SingleInstanceGuard::activationRequested, [&] { ++activations; });
  rig.frame().showMinimized();
  QTRY_VERIFY(rig.frame().windowState() & Qt::WindowMinimized);
  // The later start runs its client on another thread while this event loop answers.
  std::atomic<int> answered{-1};
  std::thread second([&answered, path = guard->socketPath()] {
    answered = SingleInstanceGuard::AskRunningInstanceToActivate(path, 3000) ? 1 : 0;
  });
  QTRY_VERIFY(answered.load() != -1);
  second.join();
  QCOMPARE(answered.load(), 1);
  QCOMPARE(activations, 1);
  QVERIFY(!(rig.frame().windowState() & Qt::WindowMinimized));
  QVERIFY(rig.frame().isVisible());
}

void InstanceTests::secondProcessActivatesTheFirstAndEnds() {
  UiHarness rig;
  QCOMPARE(rig.Start(0), CKestrelv13App::StartResult::running);
  int activations = 0;
  connect(rig.app().instanceGuard(), &SingleInstanceGuard::activationRequested, [&] { ++activations; });
  const QString runtime = rig.dir() + "/instance";
  QVERIFY(QFile::setPermissions(runtime,
                                QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
  QProcess second;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("XDG_RUNTIME_DIR", runtime);
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("ASAN_OPTIONS", "detect_leaks=0");
  second.setProcessEnvironment(env);
  second.start(VIREO_EXECUTABLE, {"--emulator"});
  QVERIFY(second.waitForStarted());
  QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 60000);
  QCOMPARE(second.exitStatus(), QProcess::NormalExit);
  QCOMPARE(second.exitCode(), 0);
  QCOMPARE(activations, 1);
}

void InstanceTests::runningCopyWithoutWindowIsReported() {
  QTemporaryDir dir;
  SingleInstanceGuard first(dir.path());
  QCOMPARE(first.Acquire(), SingleInstanceGuard::Outcome::first);  // holds the lock, not listening yet
  SingleInstanceGuard second(dir.path());
  QCOMPARE(second.Acquire(), SingleInstanceGuard::Outcome::noWindow);

  // The application says so, in Chinese, and ends.
  UiHarness rig;
  SingleInstanceGuard holder(rig.dir() + "/instance");
  QCOMPARE(holder.Acquire(), SingleInstanceGuard::Outcome::first);
  QCOMPARE(rig.Start(1), CKestrelv13App::StartResult::endQuietly);
  QCOMPARE(rig.prompts().asked.size(), 1);
  QCOMPARE(rig.prompts().asked[0].text, QString::fromUtf8("已有一个实例在运行，但找不到它的主窗口！"));
  QVERIFY(!rig.app().frame());
}

void InstanceTests::lockOfAGoneCopyIsTakenOver() {
  QTemporaryDir dir;
  {
    QProcess gone;
    gone.start("sleep", {"0.2"});
    QVERIFY(gone.waitForStarted());
    const qint64 pid = gone.processId();
    QVERIFY(gone.waitForFinished());
    QFile lock(dir.path() + "/Calyx V1.0.lock");
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(pid) + "\nvireo\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  }
  SingleInstanceGuard guard(dir.path());
  QCOMPARE(guard.Acquire(), SingleInstanceGuard::Outcome::first);
  QVERIFY(guard.Listen());
  QVERIFY(guard.listening());
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  InstanceTests tests;
  return QTest::qExec(&tests, argc, argv);
}

#include "instance_tests.moc"
