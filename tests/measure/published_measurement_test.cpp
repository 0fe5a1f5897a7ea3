// Published headphone measurements fitted with 10 peaking bands, against the 10-band parametric equaliser
// the open-source AutoEq project publishes for the same measurement and target (see the data's README).
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "measure/band_fit.h"

namespace vireo::measure {
namespace {

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// "frequency,raw,target" -> "frequency,target": the target file the projects publish beside a measurement.
std::string TargetColumns(const std::string& text) {
  std::istringstream in(text);
  std::string line, out;
  while (std::getline(in, line)) {
    const std::size_t a = line.find(',');
    const std::size_t b = line.find(',', a + 1);
    out += line.substr(0, a) + "," + line.substr(b + 1) + "\n";
  }
  return out;
}

// "Filter N: ON PK|LSC|HSC Fc F Hz Gain G dB Q Q" lines.
std::vector<dsp::BandShape> PublishedFilters(const std::string& text) {
  std::vector<dsp::BandShape> bands;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    char type[8] = {};
    dsp::BandShape b;
    int n = 0;
    if (std::sscanf(line.c_str(), "Filter %d: ON %7s Fc %lf Hz Gain %lf dB Q %lf", &n, type, &b.frequency,
                    &b.gainDb, &b.q) != 5) {
      continue;
    }
    b.type = std::string(type) == "PK" ? 1 : (std::string(type) == "LSC" ? 4 : 5);
    bands.push_back(b);
  }
  return bands;
}

// RMS over 20 Hz..10 kHz of target - (measurement + bands), the mean (the level) removed.
double LevelFreeRms(const GridCurve& measurement, const GridCurve& target,
                    const std::vector<dsp::BandShape>& bands) {
  dsp::ResponseArray total{};
  for (const dsp::BandShape& b : bands) {
    dsp::ResponseArray r{};
    dsp::ComputeBandResponse(b, 0.0, r);
    for (std::size_t i = 0; i < r.size(); ++i) total[i] += r[i];
  }
  std::vector<double> e;
  for (std::size_t i = 0; i < total.size(); ++i) {
    const double f = dsp::GridFrequencies()[i];
    if (f >= 20.0 && f <= 10000.0)
      e.push_back(static_cast<double>(target.db[i]) - measurement.db[i] - total[i]);
  }
  double mean = 0.0, square = 0.0;
  for (double v : e) mean += v / static_cast<double>(e.size());
  for (double v : e) square += (v - mean) * (v - mean) / static_cast<double>(e.size());
  return std::sqrt(square);
}

TEST(PublishedMeasurement, TenPeakingBandsLeaveAtMostSixTenthsOfThePublishedResidual) {
  const std::vector<std::string> names = {"hd600", "ath-m50x", "dt990pro", "ananda"};
  double ourSum = 0.0;
  for (const std::string& name : names) {
    const std::string dir = VIREO_MEASUREMENTS_DIR "/";
    const std::string text = Read(dir + name + ".csv");
    const ImportResult measured = LoadResponse(dir + name + ".csv");
    const ImportResult target = ParseResponse(TargetColumns(text));
    ASSERT_TRUE(measured.ok) << measured.error;
    ASSERT_TRUE(target.ok) << target.error;
    const GridCurve m = OnGrid(measured.response);
    const GridCurve t = OnGrid(target.response);
    FitOptions options;
    options.fromHz = 20.0;
    options.toHz = 10000.0;
    options.maxBoostDb = 15.0;  // the level is removed: boost against cut is not what is compared
    const auto start = std::chrono::steady_clock::now();
    const FitResult fit = FitBands(m, t, dsp::ResponseArray{}, options);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const double ours = LevelFreeRms(m, t, fit.bands);
    const double theirs = LevelFreeRms(m, t, PublishedFilters(Read(dir + name + "_parametric_eq.txt")));
    std::printf("%s: ours %.3f dB RMS (%zu bands, %.1f ms), published %.3f dB RMS, ratio %.2f\n",
                name.c_str(), ours, fit.bands.size(), ms, theirs, ours / theirs);
    for (const auto& b : fit.bands) std::printf("  %d %.1f %.0f %.3f\n", b.type, b.gainDb, b.frequency, b.q);
    EXPECT_LE(ours, 0.6 * theirs) << name;
    ourSum += ours;
  }
  EXPECT_LE(ourSum / static_cast<double>(names.size()), 0.25);
}

}  // namespace
}  // namespace vireo::measure
