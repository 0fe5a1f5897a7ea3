// The compressor page's switch and sliders, and `set` reaching them: the seven words of parameter 27.
#include "tuning/compressor_ops.h"
#include "device/virtual_clock.h"
#include "expected_reports.h"
#include "tuning/field_setter.h"

namespace vireo::test {
namespace {

using tuning::CompSlider;

struct Stored {
  float threshold, ratio, attack, release;
};

// threshold, 0, 1 - 1/ratio, 20, 0.05, then the attack and release as 1 - e^(-1 / (48 x ms)).
void ExpectSevenWords(const Report& r, int channel, const Stored& s) {
  ASSERT_EQ((std::vector<int>{r[1], r[3], r[4], r[5]}), (std::vector<int>{9, 5 + channel, 27, 7}));
  EXPECT_EQ(WordFloat(r, 0), s.threshold);
  EXPECT_EQ(WordFloat(r, 1), 0.0f);
  EXPECT_FLOAT_EQ(WordFloat(r, 2), static_cast<float>(1.0 - 1.0 / s.ratio));
  EXPECT_EQ(WordFloat(r, 3), 20.0f);
  EXPECT_EQ(WordFloat(r, 4), 0.05f);
  EXPECT_FLOAT_EQ(WordFloat(r, 5), static_cast<float>(1.0 - std::exp(-1.0 / (48.0 * s.attack))));
  EXPECT_FLOAT_EQ(WordFloat(r, 6), static_cast<float>(1.0 - std::exp(-1.0 / (48.0 * s.release))));
}

class CompressorOpsTest : public ::testing::Test {
 protected:
  CompressorOpsTest() { ResetStoreDefaults(store_); }
  void Put(int c, const Stored& s) {
    store_.SetFloat(slot::chCompThreshold[c], s.threshold);
    store_.SetFloat(slot::chCompRatio[c], s.ratio);
    store_.SetFloat(slot::chCompAttack[c], s.attack);
    store_.SetFloat(slot::chCompRelease[c], s.release);
  }
  Stored Get(int c) const {
    return {store_.Float(slot::chCompThreshold[c]), store_.Float(slot::chCompRatio[c]),
            store_.Float(slot::chCompAttack[c]), store_.Float(slot::chCompRelease[c])};
  }
  ParameterStore store_;
  RecordingSender sender_;
  VirtualClock clock_;
};

struct SliderCase {
  int channel;
  Stored before;
  CompSlider slider;
  int position;
  Stored sent;
};

TEST_F(CompressorOpsTest, ASliderSendsAllFourValuesOfItsChannel) {
  const SliderCase cases[] = {
      {2, {-10, 30, 1, 1000}, CompSlider::threshold, -60, {-60, 30, 1, 1000}},  // the low ends
      {0, {-10, 4, 5, 50}, CompSlider::ratio, 10, {-10, 1, 5, 50}},             // 1.0:1 sends 0.0
      {7, {-10, 4, 5, 50}, CompSlider::ratio, 300, {-10, 30, 5, 50}},           // exactly at the top
      {5, {-10, 4, 5, 50}, CompSlider::ratio, 400, {-10, 30, 5, 50}},           // beyond: held at 30:1
      {1, {-10, 4, 5, 50}, CompSlider::threshold, 3, {0, 4, 5, 50}},
      {3, {-12.5f, 2.5f, 10.7f, 99.9f}, CompSlider::release, 200, {-12.5f, 2.5f, 10, 200}},
      {4, {-12.5f, 2.5f, 10, 99}, CompSlider::attack, 0, {-12.5f, 2.5f, 1, 99}},
  };
  for (const SliderCase& c : cases) {
    SCOPED_TRACE(c.channel);
    Put(c.channel, c.before);
    sender_.paced.clear();
    tuning::MoveCompSlider(store_, sender_, c.channel, c.slider, c.position);
    ASSERT_EQ(sender_.paced.size(), 1u);
    ExpectSevenWords(sender_.paced[0], c.channel, c.sent);
    const Stored now = Get(c.channel);
    EXPECT_EQ((std::vector<float>{now.threshold, now.ratio, now.attack, now.release}),
              (std::vector<float>{c.sent.threshold, c.sent.ratio, c.sent.attack, c.sent.release}));
  }
}

TEST_F(CompressorOpsTest, TheSpecialTimesSendTheirWordsExactly) {
  Put(6, {0, 2, 1, 1000});
  tuning::MoveCompSlider(store_, sender_, 6, CompSlider::ratio, 20);
  ASSERT_EQ(sender_.paced.size(), 1u);
  EXPECT_EQ(sender_.paced[0],
            Param(11, 27, {0, 0, 0x3F000000, 0x41A00000, 0x3D4CCCCD, 0x3CA8E6B3, 0x37AEC2C7}));
}

TEST_F(CompressorOpsTest, AnotherSliderSendsTheStoredTimesAsWholeMilliseconds) {
  // A mode file left 12.9 ms and 250.7 ms; any slider of the channel makes them 12 and 250 before the
  // record goes out: 1 - e^(-1/576) = 0.0017346 is 3A E3 5B AF (12.9 ms would be 3A D3 82 3E), and
  // 1 - e^(-1/12000) = 8.33299e-5 is 38 AE C1 61 (250.7 ms would be 38 AE 44 78).
  const Report expected =
      Param(7, 27, {0xC1A00000, 0, 0x3F400000, 0x41A00000, 0x3D4CCCCD, 0x3AE35BAF, 0x38AEC161});
  const std::pair<CompSlider, int> moves[] = {
      {CompSlider::threshold, -20}, {CompSlider::ratio, 40}, {CompSlider::attack, 12}};
  for (const auto& [slider, position] : moves) {
    SCOPED_TRACE(static_cast<int>(slider));
    Put(2, {-20, 4, 12.9f, 250.7f});
    sender_.paced.clear();
    tuning::MoveCompSlider(store_, sender_, 2, slider, position);
    EXPECT_EQ(sender_.paced, std::vector<Report>{expected});
    EXPECT_EQ(store_.Float(slot::chCompRelease[2]), 250.0f);
  }
}

TEST_F(CompressorOpsTest, TheSwitchSendsItsOffFlag) {
  tuning::SetCompressorOn(store_, sender_, 7, false);
  tuning::SetCompressorOn(store_, sender_, 0, true);
  tuning::SetCompressorOn(store_, sender_, 8, true);  // no such channel
  EXPECT_EQ(sender_.paced, (std::vector<Report>{Param(12, 28, {1}), Param(5, 28, {0})}));
  EXPECT_FALSE(tuning::CompressorOn(store_, 7));
  EXPECT_TRUE(tuning::CompressorOn(store_, 0));
}

struct SetCase {
  const char* name;
  double value;
  Stored sent;
};

TEST_F(CompressorOpsTest, SetMovesTheFieldsSliderToTheNearestStep) {
  const SetCase cases[] = {
      {"chCompThreshold", -70, {-60, 4, 5, 50}}, {"chCompThreshold", -12.4, {-12, 4, 5, 50}},
      {"chCompRatio", 4.26, {-10, 4.3f, 5, 50}}, {"chCompRatio", 0.5, {-10, 1, 5, 50}},
      {"chCompAttack", 100, {-10, 4, 100, 50}},  {"chCompRelease", 1000.4, {-10, 4, 5, 1000}},
  };
  for (const SetCase& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.value));
    Put(3, {-10, 4, 5, 50});
    sender_.paced.clear();
    ASSERT_TRUE(tuning::SetFieldValue(store_, sender_, clock_, c.name, 3, c.value).ok);
    ASSERT_EQ(sender_.paced.size(), 1u);
    ExpectSevenWords(sender_.paced[0], 3, c.sent);
  }
  sender_.paced.clear();
  ASSERT_TRUE(tuning::SetFieldValue(store_, sender_, clock_, "chCompOff", 3, 1).ok);
  EXPECT_EQ(sender_.paced, (std::vector<Report>{Param(8, 28, {1})}));
}

struct PositionCase {
  CompSlider slider;
  float stored;
  int position;
  const char* text;
};

TEST_F(CompressorOpsTest, SlidersStandAtTheTruncatedValueAndShowIt) {
  const PositionCase cases[] = {
      {CompSlider::threshold, -12.7f, -12, "-12dB"}, {CompSlider::threshold, -75, -60, "-60dB"},
      {CompSlider::ratio, 4.35f, 43, "4.3:1"},       {CompSlider::ratio, 0.2f, 10, "1.0:1"},
      {CompSlider::attack, 99.9f, 99, "99ms"},       {CompSlider::release, 1500, 1000, "1000ms"},
  };
  for (const PositionCase& c : cases) {
    SCOPED_TRACE(c.text);
    Put(1, {-10, 4, 5, 50});
    const int s = c.slider == CompSlider::threshold ? slot::chCompThreshold[1]
                  : c.slider == CompSlider::ratio   ? slot::chCompRatio[1]
                  : c.slider == CompSlider::attack  ? slot::chCompAttack[1]
                                                    : slot::chCompRelease[1];
    store_.SetFloat(s, c.stored);
    EXPECT_EQ(tuning::CompSliderPosition(store_, 1, c.slider), c.position);
    EXPECT_EQ(tuning::CompSliderText(c.slider, c.position), c.text);
  }
}

}  // namespace
}  // namespace vireo::test
