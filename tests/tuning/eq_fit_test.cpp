// Measurement tuning over the store: which bands stay, the prediction, the overlay and the curve files.
#include "tuning/eq_fit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "../common/temp_folder.h"
#include "dsp/band_response.h"
#include "model/band.h"
#include "tuning/eq_identity.h"

namespace vireo::tuning {
namespace {

constexpr std::size_t k1006Hz = 288;  // the grid point nearest 1 kHz

// Stores a band record without sending it.
void Put(ParameterStore& store, int id, int band, const BandRecord& record) {
  const EqIdentity& eq = *FindEqIdentity(id);
  store.WriteBytes(Region::dspBlock, static_cast<std::size_t>(EqBandAddress(eq.group, eq.firstBand + band)),
                   EncodeBandRecord(record));
}

// "frequency,level" rows at every grid point.
void WriteCurve(const std::string& path, const std::function<double(int)>& db) {
  std::ofstream file(path);
  file << "frequency,raw\n";
  char row[64];
  for (int i = 0; i < dsp::kGridPoints; ++i) {
    std::snprintf(row, sizeof row, "%.17g,%.17g\n", dsp::GridFrequency(i), db(i));
    file << row;
  }
}

TEST(EqFitTest, OnlyAnOutputsCrossoverAndSplitBandsAreFixed) {
  ParameterStore store;
  ResetStoreDefaults(store);
  // Bands 9..14 flat at 1 kHz, then +2 dB on the crossover band and +3 dB on split band 13: 5 dB fixed
  // at 1 kHz. A free band's +6 dB adds to the total only.
  for (int band = 9; band <= 14; ++band) Put(store, 7, band, {0.0f, 1000, 1.41f, 1});
  Put(store, 7, 9, {2.0f, 1000, 1.41f, 1});
  Put(store, 7, 13, {3.0f, 1000, 1.41f, 1});
  Put(store, 7, 8, {6.0f, 1000, 1.41f, 1});
  Put(store, 6, 0, {6.0f, 1000, 1.41f, 1});
  EXPECT_NEAR(FixedBandsResponse(store, 7)[k1006Hz], 5.0, 0.01);
  EXPECT_NEAR(FixedBandsResponse(store, 7)[0], 0.0, 0.01);  // 18 Hz, far from every band
  EXPECT_NEAR(EqTotalResponse(store, 7)[k1006Hz], 11.0, 0.02);
  for (int id : {0, 2, 6, 15, -1}) {
    for (float v : FixedBandsResponse(store, id)) ASSERT_EQ(v, 0.0f) << id;
  }
}

TEST(EqFitTest, TheFitKeepsToTheFreeBands) {
  ParameterStore store;
  ResetStoreDefaults(store);
  // Nine separate dips, but reverb A has seven free bands.
  measure::GridCurve dips = measure::FlatTarget();
  for (int hz : {40, 80, 160, 320, 640, 1280, 2560, 5120, 10240}) {
    dsp::ResponseArray dip{};
    dsp::ComputeBandResponse({1, -8.0, static_cast<double>(hz), 4.0}, 0.0, dip);
    for (std::size_t i = 0; i < dip.size(); ++i) dips.db[i] += dip[i];
  }
  measure::FitOptions nine;
  nine.bands = 9;
  EXPECT_EQ(FitEqBands(store, 2, dips, measure::FlatTarget(), nine).bands.size(), 7u);
  EXPECT_EQ(FitEqBands(store, 6, dips, measure::FlatTarget(), nine).bands.size(), 9u);
}

TEST(EqFitTest, ThePredictionIsMeasurementPlusPreampPlusEqualiser) {
  struct Case {
    float measurement;
    double preamp;
    float eq;
    float expected;
  };
  for (const Case c :
       {Case{3.0f, -1.5, 0.25f, 1.75f}, Case{80.0f, -80.0, 0.0f, 0.0f}, Case{-2.0f, 0.0, -3.0f, -5.0f}}) {
    measure::GridCurve m;
    m.db.fill(c.measurement);
    dsp::ResponseArray eq{};
    eq.fill(c.eq);
    EXPECT_EQ(PredictedResponse(m, c.preamp, eq)[100], c.expected);
  }
}

class EqFitFilesTest : public ::testing::Test {
 protected:
  vireo::test::TempFolder temp_;
};

TEST_F(EqFitFilesTest, SeveralMeasurementsArePowerAveraged) {
  WriteCurve(temp_.Path("a.csv"), [](int) { return 3.0; });
  WriteCurve(temp_.Path("b.csv"), [](int) { return -3.0; });
  const std::vector<std::string> paths{temp_.Path("a.csv"), temp_.Path("b.csv")};
  measure::GridCurve average;
  std::string problem;
  ASSERT_TRUE(LoadMeasurements(paths, &average, &problem)) << problem;
  // 10 log10((10^0.3 + 10^-0.3) / 2) = 10 log10(1.248225) = 0.9628 dB.
  EXPECT_NEAR(average.db[k1006Hz], 0.9628, 1e-3);
  EXPECT_EQ(average.first, 0);
}

TEST_F(EqFitFilesTest, TheFirstUnusableFileRefusesTheSetAndIsNamed) {
  const std::string good = temp_.Path("good.csv");
  const std::string bad = temp_.Path("bad.csv");
  WriteCurve(good, [](int) { return 0.0; });
  std::ofstream(bad) << "frequency,raw\n20,1\n30,x\n";
  const std::string missing = temp_.Path("missing.csv");
  struct Case {
    std::vector<std::string> paths;
    std::string begins;
  };
  for (const Case& c : std::vector<Case>{{{good, bad}, bad + ": line 3: "},
                                         {{missing, bad}, "cannot read " + missing + ": "},
                                         {{}, "no measurement file given"}}) {
    measure::GridCurve out;
    std::string problem;
    EXPECT_FALSE(LoadMeasurements(c.paths, &out, &problem));
    EXPECT_EQ(problem.rfind(c.begins, 0), 0u) << problem;
  }
}

TEST_F(EqFitFilesTest, TargetsAreFlatTheRoomCurveOrAFile) {
  const std::string file = temp_.Path("target.csv");
  std::ofstream(file)
      << "frequency,target\n10,2\n100,2\n200,2\n400,2\n800,2\n1000,2\n2000,2\n4000,2\n8000,2\n"
         "30000,2\n";
  measure::GridCurve out;
  std::string problem;
  ASSERT_TRUE(LoadTarget("flat", {}, &out, &problem));
  EXPECT_EQ(out.db[k1006Hz], 0.0f);
  ASSERT_TRUE(LoadTarget("room", {}, &out, &problem));
  // -1 x log10(1006.13 / 1000) + 4 / (1 + (1006.13 / 150)^2) = -0.00265 + 0.08697.
  EXPECT_NEAR(out.db[k1006Hz], 0.0843, 2e-4);
  ASSERT_TRUE(LoadTarget(file, {}, &out, &problem)) << problem;
  EXPECT_EQ(out.db[k1006Hz], 2.0f);
  EXPECT_FALSE(LoadTarget("Flat", {}, &out, &problem));  // a file name, and no such file
  EXPECT_EQ(problem.rfind("cannot read Flat: ", 0), 0u) << problem;
}

}  // namespace
}  // namespace vireo::tuning
