// Layout of the smart-home memory: plug records at 28n with UTF-16LE names, scenes at 6524 + 56s.
#include "smarthome/smart_home_memory.h"

#include <gtest/gtest.h>

#include <vector>

namespace vireo::smarthome {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Head(std::span<const std::uint8_t> b, std::size_t n) {
  return {b.begin(), b.begin() + static_cast<std::ptrdiff_t>(n)};
}

TEST(SmartHomeMemory, AddressesOfRecordsAndScenes) {
  EXPECT_EQ(PlugAddress(0), 0);
  EXPECT_EQ(PlugAddress(1), 28);
  EXPECT_EQ(PlugAddress(232), 6496);
  EXPECT_EQ(SceneAddress(0), 6524);
  EXPECT_EQ(SceneAddress(5), 6804);
  EXPECT_EQ(kMemoryBytes, 6860);
}

TEST(SmartHomeMemory, RecordHasTypeThreeZerosAndALittleEndianName) {
  const auto lamp = EncodePlugRecord({1, u"Lamp"});
  EXPECT_EQ(Head(lamp, 13), (Bytes{1, 0, 0, 0, 0x4C, 0, 0x61, 0, 0x6D, 0, 0x70, 0, 0}));
  const auto chinese = EncodePlugRecord({2, u"开关"});  // U+5F00 U+5173
  EXPECT_EQ(Head(chinese, 9), (Bytes{2, 0, 0, 0, 0x00, 0x5F, 0x73, 0x51, 0}));
}

TEST(SmartHomeMemory, NameIsCutAtTwelveCharacters) {
  const auto bytes = EncodePlugRecord({1, u"ABCDEFGHIJKLM"});
  EXPECT_EQ(bytes[26], 'L');
  EXPECT_EQ(bytes[27], 0);
  EXPECT_EQ(DecodePlugRecord(bytes).name, u"ABCDEFGHIJKL");
}

TEST(SmartHomeMemory, RecordDecodesWhatEncodes) {
  const PlugRecord records[] = {{1, u"Lamp"}, {2, u"调压1"}, {2, u"ABCDEFGHIJKL"}, {0, u""}};
  for (const PlugRecord& r : records) EXPECT_EQ(DecodePlugRecord(EncodePlugRecord(r)), r);
}

TEST(SmartHomeMemory, SceneEndsAtTheFirstZeroNode) {
  const SceneStep steps[] = {{2, 99}, {240, 5}, {0, 7}, {3, 1}};
  const auto bytes = EncodeScene(steps);
  EXPECT_EQ(Head(bytes, 6), (Bytes{2, 99, 240, 5, 0, 0}));
  EXPECT_EQ(bytes[6], 0);
  EXPECT_EQ(DecodeScene(bytes), (std::vector<SceneStep>{{2, 99}, {240, 5}}));
}

TEST(SmartHomeMemory, SceneKeepsTwentyEightStepsAtMost) {
  const std::vector<SceneStep> steps(29, SceneStep{2, 99});
  EXPECT_EQ(DecodeScene(EncodeScene(steps)).size(), 28u);
}

struct ReplyCase {
  int address;
  bool stored;
  int plug;   // record expected filled, or -1
  int scene;  // scene expected filled, or -1
};

TEST(SmartHomeMemory, ReplyGoesToTheRecordThatContainsItsAddress) {
  const ReplyCase cases[] = {
      {30, true, 1, -1},      // inside record 1 (28..55)
      {28, true, 1, -1},      // its first byte
      {6523, true, 232, -1},  // the last byte of the plug table
      {6524, true, -1, 0},    // the first scene
      {6639, true, -1, 2},    // 6524 + 112 + 3
      {6859, true, -1, 5},    // the last byte of the memory
      {6860, false, -1, -1},  // beyond
  };
  const std::uint8_t data[56] = {2, 0, 0, 0, 0x41, 0, 0x62, 0};
  for (const ReplyCase& c : cases) {
    SmartHomeMemory memory;
    EXPECT_EQ(memory.ApplyReply(c.address, data), c.stored) << c.address;
    if (c.plug >= 0) {
      EXPECT_EQ(memory.plug(c.plug), (PlugRecord{2, u"Ab"})) << c.address;
    }
    if (c.scene >= 0) {
      EXPECT_EQ(memory.scene(c.scene), (std::vector<SceneStep>{{2, 0}})) << c.address;
    }
  }
}

TEST(SmartHomeMemory, ReplyNeverSpillsIntoTheNextRecord) {
  SmartHomeMemory memory;
  const std::vector<std::uint8_t> data(56, 0x41);
  memory.ApplyReply(28, data);
  EXPECT_EQ(memory.plug(2), PlugRecord{});
}

TEST(SmartHomeMemory, SceneNamesInBothLanguages) {
  EXPECT_EQ(SceneName(0, 0), u"电视");
  EXPECT_EQ(SceneName(2, 1), u"Karaoke");
  EXPECT_EQ(SceneName(5, 1), u"PowerOFF");
  EXPECT_EQ(SceneName(6, 1), u"");
}

}  // namespace
}  // namespace vireo::smarthome
