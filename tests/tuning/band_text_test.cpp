// Band texts of the lists and editors, and reading back typed numbers.
#include "tuning/band_text.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vireo::tuning;

TEST(BandText, Formats) {
  EXPECT_EQ(BandGainText(6.0), "+6.0dB");
  EXPECT_EQ(BandGainText(-12.55), "-12.6dB");  // -12.55 is stored a hair below, so it rounds away
  EXPECT_EQ(BandGainText(-0.04), "+0.0dB");
  EXPECT_EQ(BandGainText(-0.0), "+0.0dB");
  EXPECT_EQ(BandGainText(NAN), "+0.0dB");
  // A record carries the whole hertz below a fraction; the text shows what the machine got.
  EXPECT_EQ(BandFrequencyText(999.6), "999Hz");
  EXPECT_EQ(BandFrequencyText(2124.99), "2124Hz");
  EXPECT_EQ(BandFrequencyText(20000.0), "20000Hz");
  EXPECT_EQ(BandFrequencyText(NAN), "0Hz");
  EXPECT_EQ(BandQText(1.414), "1.41");
}

TEST(BandText, LenientDecimalReadsTheLeadingNumber) {
  const struct {
    const char* text;
    double value;
  } cases[] = {{"+6.0dB", 6.0}, {" -3.5", -3.5}, {"1000Hz", 1000.0},   {".5", 0.5},  {"12.", 12.0},
               {"abc", 0.0},    {"", 0.0},       {"-", 0.0},           {"nan", 0.0}, {"inf", 0.0},
               {"1e5", 1.0},    {"0x10", 0.0},   {"99999999999", 0.0}, {"2,5", 2.0}, {"--4", 0.0}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(LenientDecimal(c.text), c.value) << c.text;
}

TEST(BandText, TypeNamesByLanguage) {
  EXPECT_EQ(BandTypeName(0, 1), "OFF");
  EXPECT_EQ(BandTypeName(5, 1), "HS");
  EXPECT_EQ(BandTypeName(2, 0), "低通");
  EXPECT_EQ(BandTypeName(6, 1), "");
  EXPECT_EQ(BandTypeName(-1, 0), "");
  EXPECT_EQ(BandTypeFromName(" LS ", 1), 4);
  EXPECT_EQ(BandTypeFromName("高架", 0), 5);
  EXPECT_EQ(BandTypeFromName("LS", 0), -1);  // the other language's name is unknown here
  EXPECT_EQ(BandTypeFromName("peq", 1), -1);
}
