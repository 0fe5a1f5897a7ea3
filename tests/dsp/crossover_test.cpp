// The crossover family table, its list texts and the type-menu choices for a crossover band.
#include <gtest/gtest.h>

#include "dsp/crossover.h"

namespace vireo::dsp {
namespace {

using S = CrossoverSections;

TEST(CrossoverSectionTypes, LowPassRows) {
  const S expected[] = {{10, 10, 1, 1}, {12, 12, 1, 1}, {14, 10, 14, 10}, {18, 20, 18, 20},
                        {8, 1, 1, 1},   {8, 10, 1, 1},  {8, 8, 1, 1},     {12, 1, 1, 1},
                        {14, 10, 1, 1}, {18, 20, 1, 1}, {6, 1, 1, 1},     {1, 1, 1, 1}};
  for (int i = 0; i < kCrossoverFamilyCount; ++i) {
    EXPECT_EQ(CrossoverSectionTypes(i, true), expected[i]) << i;
  }
}

TEST(CrossoverSectionTypes, HighPassRowsUseTheNextCodeButKeepFlatSections) {
  const S expected[] = {{11, 11, 1, 1}, {13, 13, 1, 1}, {15, 11, 15, 11}, {19, 21, 19, 21},
                        {9, 1, 1, 1},   {9, 11, 1, 1},  {9, 9, 1, 1},     {13, 1, 1, 1},
                        {15, 11, 1, 1}, {19, 21, 1, 1}, {7, 1, 1, 1},     {1, 1, 1, 1}};
  for (int i = 0; i < kCrossoverFamilyCount; ++i) {
    EXPECT_EQ(CrossoverSectionTypes(i, false), expected[i]) << i;
  }
}

TEST(CrossoverSectionTypes, IndexOutsideTheTableIsTheFirstFamily) {
  for (int i : {-1, 12, 13, 1000, -1000}) {
    EXPECT_EQ(CrossoverSectionTypes(i, true), (S{10, 10, 1, 1})) << i;
    EXPECT_EQ(CrossoverSectionTypes(i, false), (S{11, 11, 1, 1})) << i;
  }
}

TEST(CrossoverFamilies, ListTexts) {
  ASSERT_EQ(kCrossoverFamilyNames.size(), 11u);
  EXPECT_EQ(kCrossoverFamilyNames[0], "LinkwitzRiely 12dB");
  EXPECT_EQ(kCrossoverFamilyNames[1], "LinkwitzRiely 24dB");
  EXPECT_EQ(kCrossoverFamilyNames[2], "LinkwitzRiely 36dB");
  EXPECT_EQ(kCrossoverFamilyNames[3], "LinkwitzRiely 48dB");
  EXPECT_EQ(kCrossoverFamilyNames[4], "Bessel 12dB");
  EXPECT_EQ(kCrossoverFamilyNames[5], "Bessel 18dB");
  EXPECT_EQ(kCrossoverFamilyNames[6], "Bessel 24dB");
  EXPECT_EQ(kCrossoverFamilyNames[7], "Butterworth 12dB");
  EXPECT_EQ(kCrossoverFamilyNames[8], "Butterworth 18dB");
  EXPECT_EQ(kCrossoverFamilyNames[9], "Butterworth 24dB");
  EXPECT_EQ(kCrossoverFamilyNames[10], "Chebyshev 12dB");
}

TEST(CrossoverFamilies, ParityOfTheCrossoverBandPicksLowOrHighPass) {
  EXPECT_TRUE(CrossoverIsLowPass(12));
  EXPECT_TRUE(CrossoverIsLowPass(4));
  EXPECT_FALSE(CrossoverIsLowPass(19));
  EXPECT_FALSE(CrossoverIsLowPass(1));
  EXPECT_FALSE(CrossoverIsLowPass(-3));
}

TEST(CrossoverMenuSectionTypes, MenuEntries) {
  EXPECT_EQ(CrossoverMenuSectionTypes(1), (S{1, 1, 1, 1}));
  EXPECT_EQ(CrossoverMenuSectionTypes(2), (S{18, 20, 1, 1}));
  EXPECT_EQ(CrossoverMenuSectionTypes(3), (S{19, 21, 1, 1}));
  EXPECT_EQ(CrossoverMenuSectionTypes(4), (S{4, 1, 1, 1}));
  EXPECT_EQ(CrossoverMenuSectionTypes(5), (S{5, 1, 1, 1}));
  EXPECT_EQ(CrossoverMenuSectionTypes(0), (S{1, 1, 1, 1}));
  EXPECT_EQ(CrossoverMenuSectionTypes(6), (S{1, 1, 1, 1}));
}

struct KindCase {
  S sections;
  int family;
  int type;  // 2 LP, 3 HP, 1 PEQ, 4 LS, 5 HS
};

TEST(CrossoverKindOf, EveryKnownCombination) {
  const KindCase cases[] = {
      {{10, 10, 1, 1}, 0, 2},   {{11, 11, 1, 1}, 0, 3},   {{12, 12, 1, 1}, 1, 2},   {{13, 13, 1, 1}, 1, 3},
      {{14, 10, 14, 10}, 2, 2}, {{15, 11, 15, 11}, 2, 3}, {{18, 20, 18, 20}, 3, 2}, {{19, 21, 19, 21}, 3, 3},
      {{8, 1, 1, 1}, 4, 2},     {{9, 1, 1, 1}, 4, 3},     {{8, 10, 1, 1}, 5, 2},    {{9, 11, 1, 1}, 5, 3},
      {{8, 8, 1, 1}, 6, 2},     {{9, 9, 1, 1}, 6, 3},     {{12, 1, 1, 1}, 7, 2},    {{13, 1, 1, 1}, 7, 3},
      {{14, 10, 1, 1}, 8, 2},   {{15, 11, 1, 1}, 8, 3},   {{18, 20, 1, 1}, 9, 2},   {{19, 21, 1, 1}, 9, 3},
      {{6, 1, 1, 1}, 10, 2},    {{7, 1, 1, 1}, 10, 3},    {{1, 1, 1, 1}, 0, 1},     {{4, 1, 1, 1}, 0, 4},
      {{5, 1, 1, 1}, 0, 5},
  };
  ASSERT_EQ(std::size(cases), 25u);
  for (const KindCase& c : cases) {
    const CrossoverKind kind = CrossoverKindOf(c.sections);
    EXPECT_EQ(kind.family, c.family) << c.sections[0] << " " << c.sections[1];
    EXPECT_EQ(kind.type, c.type) << c.sections[0] << " " << c.sections[1];
  }
}

TEST(CrossoverKindOf, UnknownCombinationIsFamilyZeroWithoutType) {
  for (const S& s :
       {S{10, 11, 1, 1}, S{2, 1, 1, 1}, S{3, 1, 1, 1}, S{40, 1, 1, 1}, S{8, 1, 1, 8}, S{0, 0, 0, 0}}) {
    const CrossoverKind kind = CrossoverKindOf(s);
    EXPECT_EQ(kind.family, 0) << s[0];
    EXPECT_EQ(kind.type, 0) << s[0];
  }
}

}  // namespace
}  // namespace vireo::dsp
