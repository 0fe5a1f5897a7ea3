// Device events onto the GUI thread: queued posts, and the synchronous 1001 that can never deadlock
// against shut-down.
#pragma once

#include <QObject>
#include <QThread>
#include <condition_variable>
#include <functional>
#include <mutex>

#include "device/events.h"

class QtEventSink final : public vireo::EventSink {
 public:
  using Handler = std::function<void(int message, std::intptr_t a, std::intptr_t b)>;

  // Events are handled by `handler` on the thread of `context` (the GUI thread). `context` must stay
  // alive until ShutDown() has returned.
  QtEventSink(QObject* context, Handler handler);
  ~QtEventSink() override;

  void Post(int message, std::intptr_t a, std::intptr_t b) override;
  // Returns once the GUI thread has handled the event, or at once after ShutDown().
  void Send(int message, std::intptr_t a, std::intptr_t b) override;
  // From now on nothing is delivered and every waiting Send returns; called before the device threads
  // are joined.
  void ShutDown();
  bool shutDown() const;

 private:
  struct State {
    std::mutex lock;
    std::condition_variable cv;
    bool shutDown = false;
  };
  bool Deliver(int message, std::intptr_t a, std::intptr_t b, std::function<void()> after);

  QObject* context_;  // outlives every delivery: the owner calls ShutDown() before destroying it
  QThread* contextThread_;
  Handler handler_;
  std::shared_ptr<State> state_;
};
