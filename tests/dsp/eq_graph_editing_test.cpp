// Hit tests, drags, wheel and keys of the EQ graph on a 1000 x 300 px plot (10 px per dB).
#include <gtest/gtest.h>

#include "dsp/eq_graph_editing.h"

namespace vireo::dsp {
namespace {

using Notice = EqKeyResult::Notice;

// Ten standard bands at 0 dB: band 5 (1000 Hz) has its marker at (561.6458, 150).
EqBandSet Bands(int identity = 0, int count = 10) {
  EqBandSet set;
  set.SetIdentity(identity);
  set.SetClientSize(1042, 338);
  set.SetBandCount(10);  // the standard layout, then the count (a channel's 13 keep it)
  set.SetBandCount(count);
  return set;
}

EqBandSet OneBand(int type, float frequency, float gain, float q) {
  EqBandSet set = Bands();
  EqBand& b = set.band(0);
  b.type = type;
  b.frequency = frequency;
  b.gain = gain;
  b.q = q;
  return set;
}

TEST(EqGraphHits, ReachIsStrictlyLessThanTenOrSixteenPixels) {
  EqBandSet set = Bands();
  const double x = set.band(5).markerX;
  EXPECT_EQ(LeftPressHit(set, x + 9.9, 150 - 9.9), 5);
  EXPECT_EQ(LeftPressHit(set, x + 10, 150), -1);
  EXPECT_EQ(RightPressHit(set, x - 15.9, 150 + 15.9), 5);
  EXPECT_EQ(RightPressHit(set, x, 150 + 16), -1);
  EXPECT_EQ(HoverHit(set, x + 15.9, 150), 5);
  EXPECT_EQ(HoverHit(set, x + 16, 150), -1);
}

TEST(EqGraphHits, SwitchedOffBandsAnswerOnlyTheRightPress) {
  EqBandSet set = Bands();
  set.band(5).type = 0;
  const double x = set.band(5).markerX;
  EXPECT_EQ(LeftPressHit(set, x, 150), -1);
  EXPECT_EQ(HoverHit(set, x, 150), -1);
  EXPECT_EQ(RightPressHit(set, x, 150), 5);
}

TEST(EqGraphHits, PressesTakeTheFirstBandHoverTheLast) {
  EqBandSet set = Bands();
  set.SetBandFrequency(4, 1000.0);  // on top of band 5
  EXPECT_EQ(LeftPressHit(set, set.band(5).markerX, 150), 4);
  EXPECT_EQ(RightPressHit(set, set.band(5).markerX, 150), 4);
  EXPECT_EQ(HoverHit(set, set.band(5).markerX, 150), 5);
}

TEST(EqGraphHits, OnlyShownBandsAreHit) {
  EqBandSet channel = Bands(7, 13);
  channel.RecomputeBand(9);  // sections 10..12 sit on the crossover's marker
  EXPECT_EQ(RightPressHit(channel, channel.band(9).markerX, 150), 9);
  EXPECT_EQ(HoverHit(channel, channel.band(9).markerX, 150), 9);
  EqBandSet seven = Bands(2, 7);
  seven.SetBandFrequency(8, 1000.0);
  EXPECT_EQ(HoverHit(seven, seven.band(8).markerX, 150), 5);
}

TEST(EqGraphDrag, FrequencyAndGainFollowThePointerWithinTheLimits) {
  struct Case {
    int type;
    double x, y, grab;
    float frequency, gain;
  };
  for (const Case& c :
       {Case{1, 0, 0, 0, 20, 15}, Case{1, 1000, 300, 0, 20000, -15}, Case{4, -50, 400, 0, 20, -15},
        Case{1, 561.6457695, 160, 5, 1000, -0.5f}, Case{5, 561.6457695, 151, 0, 1000, -0.1f},
        Case{2, 239.7354591, 0, 0, 100, 0}, Case{13, 239.7354591, 300, 0, 100, 0}}) {
    SCOPED_TRACE(c.type);
    EqBandSet set = OneBand(c.type, 500, 0, 1);
    DragBand(set, 0, c.x, c.y, c.grab);
    EXPECT_NEAR(set.band(0).frequency, c.frequency, c.frequency * 1e-6);
    EXPECT_FLOAT_EQ(set.band(0).gain, c.gain);
  }
  EqBandSet narrow = OneBand(1, 500, 0, 1);
  narrow.band(0).minGain = -6;
  narrow.band(0).maxFrequency = 8000;
  DragBand(narrow, 0, 1000, 300, 0);
  EXPECT_EQ(narrow.band(0).frequency, 8000.0f);
  EXPECT_EQ(narrow.band(0).gain, -6.0f);
}

TEST(EqGraphDrag, QMovesTwelveOrEightyPixelsPerUnitWithinTheTypesRange) {
  struct Case {
    int type;
    float q;
    double dx;
    float expected;
  };
  for (const Case& c : {Case{1, 1.41f, 12, 2.41f}, Case{5, 1.0f, 12, 1.15f}, Case{2, 1.9f, 80, 2.0f},
                        Case{1, 29.5f, 12, 30.0f}, Case{12, 1.9f, 12, 2.9f}, Case{1, 1.0f, -1000, 0.1f}}) {
    SCOPED_TRACE(c.type);
    EqBandSet set = OneBand(c.type, 1000, 0, c.q);
    DragBandQ(set, 0, c.dx);
    EXPECT_FLOAT_EQ(set.band(0).q, c.expected);
  }
}

TEST(EqGraphWheel, StepsGainTypesByATenthWithinTheLimits) {
  struct Case {
    int type;
    float gain;
    int delta;
    bool handled;
    float expected;
  };
  for (const Case& c :
       {Case{1, 0, 120, true, 0.1f}, Case{4, 0, -120, true, -0.1f}, Case{1, 15, 120, true, 15},
        Case{5, -15, -1, true, -15}, Case{2, 0, 120, false, 0}, Case{1, 3, 0, false, 3}}) {
    SCOPED_TRACE(c.type);
    EqBandSet set = OneBand(c.type, 1000, c.gain, 1);
    EXPECT_EQ(WheelBand(set, 0, c.delta), c.handled);
    EXPECT_FLOAT_EQ(set.band(0).gain, c.expected);
  }
}

TEST(EqGraphKeys, EditsOfTheSelectedBandEndWithinItsLimits) {
  struct Case {
    int type;
    float frequency, gain, q;
    EqKey key;
    bool fine;
    float expFrequency, expGain, expQ;
  };
  const Case cases[] = {
      {1, 100, 0, 1, EqKey::frequencyUp, false, 102, 0, 1},
      {1, 100.5f, 0, 1, EqKey::frequencyUp, false, 105.5f, 0, 1},
      {1, 1000, 0, 1, EqKey::frequencyDown, false, 995, 0, 1},
      {1, 1000.5f, 0, 1, EqKey::frequencyDown, false, 990.5f, 0, 1},
      {1, 1000, 0, 1, EqKey::frequencyUp, true, 1006, 0, 1},
      {1, 10001, 0, 1, EqKey::frequencyUp, false, 10101, 0, 1},
      {1, 20, 0, 1, EqKey::frequencyDown, true, 20, 0, 1},
      {1, 19950, 0, 1, EqKey::frequencyUp, false, 20000, 0, 1},
      {1, 1000, 14.9f, 1, EqKey::gainUp, false, 1000, 15, 1},
      {4, 1000, 0, 1, EqKey::gainUp, true, 1000, 0.1f, 1},
      {5, 1000, -15, 1, EqKey::gainDown, false, 1000, -15, 1},
      {2, 1000, 0, 1, EqKey::gainUp, false, 1000, 0, 1},
      {1, 1000, 0, 29.95f, EqKey::qUp, false, 1000, 0, 30},
      {1, 1000, 0, 1, EqKey::qUp, true, 1000, 0, 1.01f},
      {1, 1000, 0, 0.15f, EqKey::qDown, false, 1000, 0, 0.1f},
      {4, 1000, 0, 1.95f, EqKey::qUp, false, 1000, 0, 2},
      {12, 1000, 0, 1.95f, EqKey::qUp, false, 1000, 0, 2.05f},
      {2, 1000, 0, 1, EqKey::typeDown, false, 1000, 0, 1.41f},
      {1, 1000, 6, 1, EqKey::typeUp, false, 1000, 0, 0.7f},
      {5, 1000, 6, 1, EqKey::typeUp, false, 1000, 6, 1},
      {1, 1000, 6, 1, EqKey::typeDown, false, 1000, 6, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " key " << static_cast<int>(c.key));
    EqBandSet set = OneBand(c.type, c.frequency, c.gain, c.q);
    const EqKeyResult r = ApplyEqKey(set, 0, c.key, c.fine);
    EXPECT_EQ(r.selected, 0);
    EXPECT_EQ(r.notice, Notice::bandChanged);
    EXPECT_FLOAT_EQ(set.band(0).frequency, c.expFrequency);
    EXPECT_FLOAT_EQ(set.band(0).gain, c.expGain);
    EXPECT_FLOAT_EQ(set.band(0).q, c.expQ);
  }
}

TEST(EqGraphKeys, TypeKeysLeaveAChannelsCrossoverAlone) {
  EqBandSet set = Bands(7, 13);
  set.SetBandType(9, 2);
  EXPECT_EQ(ApplyEqKey(set, 9, EqKey::typeDown, false).notice, Notice::bandChanged);
  EXPECT_EQ(ApplyEqKey(set, 9, EqKey::typeUp, false).notice, Notice::bandChanged);
  EXPECT_EQ(set.band(9).type, 2);
}

TEST(EqGraphKeys, SelectionKeysStopAtTheShownBands) {
  struct Case {
    int identity, count, selected;
    EqKey key;
    int expected;
  };
  for (const Case& c : {Case{7, 13, 9, EqKey::nextBand, 9}, Case{7, 13, 0, EqKey::lastBand, 9},
                        Case{0, 10, 0, EqKey::previousBand, 0}, Case{2, 7, 3, EqKey::lastBand, 6},
                        Case{2, 7, 6, EqKey::firstBand, 0}, Case{0, 10, 4, EqKey::nextBand, 5}}) {
    EqBandSet set = Bands(c.identity, c.count);
    const EqKeyResult r = ApplyEqKey(set, c.selected, c.key, false);
    EXPECT_EQ(r.selected, c.expected) << c.identity << " " << static_cast<int>(c.key);
    EXPECT_EQ(r.notice, Notice::bandChanged);
  }
}

TEST(EqGraphKeys, ANewlySelectedBandIsBroughtWithinItsLimits) {
  EqBandSet set = Bands();
  set.band(5).q = 35.0f;
  set.band(5).gain = 20.0f;
  ApplyEqKey(set, 4, EqKey::nextBand, false);
  EXPECT_EQ(set.band(5).q, 30.0f);
  EXPECT_EQ(set.band(5).gain, 15.0f);
}

TEST(EqGraphKeys, DigitsPickShownBandsOnly) {
  struct Case {
    int identity, count;
    EqKey key;
    int selected;
    Notice notice;
  };
  for (const Case& c :
       {Case{2, 7, EqKey::digit7, 6, Notice::bandPicked}, Case{2, 7, EqKey::digit8, 1, Notice::none},
        Case{7, 13, EqKey::digit0, 9, Notice::bandPicked},
        Case{0, 10, EqKey::digit1, 0, Notice::bandPicked}}) {
    EqBandSet set = Bands(c.identity, c.count);
    const EqKeyResult r = ApplyEqKey(set, 1, c.key, false);
    EXPECT_EQ(r.selected, c.selected) << static_cast<int>(c.key);
    EXPECT_EQ(r.notice, c.notice) << static_cast<int>(c.key);
  }
}

TEST(EqGraphKeys, WithoutASelectionEveryKeyIsSwallowed) {
  EqBandSet set = Bands();
  for (EqKey key : {EqKey::nextBand, EqKey::frequencyUp, EqKey::digit3, EqKey::other}) {
    const EqKeyResult r = ApplyEqKey(set, -1, key, false);
    EXPECT_EQ(r.selected, -1);
    EXPECT_EQ(r.notice, Notice::none);
  }
  EXPECT_EQ(ApplyEqKey(set, 2, EqKey::other, false).notice, Notice::none);
  EXPECT_EQ(set.band(0).frequency, 31.0f);
}

}  // namespace
}  // namespace vireo::dsp
