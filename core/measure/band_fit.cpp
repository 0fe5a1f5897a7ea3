#include "measure/band_fit.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>

#include "dsp/filter_type.h"
#include "measure/band_fit_solver.h"

namespace vireo::measure {

namespace {

using fit_detail::BandLimits;
using fit_detail::FitPoints;
using fit_detail::FreeBand;

constexpr int kMaxBands = 32;
constexpr int kPeaking = dsp::ToCode(dsp::FilterType::Peaking);
constexpr int kLowShelf = dsp::ToCode(dsp::FilterType::LowShelf);
constexpr int kHighShelf = dsp::ToCode(dsp::FilterType::HighShelf);
constexpr double kMinHz = 20.0;
constexpr double kMaxHz = 20000.0;
constexpr double kMinGainDb = -15.0;
constexpr double kMinQ = 0.1;
constexpr double kMaxPeakingQ = 30.0;
constexpr double kMaxShelfQ = 2.0;
// Below half a tenth of a dB no band the machine can hold would help.
constexpr double kResidualFloorDb = 0.05;
// A band is kept only when it lowers the mean square error by at least this much (dB^2).
constexpr double kMeaningfulMeanSquare = 1e-3;
// How far the summed bands may stand above the maximum boost after rounding (a float's and a tenth's slack).
constexpr double kBoostToleranceDb = 0.05;
// One grid step on the log axis, in octaves: the narrowest width a seated band is given.
const double kGridStepOctaves = std::log2(dsp::kGridMaxHz / dsp::kGridMinHz) / dsp::kGridPoints;

struct Problem {
  FitPoints points;
  std::vector<double> hz;
  BandLimits limits;
  int maxBoostTenths = 60;
  int bands = 0;
  bool shelves = false;
};

double Finite(double value, double fallback) {
  return std::isfinite(value) ? value : fallback;
}

double Mean(const std::vector<double>& values) {
  double sum = 0.0;
  for (double v : values) sum += v;
  return values.empty() ? 0.0 : sum / static_cast<double>(values.size());
}

// The mean (the level) of a set of errors and their RMS about it.
struct Spread {
  double mean = 0.0, rms = 0.0;
};

Spread SpreadOf(const std::vector<double>& values) {
  Spread s;
  s.mean = Mean(values);
  double square = 0.0;
  for (double v : values) square += (v - s.mean) * (v - s.mean);
  if (!values.empty()) s.rms = std::sqrt(square / static_cast<double>(values.size()));
  return s;
}

Problem Prepare(const GridCurve& measurement, const GridCurve& target, const dsp::ResponseArray& fixed,
                const FitOptions& options, FitResult& result) {
  Problem p;
  double from = Finite(options.fromHz, 20.0);
  double to = Finite(options.toHz, 16000.0);
  if (from > to) std::swap(from, to);
  const int first = std::max({measurement.first, target.first, 0});
  const int last = std::min({measurement.last, target.last, dsp::kGridPoints - 1});
  const dsp::GridTable& f = dsp::GridFrequencies();
  const dsp::GridTable& phi = dsp::GridPhis();
  for (int i = first; i <= last; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const double error = static_cast<double>(target.db[k]) - measurement.db[k] - fixed[k];
    if (f[k] < from || f[k] > to || !std::isfinite(error)) continue;
    if (p.hz.empty()) result.firstPoint = i;
    result.lastPoint = i;
    p.hz.push_back(f[k]);
    p.points.phi.push_back(phi[k]);
    p.points.error.push_back(error);
  }
  // The level before the fit: the preamp alone aligning the measurement to the target. The error is kept
  // about it, so the shelves start from the mean error beyond them; the fit itself leaves the level free.
  result.preampDb = Mean(p.points.error);
  for (double& e : p.points.error) e -= result.preampDb;
  const double maxBoost = std::clamp(Finite(options.maxBoostDb, 6.0), 0.0, 15.0);
  p.maxBoostTenths = static_cast<int>(std::floor(maxBoost * 10.0 + 1e-9));
  p.points.boostLimit = p.maxBoostTenths / 10.0;
  p.bands = std::clamp(options.bands, 0, kMaxBands);
  p.shelves = options.shelves;
  p.limits = {std::log(kMinHz), std::log(kMaxHz),       kMinGainDb,          p.maxBoostTenths / 10.0,
              std::log(kMinQ),  std::log(kMaxPeakingQ), std::log(kMaxShelfQ)};
  return p;
}

// What the bands leave of the error, about its own mean: the level that follows the bands is free.
std::vector<double> Residual(const std::vector<FreeBand>& bands, const Problem& p) {
  std::vector<double> residual(p.points.error);
  std::vector<double> response(residual.size());
  for (const FreeBand& b : bands) {
    fit_detail::BandDb(b.type, b.gainDb, std::exp(b.lnHz), std::exp(b.lnQ), p.points.phi, response.data());
    for (std::size_t i = 0; i < residual.size(); ++i) residual[i] -= response[i];
  }
  const double level = Mean(residual);
  for (double& r : residual) r -= level;
  return residual;
}

// A peaking band on the run of one sign that holds the most squared error (the cost is least squares, so
// that run is worth the most): at its peak, with the peak's gain and the Q of its width at half the peak.
// Runs whose peak the limits cannot serve are passed over.
std::optional<FreeBand> Seat(const std::vector<double>& residual, const Problem& p) {
  struct Run {
    std::size_t begin, end;
    double energy;
  };
  std::vector<Run> runs;
  for (std::size_t i = 0; i < residual.size();) {
    const bool positive = residual[i] >= 0.0;
    Run run{i, i, 0.0};
    for (; run.end < residual.size() && (residual[run.end] >= 0.0) == positive; ++run.end)
      run.energy += residual[run.end] * residual[run.end];
    runs.push_back(run);
    i = run.end;
  }
  std::stable_sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.energy > b.energy; });
  for (const Run& run : runs) {
    std::size_t peak = run.begin;
    for (std::size_t i = run.begin; i < run.end; ++i) {
      if (std::fabs(residual[i]) > std::fabs(residual[peak])) peak = i;
    }
    FreeBand band;
    band.type = kPeaking;
    band.gainDb = std::clamp(residual[peak], p.limits.gainMin, p.limits.gainMax);
    if (std::fabs(band.gainDb) < kResidualFloorDb) continue;
    const double half = std::fabs(residual[peak]) / 2.0;
    std::size_t left = peak, right = peak;
    while (left > run.begin && std::fabs(residual[left - 1]) >= half) --left;
    while (right + 1 < run.end && std::fabs(residual[right + 1]) >= half) ++right;
    const double octaves = std::log2(p.hz[right] / p.hz[left]) + kGridStepOctaves;
    const double width = std::exp2(octaves);
    band.lnHz = std::log(p.hz[peak]);
    band.lnQ = std::log(std::sqrt(width) / (width - 1.0));
    fit_detail::Clamp(band, p.limits);
    return band;
  }
  return std::nullopt;
}

// The two shelves start where most rooms and loudspeakers need them, with the mean error beyond them.
void AddShelves(std::vector<FreeBand>& bands, const Problem& p) {
  const double low = std::clamp(100.0, p.hz.front(), p.hz.back());
  const double high = std::clamp(8000.0, p.hz.front(), p.hz.back());
  double lowSum = 0.0, highSum = 0.0;
  int lowCount = 0, highCount = 0;
  for (std::size_t i = 0; i < p.hz.size(); ++i) {
    if (p.hz[i] <= low) lowSum += p.points.error[i], ++lowCount;
    if (p.hz[i] >= high) highSum += p.points.error[i], ++highCount;
  }
  for (auto [type, hz, mean] : {std::tuple{kLowShelf, low, lowCount ? lowSum / lowCount : 0.0},
                                std::tuple{kHighShelf, high, highCount ? highSum / highCount : 0.0}}) {
    FreeBand shelf{type, std::log(hz), mean, std::log(0.7)};
    fit_detail::Clamp(shelf, p.limits);
    bands.push_back(shelf);
  }
}

// Leaves out, from the last band to the first, every band whose removal costs less than a meaningful
// amount of error.
void DropUseless(std::vector<FreeBand>& bands, const Problem& p) {
  const double n = static_cast<double>(p.hz.size());
  double cost = fit_detail::Cost(bands, p.points);
  for (std::size_t b = bands.size(); b-- > 0;) {
    std::vector<FreeBand> without = bands;
    without.erase(without.begin() + static_cast<std::ptrdiff_t>(b));
    const double costWithout = fit_detail::Cost(without, p.points);
    if (costWithout - cost < kMeaningfulMeanSquare * n) {
      bands = std::move(without);
      cost = costWithout;
    }
  }
}

// A band as the machine holds it: its record keeps whole hertz, gain codes of a tenth and Q codes of a
// thousandth, and the values read back from those codes are floats.
dsp::BandShape Held(int type, double hz, int gainTenths, double q) {
  const int qMax = type == kPeaking ? 30000 : 2000;
  const long qCode = std::clamp(std::lround(q * 1000.0), 100L, static_cast<long>(qMax));
  dsp::BandShape shape;
  shape.type = type;
  shape.frequency = std::clamp(std::round(hz), kMinHz, kMaxHz);
  shape.gainDb = static_cast<float>((gainTenths + 150) / 10.0 - 15.0);
  shape.q = static_cast<float>(static_cast<double>(qCode) / 1000.0);
  return shape;
}

int Tenths(double gainDb, const Problem& p) {
  return static_cast<int>(std::clamp(std::lround(gainDb * 10.0), -150L, static_cast<long>(p.maxBoostTenths)));
}

// The summed response of the bands at every grid point, as the graph computes it.
dsp::ResponseArray TotalOf(const std::vector<dsp::BandShape>& bands, std::vector<dsp::ResponseArray>* each) {
  dsp::ResponseArray total{};
  if (each != nullptr) each->assign(bands.size(), dsp::ResponseArray{});
  for (std::size_t b = 0; b < bands.size(); ++b) {
    dsp::ResponseArray response{};
    dsp::ComputeBandResponse(bands[b], 0.0, response);
    for (std::size_t i = 0; i < total.size(); ++i) total[i] += response[i];
    if (each != nullptr) (*each)[b] = response;
  }
  return total;
}

// Rounding and the last gain steps may lift the summed bands a little above the maximum boost somewhere on
// the graph: the boosting band that contributes most there gives up a tenth until nothing exceeds it.
void LimitBoost(std::vector<dsp::BandShape>& held, std::vector<int>& tenths, const Problem& p) {
  const double limit = p.maxBoostTenths / 10.0 + kBoostToleranceDb;
  std::vector<dsp::ResponseArray> each;
  for (int guard = 0; guard < 4000; ++guard) {
    const dsp::ResponseArray total = TotalOf(held, &each);
    const auto peak = static_cast<std::size_t>(std::max_element(total.begin(), total.end()) - total.begin());
    if (total[peak] <= limit) return;
    std::size_t worst = held.size();
    for (std::size_t b = 0; b < held.size(); ++b) {
      if (tenths[b] > 0 && (worst == held.size() || each[b][peak] > each[worst][peak])) worst = b;
    }
    if (worst == held.size()) return;
    --tenths[worst];
    held[worst] = Held(held[worst].type, held[worst].frequency, tenths[worst], held[worst].q);
  }
}

// Rounds the bands to what the machine holds, then moves each gain by tenths while that lowers the error
// (about its mean: the preamp takes the level).
std::vector<dsp::BandShape> Quantised(const std::vector<FreeBand>& bands, const Problem& p) {
  const std::size_t n = p.hz.size();
  std::vector<dsp::BandShape> held;
  std::vector<int> tenths;
  std::vector<double> residual(p.points.error), response(n);
  for (const FreeBand& b : bands) {
    tenths.push_back(Tenths(b.gainDb, p));
    held.push_back(Held(b.type, std::exp(b.lnHz), tenths.back(), std::exp(b.lnQ)));
    fit_detail::BandDb(held.back().type, held.back().gainDb, held.back().frequency, held.back().q,
                       p.points.phi, response.data());
    for (std::size_t i = 0; i < n; ++i) residual[i] -= response[i];
  }
  std::vector<double> before(n), after(n), trial(n);
  for (int pass = 0; pass < 4; ++pass) {
    bool moved = false;
    for (std::size_t b = 0; b < held.size(); ++b) {
      dsp::BandShape& h = held[b];
      fit_detail::BandDb(h.type, h.gainDb, h.frequency, h.q, p.points.phi, before.data());
      for (int delta : {-1, 1}) {
        const int code = tenths[b] + delta;
        if (code < -150 || code > p.maxBoostTenths) continue;
        const dsp::BandShape candidate = Held(h.type, h.frequency, code, h.q);
        fit_detail::BandDb(candidate.type, candidate.gainDb, candidate.frequency, candidate.q, p.points.phi,
                           after.data());
        double oldSum = 0.0, oldSquare = 0.0, newSum = 0.0, newSquare = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
          trial[i] = residual[i] + before[i] - after[i];
          oldSum += residual[i];
          oldSquare += residual[i] * residual[i];
          newSum += trial[i];
          newSquare += trial[i] * trial[i];
        }
        const double count = static_cast<double>(n);
        if (newSquare - newSum * newSum / count < oldSquare - oldSum * oldSum / count) {
          residual.swap(trial);
          h = candidate;
          tenths[b] = code;
          before.swap(after);
          moved = true;
        }
      }
    }
    if (!moved) break;
  }
  LimitBoost(held, tenths, p);
  std::vector<dsp::BandShape> out;
  for (std::size_t b = 0; b < held.size(); ++b) {
    if (tenths[b] != 0) out.push_back(held[b]);
  }
  std::stable_sort(out.begin(), out.end(), [](const dsp::BandShape& a, const dsp::BandShape& b) {
    return a.frequency < b.frequency;
  });
  return out;
}

// The level and error of the held bands as the graph computes them: each band's float response on the
// grid, summed. The level is the preamp that goes with the bands.
Spread SpreadOfHeld(const std::vector<dsp::BandShape>& bands, const GridCurve& measurement,
                    const GridCurve& target, const dsp::ResponseArray& fixed, const FitResult& r,
                    const Problem& p) {
  const dsp::ResponseArray total = TotalOf(bands, nullptr);
  const dsp::GridTable& f = dsp::GridFrequencies();
  std::vector<double> errors;
  for (int i = r.firstPoint; i <= r.lastPoint; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const double e = static_cast<double>(target.db[k]) - measurement.db[k] - fixed[k] - total[k];
    if (f[k] >= p.hz.front() && f[k] <= p.hz.back() && std::isfinite(e)) errors.push_back(e);
  }
  return SpreadOf(errors);
}

}  // namespace

FitResult FitBands(const GridCurve& measurement, const GridCurve& target, const dsp::ResponseArray& fixed,
                   const FitOptions& options, const std::function<bool(double)>& progress) {
  FitResult result;
  const Problem p = Prepare(measurement, target, fixed, options, result);
  result.rmsBefore = SpreadOf(p.points.error).rms;
  result.rmsAfter = result.rmsBefore;
  if (p.hz.empty() || p.bands == 0) return result;
  const auto cancelled = [&](double done) {
    if (!progress || progress(done)) return false;
    result.cancelled = true;
    return true;
  };
  const double steps = p.bands + 2.0;
  std::vector<FreeBand> bands;
  if (p.shelves && p.bands >= 2) {
    AddShelves(bands, p);
    fit_detail::Refine(bands, 0, p.points, p.limits, 30, false);
  }
  while (static_cast<int>(bands.size()) < p.bands) {
    if (cancelled(static_cast<double>(bands.size()) / steps)) return result;
    const std::optional<FreeBand> seat = Seat(Residual(bands, p), p);
    if (!seat) break;
    bands.push_back(*seat);
    fit_detail::Refine(bands, bands.size() - 1, p.points, p.limits, 20, false);
    fit_detail::Refine(bands, 0, p.points, p.limits, 6, false);
  }
  if (cancelled(p.bands / steps)) return result;
  fit_detail::Refine(bands, 0, p.points, p.limits, 100, false);
  DropUseless(bands, p);
  fit_detail::Refine(bands, 0, p.points, p.limits, 20, false);
  if (cancelled((p.bands + 1.0) / steps)) return result;
  result.bands = Quantised(bands, p);
  const Spread after = SpreadOfHeld(result.bands, measurement, target, fixed, result, p);
  result.preampDb = after.mean;
  result.rmsAfter = after.rms;
  if (progress) progress(1.0);
  return result;
}

}  // namespace vireo::measure
