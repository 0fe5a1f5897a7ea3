// Device events onto the GUI thread: posts are queued, 1001 waits for its handling, and shut-down never
// leaves a device thread waiting.
#include <QThread>
#include <QtTest>
#include <atomic>
#include <thread>

#include "app/qt_event_sink.h"
#include "ui_harness.h"

class EventSinkTests : public QObject {
  Q_OBJECT
 private slots:
  void postsArriveQueuedOnTheGuiThread();
  void sendWaitsUntilHandled();
  void sendOnTheGuiThreadRunsAtOnce();
  void shutDownReleasesAWaitingSend();
  void nothingIsDeliveredAfterShutDown();
};

namespace {
struct Delivery {
  int message;
  std::intptr_t a;
  std::intptr_t b;
  bool onGuiThread;
};
}  // namespace

void EventSinkTests::postsArriveQueuedOnTheGuiThread() {
  QObject context;
  QList<Delivery> delivered;
  QtEventSink sink(&context, [&](int m, std::intptr_t a, std::intptr_t b) {
    delivered.append({m, a, b, QThread::currentThread() == qApp->thread()});
  });
  std::thread worker([&sink] {
    sink.Post(1002, 0, 0);
    sink.Post(3025, 7, 9);
  });
  worker.join();
  QVERIFY(delivered.isEmpty());  // queued: nothing before the event loop runs
  QTRY_COMPARE(delivered.size(), 2);
  QCOMPARE(delivered[0].message, 1002);
  QCOMPARE(delivered[1].a, std::intptr_t(7));
  QCOMPARE(delivered[1].b, std::intptr_t(9));
  QVERIFY(delivered[0].onGuiThread && delivered[1].onGuiThread);
}

void EventSinkTests::sendWaitsUntilHandled() {
  QObject context;
  std::atomic<int> handled{0};
  QtEventSink sink(&context, [&](int, std::intptr_t a, std::intptr_t) { handled = static_cast<int>(a); });
  std::atomic<bool> returned{false};
  std::thread reader([&] {
    sink.Send(1001, 0x45, 0);
    returned = true;
  });
  QThread::msleep(50);  // the GUI thread runs no events meanwhile
  const bool returnedEarly = returned;
  const int handledEarly = handled;
  QTRY_VERIFY(returned.load());
  reader.join();
  QVERIFY(!returnedEarly);
  QCOMPARE(handledEarly, 0);
  QCOMPARE(handled.load(), 0x45);
}

void EventSinkTests::sendOnTheGuiThreadRunsAtOnce() {
  QObject context;
  int handled = 0;
  QtEventSink sink(&context, [&](int, std::intptr_t, std::intptr_t) { ++handled; });
  sink.Send(1001, 1, 0);
  QCOMPARE(handled, 1);
}

void EventSinkTests::shutDownReleasesAWaitingSend() {
  QObject context;
  int handled = 0;
  QtEventSink sink(&context, [&](int, std::intptr_t, std::intptr_t) { ++handled; });
  std::atomic<bool> returned{false};
  std::thread reader([&] {
    sink.Send(1001, 3, 0);
    returned = true;
  });
  // The GUI thread is busy closing and never runs its loop; shutting down must free the reader.
  QThread::msleep(50);
  const bool returnedEarly = returned;
  sink.ShutDown();
  reader.join();
  QVERIFY(!returnedEarly);
  QVERIFY(returned);
  QCoreApplication::processEvents();
  QCOMPARE(handled, 0);
}

void EventSinkTests::nothingIsDeliveredAfterShutDown() {
  QObject context;
  int handled = 0;
  QtEventSink sink(&context, [&](int, std::intptr_t, std::intptr_t) { ++handled; });
  sink.Post(1002, 0, 0);
  sink.ShutDown();
  sink.Post(1002, 1, 0);
  std::thread reader([&sink] { sink.Send(1001, 1, 0); });  // returns at once
  reader.join();
  QTest::qWait(20);
  QCOMPARE(handled, 0);  // even the post queued before the shut-down is dropped
  QVERIFY(sink.shutDown());
}

int main(int argc, char** argv) {
  PrepareUiTestEnvironment();
  QApplication app(argc, argv);
  EventSinkTests tests;
  return QTest::qExec(&tests, argc, argv);
}

#include "event_sink_tests.moc"
