// The output channels page's edits: link sets, mute, phase, role, mix levels, the crossover family, the
// link comparison and the copy from one channel of a pair to the other.
#include "tuning/output_ops.h"

#include <algorithm>
#include <functional>

#include "dsp/crossover.h"
#include "dsp/eq_band_set.h"
#include "expected_reports.h"
#include "model/store_layout.h"

namespace vireo::test {
namespace {

class OutputOpsTest : public DspBlockFixture {
 protected:
  const std::vector<Report>& sent() const { return sender_.paced; }
  RecordingSender sender_;
};

// Band b of output channel c (EQ group 5 + c): groups are 105 bytes apart from 406.
int ChannelBandAddress(int channel, int band) {
  return 406 + 105 * channel + 7 * band;
}

TEST(LinkSet, PartnerOnlyWhileThePairIsChecked) {
  struct Case {
    int channel;
    tuning::LinkStates links;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {0, {true, false, false}, {0, 1}}, {1, {true, false, false}, {0, 1}}, {1, {false, true, true}, {1}},
      {3, {false, true, false}, {2, 3}}, {4, {true, true, true}, {4}},      {5, {true, true, true}, {5}},
      {7, {false, false, true}, {6, 7}}, {6, {true, true, false}, {6}},     {8, {true, true, true}, {}},
      {-1, {true, true, true}, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(tuning::LinkSet(c.channel, c.links), c.expected) << c.channel;
}

TEST_F(OutputOpsTest, MutePhaseAndRoleGoToTheirChannelOnly) {
  struct Case {
    std::function<void(ParameterStore&, ReportSender&)> edit;
    int slot;
    std::int32_t stored;
    Report report;
  };
  const Case cases[] = {
      {[](auto& s, auto& r) { tuning::SetChannelMute(s, r, 2, true); }, slot::chMute[2], 1,
       Param(7, 26, {0x00000000})},  // 0.0 while muted
      {[](auto& s, auto& r) { tuning::SetChannelMute(s, r, 2, false); }, slot::chMute[2], 0,
       Param(7, 26, {0x3F800000})},  // 1.0
      {[](auto& s, auto& r) { tuning::SetChannelPhase(s, r, 7, true); }, slot::chPhase[7], 1,
       Param(12, 25, {0xBF800000})},  // -1.0
      {[](auto& s, auto& r) { tuning::SetChannelPhase(s, r, 7, false); }, slot::chPhase[7], 0,
       Param(12, 25, {0x3F800000})},
      {[](auto& s, auto& r) { tuning::SetChannelRole(s, r, 0, 5); }, slot::chType[0], 5,
       Param(5, 16, {0x00000005})},  // an integer
      {[](auto& s, auto& r) { tuning::SetChannelRole(s, r, 4, 9); }, slot::chType[4], 7,
       Param(9, 16, {0x00000007})},  // held at the last role
  };
  for (const Case& c : cases) {
    sender_.paced.clear();
    c.edit(store_, sender_);
    EXPECT_EQ(store_.Int(c.slot), c.stored);
    ASSERT_EQ(sent().size(), 1u);
    EXPECT_EQ(sent()[0], c.report);
  }
}

TEST_F(OutputOpsTest, EchoOfLinkedChannelsThreeAndFourGoesToModulesSevenAndEight) {
  const std::vector<int> set = tuning::LinkSet(3, {false, true, false});
  tuning::SetMixLevel(store_, sender_, set, tuning::MixLevel::echo, 40);
  // 0.4f = 3E CC CC CD
  EXPECT_EQ(sent(), (std::vector<Report>{Param(7, 22, {0x3ECCCCCD}), Param(8, 22, {0x3ECCCCCD})}));
  EXPECT_EQ(store_.Int(slot::chEchoLevel[2]), 40);
  EXPECT_EQ(store_.Int(slot::chEchoLevel[3]), 40);
}

TEST_F(OutputOpsTest, ChannelFiveHasNoPartner) {
  const std::vector<int> set = tuning::LinkSet(4, {true, true, true});
  tuning::SetMixLevel(store_, sender_, set, tuning::MixLevel::direct, 100);
  tuning::SetMixLevel(store_, sender_, set, tuning::MixLevel::music, 150);
  EXPECT_EQ(sent(), (std::vector<Report>{Param(9, 20, {0x3F800000}), Param(9, 23, {0x3F800000})}));
}

TEST_F(OutputOpsTest, BesselEighteenOnAHighPassCrossover) {
  dsp::EqBandSet graph;
  graph.SetIdentity(tuning::ChannelEqIdentity(0));
  graph.SetBandCount(13);
  graph.SetBandType(9, 3);  // HP: gain 0, Q 0.7
  graph.SetBandFrequency(9, 800);
  graph.ApplyCrossoverFamily(9, 5);
  std::array<dsp::BandShape, 4> sections{};
  for (int s = 0; s < 4; ++s) {
    const dsp::EqBand& b = graph.band(9 + s);
    sections[static_cast<std::size_t>(s)] = {b.type, b.gain, b.frequency, b.q};
  }
  const std::vector<int> channel{0};
  tuning::WriteChannelCrossover(store_, sender_, channel, sections);
  // gain 0 -> 00 96, 800 Hz -> 03 20, Q 0.7 -> 02 BC; types 9, 11, 1, 1.
  const Record expected[] = {{0x00, 0x96, 0x03, 0x20, 0x02, 0xBC, 0x09},
                             {0x00, 0x96, 0x03, 0x20, 0x02, 0xBC, 0x0B},
                             {0x00, 0x96, 0x03, 0x20, 0x02, 0xBC, 0x01},
                             {0x00, 0x96, 0x03, 0x20, 0x02, 0xBC, 0x01}};
  ASSERT_EQ(sent().size(), 8u);
  for (int s = 0; s < 4; ++s) {
    EXPECT_EQ(sent()[2 * static_cast<std::size_t>(s)], Block(469 + 7 * s, expected[s])) << s;
    const Report& k = sent()[2 * static_cast<std::size_t>(s) + 1];
    EXPECT_EQ((std::vector<int>{k[3], k[4], k[5]}), (std::vector<int>{5, 9 + s, 5}));
  }
}

TEST(ShownChannelBandType, CodesAboveThirtyOneShowAsOff) {
  const std::pair<int, int> cases[] = {{40, 0}, {32, 0}, {31, 31}, {18, 18}, {1, 1}, {0, 0}, {-1, 0}};
  for (auto [stored, shown] : cases) EXPECT_EQ(tuning::ShownChannelBandType(stored), shown) << stored;
}

TEST(ShownChannelBandType, AnOffBandAddsNothingToTheTotal) {
  dsp::EqBandSet graph;
  graph.SetIdentity(tuning::ChannelEqIdentity(2));
  graph.SetBandCount(13);
  graph.SetBandType(3, 1);
  graph.SetBandGain(3, 12.0);
  const dsp::ResponseArray withPeak = graph.TotalResponse();
  graph.SetBandType(3, tuning::ShownChannelBandType(40));
  const dsp::ResponseArray without = graph.TotalResponse();
  EXPECT_GT(*std::max_element(withPeak.begin(), withPeak.end()), 11.0f);
  EXPECT_NEAR(*std::max_element(without.begin(), without.end()), 0.0f, 1e-4f);
}

// Each compared value changed on channel 1 alone makes the pair differ; mute, phase and role do not.
TEST_F(OutputOpsTest, LinkComparison) {
  ASSERT_FALSE(tuning::ChannelsDiffer(store_, 0, 1));
  struct Case {
    const char* what;
    std::function<void(ParameterStore&)> change;
    bool differs;
  };
  const Case cases[] = {
      {"direct", [](auto& s) { s.SetInt(slot::chDirectLevel[1], 50); }, true},
      {"reverb", [](auto& s) { s.SetInt(slot::chReverbLevel[1], 50); }, true},
      {"echo", [](auto& s) { s.SetInt(slot::chEchoLevel[1], 50); }, true},
      {"music", [](auto& s) { s.SetInt(slot::chMusicLevel[1], 50); }, true},
      {"bypass", [](auto& s) { s.SetInt(slot::chEqBypass[1], 1); }, true},
      {"delay", [](auto& s) { s.SetFloat(slot::chDelay[1], 12.5f); }, true},
      {"threshold", [](auto& s) { s.SetFloat(slot::chCompThreshold[1], -20.0f); }, true},
      {"ratio", [](auto& s) { s.SetFloat(slot::chCompRatio[1], 4.0f); }, true},
      {"attack", [](auto& s) { s.SetFloat(slot::chCompAttack[1], 30.0f); }, true},
      {"release", [](auto& s) { s.SetFloat(slot::chCompRelease[1], 300.0f); }, true},
      {"comp off", [](auto& s) { s.SetInt(slot::chCompOff[1], 1); }, true},
      {"delay off", [](auto& s) { s.SetInt(slot::chDelayOff[1], 1); }, true},
      {"delay mode", [](auto& s) { s.SetInt(slot::chDelayMode[1], 1); }, true},
      {"mute", [](auto& s) { s.SetInt(slot::chMute[1], 1); }, false},
      {"phase", [](auto& s) { s.SetInt(slot::chPhase[1], 1); }, false},
      {"role", [](auto& s) { s.SetInt(slot::chType[1], 3); }, false},
  };
  for (const Case& c : cases) {
    ParameterStore store;
    ResetStoreDefaults(store);
    c.change(store);
    EXPECT_EQ(tuning::ChannelsDiffer(store, 0, 1), c.differs) << c.what;
  }
  // A band record (band 12, the last section) and the split (band 13 at 800 Hz: index 3).
  Put(ChannelBandAddress(1, 12), {0x00, 0x96, 0x3E, 0x80, 0x05, 0x82, 0x02});
  EXPECT_TRUE(tuning::ChannelsDiffer(store_, 0, 1));
  ResetStoreDefaults(store_);
  Put(ChannelBandAddress(1, 13), {0x00, 0x96, 0x03, 0x20, 0x02, 0xC3, 0x03});
  EXPECT_TRUE(tuning::ChannelsDiffer(store_, 0, 1));
}

TEST_F(OutputOpsTest, BothSetChannelTwoCopiesOnlyWhatDiffered) {
  store_.SetInt(slot::chEchoLevel[1], 30);
  store_.SetFloat(slot::chCompRatio[1], 4.0f);
  const Record band3{0x00, 0xB4, 0x03, 0xE8, 0x05, 0x82, 0x01};  // +3 dB, 1000 Hz, Q 1.41, PEQ
  Put(ChannelBandAddress(1, 3), band3);
  tuning::CopyChannelSettings(store_, sender_, 1, 0);

  ASSERT_EQ(sent().size(), 6u);
  EXPECT_EQ(sent()[0], Param(5, 22, {0x3E99999A}));  // 0.3f
  const Report& comp = sent()[1];
  EXPECT_EQ((std::vector<int>{comp[1], comp[3], comp[4], comp[5]}), (std::vector<int>{9, 5, 27, 7}));
  EXPECT_FLOAT_EQ(WordFloat(comp, 2), 0.75f);  // 1 - 1/4
  // Band 4 (slot 3) goes to both channels, channel 1 first, each record then its coefficients.
  EXPECT_EQ(sent()[2], Block(ChannelBandAddress(0, 3), band3));
  ExpectPeaking(sent()[3], 5, 3, 3.0, 1000, 1.41);
  EXPECT_EQ(sent()[4], Block(ChannelBandAddress(1, 3), band3));
  ExpectPeaking(sent()[5], 6, 3, 3.0, 1000, 1.41);

  EXPECT_EQ(store_.Int(slot::chEchoLevel[0]), 30);
  EXPECT_EQ(store_.Float(slot::chCompRatio[0]), 4.0f);
  EXPECT_EQ(At(ChannelBandAddress(0, 3)), band3);
  EXPECT_FALSE(tuning::ChannelsDiffer(store_, 0, 1));
}

TEST_F(OutputOpsTest, CopyOfEqualChannelsSendsNothing) {
  tuning::CopyChannelSettings(store_, sender_, 2, 3);
  EXPECT_TRUE(sent().empty());
}

TEST_F(OutputOpsTest, LinkedBypassFollowsTheChannel) {
  EXPECT_TRUE(tuning::ToggleChannelEqBypass(store_, sender_, 6, true));
  // chEqBypass goes to parameter 15 of each module as an integer.
  EXPECT_EQ(sent(), (std::vector<Report>{Param(11, 15, {1}), Param(12, 15, {1})}));
  sender_.paced.clear();
  store_.SetInt(slot::chEqBypass[6], 0);
  EXPECT_TRUE(tuning::ToggleChannelEqBypass(store_, sender_, 6, true));
  EXPECT_EQ(sent(), (std::vector<Report>{Param(11, 15, {1})}));  // the partner was bypassed already
}

}  // namespace
}  // namespace vireo::test
