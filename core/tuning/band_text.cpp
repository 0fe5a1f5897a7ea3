// Band texts.
#include "tuning/band_text.h"

#include <array>
#include <cmath>
#include <cstdio>

#include "dsp/band_response.h"

namespace vireo::tuning {

namespace {
constexpr std::array<std::string_view, 6> kEnglishTypes = {"OFF", "PEQ", "LP", "HP", "LS", "HS"};
constexpr std::array<std::string_view, 6> kChineseTypes = {"关闭", "参量", "低通", "高通", "低架", "高架"};
// Far beyond any band value, and small enough that the digits can never overflow a double.
constexpr double kLargestTyped = 1e9;

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}
}  // namespace

std::string BandGainText(double gain) {
  if (!std::isfinite(gain)) gain = 0.0;
  // Adding zero turns -0.0 into +0.0; a value that rounds to -0.0 is shown as +0.0 too.
  if (std::fabs(gain) < 0.05) gain = 0.0;
  return Format("%+-.1fdB", gain + 0.0);
}

std::string BandFrequencyText(double frequency) {
  return Format("%.0fHz", dsp::WholeHertz(frequency));
}

std::string BandQText(double q) {
  return Format("%.2f", std::isfinite(q) ? q : 0.0);
}

double LenientDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  double sign = 1.0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) sign = text[i++] == '-' ? -1.0 : 1.0;
  double value = 0.0;
  bool digits = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value < kLargestTyped) value = value * 10.0 + (text[i] - '0');
    digits = true;
  }
  if (i < text.size() && text[i] == '.') {
    double scale = 0.1;
    for (++i; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, scale /= 10.0) {
      value += (text[i] - '0') * scale;
      digits = true;
    }
  }
  if (!digits || value >= kLargestTyped) return 0.0;
  return sign * value;
}

std::string_view BandTypeName(int code, int languageIndex) {
  if (code < 0 || code >= static_cast<int>(kEnglishTypes.size())) return {};
  const auto index = static_cast<std::size_t>(code);
  return languageIndex == 1 ? kEnglishTypes[index] : kChineseTypes[index];
}

int BandTypeFromName(std::string_view name, int languageIndex) {
  name = Trimmed(name);
  const auto& names = languageIndex == 1 ? kEnglishTypes : kChineseTypes;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == name) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace vireo::tuning
