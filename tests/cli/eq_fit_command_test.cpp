// vireo-cli eq fit and eq curve with a measurement: argument checks, a fit with a known answer, the
// automatic-EQ CSV form, an output channel's fixed bands, and the curve file's extra columns.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "../common/temp_folder.h"
#include "dsp/band_response.h"
#include "model/band.h"
#include "model/mode_file.h"
#include "model/parameter_store.h"
#include "run_cli.h"
#include "tuning/eq_identity.h"

namespace vireo::cli::test {
namespace {

// "frequency,COLUMN" rows at every grid point.
void WriteCurve(const std::string& path, const char* column, const std::function<double(int)>& db) {
  std::ofstream file(path);
  file << "frequency," << column << '\n';
  char row[64];
  for (int i = 0; i < dsp::kGridPoints; ++i) {
    std::snprintf(row, sizeof row, "%.17g,%.17g\n", dsp::GridFrequency(i), db(i));
    file << row;
  }
}

// The measurement of a room at 75 dB with one dip: Peaking -6 dB at 1000 Hz, Q 2.
double Dip(int i) {
  static const dsp::ResponseArray dip = [] {
    dsp::ResponseArray r{};
    dsp::ComputeBandResponse({1, -6.0, 1000.0, 2.0}, 0.0, r);
    return r;
  }();
  return 75.0 + dip[static_cast<std::size_t>(i)];
}

void Put(ParameterStore& store, int id, int band, const BandRecord& record) {
  const tuning::EqIdentity& eq = *tuning::FindEqIdentity(id);
  store.WriteBytes(Region::dspBlock, static_cast<std::size_t>(EqBandAddress(eq.group, eq.firstBand + band)),
                   EncodeBandRecord(record));
}

class EqFitCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteCurve(flat_, "raw", [](int) { return 80.0; });
    WriteCurve(dip_, "raw", Dip);
  }
  vireo::test::TempFolder temp_;
  const std::string flat_ = temp_.Path("flat.csv");
  const std::string dip_ = temp_.Path("dip.csv");
};

TEST_F(EqFitCommandTest, EveryOptionIsCheckedAtItsLimits) {
  struct Case {
    std::vector<std::string> options;
    std::string error;  // empty: accepted
  };
  const std::string shape = "eq fit takes an ID 0..14 and one or more MEASUREMENT files";
  const std::vector<Case> cases = {
      {{"--bands", "10"}, ""},
      {{"--bands", "1"}, ""},
      {{"--bands", "0"}, "--bands of equaliser 6 is 1..10"},
      {{"--bands", "11"}, "--bands of equaliser 6 is 1..10"},
      {{"--bands", "2.5"}, "--bands of equaliser 6 is 1..10"},
      {{"--from", "20", "--to", "20000"}, ""},
      {{"--from", "100.5"}, ""},
      {{"--from", "19.9"}, "--from is 20..20000 Hz"},
      {{"--to", "20000.5"}, "--to is 20..20000 Hz"},
      {{"--from", "1000", "--to", "1000"}, "--from must lie below --to"},
      {{"--from", "17000"}, "--from must lie below --to"},  // the default --to is 16000
      {{"--max-boost", "15"}, ""},
      {{"--max-boost", "0"}, ""},
      {{"--max-boost", "2.5"}, ""},
      {{"--max-boost", "15.1"}, "--max-boost is 0..15 dB"},
      {{"--max-boost", "-0.1"}, "--max-boost is 0..15 dB"},
      {{"--shelves", "--target", "room"}, ""},
      {{"--boost", "3"}, "unknown option --boost"},
      {{"--bands"}, "--bands needs a value"},
      {{"--target", "--shelves"}, "--target needs a value"},
      {{"--target", "flat", "--target", "room"}, "--target is given twice"},
      {{"--file", "x.noveq", "--apply"}, "--apply fits the machine's equaliser; it takes no --file"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"eq", "fit", "6", flat_};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliRun run = RunArgs(args);
    EXPECT_EQ(run.status, c.error.empty() ? 0 : 2) << c.options[0] << run.err;
    if (!c.error.empty()) {
      EXPECT_EQ(Lines(run.err)[0], "vireo-cli: " + c.error);
    }
  }
  EXPECT_EQ(Lines(RunArgs({"eq", "fit", "7", flat_, "--bands", "10"}).err)[0],
            "vireo-cli: --bands of equaliser 7 is 1..9");  // an output channel keeps its crossover
  EXPECT_EQ(RunArgs({"eq", "fit", "14", flat_, "--bands", "9"}).status, 0);
  EXPECT_EQ(Lines(RunArgs({"eq", "fit", "15", flat_}).err)[0], "vireo-cli: " + shape);
  EXPECT_EQ(Lines(RunArgs({"eq", "fit", "6"}).err)[0], "vireo-cli: " + shape);
}

TEST_F(EqFitCommandTest, AFlatMeasurementNeedsNoBands) {
  const CliRun run = RunArgs({"eq", "fit", "6", flat_});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "preamp -80.0\nrms 0.00 0.00\n");
}

TEST_F(EqFitCommandTest, AKnownDipComesBackAsItsBandAndNothingIsSent) {
  const std::string trace = temp_.Path("trace.txt");
  const CliRun run = RunArgs({"--emulator", "--trace", trace, "eq", "fit", "6", dip_});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_GE(lines.size(), 3u) << run.out;
  // The band undoes the dip.
  struct Band {
    int band = -1, type = -1, hz = 0;
    double gain = 0.0, q = 0.0;
  } strongest;
  for (std::size_t i = 0; i + 2 < lines.size(); ++i) {
    Band b;
    ASSERT_EQ(std::sscanf(lines[i].c_str(), "%d %d %lf %d %lf", &b.band, &b.type, &b.gain, &b.hz, &b.q), 5);
    EXPECT_EQ(b.band, static_cast<int>(i));
    if (std::fabs(b.gain) > std::fabs(strongest.gain)) strongest = b;
  }
  EXPECT_EQ(strongest.type, 1);
  EXPECT_NEAR(strongest.gain, 6.0, 0.15);
  EXPECT_NEAR(strongest.hz, 1000, 10);
  EXPECT_NEAR(strongest.q, 2.0, 0.1);
  const std::size_t n = lines.size();
  double preamp = 0.0, before = 0.0, after = 0.0;
  ASSERT_EQ(std::sscanf(lines[n - 2].c_str(), "preamp %lf", &preamp), 1);
  ASSERT_EQ(std::sscanf(lines[n - 1].c_str(), "rms %lf %lf", &before, &after), 2);
  // The band makes up the dip, so the level left is the measurement's 75 dB; one band, no other.
  EXPECT_NEAR(preamp, -75.0, 0.05);
  EXPECT_EQ(n, 3u);
  EXPECT_GT(before, 1.0);
  EXPECT_LT(after, 0.1);
  EXPECT_FALSE(std::filesystem::exists(trace));  // no machine was reached
  // The same bands reach the machine with --apply.
  const CliRun applied = RunArgs({"--emulator", "eq", "fit", "6", dip_, "--apply"});
  ASSERT_EQ(applied.status, 0) << applied.err;
  EXPECT_EQ(applied.out, run.out);
}

TEST_F(EqFitCommandTest, TheReadmeExampleRuns) {
  const CliRun run = RunArgs({"eq", "fit", "6", VIREO_TEST_DATA_DIR "/synthetic-room.csv"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Lines(run.out).size(), 4u) << run.out;  // the 80 Hz room mode and the 1 kHz dip, then the figures
}

TEST_F(EqFitCommandTest, AutomaticEqCsvWorksAsMeasurementAndAsTarget) {
  const std::string target = temp_.Path("target.csv");
  WriteCurve(target, "target", [](int i) { return Dip(i) - 75.0; });
  const CliRun run = RunArgs({"eq", "fit", "0", dip_, "--target", target});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "preamp -75.0\nrms 0.00 0.00\n");  // the measurement is the target, 75 dB up
}

TEST_F(EqFitCommandTest, AnOutputChannelsCrossoverFromTheModeFileIsKept) {
  // Output 1's split band 13 lifts 1 kHz by 6 dB; a measurement with the same 6 dB dip is then flat.
  ParameterStore store;
  ResetStoreDefaults(store);
  Put(store, 7, 13, {6.0f, 1000, 2.0f, 1});
  const std::string mode = temp_.Path("lift.noveq");
  ASSERT_TRUE(WriteModeFile(store, mode).ok);
  const CliRun fromFile = RunArgs({"eq", "fit", "7", dip_, "--file", mode});
  ASSERT_EQ(fromFile.status, 0) << fromFile.err;
  const CliRun fromDefaults = RunArgs({"eq", "fit", "7", dip_});
  ASSERT_EQ(fromDefaults.status, 0) << fromDefaults.err;
  EXPECT_EQ(Lines(fromFile.out).size(), 2u)
      << fromFile.out;  // preamp and rms: the split band made up the dip
  EXPECT_GT(Lines(fromDefaults.out).size(), 2u) << fromDefaults.out;
  const CliRun missing = RunArgs({"eq", "fit", "7", dip_, "--file", temp_.Path("none.noveq")});
  EXPECT_EQ(missing.status, 1);
}

TEST_F(EqFitCommandTest, CurveCsvGainsTheMeasurementColumns) {
  ParameterStore store;
  ResetStoreDefaults(store);
  Put(store, 6, 3, {6.0f, 1000, 1.41f, 1});  // music band 4
  const std::string mode = temp_.Path("music.noveq");
  ASSERT_TRUE(WriteModeFile(store, mode).ok);
  const std::string target = temp_.Path("target.csv");
  WriteCurve(target, "target", [](int) { return 3.0; });
  const std::string csv = temp_.Path("curve.csv");
  const CliRun run =
      RunArgs({"eq", "curve", "6", "--measurement", flat_, "--csv", csv, "--target", target, "--file", mode});
  ASSERT_EQ(run.status, 0) << run.err;
  std::ifstream in(csv);
  std::string header, row;
  std::getline(in, header);
  EXPECT_EQ(header,
            "frequency_hz,band_1_db,band_2_db,band_3_db,band_4_db,band_5_db,band_6_db,band_7_db,band_8_db,"
            "band_9_db,band_10_db,total_db,measurement_db,target_db,prediction_db");
  // Every row: the target as given, the prediction the aligned measurement plus the total, and the
  // level such that the prediction sits on the target on average over 20 Hz..16 kHz.
  double offset = 0.0;
  int inRange = 0;
  while (std::getline(in, row)) {
    std::vector<std::string> cells;
    std::stringstream split(row);
    for (std::string cell; std::getline(split, cell, ',');) cells.push_back(cell);
    ASSERT_EQ(cells.size(), 15u);
    EXPECT_EQ(cells[13], "3.000");
    EXPECT_NEAR(std::stod(cells[14]), std::stod(cells[12]) + std::stod(cells[11]), 0.0015);
    const double hz = std::stod(cells[0]);
    if (hz >= 20.0 && hz <= 16000.0) {
      offset += std::stod(cells[14]) - 3.0;
      ++inRange;
    }
  }
  ASSERT_GT(inRange, 400);
  EXPECT_NEAR(offset / inRange, 0.0, 0.002);
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"eq", "curve", "6", "--csv", csv, "--target", "flat"},
                                             {"eq", "curve", "6", "--csv", csv, "--measurement"},
                                             {"eq", "curve", "6", "--csv", csv, "--file", mode, "extra"}}) {
    EXPECT_EQ(RunArgs(args).status, 2) << args.back();
  }
}

}  // namespace
}  // namespace vireo::cli::test
