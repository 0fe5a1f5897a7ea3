// Cookbook biquads, the bilinear first-order sections and the 0.1 dB Chebyshev pair.
#include "dsp/biquad.h"

#include <cmath>
#include <numbers>

#include "dsp/filter_type.h"

namespace vireo::dsp {
namespace {

constexpr double kPi = std::numbers::pi;

struct RawSection {
  double b0, b1, b2, a0, a1, a2;

  BiquadCoefficients Normalised() const { return {a1 / a0, a2 / a0, b0 / a0, b1 / a0, b2 / a0}; }
};

// Each fixed Q is evaluated from its defining expression so the coefficients match those the
// machine has always been sent, to the last bit.
double FixedQ(int type) {
  switch (type) {
    case 8:
    case 9:
      return 1.0 / std::pow(3.0, 0.5);
    case 12:
    case 13:
      return 1.0 / std::pow(2.0, 0.5);
    case 14:
    case 15:
      return 1.0 / (2.0 * std::sin(kPi / 6.0));
    case 16:
    case 17:
      return 1.0 / (2.0 * std::sin(kPi / 2.0));
    case 18:
    case 19:
      return 1.0 / (2.0 * std::sin(kPi / 8.0));
    default:  // 20, 21
      return 1.0 / (2.0 * std::sin(3.0 * kPi / 8.0));
  }
}

BiquadCoefficients Chebyshev(bool lowPass, double g, double f0, double fs) {
  const double epsilon = std::sqrt(std::pow(10.0, 0.1 / 10.0) - 1.0);
  const double v = std::asinh(1.0 / epsilon) / 2.0;
  const double m = 1.0 / std::sqrt(1.0 + epsilon * epsilon);
  const double t = std::tan(kPi * f0 / fs);
  const double k = lowPass ? t : 1.0 / t;
  const double p = k * std::sinh(v);
  const double r = 2.0 * p * std::cos(3.0 * kPi / 4.0);
  const double ks = k * std::sin(3.0 * kPi / 4.0);
  const double s = p * p + ks * ks;
  const double d = 1.0 - r + s;
  const double b0 = g * m * s / d;
  const double sign = lowPass ? 1.0 : -1.0;
  return {sign * 2.0 * (s - 1.0) / d, (1.0 + r + s) / d, b0, sign * 2.0 * b0, b0};
}

// In both shelves 2*sqrt(A)*alpha is taken as sqrt(A)*s/Q, the form the machine's coefficients came from.
BiquadCoefficients LowShelf(double a, double c, double s, double q) {
  const double k = std::sqrt(a) * s / q;
  return RawSection{a * ((a + 1.0) - (a - 1.0) * c + k), 2.0 * a * ((a - 1.0) - (a + 1.0) * c),
                    a * ((a + 1.0) - (a - 1.0) * c - k), (a + 1.0) + (a - 1.0) * c + k,
                    -2.0 * ((a - 1.0) + (a + 1.0) * c),  (a + 1.0) + (a - 1.0) * c - k}
      .Normalised();
}

BiquadCoefficients HighShelf(double a, double c, double s, double q) {
  const double k = std::sqrt(a) * s / q;
  return RawSection{a * ((a + 1.0) + (a - 1.0) * c + k), -2.0 * a * ((a - 1.0) + (a + 1.0) * c),
                    a * ((a + 1.0) + (a - 1.0) * c - k), (a + 1.0) - (a - 1.0) * c + k,
                    2.0 * ((a - 1.0) - (a + 1.0) * c),   (a + 1.0) - (a - 1.0) * c - k}
      .Normalised();
}

BiquadCoefficients Design(int type, double gainDb, double f0, double q, double fs) {
  const double w0 = 2.0 * kPi * f0 / fs;
  const double c = std::cos(w0);
  const double s = std::sin(w0);
  const double a = std::pow(10.0, gainDb / 40.0);
  const double g = std::pow(10.0, gainDb / 20.0);

  if (type == 6 || type == 7) {
    return Chebyshev(type == 6, g, f0, fs);
  }
  if (type == 10) {
    return RawSection{g * s, g * s, 0.0, 1.0 + c + s, s - c - 1.0, 0.0}.Normalised();
  }
  if (type == 11) {
    return RawSection{g * (1.0 + c), -g * (1.0 + c), 0.0, 1.0 + c + s, s - c - 1.0, 0.0}.Normalised();
  }
  if (type == 4) {
    return LowShelf(a, c, s, q);
  }
  if (type == 5) {
    return HighShelf(a, c, s, q);
  }

  const double alpha = s / (2.0 * (HasFixedQ(type) ? FixedQ(type) : q));
  if (type == 1) {
    return RawSection{1.0 + alpha * a, -2.0 * c, 1.0 - alpha * a, 1.0 + alpha / a, -2.0 * c, 1.0 - alpha / a}
        .Normalised();
  }
  if (IsLowPassType(type)) {
    const double b = g * (1.0 - c);
    return RawSection{b / 2.0, b, b / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha}.Normalised();
  }
  if (IsHighPassType(type)) {
    const double b = g * (1.0 + c);
    return RawSection{b / 2.0, -b, b / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha}.Normalised();
  }
  // Anything else, 0 included, is the all-pass section: unity magnitude at every frequency.
  return RawSection{1.0 - alpha, -2.0 * c, 1.0 + alpha, 1.0 + alpha, -2.0 * c, 1.0 - alpha}.Normalised();
}

bool AllFinite(const BiquadCoefficients& c) {
  return std::isfinite(c.a1) && std::isfinite(c.a2) && std::isfinite(c.b0) && std::isfinite(c.b1) &&
         std::isfinite(c.b2);
}

}  // namespace

BiquadCoefficients ComputeBiquad(int type, double gainDb, double f0, double q, double fs) {
  const BiquadCoefficients c = Design(type, gainDb, f0, q, fs);
  return AllFinite(c) ? c : BiquadCoefficients{};
}

MagnitudePolynomial MakeMagnitudePolynomial(const BiquadCoefficients& c) {
  const double bSum = c.b0 + c.b1 + c.b2;
  const double aSum = 1.0 + c.a1 + c.a2;
  return {bSum * bSum,
          -4.0 * (4.0 * c.b0 * c.b2 + c.b0 * c.b1 + c.b1 * c.b2),
          16.0 * c.b0 * c.b2,
          aSum * aSum,
          -4.0 * (4.0 * c.a2 + c.a1 + c.a1 * c.a2),
          16.0 * c.a2};
}

double MagnitudePolynomial::DbAtPhi(double phi) const {
  const double n = n0 + phi * (n1 + phi * n2);
  const double d = d0 + phi * (d1 + phi * d2);
  // One natural logarithm of the quotient: the same value as 10 log10(N) - 10 log10(D) to double
  // precision, at well under half the cost, which matters on the 512-point grid.
  return kTenOverLn10 * std::log(n / d);
}

double MagnitudeDb(const BiquadCoefficients& c, double f, double fs) {
  const double sine = std::sin(kPi * f / fs);
  return MakeMagnitudePolynomial(c).DbAtPhi(sine * sine);
}

}  // namespace vireo::dsp
