// The EQ graph's band records: standard layouts, the setters' rules, crossover sections, curves, markers.
#include <cmath>

#include <gtest/gtest.h>

#include "dsp/eq_band_set.h"

namespace vireo::dsp {
namespace {

constexpr int kMicA = 0;
constexpr int kChannel1 = 7;

TEST(EqBandSet, StandardLayoutsOfSevenAndTenBands) {
  EqBandSet set;
  set.SetBandCount(7);
  const float seven[] = {31, 62, 125, 250, 500, 1000, 2000};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(set.band(i).frequency, seven[i]);
    EXPECT_EQ(set.band(i).type, 1);
    EXPECT_FLOAT_EQ(set.band(i).q, 1.41f);
  }
  EXPECT_EQ(set.band(7).frequency, 100.0f);  // untouched default
  set.SetBandCount(10);
  EXPECT_EQ(set.band(7).frequency, 4000.0f);
  EXPECT_EQ(set.band(9).frequency, 16000.0f);
  // Another count keeps frequencies and types, but numbers the bands and clears their gains.
  set.band(11).gain = 5.0f;
  set.band(11).frequency = 777.0f;
  set.SetBandCount(13);
  EXPECT_EQ(set.band(11).gain, 0.0f);
  EXPECT_EQ(set.band(11).frequency, 777.0f);
  EXPECT_EQ(set.band(12).bandNumber, 12);
  set.SetBandCount(99);
  EXPECT_EQ(set.bandCount(), kEqBandSlots);
}

TEST(EqBandSet, TypeSetsTheDefaultsOfItsKind) {
  struct Case {
    int type;
    float gain, q;
  };
  for (const Case& c : {Case{1, 6.0f, 1.41f}, Case{2, 0.0f, 0.7f}, Case{4, 0.0f, 0.7f}, Case{5, 0.0f, 0.7f},
                        Case{12, 6.0f, 3.0f}, Case{0, 6.0f, 3.0f}}) {
    SCOPED_TRACE(c.type);
    EqBandSet set;
    set.band(0).gain = 6.0f;
    set.band(0).q = 3.0f;
    set.SetBandType(0, c.type);
    EXPECT_EQ(set.band(0).type, c.type);
    EXPECT_EQ(set.band(0).gain, c.gain);
    EXPECT_FLOAT_EQ(set.band(0).q, c.q);
  }
}

TEST(EqBandSet, GainIsClampedAndOnlyKeptByGainTypes) {
  struct Case {
    int type;
    double in;
    float out;
  };
  for (const Case& c : {Case{1, 20, 15}, Case{1, -20, -15}, Case{4, 6, 6}, Case{5, -3.5, -3.5}, Case{2, 6, 0},
                        Case{3, 6, 0}, Case{12, 6, 0}, Case{0, 6, 6}}) {
    SCOPED_TRACE(c.type);
    EqBandSet set;
    set.band(0).type = c.type;
    set.SetBandGain(0, c.in);
    EXPECT_EQ(set.band(0).gain, c.out);
  }
}

TEST(EqBandSet, QIsClampedByTypeAndTinyOrNonFiniteValuesAreIgnored) {
  struct Case {
    int type;
    double in;
    float out;
  };
  for (const Case& c : {Case{1, 40, 30}, Case{1, 0.01, 0.1f}, Case{4, 5, 2}, Case{12, 5, 2}, Case{1, 1e-8, 1},
                        Case{1, std::nan(""), 1}}) {
    SCOPED_TRACE(c.in);
    EqBandSet set;
    set.band(0).type = c.type;
    set.SetBandQ(0, c.in);
    EXPECT_FLOAT_EQ(set.band(0).q, c.out);
  }
}

TEST(EqBandSet, FrequencyStaysWithinTheBandsLimits) {
  EqBandSet set;
  set.band(2).maxFrequency = 8000.0f;
  set.SetBandFrequency(2, 9000.0);
  EXPECT_EQ(set.band(2).frequency, 8000.0f);
  set.SetBandFrequency(2, 5.0);
  EXPECT_EQ(set.band(2).frequency, 20.0f);
}

TEST(EqBandSet, ChannelCrossoverHandsFrequencyAndQToItsSections) {
  for (int identity : {kChannel1, kMicA}) {
    SCOPED_TRACE(identity);
    EqBandSet set;
    set.SetIdentity(identity);
    set.SetBandCount(13);
    set.band(9).frequency = 2000.0f;
    set.band(9).q = 0.9f;
    set.band(10).gain = 3.0f;
    set.RecomputeBand(9);
    const bool channel = identity == kChannel1;
    EXPECT_EQ(set.band(10).frequency, channel ? 2000.0f : 100.0f);
    EXPECT_EQ(set.band(12).q, channel ? 0.9f : 1.0f);
    EXPECT_EQ(set.band(10).gain, channel ? 0.0f : 3.0f);
  }
}

TEST(EqBandSet, MenuTypeOnAChannelClearsTheGainAndSetsAllCrossoverSections) {
  EqBandSet set;
  set.SetIdentity(kChannel1);
  set.SetBandCount(13);
  set.band(9).frequency = 3000.0f;
  set.band(3).gain = 5.0f;
  set.ApplyMenuType(3, 1);
  EXPECT_EQ(set.band(3).gain, 0.0f);
  set.ApplyMenuType(9, 2);  // LP
  const int lowPass[] = {18, 20, 1, 1};
  for (int s = 9; s <= 12; ++s) {
    EXPECT_EQ(set.band(s).type, lowPass[s - 9]);
    EXPECT_EQ(set.band(s).frequency, 3000.0f);
    EXPECT_EQ(set.band(s).gain, 0.0f);
  }
  EqBandSet mic;
  mic.band(3).gain = 5.0f;
  mic.ApplyMenuType(3, 1);
  EXPECT_EQ(mic.band(3).gain, 5.0f);  // not a channel: a plain type change keeps a Peaking gain
}

TEST(EqBandSet, CrossoverFamilyFollowsTheParityOfTheCrossoverType) {
  struct Case {
    int crossoverType, family;
    int sections[4];
  };
  for (const Case& c : {Case{13, 2, {15, 11, 15, 11}}, Case{12, 99, {10, 10, 1, 1}}}) {
    SCOPED_TRACE(c.family);
    EqBandSet set;
    set.SetIdentity(kChannel1);
    set.SetBandCount(13);
    set.band(9).type = c.crossoverType;
    set.band(10).gain = 4.0f;
    set.ApplyCrossoverFamily(9, c.family);
    for (int s = 0; s < 4; ++s) {
      EXPECT_EQ(set.band(9 + s).type, c.sections[s]);
      EXPECT_EQ(set.band(9 + s).gain, 0.0f);
    }
  }
  EqBandSet set;
  set.SetIdentity(kChannel1);
  set.ApplyCrossoverFamily(8, 2);
  EXPECT_EQ(set.band(8).type, 1);
}

TEST(EqBandSet, TotalAndFillSumOnlyBandsThatCount) {
  EqBandSet set;
  set.SetIdentity(kChannel1);
  set.SetBandCount(13);
  for (int i = 0; i < kEqBandSlots; ++i) set.band(i).response.fill(0.0f);
  set.band(0).response.fill(1.0f);
  set.band(1).type = 0;  // switched off: its old response does not count
  set.band(1).response.fill(100.0f);
  set.band(12).response.fill(2.0f);
  set.band(13).response.fill(50.0f);  // beyond the band count
  set.band(9).response.fill(0.5f);
  const ResponseArray total = set.TotalResponse();
  EXPECT_EQ(total.front(), 3.5f);
  EXPECT_EQ(total.back(), 3.5f);
  EXPECT_EQ(set.FillResponse(9)[100], 2.5f);  // the crossover fills the sum of its sections
  EXPECT_EQ(set.FillResponse(0)[100], 1.0f);
}

TEST(EqBandSet, MarkersFollowTheBandAndTheClientSize) {
  EqBandSet set;
  set.SetClientSize(1042, 338);  // plot 1000 x 300
  set.band(4).frequency = 1000.0f;
  set.SetBandGain(4, 3.0);
  EXPECT_NEAR(set.band(4).markerX, 561.6458, 1e-3);
  EXPECT_NEAR(set.band(4).markerY, 120.0, 1e-4);
  set.SetClientSize(542, 638);  // plot 500 x 600
  EXPECT_NEAR(set.band(4).markerX, 280.8229, 1e-3);
  EXPECT_NEAR(set.band(4).markerY, 240.0, 1e-4);
}

}  // namespace
}  // namespace vireo::dsp
