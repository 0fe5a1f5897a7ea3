// The vectorisable logarithm of a quotient against the 80-bit library logarithm, and its domain test.
#include <cmath>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "dsp/fast_log.h"

namespace vireo::dsp {
namespace {

using Limits = std::numeric_limits<double>;

// Distance in units in the last place of the double nearest the exact value.
double UlpError(double got, long double exact) {
  const double nearest = static_cast<double>(exact);
  const double ulp = std::nextafter(std::fabs(nearest), Limits::infinity()) - std::fabs(nearest);
  return static_cast<double>(std::fabs(static_cast<long double>(got) - exact) / ulp);
}

// In 80-bit arithmetic; near 1 from the difference, which is exact, so the reference keeps its digits.
long double ExactLn(double n, double d) {
  const long double q = static_cast<long double>(n) / d;
  if (q > 0.5L && q < 2.0L) {
    return std::log1p((static_cast<long double>(n) - d) / d);
  }
  return std::log(q);
}

TEST(LnOfQuotient, ChosenQuotients) {
  EXPECT_EQ(LnOfQuotient(1.0, 1.0), 0.0);
  EXPECT_EQ(LnOfQuotient(0.3, 0.3), 0.0);
  struct Case {
    double n, d;
  };
  for (const Case& c : {Case{2, 1}, Case{1, 2}, Case{1.4142135623730951, 1}, Case{1.4142135623730949, 1},
                        Case{0.7071067811865476, 1}, Case{1 + 1e-15, 1}, Case{1, 1 + 1e-15},
                        Case{Limits::max(), Limits::min()}, Case{Limits::min(), Limits::max()},
                        Case{1e-300, 3e-7}, Case{10, 1}}) {
    EXPECT_LE(UlpError(LnOfQuotient(c.n, c.d), ExactLn(c.n, c.d)), 2.0) << c.n << " / " << c.d;
  }
}

TEST(LnOfQuotient, WithinTwoUlpsOverTheWholeRange) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> exponent(-300.0, 300.0);
  std::uniform_real_distribution<double> nearOne(-1e-3, 1e-3);
  double worst = 0.0;
  for (int i = 0; i < 200000; ++i) {
    const double n = std::pow(10.0, exponent(random));
    const double d = i % 2 == 0 ? std::pow(10.0, exponent(random)) : n * (1.0 + nearOne(random));
    worst = std::max(worst, UlpError(LnOfQuotient(n, d), ExactLn(n, d)));
  }
  EXPECT_LE(worst, 2.0);
}

TEST(OutsideLnDomain, OnlyPositiveNormalFiniteValuesAreInside) {
  for (double x : {1.0, Limits::min(), Limits::max(), 1e-300, 3.5}) {
    EXPECT_EQ(OutsideLnDomain(x), 0u) << x;
  }
  for (double x : {0.0, -0.0, -1.0, Limits::denorm_min(), Limits::min() / 2, Limits::infinity(),
                   -Limits::infinity(), Limits::quiet_NaN(), -Limits::quiet_NaN(), -Limits::max()}) {
    EXPECT_NE(OutsideLnDomain(x), 0u) << x;
  }
}

}  // namespace
}  // namespace vireo::dsp
