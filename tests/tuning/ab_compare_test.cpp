#include "tuning/ab_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../common/recording_sender.h"
#include "device/virtual_clock.h"
#include "model/mode_file.h"
#include "model/store_layout.h"

namespace vireo::tuning {
namespace {

std::vector<std::string> Keys(const std::vector<EditValue>& values) {
  std::vector<std::string> keys;
  for (const EditValue& v : values) keys.push_back(TargetKey(v));
  std::sort(keys.begin(), keys.end());
  return keys;
}

// The tuning part of the store as a mode file holds it.
std::vector<std::uint8_t> Image(const ParameterStore& store) {
  return SerializeModeFile(store);
}

TEST(AbCompareTest, SwitchingSendsOnlyWhatDiffersBetweenTheTwoTunings) {
  ParameterStore store;
  ResetStoreDefaults(store);
  VirtualClock clock{{false, 15}};
  test::RecordingSender link;
  AbTunings ab;
  EXPECT_FALSE(ab.started());
  EXPECT_TRUE(ab.Switch(store).empty());  // B starts as a copy of A
  EXPECT_TRUE(ab.started());
  EXPECT_EQ(ab.live(), AbTunings::Slot::b);
  const std::vector<std::uint8_t> tuningA = Image(store);

  // B: a music band lifted, the echo volume raised and channel 3's location correction lowered.
  const std::vector<EditValue> edits{BandValue{6, 3, {1, 6.0, 1000, 1.41}}, FieldValue{"echoVolume", 0, 30},
                                     LocationGainValue{2, -3.0f}};
  ASSERT_TRUE(ApplyValues(store, link, clock, edits).ok);
  const std::vector<std::uint8_t> tuningB = Image(store);
  link.paced.clear();

  const std::vector<EditValue> toA = ab.Switch(store);
  EXPECT_EQ(ab.live(), AbTunings::Slot::a);
  EXPECT_EQ(Keys(toA), (std::vector<std::string>{"band:6:3", "field:echoVolume[0]", "locationGain:2"}));
  const std::vector<EditValue> undo = ReadValues(store, toA);  // what an undo of the switch puts back
  ASSERT_TRUE(ApplyValues(store, link, clock, toA).ok);
  EXPECT_EQ(Image(store), tuningA);
  // The band's record and coefficients, the echo volume, channel 3's gain block and record: no write-all.
  EXPECT_EQ(link.paced.size(), 5u);
  ab.Follow(store);
  EXPECT_EQ(ab.live(), AbTunings::Slot::a);

  ASSERT_TRUE(ApplyValues(store, link, clock, undo).ok);
  EXPECT_EQ(Image(store), tuningB);
  ab.Follow(store);  // the undone switch: B is live again
  EXPECT_EQ(ab.live(), AbTunings::Slot::b);
  EXPECT_EQ(Keys(ab.Switch(store)), Keys(toA));
}

TEST(AbCompareTest, EqualTuningsDifferInNothing) {
  ParameterStore a;
  ParameterStore b;
  ResetStoreDefaults(a);
  ResetStoreDefaults(b);
  EXPECT_TRUE(DifferingValues(a, b).empty());
  b.SetInt(slot::chMute[7], 1);
  const std::vector<EditValue> one = DifferingValues(a, b);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(TargetKey(one[0]), "field:chMute[7]");
}

}  // namespace
}  // namespace vireo::tuning
