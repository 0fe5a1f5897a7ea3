// Reading measured responses: each format, each refusal with its line, sorting and merging, the grid,
// averaging and the room curve.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "common/temp_folder.h"
#include "measure/grid_curve.h"
#include "measure/response_import.h"

namespace vireo::measure {
namespace {

// Ten rows, row k (1..10) at 100 k Hz with level k, written with `format` (two %d: frequency, level).
std::string Rows(const char* format) {
  std::string out;
  char line[96];
  for (int k = 1; k <= 10; ++k) {
    std::snprintf(line, sizeof line, format, 100 * k, k);
    out += line;
  }
  return out;
}

struct FormatCase {
  const char* name;
  std::string text;
  double levelOffset;  // the level read at row k is k + levelOffset
};

TEST(ResponseImport, ReadsEveryFormat) {
  const FormatCase cases[] = {
      {"REW text export",
       "* Measurement data measured by REW V5.20\n* Freq(Hz) SPL(dB) Phase(degrees)\n" +
           Rows("%d.000000 %d.000 -12.5\n"),
       0.0},
      {"CSV with header", "Frequency,dB\n" + Rows("%d,%d\n"), 0.0},
      {"semicolons, decimal comma", "Freq;SPL\n" + Rows("%d;%d,5\n"), 0.5},
      {"TSV without header, phase", Rows("%d\t%d\t45\n"), 0.0},
      {"FRD with comments", "# speaker.frd\n* exported\n" + Rows("  %d.0   %d.0   -90.0\n"), 0.0},
      {"automatic-EQ measurement takes raw", "frequency,smoothed,raw,target\n" + Rows("%d,99,%d,-7\n"), 0.0},
      {"automatic-EQ target", "frequency,target\n" + Rows("%d,%d\n"), 0.0},
      {"named header without raw or target", "freq,spl,phase\n" + Rows("%d,%d,3\n"), 0.0},
      {"byte-order mark and CR LF",
       "\xEF\xBB\xBF"
       "frequency,raw\r\n" +
           Rows("%d,%d\r\n"),
       0.0},
  };
  for (const FormatCase& c : cases) {
    const ImportResult r = ParseResponse(c.text);
    ASSERT_TRUE(r.ok) << c.name << ": " << r.error;
    ASSERT_EQ(r.response.hz.size(), 10u) << c.name;
    EXPECT_EQ(r.response.hz[0], 100.0) << c.name;
    EXPECT_EQ(r.response.hz[9], 1000.0) << c.name;
    EXPECT_DOUBLE_EQ(r.response.db[0], 1.0 + c.levelOffset) << c.name;
    EXPECT_DOUBLE_EQ(r.response.db[9], 10.0 + c.levelOffset) << c.name;
  }
}

TEST(ResponseImport, RefusesTheFileAtItsFirstFault) {
  const std::string good = Rows("%d,%d\n");
  const struct {
    std::string text;
    const char* error;
  } cases[] = {
      {"100,1\n200,2\nnan,3\n" + good, "line 3: not a finite number"},
      {"100,inf\n" + good, "line 1: not a finite number"},
      {"100,1e999\n" + good, "line 1: not a finite number"},
      {good + "-5,1\n", "line 11: frequency must be above 0 Hz"},
      {"0,1\n" + good, "line 1: frequency must be above 0 Hz"},
      {"100,1\n200,abc\n" + good, "line 2: not a number: \"abc\""},
      {"Frequency,SPL\n100,1\nFrequency,SPL\n" + good, "line 3: not a number: \"Frequency\""},
      {"100\n" + good, "line 1: expected at least 2 columns"},
      {"frequency,smoothed,raw\n100,1\n", "line 2: expected at least 3 columns"},
      {"100,600\n" + good, "line 1: level beyond +-500 dB"},
      {"100,1\n200,2\n300,3\n100,4\n", "only 3 distinct frequencies; at least 10 are needed"},
      {std::string(kMeasurementMaxBytes + 1, '\n'), "larger than 4 MiB"},
  };
  for (const auto& c : cases) {
    const ImportResult r = ParseResponse(c.text);
    EXPECT_FALSE(r.ok) << c.error;
    EXPECT_EQ(r.error, c.error);
    EXPECT_TRUE(r.response.hz.empty()) << c.error;
  }
}

TEST(ResponseImport, SortsAndPowerAveragesRowsOfOneFrequency) {
  // 0 dB and 6.0206 dB are powers 1 and 4: their mean 2.5 is 3.9794 dB.
  const ImportResult r = ParseResponse("200,0\n100,1\n200,6.0206\n" + Rows("%d0,%d\n"));
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(r.response.hz.size(), 12u);  // 100, 200, then the rows' 1000..10000
  EXPECT_EQ(r.response.hz[0], 100.0);
  EXPECT_EQ(r.response.hz[1], 200.0);
  EXPECT_NEAR(r.response.db[1], 3.9794, 1e-4);
  for (std::size_t i = 1; i < r.response.hz.size(); ++i) EXPECT_LT(r.response.hz[i - 1], r.response.hz[i]);
}

TEST(ResponseImport, LoadRefusesFoldersAndOversizeFilesUnread) {
  test::TempFolder folder;
  const std::string big = folder.Path("big.txt");
  std::ofstream(big) << std::string(kMeasurementMaxBytes + 1, ' ');
  const std::string fine = folder.Path("fine.csv");
  std::ofstream(fine) << Rows("%d,%d\n");
  EXPECT_TRUE(LoadResponse(folder.path()).unreadable);
  const ImportResult tooLarge = LoadResponse(big);
  EXPECT_TRUE(tooLarge.unreadable);
  EXPECT_EQ(tooLarge.error, "larger than 4 MiB");
  EXPECT_TRUE(LoadResponse(fine).ok);
}

TEST(GridCurve, InterpolatesOnLogFrequencyAndHoldsTheEdges) {
  // 0 dB at 100 Hz, 10 dB at 1 kHz: a straight line of 10 dB a decade between them.
  const GridCurve c = OnGrid(Response{{100.0, 1000.0}, {0.0, 10.0}});
  // f_i = 18 (23000/18)^(i/512) reaches 100 Hz after i = 122.75 and passes 1 kHz after i = 287.56.
  EXPECT_EQ(c.first, 123);
  EXPECT_EQ(c.last, 287);
  EXPECT_EQ(c.db[0], 0.0f);
  EXPECT_EQ(c.db[511], 10.0f);
  // i = 200: f = 18 * 1277.78^(200/512) = 18 * 10^1.21346 = 294.24 Hz, 10 log10(2.9424) = 4.6873 dB.
  EXPECT_NEAR(c.db[200], 4.6873, 1e-3);
}

TEST(GridCurve, PowerAverageOfTwoPositionsOverTheirCommonRange) {
  GridCurve a = FlatTarget();
  GridCurve b = FlatTarget();
  b.db.fill(6.0206f);
  a.first = 10;
  a.last = 500;
  b.first = 0;
  b.last = 400;
  const GridCurve curves[] = {a, b};
  const GridCurve avg = PowerAverage(curves);
  EXPECT_EQ(avg.first, 10);
  EXPECT_EQ(avg.last, 400);
  EXPECT_NEAR(avg.db[0], 3.9794, 1e-4);
  EXPECT_NEAR(avg.db[511], 3.9794, 1e-4);
}

TEST(GridCurve, RoomCurveTiltsAndRisesAndClampsItsParameters) {
  // At 18 Hz: -1 * log10(0.018) = 1.74473; 4 / (1 + 0.12^2) = 3.94322.
  EXPECT_NEAR(RoomTarget({}).db[0], 5.68795, 1e-4);
  // Tilt -10 is held at -3, rise 50 at 12: 5.23418 + 12 / 1.0144 = 17.06383.
  EXPECT_NEAR(RoomTarget({-10.0, 50.0}).db[0], 17.06383, 1e-4);
  EXPECT_EQ(FlatTarget().db[300], 0.0f);
}

}  // namespace
}  // namespace vireo::measure
