// Magnitude behaviour of the sections: peaks, corners, ripple, shelves, all-pass flatness.
#include <cmath>
#include <complex>
#include <numbers>

#include <gtest/gtest.h>

#include "dsp/biquad.h"

namespace vireo::dsp {
namespace {

constexpr double kNyquist = 24000.0;

// |H(e^jw)| in dB by complex arithmetic, to check the closed form against.
double DirectDb(const BiquadCoefficients& c, double f) {
  const std::complex<double> z1 = std::polar(1.0, -2.0 * std::numbers::pi * f / 48000.0);
  const std::complex<double> z2 = z1 * z1;
  return 20.0 * std::log10(std::abs((c.b0 + c.b1 * z1 + c.b2 * z2) / (1.0 + c.a1 * z1 + c.a2 * z2)));
}

double MaxDb(const BiquadCoefficients& c, double from, double to, int steps = 4000) {
  double best = -1e9;
  for (int i = 0; i <= steps; ++i) {
    best = std::max(best, MagnitudeDb(c, from + (to - from) * i / steps));
  }
  return best;
}

TEST(MagnitudeDb, AgreesWithDirectEvaluation) {
  for (int type = 0; type <= 21; ++type) {
    const BiquadCoefficients c = ComputeBiquad(type, type % 2 ? 7.5 : -4.0, 150.0 + 400.0 * type, 0.9);
    for (double f : {18.0, 95.0, 1000.0, 7000.0, 22000.0}) {
      EXPECT_NEAR(MagnitudeDb(c, f), DirectDb(c, f), 1e-7) << "type " << type << " at " << f;
    }
  }
}

TEST(SectionShape, PeakingSixDbAtOneKilohertz) {
  const BiquadCoefficients c = ComputeBiquad(1, 6.0, 1000.0, 1.41);
  EXPECT_NEAR(MagnitudeDb(c, 1000.0), 6.0, 1e-9);
  EXPECT_NEAR(MagnitudeDb(c, 100.0), 0.033, 0.001);
  EXPECT_LT(MaxDb(c, 20.0, 20000.0), 6.0 + 1e-9);
  const BiquadCoefficients cut = ComputeBiquad(1, -9.0, 250.0, 4.0);
  EXPECT_NEAR(MagnitudeDb(cut, 250.0), -9.0, 1e-9);
}

TEST(SectionShape, PeakingWithoutGainIsFlat) {
  const BiquadCoefficients c = ComputeBiquad(1, 0.0, 3000.0, 1.41);
  for (double f = 1.0; f < kNyquist; f *= 1.7) {
    EXPECT_EQ(MagnitudeDb(c, f), 0.0) << f;
  }
}

TEST(SectionShape, ChebyshevLowPassHasTenthOfADecibelRipple) {
  const BiquadCoefficients c = ComputeBiquad(6, 0.0, 1000.0, 0.7);
  EXPECT_NEAR(MagnitudeDb(c, 0.0), -0.1, 1e-9);
  EXPECT_NEAR(MagnitudeDb(c, 1000.0), -0.1, 1e-9);
  EXPECT_LE(MaxDb(c, 0.0, 1000.0), 1e-9);
  EXPECT_GT(MaxDb(c, 0.0, 1000.0), -0.001);  // the ripple does come back up to 0 dB in between
  EXPECT_NEAR(MagnitudeDb(c, 2000.0), -3.3526, 1e-3);
  EXPECT_LT(MagnitudeDb(c, 10000.0), -30.0);
}

TEST(SectionShape, ChebyshevHighPassMirrorsTheLowPass) {
  const BiquadCoefficients c = ComputeBiquad(7, 0.0, 1000.0, 0.7);
  EXPECT_NEAR(MagnitudeDb(c, kNyquist), -0.1, 1e-9);
  EXPECT_NEAR(MagnitudeDb(c, 1000.0), -0.1, 1e-9);
  EXPECT_LE(MaxDb(c, 1000.0, kNyquist), 1e-9);
  // The low-pass's 2000 Hz maps, through the bilinear warping, to this frequency of the high-pass.
  const double t = std::tan(std::numbers::pi * 1000.0 / 48000.0);
  const double mirrored =
      48000.0 / std::numbers::pi * std::atan(t * t / std::tan(std::numbers::pi * 2000.0 / 48000.0));
  EXPECT_NEAR(mirrored, 498.387, 1e-3);
  EXPECT_NEAR(MagnitudeDb(c, mirrored), MagnitudeDb(ComputeBiquad(6, 0.0, 1000.0, 0.7), 2000.0), 1e-9);
}

TEST(SectionShape, AllPassIsZeroDecibelsEverywhere) {
  for (int type : {0, 22, 57, -1, -300}) {
    const BiquadCoefficients c = ComputeBiquad(type, 8.0, 640.0, 2.5);
    for (double f = 0.0; f <= kNyquist; f += 250.0) {
      EXPECT_NEAR(MagnitudeDb(c, f), 0.0, 1e-9) << type << " " << f;
    }
  }
}

TEST(SectionShape, FirstOrderSectionsAreThreeDecibelsDownAtTheCorner) {
  for (int type : {10, 11}) {
    const BiquadCoefficients c = ComputeBiquad(type, 0.0, 2500.0, 0.7);
    EXPECT_NEAR(MagnitudeDb(c, 2500.0), -3.0103, 1e-4);
    EXPECT_NEAR(MagnitudeDb(c, type == 10 ? 0.0 : kNyquist), 0.0, 1e-9);
  }
}

struct FixedQCase {
  int lowPassCode;
  double dbAtCorner;  // 20 log10(Q): the bilinear section keeps the analogue value at f0
  double peakDb;      // analogue resonance, warping-invariant; 0 where the section does not resonate
};

// 20 log10(Q) and 20 log10(Q / sqrt(1 - 1/(4Q^2))) from Python for Q = 1/sqrt3, 1/sqrt2, 1,
// 1/2, 1/(2 sin(pi/8)), 1/(2 sin(3pi/8)).
const FixedQCase kFixedQ[] = {
    {8, -4.771212547196625, 0.0},
    {12, -3.0102999566398116, 0.0},
    {14, 0.0, 1.2493873660830006},
    {16, -6.020599913279624, 0.0},
    {18, 2.322606875058725, 3.010299956639812},
    {20, -5.332906831698536, 0.0},
};

TEST(SectionShape, EachFixedQCodeHasItsOwnCornerAndPeak) {
  for (const FixedQCase& fq : kFixedQ) {
    for (int code : {fq.lowPassCode, fq.lowPassCode + 1}) {
      SCOPED_TRACE(code);
      const bool low = code == fq.lowPassCode;
      const BiquadCoefficients c = ComputeBiquad(code, 0.0, 1000.0, 1.0);
      EXPECT_NEAR(MagnitudeDb(c, 1000.0), fq.dbAtCorner, 1e-9);
      EXPECT_NEAR(MagnitudeDb(c, low ? 0.0 : kNyquist), 0.0, 1e-9);
      const double peak = low ? MaxDb(c, 0.0, 2000.0, 20000) : MaxDb(c, 500.0, kNyquist, 100000);
      EXPECT_NEAR(peak, fq.peakDb, 1e-3);
    }
  }
}

TEST(SectionShape, SecondOrderPassSectionsCarryTheGain) {
  EXPECT_NEAR(MagnitudeDb(ComputeBiquad(2, 3.0, 250.0, 0.9), 0.0), 3.0, 1e-9);
  EXPECT_NEAR(MagnitudeDb(ComputeBiquad(3, -2.0, 250.0, 0.9), kNyquist), -2.0, 1e-9);
  EXPECT_NEAR(MagnitudeDb(ComputeBiquad(2, 0.0, 1000.0, 2.0), 1000.0), 20.0 * std::log10(2.0), 1e-9);
}

TEST(SectionShape, ShelvesReachTheirGainAtTheFarEnd) {
  const BiquadCoefficients low = ComputeBiquad(4, 6.0, 200.0, 0.7);
  EXPECT_NEAR(MagnitudeDb(low, 0.0), 6.0, 1e-9);
  EXPECT_NEAR(MagnitudeDb(low, 18.0), 6.0, 0.05);
  EXPECT_NEAR(MagnitudeDb(low, kNyquist), 0.0, 1e-9);
  EXPECT_NEAR(MagnitudeDb(low, 200.0), 3.0, 1e-9);  // half the gain at the corner

  const BiquadCoefficients high = ComputeBiquad(5, -4.5, 5000.0, 1.0);
  EXPECT_NEAR(MagnitudeDb(high, kNyquist), -4.5, 1e-9);
  EXPECT_NEAR(MagnitudeDb(high, 0.0), 0.0, 1e-9);
  EXPECT_NEAR(MagnitudeDb(high, 5000.0), -2.25, 1e-9);
}

}  // namespace
}  // namespace vireo::dsp
