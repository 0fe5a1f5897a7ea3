// The reply dispatcher: turns every report the machine sends into store updates and front-end events.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>

#include "device/events.h"
#include "model/parameter_store.h"

namespace vireo {

// Runs on the read thread. Input of any length is read as if zero-padded to 61 bytes; nothing outside
// the input or outside a store region is ever touched.
class ReplyDispatcher {
 public:
  // `events` may be null (tests, the command-line tool): then no event is delivered.
  ReplyDispatcher(ParameterStore& store, EventSink* events);

  void DispatchReply(std::span<const std::uint8_t> report);

  // Whether a parameter error reply has been reported (once per dispatcher).
  bool parameterErrorShown() const { return parameterErrorShown_.load(std::memory_order_relaxed); }

  // Replies 18 (Z-Wave frames) and 20 (smart-home memory) are handed on to the smart-home layer, on the
  // read thread. Once this returns, the previous handler is not running and is never called again.
  using SmartHomeHandler = std::function<void(std::span<const std::uint8_t> report)>;
  void SetSmartHomeHandler(SmartHomeHandler handler);

 private:
  void OnParamReply(const std::uint8_t* b);
  void OnBlockReply(const std::uint8_t* b);
  void OnModeNameReply(const std::uint8_t* b);
  void OnKeyLearned(const std::uint8_t* b);

  ParameterStore& store_;
  EventSink* events_;
  std::atomic<bool> parameterErrorShown_{false};
  std::mutex smartHomeLock_;  // held while the handler runs
  SmartHomeHandler smartHome_;
};

}  // namespace vireo
