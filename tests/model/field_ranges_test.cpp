// Values out of their controls' ranges in a mode file load at the nearest limit, and are named.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "model/band.h"
#include "model/field_ranges.h"
#include "model/mode_file.h"

namespace vireo::test {
namespace {

std::vector<std::string> Names(const std::vector<ClampedValue>& values) {
  std::vector<std::string> names;
  for (const ClampedValue& v : values) names.push_back(v.Name());
  return names;
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

std::uint32_t Bits(float f) {
  std::uint32_t b;
  std::memcpy(&b, &f, 4);
  return b;
}

// A version-8 file of zeros with the given slot words (little-endian at 4 + 4 * slot).
struct FileImage {
  std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(2175, 0);
  FileImage() { bytes[0] = 8; }
  void Slot(int slot, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[4 + 4 * slot + i] = static_cast<std::uint8_t>(v >> (8 * i));
  }
};

struct SlotCase {
  const char* name;
  int slot;
  std::uint32_t in;
  std::uint32_t out;
};

class FieldRangeLoad : public ::testing::TestWithParam<SlotCase> {};

TEST_P(FieldRangeLoad, SlotLoadsAtTheNearestLimit) {
  const SlotCase c = GetParam();
  FileImage file;
  file.Slot(c.slot, c.in);
  ParameterStore store;
  ResetStoreDefaults(store);
  const ModeFileResult r = ParseModeFile(file.bytes, store);
  ASSERT_TRUE(r.ok) << r.reason;
  EXPECT_EQ(store.Bits(c.slot), c.out) << c.name;
  const bool changed = c.in != c.out;
  const auto names = Names(r.clamped);
  EXPECT_EQ(std::find(names.begin(), names.end(), c.name) != names.end(), changed) << c.name;
}

// Slots: micVolume 0, shiftFreqA 7, echoTimeA 32, echoDecayA 34, reverbTimeA 46, musicVolume 53,
// musicPitch 62, chCompRatio[7] 136, chDelay[0] 153, chType[2] 99, musicLowDelay 209.
INSTANTIATE_TEST_SUITE_P(
    Slots, FieldRangeLoad,
    ::testing::Values(
        SlotCase{"micVolume", 0, 99, 99}, SlotCase{"micVolume", 0, 100, 99},
        SlotCase{"micVolume", 0, static_cast<std::uint32_t>(kMax), 99},
        SlotCase{"micVolume", 0, static_cast<std::uint32_t>(kMin), 0},
        SlotCase{"musicVolume", 53, 1000000, 99}, SlotCase{"shiftFreqA", 7, 9, 8},
        SlotCase{"musicPitch", 62, static_cast<std::uint32_t>(kMax), 5},
        SlotCase{"musicPitch", 62, static_cast<std::uint32_t>(-6), static_cast<std::uint32_t>(-5)},
        SlotCase{"musicPitch", 62, static_cast<std::uint32_t>(-5), static_cast<std::uint32_t>(-5)},
        SlotCase{"echoDecayA", 34, 91, 90}, SlotCase{"echoDecayA", 34, 19, 20},
        SlotCase{"chType[2]", 99, 8, 7}, SlotCase{"musicLowDelay", 209, 21, 20},
        SlotCase{"echoTimeA", 32, Bits(260.0f), Bits(260.0f)},
        SlotCase{"echoTimeA", 32, Bits(260.5f), Bits(260.0f)},
        SlotCase{"echoTimeA", 32, Bits(kNaN), Bits(2.0f)},
        SlotCase{"reverbTimeA", 46, Bits(100.5f), Bits(100.0f)},
        SlotCase{"reverbTimeA", 46, Bits(-kInf), Bits(0.0f)},
        SlotCase{"chCompRatio[7]", 136, Bits(kInf), Bits(30.0f)},
        SlotCase{"chDelay[0]", 153, Bits(1.4f), Bits(1.5f)},
        SlotCase{"chDelay[0]", 153, Bits(100.0f), Bits(100.0f)},
        SlotCase{"chDelay[0]", 153, Bits(-kInf), Bits(1.5f)}));

TEST(FieldRangeLoad, BandRecordsGainsAndBoostLoadInRange) {
  FileImage file;
  // Microphone band 0: gain code 0xFFFF, 0 Hz, Q code 0, type 200; band 1 stays blank.
  const std::uint8_t band0[7] = {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 200};
  std::memcpy(&file.bytes[868], band0, 7);
  // Channel 3's location gain NaN (big-endian 7F C0 00 00), the boost +inf (7F 80).
  const std::uint8_t nan[4] = {0x7F, 0xC0, 0, 0};
  std::memcpy(&file.bytes[2121 + 12], nan, 4);
  file.bytes[2173] = 0x7F;
  file.bytes[2174] = 0x80;
  ParameterStore store;
  ResetStoreDefaults(store);
  const ModeFileResult r = ParseModeFile(file.bytes, store);
  ASSERT_TRUE(r.ok);
  std::array<std::uint8_t, 14> bands{};
  store.ReadBytes(Region::dspBlock, 0, bands);
  // 300 = +15 dB, 20 Hz = 00 14, Q 0.1 = 00 64, not a filter; then the blank band.
  EXPECT_THAT(bands, ::testing::ElementsAre(0x01, 0x2C, 0x00, 0x14, 0x00, 0x64, 0, 0, 0, 0, 0, 0, 0, 0));
  std::array<std::uint8_t, 4> gain{};
  store.ReadBytes(Region::chLocationGain, 12, gain);
  EXPECT_THAT(gain, ::testing::ElementsAre(0xC2, 0x20, 0x00, 0x00));  // -40 dB
  EXPECT_EQ(store.Byte(Region::micBoostLevel, 0), 0x00);              // 0 dB
  EXPECT_EQ(store.Byte(Region::micBoostLevel, 1), 0x00);
  EXPECT_THAT(Names(r.clamped), ::testing::IsSupersetOf({"band 0", "chLocationGain[3]", "micBoostLevel"}));
}

TEST(FieldRangeStore, MasterVolumesStopAtTheMachineMaximumOnceReported) {
  ParameterStore store;
  ResetStoreDefaults(store);
  ClampStoreToRanges(store);  // the blank store's compressors and echo decays are below their ranges
  store.SetInt(slot::micVolume, 80);
  store.SetInt(slot::musicVolume, 80);
  EXPECT_TRUE(ClampStoreToRanges(store).empty());  // maxima 0: not reported yet, no limit
  store.SetByte(Region::machineSettings, 5, 60);
  store.SetByte(Region::machineSettings, 6, 80);
  EXPECT_THAT(Names(ClampStoreToRanges(store)), ::testing::ElementsAre("micVolume"));
  EXPECT_EQ(store.Int(slot::micVolume), 60);
  EXPECT_EQ(store.Int(slot::musicVolume), 80);
}

}  // namespace
}  // namespace vireo::test
