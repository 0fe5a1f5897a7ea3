// The queued event sink.
#include "app/qt_event_sink.h"

#include <QMetaObject>
#include <QThread>

QtEventSink::QtEventSink(QObject* context, Handler handler)
    : context_(context),
      contextThread_(context->thread()),
      handler_(std::move(handler)),
      state_(std::make_shared<State>()) {}

QtEventSink::~QtEventSink() {
  ShutDown();
}

bool QtEventSink::shutDown() const {
  std::lock_guard<std::mutex> guard(state_->lock);
  return state_->shutDown;
}

void QtEventSink::ShutDown() {
  {
    std::lock_guard<std::mutex> guard(state_->lock);
    state_->shutDown = true;
  }
  state_->cv.notify_all();
}

bool QtEventSink::Deliver(int message, std::intptr_t a, std::intptr_t b, std::function<void()> after) {
  // The lambda holds the state, not the sink, so a late delivery after ShutDown() touches nothing freed.
  // Posting under the lock means that once ShutDown() returned no thread is still reaching the context.
  std::shared_ptr<State> state = state_;
  Handler handler = handler_;
  std::lock_guard<std::mutex> guard(state->lock);
  if (state->shutDown) return false;
  return QMetaObject::invokeMethod(
      context_,
      [state, handler, message, a, b, after] {
        bool live = false;
        {
          std::lock_guard<std::mutex> guard(state->lock);
          live = !state->shutDown;
        }
        if (live) handler(message, a, b);
        if (after) after();
      },
      Qt::QueuedConnection);
}

void QtEventSink::Post(int message, std::intptr_t a, std::intptr_t b) {
  Deliver(message, a, b, nullptr);
}

void QtEventSink::Send(int message, std::intptr_t a, std::intptr_t b) {
  if (shutDown()) return;
  if (QThread::currentThread() == contextThread_) {
    handler_(message, a, b);
    return;
  }
  auto done = std::make_shared<bool>(false);
  std::shared_ptr<State> state = state_;
  const bool queued = Deliver(message, a, b, [state, done] {
    {
      std::lock_guard<std::mutex> guard(state->lock);
      *done = true;
    }
    state->cv.notify_all();
  });
  if (!queued) return;
  std::unique_lock<std::mutex> lock(state->lock);
  state->cv.wait(lock, [&] { return *done || state->shutDown; });
}
