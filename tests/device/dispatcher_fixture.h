// A store with a dispatcher and a recorder of its events, shared by the dispatcher test files.
#pragma once

#include <gtest/gtest.h>

#include "../common/recording_events.h"
#include "device/dispatcher.h"
#include "model/parameter_store.h"
#include "model/report.h"

namespace vireo::test {

class DispatcherFixture : public ::testing::Test {
 protected:
  void Dispatch(const Report& r) { dispatcher.DispatchReply(r); }
  ParameterStore store;
  RecordingEvents events;
  ReplyDispatcher dispatcher{store, &events};
};

}  // namespace vireo::test
