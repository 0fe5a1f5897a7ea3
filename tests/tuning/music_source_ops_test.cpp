// The music source dialog's radios and level sliders, and `set` reaching them.
#include "tuning/music_source_ops.h"

#include "device/virtual_clock.h"
#include "expected_reports.h"
#include "tuning/field_setter.h"

namespace vireo::test {
namespace {

using tuning::MusicInput;

class MusicSourceOpsTest : public ::testing::Test {
 protected:
  MusicSourceOpsTest() { ResetStoreDefaults(store_); }
  ParameterStore store_;
  RecordingSender sender_;
  VirtualClock clock_;
};

TEST_F(MusicSourceOpsTest, EachRadioSendsItsSourceAndHdmiSendsThePortFirst) {
  struct Case {
    MusicInput input;
    std::vector<Report> sent;
    int source;
  };
  const Case cases[] = {
      {MusicInput::hdmi3, {Param(4, 33, {2}), Param(4, 23, {2})}, 2},
      {MusicInput::hdmi1, {Param(4, 33, {0}), Param(4, 23, {2})}, 2},
      {MusicInput::spdif, {Param(4, 23, {0})}, 0},
      {MusicInput::bluetooth, {Param(4, 23, {3})}, 3},
      {MusicInput::aux, {Param(4, 23, {4})}, 4},
  };
  for (const Case& c : cases) {
    RecordingSender sender;
    tuning::SelectMusicInput(store_, sender, c.input);
    EXPECT_EQ(sender.paced, c.sent) << static_cast<int>(c.input);
    EXPECT_EQ(store_.Int(slot::musicSource), c.source);
  }
  EXPECT_EQ(store_.Int(slot::hdmiPort), 0);  // AUX leaves the last port alone
}

TEST_F(MusicSourceOpsTest, TheStoredSourcePicksTheRadio) {
  struct Case {
    int source, port;
    bool selected;
    MusicInput input;
  };
  const Case cases[] = {
      {2, 3, true, MusicInput::hdmi4},
      {2, 0, true, MusicInput::hdmi1},
      {0, 3, true, MusicInput::spdif},
      {3, 1, true, MusicInput::bluetooth},
      {4, 1, true, MusicInput::aux},
      {5, 1, false, {}},  // AUX2 has no row
      {1, 1, false, {}},
      {2, 4, false, {}},
  };
  for (const Case& c : cases) {
    store_.SetInt(slot::musicSource, c.source);
    store_.SetInt(slot::hdmiPort, c.port);
    MusicInput input{};
    ASSERT_EQ(tuning::SelectedMusicInput(store_, &input), c.selected) << c.source << ' ' << c.port;
    if (c.selected) {
      EXPECT_EQ(input, c.input);
    }
  }
}

TEST_F(MusicSourceOpsTest, LevelsArePercentagesUpTo127) {
  struct Case {
    MusicInput input;
    int moved, stored, param;
    std::uint32_t word;
  };
  const Case cases[] = {
      {MusicInput::hdmi1, 127, 127, 26, 0x3FA28F5C},  // 1.27
      {MusicInput::hdmi2, 200, 127, 27, 0x3FA28F5C},  // held at the top
      {MusicInput::hdmi4, 50, 50, 29, 0x3F000000},    // 0.5
      {MusicInput::spdif, 100, 100, 24, 0x3F800000},  // 1.0
      {MusicInput::bluetooth, 0, 0, 30, 0},          {MusicInput::aux, -3, 0, 31, 0},
  };
  for (const Case& c : cases) {
    RecordingSender sender;
    EXPECT_EQ(tuning::SetMusicInputLevel(store_, sender, c.input, c.moved), c.stored);
    EXPECT_EQ(store_.Int(tuning::MusicInputRowOf(c.input).levelSlot), c.stored);
    ASSERT_EQ(sender.paced.size(), 1u);
    EXPECT_EQ(sender.paced[0], Param(4, c.param, {c.word}));
  }
  EXPECT_EQ(tuning::MusicLevelText(127), "127%");
}

TEST_F(MusicSourceOpsTest, SetTakesTheRadiosPath) {
  store_.SetInt(slot::hdmiPort, 3);
  ASSERT_TRUE(tuning::SetFieldValue(store_, sender_, clock_, "musicSource", 0, 2).ok);
  ASSERT_TRUE(tuning::SetFieldValue(store_, sender_, clock_, "hdmiPort", 0, 1).ok);
  EXPECT_FALSE(tuning::SetFieldValue(store_, sender_, clock_, "musicSource", 0, 5).ok);
  const std::vector<Report> sent{Param(4, 33, {3}), Param(4, 23, {2}), Param(4, 33, {1}), Param(4, 23, {2})};
  EXPECT_EQ(sender_.paced, sent);
  EXPECT_EQ(store_.Int(slot::musicSource), 2);
  EXPECT_EQ(store_.Int(slot::hdmiPort), 1);
}

}  // namespace
}  // namespace vireo::test
