// The one biquad calculator of the application and the magnitude of a section at a frequency.
#pragma once

#include <numbers>

namespace vireo::dsp {

// Every section runs at the machine's rate; the machine is sent coefficients designed for it.
inline constexpr double kSampleRate = 48000.0;

// H(z) = (b0 + b1 z^-1 + b2 z^-2) / (1 + a1 z^-1 + a2 z^-2). The machine wants -a1 and -a2 on the wire;
// negating them is the message builder's job, not ours.
struct BiquadCoefficients {
  double a1 = 0.0;
  double a2 = 0.0;
  double b0 = 1.0;
  double b1 = 0.0;
  double b2 = 0.0;

  friend bool operator==(const BiquadCoefficients&, const BiquadCoefficients&) = default;
};

// Designs the section of filter type code `type` (see FilterType). Codes outside 1..21 give an
// all-pass section; codes 6..21 ignore `q`. A design that would yield a non-finite coefficient
// (Q of 0, a NaN input, a corner at or beyond Nyquist for some types) returns the unity section
// instead, so nothing undefined ever reaches the machine or the graph.
BiquadCoefficients ComputeBiquad(int type, double gainDb, double f0, double q, double fs = kSampleRate);

// 10 log10(x) = kTenOverLn10 * ln(x).
inline constexpr double kTenOverLn10 = 10.0 / std::numbers::ln10;

// The five terms of |H|^2 as polynomials in phi = sin^2(pi f / fs), so a fixed grid of phi values
// can be evaluated without any trigonometry.
struct MagnitudePolynomial {
  double n0, n1, n2;  // numerator:   n0 + n1 phi + n2 phi^2
  double d0, d1, d2;  // denominator: d0 + d1 phi + d2 phi^2

  // 10 log10(N) - 10 log10(D).
  double DbAtPhi(double phi) const;
};

MagnitudePolynomial MakeMagnitudePolynomial(const BiquadCoefficients& c);

// Magnitude of the section in dB at frequency f. Zeros of the section give -infinity.
double MagnitudeDb(const BiquadCoefficients& c, double f, double fs = kSampleRate);

}  // namespace vireo::dsp
