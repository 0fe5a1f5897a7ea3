// The texts of a band in the band lists and editors, and reading back what the user typed there.
#pragma once

#include <string>
#include <string_view>

namespace vireo::tuning {

// "+3.0dB", "-12.5dB", "+0.0dB" (a negative zero shows as +0.0).
std::string BandGainText(double gain);
// "1000Hz": whole hertz, rounded.
std::string BandFrequencyText(double frequency);
// "1.41".
std::string BandQText(double q);

// The leading decimal number of typed text: optional blanks and sign, digits with an optional point and
// fraction; whatever follows ("dB", "Hz") is ignored. Text without such a number reads as 0, and so does a
// number too large to be a band value, so nothing typed can become infinite or not a number.
double LenientDecimal(std::string_view text);

// The band type names of the lists: "OFF", "PEQ", "LP", "HP", "LS", "HS" (languageIndex 1) or "关闭",
// "参量", "低通", "高通", "低架", "高架" (otherwise), by type code 0..5; empty for any other code.
std::string_view BandTypeName(int code, int languageIndex);
// The code of a type name of that language (exact match after trimming blanks); -1 when it is none.
int BandTypeFromName(std::string_view name, int languageIndex);

}  // namespace vireo::tuning
