#include "measure/band_fit_solver.h"

#include <algorithm>
#include <cmath>

#include "dsp/biquad.h"
#include "dsp/fast_log.h"

namespace vireo::measure::fit_detail {

namespace {

// Forward-difference steps: small against the parameters' scales, large against double rounding.
constexpr double kStep = 1e-6;
constexpr double kLambdaStart = 1e-3;
constexpr double kLambdaMax = 1e12;
// A step that lowers the cost by less than this fraction ends the refinement: far below what a tenth of a
// dB changes.
constexpr double kConverged = 1e-5;

double& Param(FreeBand& b, int k) {
  return k == 0 ? b.gainDb : (k == 1 ? b.lnHz : b.lnQ);
}

void Response(const FreeBand& b, std::span<const double> phi, double* out) {
  BandDb(b.type, b.gainDb, std::exp(b.lnHz), std::exp(b.lnQ), phi, out);
}

// Solves (A + lambda diag(A)) x = g by Cholesky; false when the matrix is not positive definite.
bool SolveDamped(const std::vector<double>& a, const std::vector<double>& g, std::size_t m, double lambda,
                 std::vector<double>& x) {
  std::vector<double> l(m * m, 0.0);
  for (std::size_t i = 0; i < m; ++i) {
    for (std::size_t j = 0; j <= i; ++j) {
      double sum = a[i * m + j];
      // A parameter with no effect (the frequency of a band at 0 dB) gets a floor so the system stays
      // solvable.
      if (i == j) sum += lambda * (a[i * m + i] + 1e-9);
      for (std::size_t k = 0; k < j; ++k) sum -= l[i * m + k] * l[j * m + k];
      if (i == j) {
        if (!(sum > 0.0)) return false;
        l[i * m + i] = std::sqrt(sum);
      } else {
        l[i * m + j] = sum / l[j * m + j];
      }
    }
  }
  x.assign(m, 0.0);
  for (std::size_t i = 0; i < m; ++i) {
    double sum = g[i];
    for (std::size_t k = 0; k < i; ++k) sum -= l[i * m + k] * x[k];
    x[i] = sum / l[i * m + i];
  }
  for (std::size_t i = m; i-- > 0;) {
    double sum = x[i];
    for (std::size_t k = i + 1; k < m; ++k) sum -= l[k * m + i] * x[k];
    x[i] = sum / l[i * m + i];
  }
  return true;
}

}  // namespace

void Clamp(FreeBand& band, const BandLimits& limits) {
  band.lnHz = std::clamp(band.lnHz, limits.lnHzMin, limits.lnHzMax);
  band.gainDb = std::clamp(band.gainDb, limits.gainMin, limits.gainMax);
  band.lnQ = std::clamp(band.lnQ, limits.lnQMin, band.type == 1 ? limits.lnQMaxPeaking : limits.lnQMaxShelf);
}

void BandDb(int type, double gainDb, double hz, double q, std::span<const double> phi, double* out) {
  const dsp::MagnitudePolynomial m = dsp::MakeMagnitudePolynomial(dsp::ComputeBiquad(type, gainDb, hz, q));
  for (std::size_t i = 0; i < phi.size(); ++i) {
    const double p = phi[i];
    const double n = m.n0 + p * (m.n1 + p * m.n2);
    const double d = m.d0 + p * (m.d1 + p * m.d2);
    // Sections inside the limits are positive at every frequency below Nyquist; the library's logarithm
    // takes anything else so that no meaningless value enters the fit.
    out[i] = dsp::kTenOverLn10 * ((dsp::OutsideLnDomain(n) | dsp::OutsideLnDomain(d)) == 0
                                      ? dsp::LnOfQuotient(n, d)
                                      : std::log(n / d));
  }
}

namespace {

// The cost from the bands' summed response. The level is free (the preamp follows the fit), so the
// residual counts with its mean removed: a band that only shifts the whole curve earns nothing.
double CostOfSum(const std::vector<double>& sum, const std::vector<double>& error, double boostLimit) {
  const std::size_t n = sum.size();
  if (n == 0) return 0.0;
  double mean = 0.0;
  for (std::size_t i = 0; i < n; ++i) mean += error[i] - sum[i];
  mean /= static_cast<double>(n);
  double cost = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    const double r = error[i] - sum[i] - mean;
    const double excess = std::max(0.0, sum[i] - boostLimit);
    cost += r * r + kBoostPenalty * excess * excess;
  }
  return cost;
}

double Mean(const double* values, std::size_t n) {
  double sum = 0.0;
  for (std::size_t i = 0; i < n; ++i) sum += values[i];
  return n == 0 ? 0.0 : sum / static_cast<double>(n);
}

}  // namespace

double Cost(const std::vector<FreeBand>& bands, const FitPoints& points) {
  const std::size_t n = points.phi.size();
  std::vector<double> sum(n, 0.0), response(n);
  for (const FreeBand& b : bands) {
    Response(b, points.phi, response.data());
    for (std::size_t i = 0; i < n; ++i) sum[i] += response[i];
  }
  return CostOfSum(sum, points.error, points.boostLimit);
}

double Refine(std::vector<FreeBand>& bands, std::size_t from, const FitPoints& points,
              const BandLimits& limits, int maxIterations, bool gainsOnly) {
  const std::size_t n = points.phi.size();
  const std::size_t free = bands.size() - std::min(from, bands.size());
  const int perBand = gainsOnly ? 1 : 3;
  const std::size_t m = free * static_cast<std::size_t>(perBand);
  // The held bands' responses are summed once.
  std::vector<double> held(n, 0.0), response(n);
  for (std::size_t b = 0; b < from && b < bands.size(); ++b) {
    Response(bands[b], points.phi, response.data());
    for (std::size_t i = 0; i < n; ++i) held[i] += response[i];
  }
  std::vector<FreeBand> current(bands.begin() + static_cast<std::ptrdiff_t>(bands.size() - free),
                                bands.end());
  const auto costOf = [&](const std::vector<FreeBand>& set) {
    std::vector<double> sum(held);
    for (const FreeBand& b : set) {
      Response(b, points.phi, response.data());
      for (std::size_t i = 0; i < n; ++i) sum[i] += response[i];
    }
    return CostOfSum(sum, points.error, points.boostLimit);
  };
  double cost = costOf(current);
  if (m == 0 || n == 0) return cost;

  // The step solves the linearised problem with the level eliminated: the residual and every Jacobian
  // column with their means removed (the least-squares level of any step is the mean of what it leaves),
  // plus, where the bands exceed the boost limit, the penalty's rows, which do not depend on the level.
  std::vector<double> responses(free * n), jacobian(m * n), centred(m * n), residual(n), excess(n), sum(n),
      a(m * m), g(m), step;
  std::vector<std::size_t> over;
  double lambda = kLambdaStart;
  for (int iteration = 0; iteration < maxIterations && lambda < kLambdaMax; ++iteration) {
    sum = held;
    for (std::size_t b = 0; b < free; ++b) {
      Response(current[b], points.phi, &responses[b * n]);
      for (std::size_t i = 0; i < n; ++i) sum[i] += responses[b * n + i];
    }
    over.clear();
    for (std::size_t i = 0; i < n; ++i) {
      residual[i] = points.error[i] - sum[i];
      excess[i] = std::max(0.0, sum[i] - points.boostLimit);
      if (excess[i] > 0.0) over.push_back(i);
    }
    const double level = Mean(residual.data(), n);
    for (double& r : residual) r -= level;
    for (std::size_t b = 0; b < free; ++b) {
      for (int k = 0; k < perBand; ++k) {
        FreeBand moved = current[b];
        Param(moved, k) += kStep;
        const std::size_t p = b * static_cast<std::size_t>(perBand) + static_cast<std::size_t>(k);
        double* column = &jacobian[p * n];
        Response(moved, points.phi, column);
        for (std::size_t i = 0; i < n; ++i) column[i] = (column[i] - responses[b * n + i]) / kStep;
        const double columnMean = Mean(column, n);
        for (std::size_t i = 0; i < n; ++i) centred[p * n + i] = column[i] - columnMean;
      }
    }
    for (std::size_t p = 0; p < m; ++p) {
      const double* cp = &centred[p * n];
      const double* jp = &jacobian[p * n];
      double dot0 = 0.0;
      for (std::size_t i = 0; i < n; ++i) dot0 += cp[i] * residual[i];
      for (std::size_t i : over) dot0 -= kBoostPenalty * jp[i] * excess[i];
      g[p] = dot0;
      for (std::size_t q = 0; q <= p; ++q) {
        const double* cq = &centred[q * n];
        const double* jq = &jacobian[q * n];
        double dot = 0.0;
        for (std::size_t i = 0; i < n; ++i) dot += cp[i] * cq[i];
        for (std::size_t i : over) dot += kBoostPenalty * jp[i] * jq[i];
        a[p * m + q] = dot;
        a[q * m + p] = dot;
      }
    }
    bool improved = false;
    while (lambda < kLambdaMax) {
      if (!SolveDamped(a, g, m, lambda, step)) {
        lambda *= 4.0;
        continue;
      }
      std::vector<FreeBand> trial = current;
      for (std::size_t b = 0; b < free; ++b) {
        for (int k = 0; k < perBand; ++k) {
          Param(trial[b], k) += step[b * static_cast<std::size_t>(perBand) + static_cast<std::size_t>(k)];
        }
        Clamp(trial[b], limits);
      }
      const double trialCost = costOf(trial);
      if (trialCost < cost) {
        const bool converged = cost - trialCost < kConverged * cost + 1e-12;
        current = std::move(trial);
        cost = trialCost;
        lambda = std::max(lambda / 3.0, 1e-9);
        improved = !converged;
        break;
      }
      lambda *= 4.0;
    }
    if (!improved) break;
  }
  std::copy(current.begin(), current.end(), bands.begin() + static_cast<std::ptrdiff_t>(bands.size() - free));
  return cost;
}

}  // namespace vireo::measure::fit_detail
