// Notifications from the device layer to the front end (the window messages of the machine link).
#pragma once

#include <cstdint>

namespace vireo {

namespace event {
inline constexpr int keyLearned = 1001;  // a = learned key code; delivered synchronously
inline constexpr int syncDone = 1002;    // a = 1 after a write-all, 0 after a read-all
inline constexpr int parameterError =
    1003;                                // a = (status << 16) | (module << 8) | param; posted once per run
inline constexpr int zwaveEvent = 3024;  // a = event code, b = event data
inline constexpr int smartHomeRefresh = 3025;
}  // namespace event

class EventSink {
 public:
  virtual ~EventSink() = default;
  // Queued delivery: returns at once; the front end handles it on its own thread.
  virtual void Post(int message, std::intptr_t a, std::intptr_t b) = 0;
  // Synchronous delivery (1001), called on the read thread: returns once handled. It must never wait
  // for a thread that may be inside HidLink::CloseLink (that close waits for the read thread): while the
  // link is closing or the front end shuts down, it returns at once.
  virtual void Send(int message, std::intptr_t a, std::intptr_t b) = 0;
};

}  // namespace vireo
