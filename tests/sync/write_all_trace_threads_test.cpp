// The write-all as the machine receives it: every report of all 21 steps, compared with a list written
// out step by step from the machine's documentation, and the values the store keeps afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "device/sync.h"
#include "distinct_store.h"
#include "machine_rig.h"
#include "model/band.h"
#include "model/location.h"
#include "model/wire_rules.h"
#include "report_recorder.h"

namespace vireo::test {
namespace {

// A store that needs every adjustment the write-all makes: delays below their minimum, fractional
// times, a shift whose off flag disagrees with its frequency, a blank shift, routing with both and
// neither side set, a split band outside the table and one inside it.
void FillAwkwardStore(ParameterStore& s, bool volumesByMode, bool musicMuted) {
  FillDistinctStore(s);
  s.setModelName(u"Calyx");
  s.SetByte(Region::machineSettings, 0, volumesByMode ? 1 : 0);
  s.SetInt(slot::musicMute, musicMuted ? 1 : 0);
  s.SetInt(slot::shiftOffA, 1);   // frequency 4 says on
  s.SetInt(slot::shiftFreqB, 0);  // blank: off
  s.SetInt(slot::shiftOffB, 0);
  s.SetFloat(slot::reverbTimeA, 7.6f);
  s.SetFloat(slot::reverbTimeB, 12.2f);
  s.SetFloat(slot::echoTimeA, 1.3f);
  s.SetFloat(slot::echoTimeB, 150.9f);
  s.SetFloat(slot::echoPredelayA, 0.5f);
  s.SetFloat(slot::reverbPredelayB, 1.0f);
  s.SetFloat(slot::chDelay[3], 0.2f);
  s.SetInt(slot::micToChannelA[2], 5);
  s.SetInt(slot::micToChannelB[2], 100);
  s.SetInt(slot::micToChannelA[3], 0);
  s.SetInt(slot::micToChannelB[3], 0);
  const auto at800 = EncodeBandRecord({0.0f, 800, 0.707f, 1});  // split index 3
  s.WriteBytes(Region::dspBlock, static_cast<std::size_t>(EqBandAddress(5, 13)), at800);
  const auto at777 = EncodeBandRecord({0.0f, 777, 0.707f, 1});  // not in the table: index 0
  s.WriteBytes(Region::dspBlock, static_cast<std::size_t>(EqBandAddress(7, 13)), at777);
  s.SetInt(slot::chDelayMode[0], 0);
  s.SetInt(slot::chDelayMode[2], 1);
}

std::uint32_t Samples(float ms, float minimum) {
  const double raised = ms < minimum ? minimum : ms;
  return static_cast<std::uint32_t>(static_cast<std::int32_t>(raised * 48000.0 / 1000.0 + 0.5));
}

// The documented write-all of store `s`, written out without the code under test.
class ExpectedWriteAll {
 public:
  explicit ExpectedWriteAll(const ParameterStore& s) : s_(s) { s.ReadBytes(Region::dspBlock, 0, dsp_); }

  std::vector<Report> Build() {
    const bool byMode = s_.Byte(Region::machineSettings, 0) == 1;
    if (byMode) {  // step 1
      W(1, 14, FloatBits(0.0f));
      W(4, 12, FloatBits(0.0f));
    }
    for (auto [slotIndex, m, p] : {std::array{slot::micEqBypassA, 1, 26},
                                   {slot::reverbEqBypassA, 3, 7},
                                   {slot::echoEqBypassA, 2, 7},
                                   {slot::micEqBypassB, 1, 49},
                                   {slot::reverbEqBypassB, 3, 19},
                                   {slot::echoEqBypassB, 2, 20},
                                   {slot::musicEqBypass, 4, 11}}) {
      W(m, p, EncodeByte(s_.Int(slotIndex)));  // step 2
    }
    for (int ch = 0; ch < 8; ++ch) Channel(ch);  // step 3
    Compressor(4, 14, slot::musicCompThreshold, slot::musicCompRatio, slot::musicCompAttack,
               slot::musicCompRelease);  // step 4
    W(4, 15, EncodeByte(s_.Int(slot::musicCompOff)));
    W(1, 34, EncodeVol(s_.Int(slot::effectVolume)));  // step 5
    W(1, 57, EncodeVol(s_.Int(slot::effectVolume)));
    W(1, 15, EncodeInv(s_.Int(slot::micMute)));
    if (s_.Int(slot::musicMute) != 0) {  // step 6
      W(4, 13, FloatBits(0.0f));
    } else {
      for (int i = 0; i < 9; ++i) W(4, 13, FloatBits(static_cast<float>(i) / 10.0f));
      W(4, 13, FloatBits(1.0f));
    }
    W(3, 25, EncodeInv(s_.Int(slot::reverbMute)), 2);  // step 7
    W(2, 27, EncodeInv(s_.Int(slot::echoMute)));
    for (int k = 0; k < 4; ++k) {  // step 8
      const bool a = s_.Int(slot::micToChannelA[k]) != 0;
      W(1, 27 + k, FloatBits(a ? 1.0f : 0.0f));
      W(1, 50 + k, FloatBits(a ? 0.0f : 1.0f));
    }
    for (int k = 0; k < 4; ++k) W(1, 4 + k, EncodePct(s_.Int(slot::micInputVolume[k])));  // step 9
    for (int k = 0; k < 4; ++k) W(1, 8 + k, EncodeT4(s_.Int(slot::micNoiseGate[k])));
    W(3, 24, EncodePct(s_.Int(slot::reverbVolume)), 2);  // step 10
    W(2, 26, EncodePct(s_.Int(slot::echoVolume)));
    W(4, 33, EncodeByte(s_.Int(slot::hdmiPort)));  // step 11
    W(4, 23, EncodeByte(s_.Int(slot::musicSource)));
    for (auto [slotIndex, p] :  // step 12
         {std::array{slot::spdifLevel, 24},
          {slot::spareMusicLevel, 25},
          {slot::bluetoothLevel, 30},
          {slot::hdmi1Level, 26},
          {slot::hdmi2Level, 27},
          {slot::hdmi3Level, 28},
          {slot::hdmi4Level, 29},
          {slot::auxLevel, 31},
          {slot::aux2Level, 32}}) {
      W(4, p, EncodePct(s_.Int(slotIndex)));
    }
    Effects(false);                                   // step 13
    Effects(true);                                    // step 14
    W(4, 21, EncodePitch(s_.Int(slot::musicPitch)));  // step 15
    W(4, 16, EncodeByte(s_.Int(slot::musicAgcOn)));
    W(4, 17, s_.Bits(slot::musicAgcLevel));
    W(4, 22, EncodeT4(s_.Int(slot::musicNoiseGate)));
    W(1, 12, EncodeByte(s_.Int(slot::autoSubOn)));
    W(1, 13, EncodePct(s_.Int(slot::autoSubRatio)));
    MicBoost();                                                                // step 16
    W(4, 36, Samples(static_cast<float>(s_.Int(slot::musicLowDelay)), 0.0f));  // step 17
    W(4, 37, EncodePct(s_.Int(slot::musicLowGain)));
    Blocks();                                    // step 18
    for (int group = 1; group <= 13; ++group) {  // step 19
      const int bands = group == 1 ? 20 : group <= 3 ? 14 : group == 4 ? 10 : group <= 12 ? 13 : 1;
      for (int b = 0; b < bands; ++b) Coefficients(group, b, CoefficientParam(group, b));
    }
    if (byMode) Ramps();                   // step 20
    out_.push_back(MakeReadParam(1, 14));  // step 21
    out_.push_back(MakeReadParam(4, 12));
    return out_;
  }

 private:
  void W(int m, int p, std::uint32_t v, int n = 1) { out_.push_back(MakeWriteParamRepeated(m, p, v, n)); }
  template <std::size_t N>
  void Values(int m, int p, const std::array<std::uint32_t, N>& v) {
    out_.push_back(MakeWriteParam(m, p, v));
  }

  static int CoefficientParam(int group, int b) {
    switch (group) {
      case 1:
        return b < 10 ? b + 16 : b + 29;
      case 2:
        return b < 7 ? b : b + 6;
      case 3:
        return b < 7 ? b : b + 5;
      case 13:
        return 10;
      default:
        return b;
    }
  }
  void Coefficients(int group, int band, int param) {
    const BandRecord r = DecodeBandRecord(&dsp_[static_cast<std::size_t>(EqBandAddress(group, band))]);
    Values(group == 13 ? 4 : group, param, BandCoefficientRecord(r.type, r.gain, r.frequency, r.q));
  }
  void Compressor(int m, int p, int t, int r, int a, int l) {
    Values(m, p, CompressorRecord({s_.Float(t), s_.Float(r), s_.Float(a), s_.Float(l)}));
  }

  void Channel(int ch) {
    const int m = ch + 5;
    W(m, 15, EncodeByte(s_.Int(slot::chEqBypass[ch])));
    W(m, 19, EncodeByte(s_.Int(slot::chDelayOff[ch])));
    const bool highFrequency = s_.Int(slot::chDelayMode[ch]) == 0;
    Values(m, 17, std::array{FloatBits(1.0f), FloatBits(highFrequency ? 1.0f : 0.0f)});
    const auto at13 = static_cast<std::size_t>(EqBandAddress(m, 13));
    const int frequency13 = (dsp_[at13 + 2] << 8) | dsp_[at13 + 3];
    int lower = 500;
    for (int i = 0; i < 26; ++i) {
      if (500 + 100 * i == frequency13) lower = frequency13;
    }
    SplitBand(m, 13, {0.0f, lower, 0.707f, static_cast<std::uint8_t>(highFrequency ? 3 : 1)});
    SplitBand(m, 14, {0.0f, lower + 500, 0.707f, static_cast<std::uint8_t>(highFrequency ? 2 : 1)});
    W(m, 18, Samples(s_.Float(slot::chDelay[ch]), 1.5f));
    W(m, 20, EncodePct(s_.Int(slot::chDirectLevel[ch])));
    W(m, 21, EncodePct(s_.Int(slot::chReverbLevel[ch])));
    W(m, 22, EncodePct(s_.Int(slot::chEchoLevel[ch])));
    W(m, 23, EncodePct(s_.Int(slot::chMusicLevel[ch])));
    W(m, 26, EncodeInv(s_.Int(slot::chMute[ch])));
    W(m, 25, EncodePhase(s_.Int(slot::chPhase[ch])));
    W(m, 16, EncodeByte(s_.Int(slot::chType[ch])));
    W(m, 28, EncodeByte(s_.Int(slot::chCompOff[ch])));
    Compressor(m, 27, slot::chCompThreshold[ch], slot::chCompRatio[ch], slot::chCompAttack[ch],
               slot::chCompRelease[ch]);
    std::array<std::uint8_t, 32> gains{};
    s_.ReadBytes(Region::chLocationGain, 0, gains);
    out_.push_back(MakeWriteBlock(1253, gains));
    Values(m, 29,
           GainRecord(BitsFloat(GetBigEndian32(&gains[4 * static_cast<std::size_t>(ch)])),
                      GainVariant::channelGain));
    W(m, 24, EncodePct(s_.Int(slot::chTrim[ch])));
  }
  void SplitBand(int group, int band, const BandRecord& r) {
    const auto bytes = EncodeBandRecord(r);
    const auto at = static_cast<std::size_t>(EqBandAddress(group, band));
    std::copy(bytes.begin(), bytes.end(), dsp_.begin() + static_cast<std::ptrdiff_t>(at));
    out_.push_back(MakeWriteBlock(static_cast<int>(at), bytes));
    Coefficients(group, band, band);
  }

  void Shift(bool b) {
    const int f = std::clamp(s_.Int(b ? slot::shiftFreqB : slot::shiftFreqA), 1, 8);
    const int off = b ? 56 : 33;
    if (f == 1) return W(1, off, 1u);
    W(1, off, 0u);
    W(1, b ? 54 : 31, FloatBits(static_cast<float>(2.0 * std::numbers::pi * f / 48000.0)));
    W(1, b ? 55 : 32, static_cast<std::uint32_t>(ShiftSamples(f)));
  }
  void Effects(bool b) {
    Shift(b);
    W(2, b ? 21 : 8, EncodePct(s_.Int(b ? slot::echoLevelB : slot::echoLevelA)));
    W(3, b ? 20 : 8, EncodePct(s_.Int(b ? slot::reverbLevelB : slot::reverbLevelA)));
    W(3, b ? 21 : 9, Samples(s_.Float(b ? slot::reverbPredelayB : slot::reverbPredelayA), 2.0f));
    const auto time = static_cast<std::int32_t>(s_.Float(b ? slot::reverbTimeB : slot::reverbTimeA));
    W(3, b ? 22 : 10, EncodePct(time));
    W(3, b ? 23 : 11, EncodePct(time));
    W(2, b ? 22 : 9, Samples(s_.Float(b ? slot::echoPredelayB : slot::echoPredelayA), 2.0f));
    W(2, b ? 23 : 10, Samples(std::trunc(s_.Float(b ? slot::echoTimeB : slot::echoTimeA)), 2.0f));
    W(2, b ? 24 : 11, EncodePct(s_.Int(b ? slot::echoStartVolB : slot::echoStartVolA)));
    W(2, b ? 25 : 12, EncodePct(s_.Int(b ? slot::echoDecayB : slot::echoDecayA)));
  }

  void MicBoost() {
    W(1, 37, EncodeInvByte(s_.Int(slot::micBoostOn)));
    W(1, 60, EncodeInvByte(s_.Int(slot::micBoostOn)));
    std::array<std::uint8_t, 4> bits{};
    s_.ReadBytes(Region::micBoostLevel, 0, std::span(bits.data(), 2));
    out_.push_back(MakeWriteBlock(1305, std::span(bits.data(), 2)));
    const float db = BitsFloat(GetBigEndian32(bits.data()));
    const auto record = GainRecord(db, GainVariant::micBoost);
    const auto g = static_cast<float>(std::pow(10.0, db / 20.0));
    Values(1, 61, record);
    W(1, 59, FloatBits(g));
    W(1, 58, FloatBits(1.0f / g));
    Values(1, 38, record);
    W(1, 36, FloatBits(g));
    W(1, 35, FloatBits(1.0f / g));
  }

  void Blocks() {
    for (int i = 0; i < 23; ++i) {
      const auto at = static_cast<std::size_t>(56 * i);
      out_.push_back(MakeWriteBlock(56 * i, std::span(dsp_).subspan(at, i == 22 ? 21 : 56)));
    }
    out_.push_back(MakeWriteBlock(1285, EncodeLocation(s_.geometry())));
    std::array<std::uint8_t, 32> gains{};
    s_.ReadBytes(Region::chLocationGain, 0, gains);
    out_.push_back(MakeWriteBlock(1253, gains));
  }

  void Ramps() {
    const int mic = s_.Int(slot::micVolume);
    for (int v = mic < 80 ? mic : 80; v <= mic; ++v) W(1, 14, EncodeVol(v));
    const int music = s_.Int(slot::musicVolume);
    for (int v = music < 70 ? music : 70; v <= music; ++v) W(4, 12, EncodeVol(v));
  }

  const ParameterStore& s_;
  std::array<std::uint8_t, kDspBlockBytes> dsp_{};
  std::vector<Report> out_;
};

void ExpectSameReports(const std::vector<Report>& got, const std::vector<Report>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    ASSERT_EQ(got[i], want[i]) << "report " << i << ": code " << int{got[i][1]} << " module "
                               << int{got[i][3]} << " param " << int{got[i][4]};
  }
}

void ExpectStoredBack(const ParameterStore& s) {
  EXPECT_EQ(s.Int(slot::shiftFreqA), 4);
  EXPECT_EQ(s.Int(slot::shiftOffA), 0);
  EXPECT_EQ(s.Int(slot::shiftFreqB), 1);
  EXPECT_EQ(s.Int(slot::shiftOffB), 1);
  EXPECT_EQ(s.Float(slot::reverbTimeA), 7.0f);
  EXPECT_EQ(s.Float(slot::reverbTimeB), 12.0f);
  EXPECT_EQ(s.Float(slot::echoTimeA), 2.0f);
  EXPECT_EQ(s.Float(slot::echoTimeB), 150.0f);
  EXPECT_EQ(s.Float(slot::echoPredelayA), 2.0f);
  EXPECT_EQ(s.Float(slot::reverbPredelayB), 2.0f);
  EXPECT_EQ(s.Float(slot::chDelay[3]), 1.5f);
  const std::array<int, 4> channelA{100, 0, 100, 0};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(s.Int(slot::micToChannelA[k]), channelA[static_cast<std::size_t>(k)]) << k;
    EXPECT_EQ(s.Int(slot::micToChannelB[k]), 100 - channelA[static_cast<std::size_t>(k)]) << k;
  }
  EXPECT_EQ(ReadBand(s, 5, 13), (BandRecord{0.0f, 800, 0.707f, 3}));
  EXPECT_EQ(ReadBand(s, 5, 14), (BandRecord{0.0f, 1300, 0.707f, 2}));
  EXPECT_EQ(ReadBand(s, 7, 13), (BandRecord{0.0f, 500, 0.707f, 1}));
  EXPECT_EQ(ReadBand(s, 7, 14), (BandRecord{0.0f, 1000, 0.707f, 1}));
  EXPECT_EQ(s.Int(slot::micBoostOnCopy), s.Int(slot::micBoostOn));
  EXPECT_EQ(s.writeAck(), 0);
}

// A synchronised machine whose store then takes the awkward contents; `before` keeps a copy for the
// expected list.
class WriteAllTraceThreads : public ::testing::Test {
 protected:
  void Prepare(bool volumesByMode, bool musicMuted) {
    ASSERT_EQ(rig_.ConnectAndReadAll(), SyncOutcome::accepted);
    FillAwkwardStore(rig_.store, volumesByMode, musicMuted);
    FillAwkwardStore(before_, volumesByMode, musicMuted);
    rig_.backend.machine().ClearRequests();
  }
  MachineRig rig_;
  ParameterStore before_;
};

TEST_F(WriteAllTraceThreads, ByModeUnmutedWithAPendingSlotReachesTheMachineInDocumentedOrder) {
  Prepare(true, false);
  rig_.connection.setPendingSlot(2);
  const std::int64_t start = rig_.clock.NowMs();

  ASSERT_EQ(rig_.WriteAll(), SyncOutcome::accepted);
  std::vector<Report> want = ExpectedWriteAll(before_).Build();
  // Silence 2, bypasses 7, channels 8 x 20, compressor to fade 17, routing 8, inputs 8, volumes and
  // source 4, levels 9, effects 12 (shift on) + 10 (shift off), music 6, boost 9, low band 2, blocks 25,
  // coefficients 163, ramps 6 + 8, reads 2.
  EXPECT_EQ(want.size(), 458u);
  want.push_back(MakeCommand(code::setMode, {2}));
  want.push_back(MakeCommand(code::storeMode, {2}));
  ExpectSameReports(rig_.Requests(), want);
  ExpectStoredBack(rig_.store);
  EXPECT_EQ(rig_.connection.pendingSlot(), -1);
  EXPECT_EQ(rig_.store.currentMode(), 2);
  // Start pause, fade-in, music ramp 70..77, end pause, the slot's 20 ms and the 150 ms settle.
  EXPECT_GE(rig_.clock.NowMs() - start, 100 + 9 * 30 + 8 * 100 + 50 + 20 + 150);
}

TEST_F(WriteAllTraceThreads, ByPowerMutedLeavesTheVolumesToTheMachine) {
  Prepare(false, true);
  ASSERT_EQ(rig_.WriteAll(), SyncOutcome::accepted);
  ExpectSameReports(rig_.Requests(), ExpectedWriteAll(before_).Build());
  ExpectStoredBack(rig_.store);
}

TEST(WriteAllPauses, FadeStepsThenOneMusicPauseAfterEachRampStepThenTheEnd) {
  ParameterStore store;
  FillAwkwardStore(store, true, false);
  RecordingSender sender;
  PauseRecorder pauses;
  ASSERT_TRUE(RunWriteAllSequence(store, sender, pauses.Fn()));
  std::vector<int> want(9, 30);
  want.insert(want.end(), 8, 100);  // music 70..77; the microphone ramp does not pause
  want.push_back(50);
  EXPECT_EQ(pauses.pauses, want);
}

}  // namespace
}  // namespace vireo::test
