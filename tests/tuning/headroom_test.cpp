#include "tuning/headroom.h"

#include <gtest/gtest.h>

#include <vector>

#include "../common/recording_sender.h"
#include "tuning/eq_operations.h"

namespace vireo::tuning {
namespace {

using dsp::BandShape;

BandShape Peak(double gain, double frequency) {
  return {1, gain, frequency, 1.41};
}

TEST(HeadroomTest, ChannelPathIsMusicThenChannelLeavingBypassedEqualisersOut) {
  ParameterStore store;
  ResetStoreDefaults(store);
  EXPECT_FALSE(ChannelHeadroom(store, 0).atRisk());
  test::RecordingSender sender;
  WriteEqBand(store, sender, 6, 3, Peak(6, 1000));      // music
  WriteEqBand(store, sender, 7 + 2, 4, Peak(4, 1000));  // channel 3
  EXPECT_NEAR(ChannelHeadroom(store, 2).boostDb, 10.0, 0.1);
  EXPECT_NEAR(ChannelHeadroom(store, 0).boostDb, 6.0, 0.05);
  SetEqBypass(store, sender, 7 + 2, true);
  EXPECT_NEAR(ChannelHeadroom(store, 2).boostDb, 6.0, 0.05);
  SetEqBypass(store, sender, 6, true);
  EXPECT_FALSE(ChannelHeadroom(store, 2).atRisk());
  EXPECT_FALSE(ChannelHeadroom(store, 8).atRisk());
  EXPECT_FALSE(ChannelHeadroom(store, -1).atRisk());
}

TEST(HeadroomTest, TextInBothLanguages) {
  EXPECT_EQ(HeadroomText({4.2, 63.0}, 1), "+4.2 dB at 63 Hz: risk of clipping");
  EXPECT_EQ(HeadroomText({4.2, 63.0}, 0), "+4.2 dB @ 63 Hz：有削波风险");
  // The unit changes where the rounded hertz would read 1000.
  EXPECT_EQ(HeadroomText({0.95, 999.4}, 1), "+0.9 dB at 999 Hz: risk of clipping");
  EXPECT_EQ(HeadroomText({10.0, 999.5}, 1), "+10.0 dB at 1.0 kHz: risk of clipping");
  EXPECT_EQ(HeadroomText({3.0, 12345.0}, 1), "+3.0 dB at 12.3 kHz: risk of clipping");
}

}  // namespace
}  // namespace vireo::tuning
