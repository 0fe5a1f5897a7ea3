// The named-field table: every field against the machine's slot table, and its lookup functions.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "model/slot_fields.h"
#include "reference_slots.h"

namespace vireo {
namespace {

TEST(SlotFields, EveryFieldMatchesTheReferenceTable) {
  ASSERT_EQ(SlotFields().size(), test::kReferenceSlots.size());
  for (std::size_t i = 0; i < test::kReferenceSlots.size(); ++i) {
    const auto& ref = test::kReferenceSlots[i];
    const SlotField& f = SlotFields()[i];  // same order: slot order
    SCOPED_TRACE(ref.name);
    EXPECT_EQ(f.name, ref.name);
    EXPECT_EQ(f.firstSlot, ref.slot);
    EXPECT_EQ(f.count, ref.count);
    EXPECT_EQ(f.isFloat, ref.isFloat);
    EXPECT_EQ(f.rule, ref.rule);
    EXPECT_EQ(f.param, ref.param);
    EXPECT_EQ(f.param2, ref.param2);
    EXPECT_EQ(f.wireCount, ref.wireCount);
    if (ref.param != 0) {
      EXPECT_EQ(f.module, ref.module);
    }
    EXPECT_EQ(FindSlotField(ref.name), &f);
  }
  EXPECT_EQ(FindSlotField("nonsense"), nullptr);
  EXPECT_EQ(FindSlotField(""), nullptr);
}

TEST(SlotFields, EverySlotButTheReservedOnesIsCoveredOnce) {
  std::vector<int> owners(216, 0);
  for (const SlotField& f : SlotFields()) {
    for (int i = 0; i < f.count; ++i) {
      ASSERT_GE(f.SlotOf(i), 0);
      ASSERT_LT(f.SlotOf(i), 216);
      ++owners[static_cast<std::size_t>(f.SlotOf(i))];
    }
  }
  for (int s = 0; s < 216; ++s)
    EXPECT_EQ(owners[static_cast<std::size_t>(s)], (s == 6 || s == 14) ? 0 : 1) << s;
  EXPECT_EQ(FindSlotFieldBySlot(6, nullptr), nullptr);
  EXPECT_EQ(FindSlotFieldBySlot(14, nullptr), nullptr);
  EXPECT_EQ(FindSlotFieldBySlot(216, nullptr), nullptr);
  EXPECT_EQ(FindSlotFieldBySlot(-1, nullptr), nullptr);
}

TEST(SlotFields, PrimaryAddressesAreUniqueExceptTheSharedCompressorRecord) {
  std::map<std::pair<int, int>, std::set<std::string_view>> byAddress;
  for (const SlotField& f : SlotFields()) {
    if (f.param == 0) continue;
    for (int i = 0; i < f.count; ++i) byAddress[{f.ModuleOf(i), f.ParamOf(i)}].insert(f.name);
  }
  for (const auto& [address, names] : byAddress) {
    const bool compressor =
        (address.first == 4 && address.second == 14) || (address.first >= 5 && address.second == 27);
    EXPECT_EQ(names.size(), compressor ? 4u : 1u) << address.first << "/" << address.second;
  }
}

TEST(SlotFields, ElementAddresses) {
  const SlotField* delay = FindSlotField("chDelay");
  ASSERT_NE(delay, nullptr);
  EXPECT_TRUE(delay->perChannel());
  EXPECT_EQ(delay->ModuleOf(0), 5);
  EXPECT_EQ(delay->ModuleOf(7), 12);
  EXPECT_EQ(delay->ParamOf(7), 18);
  EXPECT_EQ(delay->SlotOf(2), 155);
  const SlotField* gate = FindSlotField("micNoiseGate");
  ASSERT_NE(gate, nullptr);
  EXPECT_FALSE(gate->perChannel());
  EXPECT_EQ(gate->ModuleOf(3), 1);
  EXPECT_EQ(gate->ParamOf(3), 11);
}

TEST(SlotFields, FindByAddress) {
  struct Case {
    int module, param;
    std::string_view name;
    int element;
  };
  const Case cases[] = {
      {1, 27, "micToChannelA", 0},   {1, 30, "micToChannelA", 3}, {1, 53, "micToChannelB", 3},
      {7, 18, "chDelay", 2},         {12, 25, "chPhase", 7},      {5, 24, "chTrim", 0},
      {1, 33, "shiftOffA", 0},       {1, 54, "shiftFreqB", 0},    {4, 14, "musicCompThreshold", 0},
      {9, 27, "chCompThreshold", 4}, {3, 24, "reverbVolume", 0},  {4, 17, "musicAgcLevel", 0},
      {1, 37, "micBoostOn", 0},      {1, 10, "micNoiseGate", 2},  {4, 15, "musicCompOff", 0}};
  for (const Case& c : cases) {
    int element = -1;
    const SlotField* f = FindSlotFieldByAddress(c.module, c.param, &element);
    ASSERT_NE(f, nullptr) << c.module << "/" << c.param;
    EXPECT_EQ(f->name, c.name);
    EXPECT_EQ(element, c.element) << c.name;
  }
  // Second addresses, addresses without a slot and unknown modules find nothing.
  int element = -1;
  const std::array<int, 13> modules{1, 3, 1, 1, 1, 4, 4, 5, 13, 0, 4, 1, 2};
  const std::array<int, 13> params{57, 11, 60, 32, 55, 10, 34, 29, 18, 18, 0, 0, 99};
  for (std::size_t i = 0; i < modules.size(); ++i) {
    EXPECT_EQ(FindSlotFieldByAddress(modules[i], params[i], &element), nullptr)
        << modules[i] << "/" << params[i];
  }
  EXPECT_EQ(element, -1);
}

TEST(SlotFields, FindBySlot) {
  int element = -1;
  const SlotField* f = FindSlotFieldBySlot(824, &element);
  EXPECT_EQ(f, nullptr);  // a byte offset is not a slot index
  f = FindSlotFieldBySlot(206, &element);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->name, "chTrim");
  EXPECT_EQ(element, 7);
  f = FindSlotFieldBySlot(208, &element);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->name, "micBoostOnCopy");
  EXPECT_EQ(f->rule, WireRule::none);
  EXPECT_EQ(element, 0);
}

}  // namespace
}  // namespace vireo
