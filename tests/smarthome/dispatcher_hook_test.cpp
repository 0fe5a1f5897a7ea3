// The reply dispatcher hands replies 18 and 20, and nothing else, to the smart-home handler.
#include <gtest/gtest.h>

#include <vector>

#include "device/dispatcher.h"
#include "model/report.h"

namespace vireo {
namespace {

TEST(SmartHomeDispatch, OnlyRepliesEighteenAndTwentyReachTheHandler) {
  ParameterStore store;
  ReplyDispatcher dispatcher(store, nullptr);
  std::vector<int> codes;
  dispatcher.SetSmartHomeHandler([&](std::span<const std::uint8_t> r) {
    EXPECT_EQ(r.size(), kReportBytes);  // short replies arrive padded
    codes.push_back(r[1]);
  });
  for (std::uint8_t code : {18, 19, 20, 7, 98, 134}) {
    const std::uint8_t reply[] = {0x01, code, 0};
    dispatcher.DispatchReply(reply);
  }
  EXPECT_EQ(codes, (std::vector<int>{18, 20}));
  dispatcher.SetSmartHomeHandler(nullptr);
  const std::uint8_t reply[] = {0x01, 18, 0};
  dispatcher.DispatchReply(reply);
  EXPECT_EQ(codes.size(), 2u);
}

}  // namespace
}  // namespace vireo
