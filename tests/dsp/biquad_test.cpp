// Coefficients of every design formula against values computed independently, and the guards.
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "dsp/biquad.h"
#include "dsp/filter_type.h"

namespace vireo::dsp {
namespace {

struct ReferenceCase {
  int type;
  double gainDb, f0, q;
  BiquadCoefficients expected;  // a1, a2, b0, b1, b2
};

// Expected values come from a separate Python 3 script (math module, fs = 48000) that writes each
// section straight from its textbook form: the cookbook sections with 2*sqrt(A)*alpha for the shelves,
// the first-order sections from K = tan(w0/2) as K/(1+K), 1/(1+K), (K-1)/(K+1), and the
// Chebyshev pair from the analogue 0.1 dB prototype. Fixed-Q codes were fed the Q of their definition.
const ReferenceCase kReferences[] = {
    {1,
     6.0,
     1000.0,
     1.41,
     {-1.9199761435975966, 0.9365435420555338, 1.0315779106167673, -1.9199761435975966, 0.9049656314387664}},
    {2,
     0.0,
     1000.0,
     0.7,
     {-1.8137851060359655, 0.8294361862168181, 0.003912770045213131, 0.007825540090426263,
      0.003912770045213131}},
    {2,
     3.0,
     250.0,
     0.9,
     {-1.9632427842542488, 0.9642944921254385, 0.0003713942135077397, 0.0007427884270154794,
      0.0003713942135077397}},
    {3,
     0.0,
     120.0,
     0.7,
     {-1.9775659394518785, 0.977809936955548, 0.9888439691018566, -1.9776879382037131, 0.9888439691018566}},
    {4,
     6.0,
     200.0,
     0.7,
     {-1.9685436050931961, 0.9690213043879671, 1.006508796538195, -1.96830588704021, 0.9627502259027584}},
    {5,
     -4.5,
     5000.0,
     1.0,
     {-1.313582026705616, 0.5700300522178483, 0.65945022321488, -0.7306052632627322, 0.3276030655600844}},
    {6,
     0.0,
     1000.0,
     0.7,
     {-1.6854549537112091, 0.7341394550678638, 0.012031803619487705, 0.02406360723897541,
      0.012031803619487705}},
    {6,
     3.0,
     1000.0,
     0.7,
     {-1.6854549537112091, 0.7341394550678638, 0.01699537434205433, 0.03399074868410866,
      0.01699537434205433}},
    {7,
     0.0,
     1000.0,
     0.7,
     {-1.9055310429464514, 0.9104776881476846, 0.9430818100902515, -1.886163620180503, 0.9430818100902515}},
    {8,
     0.0,
     1000.0,
     3.0,
     {-1.7815096557598815, 0.796882232352595, 0.0038431441481783786, 0.007686288296356757,
      0.0038431441481783786}},
    {10, 0.0, 2000.0, 1.0, {-0.7673269879789604, 0.0, 0.11633650601051981, 0.11633650601051981, 0.0}},
    {11, -2.0, 500.0, 1.0, {-0.9366022079920615, 0.0, 0.76914890661874, -0.76914890661874, 0.0}},
    {13,
     0.0,
     80.0,
     5.0,
     {-1.9851906578962613, 0.9852995131282146, 0.9926225427561189, -1.9852450855122379, 0.9926225427561189}},
    {18,
     0.0,
     1000.0,
     0.2,
     {-1.8885559538890457, 0.9048522287685673, 0.004074068719880338, 0.008148137439760676,
      0.004074068719880338}},
    {21,
     0.0,
     1000.0,
     9.0,
     {-1.7695043485128368, 0.7847733317825629, 0.88856942007385, -1.7771388401477, 0.88856942007385}},
    {0,
     0.0,
     1000.0,
     0.7,
     {-1.8137851060359655, 0.8294361862168181, 0.8294361862168181, -1.8137851060359655, 1.0}},
};

TEST(ComputeBiquad, MatchesIndependentlyComputedCoefficients) {
  for (const ReferenceCase& r : kReferences) {
    SCOPED_TRACE(::testing::Message() << "type " << r.type << " gain " << r.gainDb << " f0 " << r.f0);
    const BiquadCoefficients c = ComputeBiquad(r.type, r.gainDb, r.f0, r.q);
    EXPECT_NEAR(c.a1, r.expected.a1, 1e-12);
    EXPECT_NEAR(c.a2, r.expected.a2, 1e-12);
    EXPECT_NEAR(c.b0, r.expected.b0, 1e-12);
    EXPECT_NEAR(c.b1, r.expected.b1, 1e-12);
    EXPECT_NEAR(c.b2, r.expected.b2, 1e-12);
  }
}

TEST(ComputeBiquad, DefaultSampleRateIsTheMachines) {
  EXPECT_EQ(ComputeBiquad(1, 3.0, 440.0, 2.0), ComputeBiquad(1, 3.0, 440.0, 2.0, 48000.0));
  EXPECT_NE(ComputeBiquad(1, 3.0, 440.0, 2.0), ComputeBiquad(1, 3.0, 440.0, 2.0, 44100.0));
}

TEST(ComputeBiquad, PeakingWithoutGainIsExactlyUnity) {
  for (double f0 : {20.0, 1000.0, 19999.0}) {
    const BiquadCoefficients c = ComputeBiquad(1, 0.0, f0, 1.41);
    EXPECT_EQ(c.b0, 1.0);
    EXPECT_EQ(c.b1, c.a1);
    EXPECT_EQ(c.b2, c.a2);
  }
}

TEST(ComputeBiquad, FixedQTypesIgnoreTheBandsQ) {
  for (int type = 6; type <= 21; ++type) {
    SCOPED_TRACE(type);
    const BiquadCoefficients low = ComputeBiquad(type, 0.0, 700.0, 0.1);
    EXPECT_EQ(low, ComputeBiquad(type, 0.0, 700.0, 30.0));
    EXPECT_EQ(low, ComputeBiquad(type, 0.0, 700.0, 0.0));
  }
  // Q does matter below code 6, so the check above can fail.
  EXPECT_NE(ComputeBiquad(2, 0.0, 700.0, 0.1), ComputeBiquad(2, 0.0, 700.0, 30.0));
}

TEST(ComputeBiquad, FirstOrderSectionsHaveNoSecondTaps) {
  for (int type : {10, 11}) {
    const BiquadCoefficients c = ComputeBiquad(type, 0.0, 1234.0, 0.7);
    EXPECT_EQ(c.b2, 0.0);
    EXPECT_EQ(c.a2, 0.0);
  }
}

TEST(ComputeBiquad, UnknownCodesAreAllPass) {
  const BiquadCoefficients allPass = ComputeBiquad(0, 5.0, 800.0, 0.9);
  for (int type : {22, 23, 100, -1, -22, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
    SCOPED_TRACE(type);
    EXPECT_EQ(ComputeBiquad(type, 5.0, 800.0, 0.9), allPass);
  }
  // An all-pass section reverses its numerator.
  EXPECT_EQ(allPass.b0, allPass.a2);
  EXPECT_EQ(allPass.b1, allPass.a1);
  EXPECT_EQ(allPass.b2, 1.0);
}

TEST(ComputeBiquad, DesignsThatWouldNotBeFiniteGiveTheUnitySection) {
  const BiquadCoefficients unity{};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(ComputeBiquad(1, 6.0, 1000.0, 0.0), unity);  // alpha infinite
  EXPECT_EQ(ComputeBiquad(4, 6.0, 1000.0, 0.0), unity);
  EXPECT_EQ(ComputeBiquad(0, 0.0, 1000.0, 0.0), unity);
  EXPECT_EQ(ComputeBiquad(7, 0.0, 0.0, 1.0), unity);  // 1 / tan(0)
  EXPECT_EQ(ComputeBiquad(2, 0.0, nan, 0.7), unity);
  EXPECT_EQ(ComputeBiquad(1, nan, 1000.0, 0.7), unity);
  EXPECT_EQ(unity.b0, 1.0);
  EXPECT_EQ(unity.a1 + unity.a2 + unity.b1 + unity.b2, 0.0);
}

TEST(FilterType, CodesAreTheBandRecordsTypeByte) {
  EXPECT_EQ(ToCode(FilterType::AllPass), 0);
  EXPECT_EQ(ToCode(FilterType::HighShelf), 5);
  EXPECT_EQ(ToCode(FilterType::ChebyshevLowPass), 6);
  EXPECT_EQ(ToCode(FilterType::FirstOrderHighPass), 11);
  EXPECT_EQ(ToCode(FilterType::CriticalLowPass), 16);
  EXPECT_EQ(ToCode(FilterType::Butterworth4bHighPass), 21);
}

TEST(FilterType, PassKindsFollowTheCode) {
  for (int code = -2; code <= 23; ++code) {
    SCOPED_TRACE(code);
    const bool low = code == 2 || (code >= 6 && code <= 21 && code % 2 == 0);
    const bool high = code == 3 || (code >= 7 && code <= 21 && code % 2 == 1);
    EXPECT_EQ(IsLowPassType(code), low);
    EXPECT_EQ(IsHighPassType(code), high);
    EXPECT_EQ(HasFixedQ(code), code >= 6 && code <= 21);
    EXPECT_EQ(HasEditableGain(code), code == 1 || code == 4 || code == 5);
    EXPECT_EQ(IsDesignedType(code), code >= 1 && code <= 21);
  }
}

TEST(FilterType, MenuNamesRoundTrip) {
  EXPECT_EQ(FilterTypeFromName("PEQ"), 1);
  EXPECT_EQ(FilterTypeFromName("LP"), 2);
  EXPECT_EQ(FilterTypeFromName("HP"), 3);
  EXPECT_EQ(FilterTypeFromName("LS"), 4);
  EXPECT_EQ(FilterTypeFromName("HS"), 5);
  EXPECT_EQ(FilterTypeFromName("hp"), 3);
  EXPECT_EQ(FilterTypeFromName("Peq"), 1);
  for (const char* bad : {"", "P", "PEQ ", "BP", "LPF", "0", "1"}) {
    EXPECT_EQ(FilterTypeFromName(bad), -1) << bad;
  }
  for (int code = 1; code <= 5; ++code) {
    EXPECT_EQ(FilterTypeFromName(FilterTypeMenuText(code)), code);
  }
  EXPECT_TRUE(FilterTypeMenuText(0).empty());
  EXPECT_TRUE(FilterTypeMenuText(6).empty());
}

}  // namespace
}  // namespace vireo::dsp
