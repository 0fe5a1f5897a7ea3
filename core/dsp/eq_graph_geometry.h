// Pixel geometry of the EQ graph: the plot area, the log-frequency and dB axes, the grid and its labels,
// band markers, the value readout and the smooth curves. Widgets only draw what this computes.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "dsp/frequency_grid.h"

namespace vireo::dsp {

struct PointF {
  double x = 0.0;
  double y = 0.0;
  friend bool operator==(const PointF&, const PointF&) = default;
};

// The plot keeps this much room for the dB labels (left), the title (top) and the Hz labels (bottom).
inline constexpr int kPlotLeft = 36;
inline constexpr int kPlotTop = 18;
inline constexpr int kPlotRightMargin = 6;
inline constexpr int kPlotBottomMargin = 20;
// The dB axis runs from -kAxisDb at the bottom to +kAxisDb at the top.
inline constexpr double kAxisDb = 15.0;
// Curve values are held within this many dB of the axis: far enough that the visible part of a smooth
// curve keeps its shape, near enough that the painter never sees huge coordinates.
inline constexpr double kCurveHoldDb = 100.0;

// The plot rectangle in client pixels.
struct PlotArea {
  double left = kPlotLeft;
  double top = kPlotTop;
  double right = kPlotLeft;
  double bottom = kPlotTop;

  double width() const { return right - left; }
  double height() const { return bottom - top; }
  // Client x of frequency f on the log axis (18 Hz at the left edge, 23000 Hz at the right).
  double XOfFrequency(double f) const;
  // Client y of a level in dB (+15 at the top edge, -15 at the bottom).
  double YOfGain(double db) const;
};

// The plot of a client area; a client too small for the margins gives an empty plot, never a negative one.
PlotArea PlotAreaForClient(int clientWidth, int clientHeight);

// Inverse mappings for the pointer, in offsets from the plot's top-left corner.
double FrequencyAtOffset(double x, double plotWidth);
double GainAtOffset(double y, double plotHeight);

// A marker's centre as an offset from the plot's top-left corner.
PointF MarkerOffset(const PlotArea& plot, double frequency, double gain);

// One grid line: its client x (frequency lines) or y (level lines), and its label (empty: none).
struct GridLine {
  double pos = 0.0;
  std::string label;
};
// Eleven level lines, +15 dB at the top down to -15 dB, every 3 dB, labelled "%+-.0fdB" (the 0 dB line
// reads "-0dB", as its value is a negative zero).
std::vector<GridLine> LevelGridLines(const PlotArea& plot);
// Thirty frequency lines from 18 to 23000 Hz on whole pixels; ten carry "20Hz" .. "20kHz".
std::vector<GridLine> FrequencyGridLines(const PlotArea& plot);

// The numbers the graph prints.
std::string FormatHz(double frequency);  // "%.0fHz"
std::string FormatDb(double gain);       // "%+-.1fdB"
std::string FormatQ(double q);           // "%.2f"

// How loud the status line shows a gain: calm within +-6 dB, raised below 10.1 dB, extreme beyond.
enum class GainTone { calm, raised, extreme };
GainTone ToneOfGain(double gain);

// Client y of a curve value. Values far outside the axis (a section's deep stop band, -inf at a zero) are
// held a few plot heights away, so a path never carries infinities; drawing clips them anyway.
double CurveY(const PlotArea& plot, double db);

// The 512 points of the total curve: point i at x = left + i W / 512.
std::vector<PointF> TotalCurvePoints(const PlotArea& plot, const ResponseArray& values);

// The 514-point closed outline of a selected band's filled area: value i - 1 at x = left + W i / 512 for
// i = 1..512, between two end points on the 0 dB line at the plot's edges, or, for a band whose area
// closes below the plot (low- and high-pass types), 20 px below the plot under the first and last point.
std::vector<PointF> BandFillOutline(const PlotArea& plot, const ResponseArray& values, bool closesBelow);

// The Bezier form of a cardinal spline through `points` with `tension` (0: straight segments, 0.5:
// Catmull-Rom): the first point, then for each segment its two control points and its end point. The end
// points serve as their own outer neighbours.
std::vector<PointF> CardinalBezier(std::span<const PointF> points, double tension);

// Where the three rows of the value readout ("F:", "G:", "Q:") go around a marker at client position
// `marker`: above it for a gain below -0.01 dB, otherwise below it; each row centred on the marker after
// the length of its value text (6 px a character after a 12 px label). Near an edge of `plot` the rows move
// together just far enough to stay inside it, clear of the axis labels.
struct ReadoutRow {
  int labelX = 0;
  int valueX = 0;
  int y = 0;
};
std::array<ReadoutRow, 3> ReadoutLayout(PointF marker, int bandNumber, double gain,
                                        const std::array<int, 3>& valueTextLengths, const PlotArea& plot);

}  // namespace vireo::dsp
