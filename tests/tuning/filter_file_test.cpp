#include "tuning/filter_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../common/recording_sender.h"
#include "tuning/eq_operations.h"

namespace vireo::tuning {
namespace {

void ExpectBand(const dsp::BandShape& b, int type, double gain, double frequency, double q) {
  EXPECT_EQ(b.type, type);
  EXPECT_DOUBLE_EQ(b.gainDb, gain);
  EXPECT_DOUBLE_EQ(b.frequency, frequency);
  EXPECT_NEAR(b.q, q, 1e-4);
}

TEST(FilterFileTest, ReadsRoomEqWizardFilterSettingsWithBomAndCrLf) {
  const std::string text =
      "\xEF\xBB\xBF"
      "Filter Settings file\r\n\r\nRoom EQ V5.20.13\r\nDated: 10-Dec-2026 10:12:45\r\n\r\n"
      "Notes:Living room\r\n\r\nEqualiser: Generic\r\nAverage 1\r\n"
      "Filter  1: ON  PK       Fc   63.5 Hz  Gain  -5.0 dB  Q  4.00\r\n"
      "Filter  2: ON  None\r\n"
      "Filter  3: ON  LS 12dB  Fc   100.0 Hz  Gain   3.0 dB\r\n"
      "Filter  4: OFF PK       Fc   1000 Hz  Gain   2.0 dB  Q  1.000\r\n";
  const FilterFileResult r = ParseFilterFile(text, 10);
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(r.bands.size(), 2u);
  ExpectBand(r.bands[0], 1, -5.0, 63.5, 4.0);
  ExpectBand(r.bands[1], 4, 3.0, 100.0, 0.71);
}

TEST(FilterFileTest, ReadsEqualizerApoLinesAndNotesThePreamp) {
  const std::string text =
      "Preamp: -6.5 dB\n# measured at the sofa\n"
      "Filter 1: ON PK Fc 1000 Hz Gain -3.0 dB Q 1.41\n"
      "Filter 2: ON HP Fc 80 Hz\n"
      "Filter: ON PK Fc 250 Hz Gain +2 dB BW Oct 1.0\n"
      "Filter 3: ON HSC Fc 8000 Hz Gain 4 dB Q 0.9";
  const FilterFileResult r = ParseFilterFile(text, 10);
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(r.bands.size(), 4u);
  ExpectBand(r.bands[0], 1, -3.0, 1000, 1.41);
  ExpectBand(r.bands[1], 3, 0.0, 80, 0.71);
  ExpectBand(r.bands[2], 1, 2.0, 250, 1.41421);  // one octave: sqrt(2) / (2 - 1)
  ExpectBand(r.bands[3], 5, 4.0, 8000, 0.9);
  ASSERT_EQ(r.notes.size(), 1u);
  EXPECT_EQ(r.notes[0], "line 1: Preamp: -6.5 dB ignored");
}

TEST(FilterFileTest, RefusesTheWholeFileNamingTheLine) {
  struct Case {
    std::string line;
    std::string error;  // empty: accepted
  };
  const std::vector<Case> cases{
      {"Filter 1: ON BP Fc 1000 Hz Gain 1 dB Q 1",
       "line 2: filter type BP has no counterpart on the machine"},
      {"Filter 1: ON PK Fc 20000 Hz Gain 1 dB Q 1", ""},
      {"Filter 1: ON PK Fc 20000.1 Hz Gain 1 dB Q 1", "line 2: 20000.1 Hz is outside 20..20000 Hz"},
      {"Filter 1: ON PK Fc 19.9 Hz Gain 1 dB Q 1", "line 2: 19.9 Hz is outside 20..20000 Hz"},
      {"Filter 1: ON PK Fc 100 Hz Gain -15 dB Q 1", ""},
      {"Filter 1: ON PK Fc 100 Hz Gain 15.1 dB Q 1", "line 2: gain 15.1 dB is outside -15..+15 dB"},
      {"Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 30", ""},
      {"Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 30.5", "line 2: Q 30.50 is outside 0.1..30 for this type"},
      {"Filter 1: ON LSC Fc 100 Hz Gain 1 dB Q 2", ""},
      {"Filter 1: ON LSC Fc 100 Hz Gain 1 dB Q 2.1", "line 2: Q 2.10 is outside 0.1..2 for this type"},
      {"Filter 1: ON PK Fc 100 Hz Gain 1 dB Q 0.09", "line 2: Q 0.09 is outside 0.1..30 for this type"},
      {"Filter 1: ON PK Gain 1 dB Q 1", "line 2: the filter has no Fc"},
      {"Filter 1: ON PK Fc 100 Hz Q 1", "line 2: the filter has no Gain"},
      {"Filter 1: ON PK Fc abc Hz", "line 2: \"Fc\" needs a number after it"},
      {"Filter 1: ON PK Fc nan Hz Gain 1 dB", "line 2: \"Fc\" needs a number after it"},
      {"Filter 1: MAYBE PK Fc 100 Hz", "line 2: a filter is ON or OFF, not \"MAYBE\""},
      {"Filter 1: ON PK Fc 100 Hz Gain 1 dB Slope 2", "line 2: \"Slope\" is not Fc, Gain, Q or BW Oct"},
      {"Filter 1:", "line 2: a filter line needs ON or OFF and a type"},
  };
  for (const Case& c : cases) {
    const FilterFileResult r = ParseFilterFile("Preamp: 0 dB\n" + c.line + "\n", 10);
    EXPECT_EQ(r.ok, c.error.empty()) << c.line;
    EXPECT_EQ(r.error, c.error) << c.line;
    if (!r.ok) {
      EXPECT_TRUE(r.bands.empty());
    }
  }
  std::string eleven;
  for (int i = 1; i <= 11; ++i) eleven += "Filter " + std::to_string(i) + ": ON PK Fc 100 Hz Gain 1 dB Q 1\n";
  EXPECT_EQ(ParseFilterFile(eleven, 10).error, "line 11: more filters than the 10 bands of this equaliser");
  EXPECT_TRUE(ParseFilterFile(eleven, 11).ok);
}

TEST(FilterFileTest, WritesApoLinesThatReadBack) {
  const std::vector<dsp::BandShape> bands{
      {1, -3.0, 1000, 1.41}, {3, 0.0, 80, 0.7}, {0, 5.0, 500, 1.0}, {4, 3.0, 100, 0.71}, {14, 0.0, 90, 0.7}};
  const std::string text = FormatFilterFile(bands);
  EXPECT_EQ(text,
            "Filter 1: ON PK Fc 1000 Hz Gain -3.0 dB Q 1.410\n"
            "Filter 2: ON HPQ Fc 80 Hz Q 0.700\n"
            "Filter 3: ON LSC Fc 100 Hz Gain 3.0 dB Q 0.710\n");
  const FilterFileResult back = ParseFilterFile(text, 10);
  ASSERT_TRUE(back.ok);
  ASSERT_EQ(back.bands.size(), 3u);
  ExpectBand(back.bands[1], 3, 0.0, 80, 0.7);
  ExpectBand(back.bands[2], 4, 3.0, 100, 0.71);
}

TEST(FilterFileTest, ImportKeepsAnOutputCrossoverAndFlattensTheRest) {
  ParameterStore store;
  ResetStoreDefaults(store);
  test::RecordingSender sender;
  const dsp::BandShape crossover = ReadEqBand(store, 7, 9);
  WriteEqBand(store, sender, 7, 5, {1, 6.0, 1000, 1.41});
  EXPECT_EQ(ImportableBandCount(7), 9);
  EXPECT_EQ(ImportableBandCount(6), 10);
  EXPECT_EQ(ImportableBandCount(15), 0);
  const std::vector<dsp::BandShape> file{{1, -4.0, 63, 2.0}, {5, 2.0, 8000, 0.71}};
  sender.paced.clear();
  ApplyFilterBands(store, sender, 7, file);
  ExpectBand(ReadEqBand(store, 7, 0), 1, -4.0, 63, 2.0);
  ExpectBand(ReadEqBand(store, 7, 1), 5, 2.0, 8000, 0.71);
  ExpectBand(ReadEqBand(store, 7, 5), 1, 0.0, 1000, 1.41);  // flattened where it stood
  const dsp::BandShape kept = ReadEqBand(store, 7, 9);
  EXPECT_EQ(kept.type, crossover.type);
  EXPECT_DOUBLE_EQ(kept.frequency, crossover.frequency);
  EXPECT_EQ(sender.paced.size(), 9u * 2u);  // nine bands, each its record then its coefficients
  EXPECT_EQ(ExportableBands(store, 7).size(), 9u);
}

}  // namespace
}  // namespace vireo::tuning
