// The benchmarks' event sink: the front end's notifications are not part of what they measure.
#pragma once

#include "device/events.h"

namespace vireo {

class QuietEvents final : public EventSink {
 public:
  void Post(int, std::intptr_t, std::intptr_t) override {}
  void Send(int, std::intptr_t, std::intptr_t) override {}
};

}  // namespace vireo
