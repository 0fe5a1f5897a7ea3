// The band fit on curves whose answer is known, and the machine's limits on curves made to break them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "measure/band_fit.h"

namespace vireo::measure {
namespace {

dsp::ResponseArray Sum(const std::vector<dsp::BandShape>& bands) {
  dsp::ResponseArray total{};
  for (const dsp::BandShape& b : bands) {
    dsp::ResponseArray r{};
    dsp::ComputeBandResponse(b, 0.0, r);
    for (std::size_t i = 0; i < r.size(); ++i) total[i] += r[i];
  }
  return total;
}

GridCurve Curve(const dsp::ResponseArray& db) {
  GridCurve c = FlatTarget();
  c.db = db;
  return c;
}

GridCurve Negated(const dsp::ResponseArray& db) {
  GridCurve c = FlatTarget();
  for (std::size_t i = 0; i < db.size(); ++i) c.db[i] = -db[i];
  return c;
}

TEST(BandFit, FindsKnownPeakingFiltersBack) {
  const GridCurve measurement =
      Negated(Sum({{1, 4.0, 250.0, 2.0}, {1, -6.0, 1500.0, 4.0}, {1, 3.0, 6000.0, 1.5}}));
  const FitResult fit = FitBands(measurement, FlatTarget(), {}, FitOptions{});
  EXPECT_LE(fit.rmsAfter, 0.1);
  EXPECT_GT(fit.rmsBefore, 1.0);
}

TEST(BandFit, LoneFilterComesBackAsOneBandWithTheLevelInThePreamp) {
  // A peaking filter's inverse is the same filter with the gain negated, so each lone filter is made up
  // exactly by one band; a band spent on the level the filter leaves in the mean would be a wrong answer.
  const struct {
    const char* name;
    dsp::BandShape filter;
    float offsetDb;
    dsp::BandShape expected;
    double preampDb;
  } cases[] = {{"dip", {1, -6.0f, 1000.0, 2.0f}, 0.0f, {1, 6.0f, 1000.0, 2.0f}, 0.0},
               {"dip 3 dB up", {1, -6.0f, 1000.0, 2.0f}, 3.0f, {1, 6.0f, 1000.0, 2.0f}, -3.0},
               {"narrow peak", {1, 4.0f, 3000.0, 8.0f}, 0.0f, {1, -4.0f, 3000.0, 8.0f}, 0.0},
               {"broad bass dip", {1, -5.0f, 80.0, 0.7f}, -2.0f, {1, 5.0f, 80.0, 0.7f}, 2.0}};
  for (const auto& c : cases) {
    dsp::ResponseArray db = Sum({c.filter});
    for (float& v : db) v += c.offsetDb;
    const FitResult fit = FitBands(Curve(db), FlatTarget(), {}, FitOptions{});
    ASSERT_EQ(fit.bands.size(), 1u) << c.name;
    EXPECT_EQ(fit.bands[0].type, c.expected.type) << c.name;
    EXPECT_EQ(fit.bands[0].gainDb, c.expected.gainDb) << c.name;
    EXPECT_EQ(fit.bands[0].frequency, c.expected.frequency) << c.name;
    EXPECT_NEAR(fit.bands[0].q, c.expected.q, 1e-6) << c.name;
    EXPECT_NEAR(fit.preampDb, c.preampDb, 0.01) << c.name;
    EXPECT_LE(fit.rmsAfter, 0.01) << c.name;
  }
}

TEST(BandFit, FlatNeedsNoBandOnlyThePreamp) {
  GridCurve measurement = FlatTarget();
  measurement.db.fill(3.0f);
  const FitResult fit = FitBands(measurement, FlatTarget(), {}, FitOptions{});
  EXPECT_TRUE(fit.bands.empty());
  EXPECT_DOUBLE_EQ(fit.preampDb, -3.0);
  EXPECT_DOUBLE_EQ(fit.rmsAfter, 0.0);
}

TEST(BandFit, EveryBandKeepsTheMachinesLimits) {
  dsp::ResponseArray peak{}, notch{}, edgeStep{}, bassHole{}, comb{};
  for (int i = 0; i < dsp::kGridPoints; ++i) {
    const auto k = static_cast<std::size_t>(i);
    const double f = dsp::GridFrequency(i);
    peak[k] = static_cast<float>(40.0 * std::exp(-std::pow(std::log2(f / 1000.0) * 20.0, 2.0)));
    notch[k] = -peak[k];
    edgeStep[k] = f > 15000.0 ? 20.0f : 0.0f;
    bassHole[k] = f < 100.0 ? -30.0f : 0.0f;
    comb[k] = static_cast<float>(12.0 * std::sin(i * 0.9));
  }
  const struct {
    const char* name;
    dsp::ResponseArray measurement;
    bool shelves;
  } cases[] = {{"huge peak", peak, false},
               {"narrow notch", notch, false},
               {"step at range edge", edgeStep, false},
               {"bass hole", bassHole, true},
               {"comb", comb, true}};
  FitOptions options;
  options.maxBoostDb = 3.0;
  for (const auto& c : cases) {
    options.shelves = c.shelves;
    const FitResult fit = FitBands(Curve(c.measurement), FlatTarget(), {}, options);
    EXPECT_LE(fit.rmsAfter, fit.rmsBefore) << c.name;
    EXPECT_LE(fit.bands.size(), 10u) << c.name;
    for (const dsp::BandShape& b : fit.bands) {
      EXPECT_TRUE(b.type == 1 || (c.shelves && (b.type == 4 || b.type == 5))) << c.name;
      EXPECT_EQ(b.frequency, std::trunc(b.frequency)) << c.name;
      EXPECT_GE(b.frequency, 20.0) << c.name;
      EXPECT_LE(b.frequency, 20000.0) << c.name;
      EXPECT_GE(b.gainDb, -15.0) << c.name;
      EXPECT_LE(b.gainDb, 3.0) << c.name;
      EXPECT_NEAR(b.gainDb * 10.0, std::round(b.gainDb * 10.0), 1e-4) << c.name;
      EXPECT_NE(b.gainDb, 0.0) << c.name;
      EXPECT_GE(b.q, 0.1 - 1e-7) << c.name;
      EXPECT_LE(b.q, b.type == 1 ? 30.0 : 2.0) << c.name;
      EXPECT_NEAR(b.q * 1000.0, std::round(b.q * 1000.0), 1e-3) << c.name;
    }
    const dsp::ResponseArray total = Sum(fit.bands);
    for (float v : total) ASSERT_LE(v, 3.05f) << c.name;  // the bands together boost no more than allowed
  }
}

TEST(BandFit, FixedBandsAreCountedAndNeverFought) {
  // The fixed bands already make up the measurement's dip: nothing is left for the free bands.
  const dsp::ResponseArray fixed = Sum({{4, 6.0, 200.0, 0.7}, {1, -5.0, 3000.0, 3.0}});
  const FitResult fit = FitBands(Negated(fixed), FlatTarget(), fixed, FitOptions{});
  EXPECT_TRUE(fit.bands.empty());
  EXPECT_NEAR(fit.rmsAfter, 0.0, 1e-6);
}

TEST(BandFit, SameInputGivesTheSameBands) {
  dsp::ResponseArray rough{};
  for (int i = 0; i < dsp::kGridPoints; ++i)
    rough[static_cast<std::size_t>(i)] =
        static_cast<float>(5.0 * std::sin(i * 0.05) + 2.0 * std::cos(i * 0.31));
  FitOptions options;
  options.shelves = true;
  const FitResult a = FitBands(Curve(rough), RoomTarget({}), {}, options);
  const FitResult b = FitBands(Curve(rough), RoomTarget({}), {}, options);
  ASSERT_EQ(a.bands.size(), b.bands.size());
  ASSERT_FALSE(a.bands.empty());
  for (std::size_t i = 0; i < a.bands.size(); ++i) {
    EXPECT_EQ(a.bands[i].type, b.bands[i].type);
    EXPECT_EQ(a.bands[i].gainDb, b.bands[i].gainDb);
    EXPECT_EQ(a.bands[i].frequency, b.bands[i].frequency);
    EXPECT_EQ(a.bands[i].q, b.bands[i].q);
  }
  EXPECT_EQ(a.rmsAfter, b.rmsAfter);
}

TEST(BandFit, ProgressRisesToOneAndCanStopTheFit) {
  const GridCurve measurement = Negated(Sum({{1, 4.0, 250.0, 2.0}}));
  std::vector<double> heard;
  FitBands(measurement, FlatTarget(), {}, FitOptions{}, [&](double p) {
    heard.push_back(p);
    return true;
  });
  ASSERT_FALSE(heard.empty());
  EXPECT_EQ(heard.back(), 1.0);
  for (std::size_t i = 1; i < heard.size(); ++i) EXPECT_LE(heard[i - 1], heard[i]);
  const FitResult stopped =
      FitBands(measurement, FlatTarget(), {}, FitOptions{}, [](double) { return false; });
  EXPECT_TRUE(stopped.cancelled);
  EXPECT_TRUE(stopped.bands.empty());
  EXPECT_EQ(stopped.rmsAfter, stopped.rmsBefore);
}

}  // namespace
}  // namespace vireo::measure
