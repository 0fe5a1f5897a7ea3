// A mode file holding the extremes of every word still restores in bounded time, with every value on
// the wire inside its control's range.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <vector>

#include "../common/wire_range_check.h"
#include "model/mode_file.h"
#include "report_recorder.h"

namespace vireo::test {
namespace {

// Every word of every region of a version-8 file set to one pattern (INT_MIN, INT_MAX, NaN, +-inf),
// the band records and the boost included.
std::vector<std::uint8_t> ExtremeFile(std::uint32_t pattern) {
  std::vector<std::uint8_t> bytes(2175);
  for (std::size_t at = 4; at + 4 <= bytes.size(); at += 4) {
    for (int i = 0; i < 4; ++i)
      bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(pattern >> (8 * i));
  }
  bytes[2173] = static_cast<std::uint8_t>(pattern >> 24);
  bytes[2174] = static_cast<std::uint8_t>(pattern >> 16);
  std::memset(bytes.data(), 0, 4);
  bytes[0] = 8;
  return bytes;
}

struct ExtremeCase {
  std::uint32_t pattern;
  std::uint8_t volumeSaveMode;
};

class WriteAllRanges : public ::testing::TestWithParam<ExtremeCase> {};

TEST_P(WriteAllRanges, ExtremeFileGoesOutInRangeAndEnds) {
  ParameterStore store;
  ResetStoreDefaults(store);
  store.SetByte(Region::machineSettings, 0, GetParam().volumeSaveMode);
  ASSERT_TRUE(ParseModeFile(ExtremeFile(GetParam().pattern), store).ok);
  RecordingSender sender;
  PauseRecorder pauses;
  ASSERT_TRUE(RunWriteAllSequence(store, sender, pauses.Fn()));

  // 440 reports, plus in mode 1 the two silencing writes and ramps of at most 20 and 30 steps.
  EXPECT_LE(sender.paced.size(), 440u + 2u + 20u + 30u);
  WireRangeCheck check;
  for (const Report& r : sender.paced) check.Check(r);
  EXPECT_TRUE(check.problems.empty()) << check.problems.size() << " values, first " << check.problems.front();
  // The pitch leaves as an integer 0..10.
  for (const Report& r : sender.paced) {
    if (r[1] == 9 && r[3] == 4 && r[4] == 21) {
      EXPECT_LE(ValueAt(r, 0), 10u);
    }
  }
}

constexpr std::uint32_t kIntMin = 0x80000000u;
constexpr std::uint32_t kIntMax = 0x7FFFFFFFu;
constexpr std::uint32_t kNaN = 0x7FC00000u;
constexpr std::uint32_t kPlusInf = 0x7F800000u;
constexpr std::uint32_t kMinusInf = 0xFF800000u;

INSTANTIATE_TEST_SUITE_P(Patterns, WriteAllRanges,
                         ::testing::Values(ExtremeCase{kIntMin, 0}, ExtremeCase{kIntMin, 1},
                                           ExtremeCase{kIntMax, 0}, ExtremeCase{kIntMax, 1},
                                           ExtremeCase{kNaN, 1}, ExtremeCase{kPlusInf, 1},
                                           ExtremeCase{kMinusInf, 1}));

TEST(WriteAllRanges, HugeVolumesRampOnlyToTheTopOfTheSlider) {
  ParameterStore store;
  ResetStoreDefaults(store);
  store.SetByte(Region::machineSettings, 0, 1);
  store.SetInt(slot::micVolume, 1000000);
  store.SetInt(slot::musicVolume, std::numeric_limits<std::int32_t>::max());
  RecordingSender sender;
  PauseRecorder pauses;
  ASSERT_TRUE(RunWriteAllSequence(store, sender, pauses.Fn()));
  std::vector<std::uint32_t> mic;
  std::vector<std::uint32_t> music;
  for (const Report& r : sender.paced) {
    if (r[1] == 9 && r[3] == 1 && r[4] == 14) mic.push_back(ValueAt(r, 0));
    if (r[1] == 9 && r[3] == 4 && r[4] == 12) music.push_back(ValueAt(r, 0));
  }
  // Silenced (0.0), then 80..99 and 70..99; the last is 0.99 + 0.0005 = 0.9905 (3F 7D 91 69).
  ASSERT_EQ(mic.size(), 1u + 20u);
  ASSERT_EQ(music.size(), 1u + 30u);
  EXPECT_EQ(mic.back(), 0x3F7D9169u);
  EXPECT_EQ(music.back(), 0x3F7D9169u);
  EXPECT_EQ(store.Int(slot::micVolume), 99);
}

}  // namespace
}  // namespace vireo::test
