#include "tuning/filter_file.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <optional>

#include "files/file_access.h"
#include "tuning/eq_identity.h"
#include "tuning/eq_operations.h"

namespace vireo::tuning {

namespace {

constexpr double kPeakingQ = 1.41;
constexpr double kOtherQ = 0.71;
constexpr double kMinFrequency = 20.0;
constexpr double kMaxFrequency = 20000.0;
constexpr double kGainLimit = 15.0;
constexpr double kMinQ = 0.1;
constexpr double kMaxPeakingQ = 30.0;
constexpr double kMaxOtherQ = 2.0;

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::vector<std::string_view> Tokens(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) out.push_back(line.substr(start, i - start));
  }
  return out;
}

std::optional<double> Number(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// Appends in place: GCC's -O3 analysis warns about "literal" + std::string(...) (a false -Wrestrict).
std::string Join(std::initializer_list<std::string_view> parts) {
  std::string out;
  for (std::string_view part : parts) out.append(part);
  return out;
}

std::string Line(int number, const std::string& message) {
  return Join({"line ", std::to_string(number), ": ", message});
}

std::string Fixed(double value, int decimals) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// The type code of a filter name; 0 for "None", -1 for a filter without a counterpart.
int TypeOf(const std::string& name) {
  if (name == "PK" || name == "PEQ" || name == "MODAL") return 1;
  if (name == "LP" || name == "LPQ") return 2;
  if (name == "HP" || name == "HPQ") return 3;
  if (name == "LS" || name == "LSC") return 4;
  if (name == "HS" || name == "HSC") return 5;
  if (name == "NONE") return 0;
  return -1;
}

struct ParsedLine {
  bool skip = false;  // switched off or "None"
  dsp::BandShape band;
  std::string error;
};

ParsedLine ParseFilter(const std::vector<std::string_view>& words) {
  ParsedLine out;
  // words[0] is "Filter" or "Filter N:" split as "Filter", "N:"; find the state after the colon.
  std::size_t i = 0;
  while (i < words.size() && words[i].back() != ':') ++i;
  ++i;
  if (i >= words.size()) {
    out.error = "a filter line needs ON or OFF and a type";
    return out;
  }
  const std::string state = Upper(words[i]);
  if (state != "ON" && state != "OFF") {
    out.error = Join({"a filter is ON or OFF, not \"", words[i], "\""});
    return out;
  }
  ++i;
  if (i >= words.size()) {
    out.error = "the filter has no type";
    return out;
  }
  const std::string name = Upper(words[i]);
  const int type = TypeOf(name);
  if (type < 0) {
    out.error = Join({"filter type ", words[i], " has no counterpart on the machine"});
    return out;
  }
  ++i;
  if (state == "OFF" || type == 0) {
    out.skip = true;
    return out;
  }
  // REW's fixed-slope shelves ("LS 12dB") keep their default Q.
  if (i < words.size() && (type == 4 || type == 5) && Upper(words[i]).ends_with("DB") &&
      Upper(words[i]) != "DB")
    ++i;
  std::optional<double> frequency;
  std::optional<double> gain;
  std::optional<double> q;
  while (i < words.size()) {
    const std::string key = Upper(words[i]);
    const auto value = [&](std::size_t at) -> std::optional<double> {
      return at < words.size() ? Number(words[at]) : std::nullopt;
    };
    if (key == "FC") {
      frequency = value(i + 1);
      if (!frequency) break;
      i += 2;
      if (i < words.size() && Upper(words[i]) == "HZ") ++i;
    } else if (key == "GAIN") {
      gain = value(i + 1);
      if (!gain) break;
      i += 2;
      if (i < words.size() && Upper(words[i]) == "DB") ++i;
    } else if (key == "Q") {
      q = value(i + 1);
      if (!q) break;
      i += 2;
    } else if (key == "BW" && i + 1 < words.size() && Upper(words[i + 1]) == "OCT") {
      const std::optional<double> octaves = value(i + 2);
      if (!octaves || *octaves <= 0.0 || *octaves > 10.0) {
        out.error = "the bandwidth in octaves must be a number above 0";
        return out;
      }
      const double ratio = std::pow(2.0, *octaves);
      q = std::sqrt(ratio) / (ratio - 1.0);
      i += 3;
    } else {
      out.error = Join({"\"", words[i], "\" is not Fc, Gain, Q or BW Oct"});
      return out;
    }
  }
  if (i < words.size()) {
    out.error = Join({"\"", words[i], "\" needs a number after it"});
    return out;
  }
  if (!frequency) {
    out.error = "the filter has no Fc";
    return out;
  }
  const bool hasGain = type == 1 || type == 4 || type == 5;
  if (hasGain && !gain) {
    out.error = "the filter has no Gain";
    return out;
  }
  dsp::BandShape band{type, hasGain ? *gain : 0.0, *frequency, q.value_or(type == 1 ? kPeakingQ : kOtherQ)};
  const double maxQ = type == 1 ? kMaxPeakingQ : kMaxOtherQ;
  if (band.frequency < kMinFrequency || band.frequency > kMaxFrequency) {
    out.error = Join({Fixed(band.frequency, 1), " Hz is outside 20..20000 Hz"});
  } else if (band.gainDb < -kGainLimit || band.gainDb > kGainLimit) {
    out.error = Join({"gain ", Fixed(band.gainDb, 1), " dB is outside -15..+15 dB"});
  } else if (band.q < kMinQ || band.q > maxQ) {
    out.error = Join({"Q ", Fixed(band.q, 2), " is outside 0.1..", Fixed(maxQ, 0), " for this type"});
  }
  out.band = band;
  return out;
}

}  // namespace

FilterFileResult ParseFilterFile(std::string_view text, int bandLimit) {
  FilterFileResult result;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::vector<std::string_view> words = Tokens(line);
    if (words.empty() || words[0].starts_with('#')) continue;
    const std::string first = Upper(words[0]);
    if (first.starts_with("PREAMP")) {
      result.notes.push_back(Line(number, Join({line, " ignored"})));
      continue;
    }
    // "Filter 1:", "Filter:", "Filter1:"; REW's own first line "Filter Settings file" is a header.
    const bool filter =
        first.starts_with("FILTER") &&
        (first.ends_with(":") || (first == "FILTER" && words.size() > 1 && words[1].back() == ':'));
    if (!filter) {
      // Headers of REW's file ("Room EQ V5.20", "Equaliser: Generic") and other configuration commands.
      if (first.ends_with(":")) result.notes.push_back(Line(number, Join({line, " ignored"})));
      continue;
    }
    ParsedLine parsed = ParseFilter(words);
    if (!parsed.error.empty()) {
      result.error = Line(number, parsed.error);
      result.bands.clear();
      return result;
    }
    if (parsed.skip) continue;
    if (static_cast<int>(result.bands.size()) >= bandLimit) {
      result.error = Line(
          number, Join({"more filters than the ", std::to_string(bandLimit), " bands of this equaliser"}));
      result.bands.clear();
      return result;
    }
    result.bands.push_back(parsed.band);
  }
  result.ok = true;
  return result;
}

std::string FormatFilterFile(std::span<const dsp::BandShape> bands) {
  static constexpr const char* kNames[] = {"", "PK", "LPQ", "HPQ", "LSC", "HSC"};
  std::string out;
  int n = 0;
  for (const dsp::BandShape& band : bands) {
    if (band.type < 1 || band.type > 5) continue;
    char line[128];
    if (band.type == 2 || band.type == 3) {
      std::snprintf(line, sizeof line, "Filter %d: ON %s Fc %.0f Hz Q %.3f\n", ++n, kNames[band.type],
                    band.frequency, band.q);
    } else {
      std::snprintf(line, sizeof line, "Filter %d: ON %s Fc %.0f Hz Gain %.1f dB Q %.3f\n", ++n,
                    kNames[band.type], band.frequency, band.gainDb, band.q);
    }
    out += line;
  }
  return out;
}

int ImportableBandCount(int identity) {
  const EqIdentity* eq = FindEqIdentity(identity);
  if (eq == nullptr) return 0;
  return eq->kind == EqKind::output ? kCrossoverBand : eq->bandCount;
}

std::vector<dsp::BandShape> ExportableBands(const ParameterStore& store, int identity) {
  std::vector<dsp::BandShape> out;
  for (int band = 0; band < ImportableBandCount(identity); ++band)
    out.push_back(ReadEqBand(store, identity, band));
  return out;
}

int ApplyFilterBands(ParameterStore& store, ReportSender& sender, int identity,
                     std::span<const dsp::BandShape> bands) {
  int written = 0;
  const int count = ImportableBandCount(identity);
  for (int band = 0; band < count; ++band) {
    dsp::BandShape shape;
    if (band < static_cast<int>(bands.size())) {
      shape = bands[static_cast<std::size_t>(band)];
    } else {
      shape = ReadEqBand(store, identity, band);
      shape = {1, 0.0, shape.frequency, kPeakingQ};
    }
    written += WriteEqBand(store, sender, identity, band, LimitBandEdit(shape));
  }
  return written;
}

FilterFileResult LoadFilterFile(const std::string& path, int bandLimit) {
  std::string text;
  const files::FileRead read = files::ReadBoundedFile(path, kFilterFileMaxBytes, &text);
  if (!read.ok()) {
    FilterFileResult refused;
    refused.error = files::DescribeFileProblem(read);
    refused.unreadable = true;
    return refused;
  }
  return ParseFilterFile(text, bandLimit);
}

}  // namespace vireo::tuning
