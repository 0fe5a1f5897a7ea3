#include "measure/response_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>
#include <optional>

#include "files/file_access.h"

namespace vireo::measure {

namespace {

// A level beyond this is no measurement, and its power (10^(dB/10)) would overflow when averaged.
constexpr double kMaxAbsDb = 500.0;

struct Columns {
  std::size_t frequency = 0;
  std::size_t level = 1;
};

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '"')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '"' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// Semicolons first, so that "1000;85,3" keeps its decimal comma; then commas; then tabs and spaces.
std::vector<std::string_view> Fields(std::string_view line, bool* decimalComma) {
  std::vector<std::string_view> out;
  char separator = 0;
  if (line.find(';') != std::string_view::npos) {
    separator = ';';
  } else if (line.find(',') != std::string_view::npos) {
    separator = ',';
  }
  *decimalComma = separator == ';';
  if (separator != 0) {
    std::size_t start = 0;
    while (true) {
      const std::size_t end = line.find(separator, start);
      out.push_back(Trimmed(line.substr(start, end == std::string_view::npos ? line.npos : end - start)));
      if (end == std::string_view::npos) break;
      start = end + 1;
    }
    return out;
  }
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) out.push_back(Trimmed(line.substr(start, i - start)));
  }
  return out;
}

enum class NumberKind { number, notNumber, notFinite };

NumberKind ParseNumber(std::string_view text, bool decimalComma, double* value) {
  std::string copy;
  if (decimalComma && text.find(',') != std::string_view::npos) {
    copy.assign(text);
    std::replace(copy.begin(), copy.end(), ',', '.');
    text = copy;
  }
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
  if (text.empty() || end != text.data() + text.size()) return NumberKind::notNumber;
  if (ec == std::errc::result_out_of_range) return NumberKind::notFinite;
  if (ec != std::errc()) return NumberKind::notNumber;
  return std::isfinite(*value) ? NumberKind::number : NumberKind::notFinite;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return out;
}

// A header names its columns; the level column follows the automatic-EQ projects' names.
Columns ColumnsOfHeader(const std::vector<std::string_view>& names) {
  Columns columns;
  std::optional<std::size_t> frequency, raw, target;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string name = Lower(names[i]);
    if (!frequency && (name == "frequency" || name == "freq" || name.starts_with("freq(") ||
                       name.starts_with("frequency(") || name == "hz")) {
      frequency = i;
    }
    if (!raw && name == "raw") raw = i;
    if (!target && name == "target") target = i;
  }
  columns.frequency = frequency.value_or(0);
  if (raw) {
    columns.level = *raw;
  } else if (target) {
    columns.level = *target;
  } else {
    columns.level = columns.frequency == 0 ? 1 : 0;
  }
  return columns;
}

bool IsComment(std::string_view line) {
  return line.starts_with('*') || line.starts_with('#') || line.starts_with("//");
}

ImportResult Refused(int line, const std::string& message) {
  ImportResult r;
  r.error = "line " + std::to_string(line) + ": " + message;
  return r;
}

// Sorts by frequency and merges the rows of one frequency into their power average.
Response SortedAndMerged(std::vector<std::pair<double, double>> rows) {
  std::stable_sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  Response out;
  std::size_t i = 0;
  while (i < rows.size()) {
    std::size_t j = i;
    double loudest = rows[i].second;
    while (j < rows.size() && rows[j].first == rows[i].first) loudest = std::max(loudest, rows[j++].second);
    double power = 0.0;
    for (std::size_t k = i; k < j; ++k) power += std::pow(10.0, (rows[k].second - loudest) / 10.0);
    out.hz.push_back(rows[i].first);
    out.db.push_back(j - i == 1 ? rows[i].second
                                : loudest + 10.0 * std::log10(power / static_cast<double>(j - i)));
    i = j;
  }
  return out;
}

}  // namespace

ImportResult ParseResponse(std::string_view text) {
  if (text.size() > kMeasurementMaxBytes) {
    ImportResult r;
    r.error = "larger than 4 MiB";
    return r;
  }
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<std::pair<double, double>> rows;
  std::optional<Columns> columns;
  bool headerSeen = false;
  int lineNumber = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = Trimmed(text.substr(start, end - start));
    start = end + 1;
    ++lineNumber;
    if (line.empty() || IsComment(line)) continue;
    bool decimalComma = false;
    const std::vector<std::string_view> fields = Fields(line, &decimalComma);
    double first = 0.0;
    if (ParseNumber(fields.front(), decimalComma, &first) == NumberKind::notNumber && rows.empty() &&
        !headerSeen && !columns) {
      headerSeen = true;
      columns = ColumnsOfHeader(fields);
      continue;
    }
    const Columns use = columns.value_or(Columns{});
    if (fields.size() <= std::max(use.frequency, use.level)) {
      return Refused(lineNumber, "expected at least " +
                                     std::to_string(std::max(use.frequency, use.level) + 1) + " columns");
    }
    double hz = 0.0;
    double db = 0.0;
    for (const auto& [index, value] : {std::pair{use.frequency, &hz}, std::pair{use.level, &db}}) {
      switch (ParseNumber(fields[index], decimalComma, value)) {
        case NumberKind::notNumber:
          return Refused(lineNumber, "not a number: \"" + std::string(fields[index].substr(0, 32)) + "\"");
        case NumberKind::notFinite:
          return Refused(lineNumber, "not a finite number");
        case NumberKind::number:
          break;
      }
    }
    if (!(hz > 0.0)) return Refused(lineNumber, "frequency must be above 0 Hz");
    if (std::fabs(db) > kMaxAbsDb) return Refused(lineNumber, "level beyond +-500 dB");
    rows.emplace_back(hz, db);
  }
  ImportResult result;
  result.response = SortedAndMerged(std::move(rows));
  if (result.response.hz.size() < kMeasurementMinPoints) {
    result.error =
        "only " + std::to_string(result.response.hz.size()) + " distinct frequencies; at least 10 are needed";
    result.response = {};
    return result;
  }
  result.ok = true;
  return result;
}

ImportResult LoadResponse(const std::string& path) {
  std::string text;
  const files::FileRead read = files::ReadBoundedFile(path, kMeasurementMaxBytes, &text);
  if (!read.ok()) {
    ImportResult refused;
    refused.error =
        read.problem == files::FileProblem::tooLarge ? "larger than 4 MiB" : files::DescribeFileProblem(read);
    refused.unreadable = true;
    return refused;
  }
  return ParseResponse(text);
}

}  // namespace vireo::measure
