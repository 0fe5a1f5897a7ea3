#include "tuning/curve_export.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "../common/recording_sender.h"
#include "tuning/eq_operations.h"

namespace vireo::tuning {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> out;
  std::stringstream in(text);
  for (std::string part; std::getline(in, part, separator);) out.push_back(part);
  return out;
}

TEST(CurveExportTest, CsvHasEveryGridPointAndTheBandsAddUpToTheTotal) {
  ParameterStore store;
  ResetStoreDefaults(store);
  test::RecordingSender sender;
  WriteEqBand(store, sender, 6, 3, {1, 6.0, 1000, 1.41});  // music band 4
  const std::vector<std::string> rows = Split(CurveCsv(EqCurveOf(store, 6)), '\n');
  ASSERT_EQ(rows.size(), 513u);
  EXPECT_EQ(rows[0],
            "frequency_hz,band_1_db,band_2_db,band_3_db,band_4_db,band_5_db,band_6_db,band_7_db,band_8_db,"
            "band_9_db,band_10_db,total_db");
  // f_i = 18 x 10^((i / 512) log10(23000 / 18)): 18.00, 1006.13 (i = 288), 22680.91 Hz.
  EXPECT_EQ(Split(rows[1], ',')[0], "18.00");
  EXPECT_EQ(Split(rows[289], ',')[0], "1006.13");
  EXPECT_EQ(Split(rows[512], ',')[0], "22680.91");
  EXPECT_NEAR(std::stod(Split(rows[289], ',')[4]), 6.0, 0.05);  // the lifted band near its centre
  for (std::size_t r = 1; r < rows.size(); ++r) {
    const std::vector<std::string> cells = Split(rows[r], ',');
    ASSERT_EQ(cells.size(), 12u);
    double sum = 0.0;
    for (std::size_t c = 1; c + 1 < cells.size(); ++c) sum += std::stod(cells[c]);
    EXPECT_NEAR(sum, std::stod(cells.back()), 0.006) << rows[r];  // ten cells rounded to 0.0005 each
  }
  EXPECT_EQ(Split(CurveCsv(EqCurveOf(store, 15)), '\n')[0], "frequency_hz,total_db");
}

TEST(CurveExportTest, AnOverlayAddsTheMeasurementTargetAndPredictionColumns) {
  ParameterStore store;
  ResetStoreDefaults(store);
  CurveOverlay overlay;
  overlay.measurement.fill(1.25f);
  overlay.target.fill(-0.5f);
  overlay.prediction.fill(-1.5f);
  const std::vector<std::string> rows = Split(CurveCsv(EqCurveOf(store, 2), &overlay), '\n');  // seven bands
  ASSERT_EQ(rows.size(), 513u);
  EXPECT_EQ(rows[0],
            "frequency_hz,band_1_db,band_2_db,band_3_db,band_4_db,band_5_db,band_6_db,band_7_db,total_db,"
            "measurement_db,target_db,prediction_db");
  const std::vector<std::string> cells = Split(rows[1], ',');
  ASSERT_EQ(cells.size(), 12u);
  EXPECT_EQ(cells[9], "1.250");
  EXPECT_EQ(cells[10], "-0.500");
  EXPECT_EQ(cells[11], "-1.500");
}

TEST(CurveExportTest, SvgIsOneDrawingWithACurvePerBandAndTheTotal) {
  ParameterStore store;
  ResetStoreDefaults(store);
  const std::string svg = CurveSvg(EqCurveOf(store, 2), "Reverb A & <B>");  // seven bands
  EXPECT_EQ(svg.rfind("<svg xmlns=\"http://www.w3.org/2000/svg\"", 0), 0u);
  EXPECT_TRUE(svg.ends_with("</svg>\n"));
  EXPECT_NE(svg.find(">Reverb A &amp; &lt;B&gt;</text>"), std::string::npos);
  std::size_t polylines = 0;
  for (std::size_t at = svg.find("<polyline"); at != std::string::npos; at = svg.find("<polyline", at + 1))
    ++polylines;
  EXPECT_EQ(polylines, 8u);
  EXPECT_NE(svg.find("stroke-width=\"2.5\""), std::string::npos);  // the total, drawn last and bold
}

}  // namespace
}  // namespace vireo::tuning
