// Axes, grid, markers, readout and curve geometry of the EQ graph.
#include "dsp/eq_graph_geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "dsp/band_response.h"

namespace vireo::dsp {
namespace {

constexpr double kAxisSpanDb = 2.0 * kAxisDb;

std::string Printf(const char* format, double value) {
  char text[48];
  const int n = std::snprintf(text, sizeof text, format, value);
  return n < 0 ? std::string()
               : std::string(text, static_cast<std::size_t>(std::min<int>(n, sizeof text - 1)));
}

struct FrequencyLine {
  double hz;
  const char* label;
};

constexpr std::array<FrequencyLine, 30> kFrequencyLines = {{
    {18, ""},       {20, "20Hz"},   {30, ""},   {40, ""},         {50, "50Hz"},     {60, ""},
    {70, ""},       {80, ""},       {90, ""},   {100, "100Hz"},   {200, "200Hz"},   {300, ""},
    {400, ""},      {500, "500Hz"}, {600, ""},  {700, ""},        {800, ""},        {900, ""},
    {1000, "1kHz"}, {2000, "2kHz"}, {3000, ""}, {4000, ""},       {5000, "5kHz"},   {6000, ""},
    {7000, ""},     {8000, ""},     {9000, ""}, {10000, "10kHz"}, {20000, "20kHz"}, {23000, ""},
}};

PointF Control(const PointF& from, const PointF& before, const PointF& after, double k) {
  return {from.x + k * (after.x - before.x), from.y + k * (after.y - before.y)};
}

}  // namespace

double PlotArea::XOfFrequency(double f) const {
  return left + width() * AxisFraction(f);
}

double PlotArea::YOfGain(double db) const {
  return top + (kAxisDb - db) * height() / kAxisSpanDb;
}

PlotArea PlotAreaForClient(int clientWidth, int clientHeight) {
  PlotArea plot;
  plot.right = std::max<double>(plot.left, clientWidth - kPlotRightMargin);
  plot.bottom = std::max<double>(plot.top, clientHeight - kPlotBottomMargin);
  return plot;
}

double FrequencyAtOffset(double x, double plotWidth) {
  return kGridMinHz * std::pow(10.0, std::log10(kGridMaxHz / kGridMinHz) * x / plotWidth);
}

double GainAtOffset(double y, double plotHeight) {
  return kAxisDb - (y / plotHeight) * kAxisSpanDb;
}

PointF MarkerOffset(const PlotArea& plot, double frequency, double gain) {
  return {plot.XOfFrequency(frequency) - plot.left, plot.YOfGain(gain) - plot.top};
}

std::vector<GridLine> LevelGridLines(const PlotArea& plot) {
  std::vector<GridLine> lines;
  lines.reserve(11);
  for (int step = 5; step >= -5; --step) {
    // The zero line's value is a negative zero, which "%+" prints as "-0".
    const double db = step == 0 ? -0.0 : 3.0 * step;
    lines.push_back({plot.YOfGain(db), Printf("%+-.0fdB", db)});
  }
  return lines;
}

std::vector<GridLine> FrequencyGridLines(const PlotArea& plot) {
  std::vector<GridLine> lines;
  lines.reserve(kFrequencyLines.size());
  for (const FrequencyLine& line : kFrequencyLines) {
    lines.push_back({plot.left + std::floor(plot.width() * AxisFraction(line.hz)), line.label});
  }
  return lines;
}

std::string FormatHz(double frequency) {
  return Printf("%.0fHz", WholeHertz(frequency));
}

std::string FormatDb(double gain) {
  return Printf("%+-.1fdB", gain);
}

std::string FormatQ(double q) {
  return Printf("%.2f", q);
}

GainTone ToneOfGain(double gain) {
  const double magnitude = std::fabs(gain);
  if (magnitude <= 6.0) return GainTone::calm;
  return magnitude < 10.1 ? GainTone::raised : GainTone::extreme;
}

double CurveY(const PlotArea& plot, double db) {
  if (std::isnan(db)) {
    db = 0.0;
  }
  return plot.YOfGain(std::clamp(db, -kCurveHoldDb, kCurveHoldDb));
}

std::vector<PointF> TotalCurvePoints(const PlotArea& plot, const ResponseArray& values) {
  std::vector<PointF> points(values.size());
  const double step = plot.width() / kGridPoints;
  for (std::size_t i = 0; i < values.size(); ++i) {
    points[i] = {plot.left + static_cast<double>(i) * step, CurveY(plot, values[i])};
  }
  return points;
}

std::vector<PointF> BandFillOutline(const PlotArea& plot, const ResponseArray& values, bool closesBelow) {
  std::vector<PointF> points(values.size() + 2);
  const double step = plot.width() / kGridPoints;
  for (std::size_t i = 1; i <= values.size(); ++i) {
    points[i] = {plot.left + static_cast<double>(i) * step, CurveY(plot, values[i - 1])};
  }
  if (closesBelow) {
    const double below = plot.bottom + kPlotBottomMargin;
    points.front() = {points[1].x, below};
    points.back() = {points[values.size()].x, below};
  } else {
    const double zero = plot.YOfGain(0.0);
    points.front() = {plot.left, zero};
    points.back() = {plot.right, zero};
  }
  return points;
}

std::vector<PointF> CardinalBezier(std::span<const PointF> points, double tension) {
  const std::size_t n = points.size();
  if (n < 2) {
    return {points.begin(), points.end()};
  }
  auto at = [&](std::size_t i, int offset) -> const PointF& {
    const auto k = static_cast<std::ptrdiff_t>(i) + offset;
    return points[static_cast<std::size_t>(
        std::clamp<std::ptrdiff_t>(k, 0, static_cast<std::ptrdiff_t>(n) - 1))];
  };
  const double k = tension / 3.0;
  std::vector<PointF> bezier;
  bezier.reserve(1 + 3 * (n - 1));
  bezier.push_back(points[0]);
  for (std::size_t i = 0; i + 1 < n; ++i) {
    bezier.push_back(Control(points[i], at(i, -1), points[i + 1], k));
    bezier.push_back(Control(points[i + 1], at(i, 2), points[i], k));
    bezier.push_back(points[i + 1]);
  }
  return bezier;
}

std::array<ReadoutRow, 3> ReadoutLayout(PointF marker, int bandNumber, double gain,
                                        const std::array<int, 3>& valueTextLengths, const PlotArea& plot) {
  const int x = static_cast<int>(std::lround(marker.x - (bandNumber >= 10 ? 7.0 : 4.0)));
  const int y = static_cast<int>(std::lround(marker.y - 4.0));
  const int firstRow = gain < -0.01 ? y - 42 : y + 18;
  std::array<ReadoutRow, 3> rows{};
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const int halfWidth = (6 * valueTextLengths[r] + 12) / 2;
    rows[r] = {x - halfWidth + 1, x - halfWidth + 13, firstRow + 9 * static_cast<int>(r)};
  }
  int left = rows[0].labelX;
  int right = rows[0].valueX + 6 * valueTextLengths[0];
  for (std::size_t r = 1; r < rows.size(); ++r) {
    left = std::min(left, rows[r].labelX);
    right = std::max(right, rows[r].valueX + 6 * valueTextLengths[r]);
  }
  int shift = 0;
  if (left < plot.left) {
    shift = static_cast<int>(std::ceil(plot.left)) - left;
  } else if (right > plot.right) {
    shift = std::max(static_cast<int>(std::floor(plot.right)) - right, static_cast<int>(std::ceil(plot.left)) - left);
  }
  for (ReadoutRow& row : rows) {
    row.labelX += shift;
    row.valueX += shift;
  }
  return rows;
}

}  // namespace vireo::dsp
