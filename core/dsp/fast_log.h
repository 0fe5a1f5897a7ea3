// A natural logarithm of a quotient that the compiler can vectorise: the grid's 512 logarithms are most of
// a band's cost, and the library's scalar log cannot run several lanes at once.
#pragma once

#include <bit>
#include <cstdint>

namespace vireo::dsp {

// 0 when x is positive, normal and finite, the values LnOfQuotient holds for; not 0 for zero, negative,
// subnormal, infinite and not-a-number x. Integer steps only, so a loop using it still vectorises.
inline std::uint64_t OutsideLnDomain(double x) {
  const std::uint64_t signAndExponent = std::bit_cast<std::uint64_t>(x) >> 52;
  return ((signAndExponent + 1) >> 11) | ((signAndExponent - 1) >> 63);
}

namespace fast_log_detail {
inline constexpr std::uint64_t kTwoPow52Bits = 0x4330000000000000ULL;
inline constexpr double kTwoPow52 = 4503599627370496.0;
}  // namespace fast_log_detail

// 1.0 when x has its sign bit set, else 0.0.
inline double SignBit(double x) {
  using namespace fast_log_detail;
  return std::bit_cast<double>((std::bit_cast<std::uint64_t>(x) >> 63) | kTwoPow52Bits) - kTwoPow52;
}

// ln(n / d) within two units in the last place, for positive, normal, finite n and d (anything else gives
// a meaningless value, so callers route those to std::log). With n = 2^a mn and d = 2^b md, the mantissas
// are doubled as needed to bring q = mn / md into [sqrt(2)/2, sqrt(2)); then ln q = 2 atanh(s) with
// s = (mn - md) / (mn + md), from the minimax series of the classic freely distributed libm. One division
// instead of the quotient's and the logarithm's two; only branch-free integer and floating-point steps.
inline double LnOfQuotient(double n, double d) {
  constexpr std::uint64_t kExponentMask = 0x7FF0000000000000ULL;
  constexpr std::uint64_t kOneBits = 0x3FF0000000000000ULL;
  using fast_log_detail::kTwoPow52Bits;
  constexpr double kSqrt2 = 1.41421356237309504880;
  constexpr double kLn2Hi = 6.93147180369123816490e-01;
  constexpr double kLn2Lo = 1.90821492927058770002e-10;
  constexpr double kLg1 = 6.666666666666735130e-01, kLg2 = 3.999999999940941908e-01;
  constexpr double kLg3 = 2.857142874366239149e-01, kLg4 = 2.222219843214978396e-01;
  constexpr double kLg5 = 1.818357216161805012e-01, kLg6 = 1.531383769920937332e-01;
  constexpr double kLg7 = 1.479819860511658591e-01;

  const std::uint64_t nBits = std::bit_cast<std::uint64_t>(n);
  const std::uint64_t dBits = std::bit_cast<std::uint64_t>(d);
  const std::uint64_t nExponent = nBits & kExponentMask;
  const std::uint64_t dExponent = dBits & kExponentMask;
  double mn = std::bit_cast<double>(nBits - nExponent + kOneBits);  // in [1, 2)
  double md = std::bit_cast<double>(dBits - dExponent + kOneBits);
  // Both biased exponents as doubles without an integer conversion, which would not vectorise.
  double k = std::bit_cast<double>((nExponent >> 52) | kTwoPow52Bits) -
             std::bit_cast<double>((dExponent >> 52) | kTwoPow52Bits);
  // The two comparisons read sign bits and a doubling adds 1 or 0 times the value itself: a floating-point
  // comparison might trap, which keeps the compiler from vectorising it.
  const double up = 1.0 - SignBit(mn - kSqrt2 * md);  // q >= sqrt(2)
  const double down = SignBit(mn * kSqrt2 - md);      // q < sqrt(2)/2
  md += up * md;
  mn += down * mn;
  k += up - down;

  const double s = (mn - md) / (mn + md);
  const double z = s * s;
  const double w = z * z;
  const double r = z * (kLg1 + w * (kLg3 + w * (kLg5 + w * kLg7))) + w * (kLg2 + w * (kLg4 + w * kLg6));
  return k * kLn2Hi + (2.0 * s + (s * r + k * kLn2Lo));
}

}  // namespace vireo::dsp
