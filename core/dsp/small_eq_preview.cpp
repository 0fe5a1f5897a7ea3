// Sections, curves and grid of the small equaliser preview.
#include "dsp/small_eq_preview.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "dsp/eq_graph_geometry.h"

namespace vireo::dsp {
namespace {

constexpr double kLevelSpanDb = 2.0 * kAxisDb;
constexpr double kMinFrequency = 20.0;
constexpr double kMaxFrequency = 20000.0;
constexpr std::array<int, 29> kFrequencyLines = {10,   20,   30,   40,   50,   60,   70,   80,    90,   100,
                                                 200,  300,  400,  500,  600,  700,  800,  900,   1000, 2000,
                                                 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 20000};

bool AllFinite(const BiquadCoefficients& c) {
  return std::isfinite(c.a1) && std::isfinite(c.a2) && std::isfinite(c.b0) && std::isfinite(c.b1) &&
         std::isfinite(c.b2);
}

// Band-pass (constant 0 dB peak) and notch share their denominator: 1 + alpha, -2c, 1 - alpha.
BiquadCoefficients BandPassOrNotch(bool notch, double f0, double q) {
  const double w0 = 2.0 * std::numbers::pi * f0 / kSampleRate;
  const double c = std::cos(w0);
  const double alpha = std::sin(w0) / (2.0 * q);
  const double a0 = 1.0 + alpha;
  if (notch) {
    return {-2.0 * c / a0, (1.0 - alpha) / a0, 1.0 / a0, -2.0 * c / a0, 1.0 / a0};
  }
  return {-2.0 * c / a0, (1.0 - alpha) / a0, alpha / a0, 0.0, -alpha / a0};
}

bool IsKnownBand(int index) {
  return index >= 0 && index < kPreviewBands;
}

}  // namespace

double PreviewPlot::XOfFrequency(double f) const {
  return left + (std::log10(f) - 1.0) * width / kPreviewDecades;
}

int PreviewPlot::YOfGain(double db) const {
  if (std::isnan(db)) {
    db = 0.0;
  }
  db = std::clamp(db, -kCurveHoldDb, kCurveHoldDb);
  return static_cast<int>(std::lround(CentreY() - db * height / kLevelSpanDb));
}

double PreviewPlot::GainOfY(int y) const {
  return height > 0 ? (CentreY() - y) * kLevelSpanDb / height : 0.0;
}

PreviewPlot PreviewPlotForClient(int clientWidth, int clientHeight) {
  PreviewPlot plot;
  plot.width = std::max(0, clientWidth - 2 * kPreviewMargin);
  plot.height = std::max(0, clientHeight - 2 * kPreviewMargin);
  return plot;
}

int PreviewPointX(const PreviewPlot& plot, int u) {
  return plot.left + u * plot.width / kPreviewPoints;
}

int PreviewPointFrequency(const PreviewPlot& plot, int u) {
  if (plot.width <= 0) {
    return static_cast<int>(kPreviewMinHz);
  }
  const double fraction = static_cast<double>(PreviewPointX(plot, u) - plot.left) / plot.width;
  return static_cast<int>(std::floor(kPreviewMinHz * std::pow(10.0, kPreviewDecades * fraction)));
}

std::optional<BiquadCoefficients> PreviewCoefficients(int type, double gainDb, double f0, double q) {
  BiquadCoefficients c;
  switch (type) {
    case 1:
    case 4:
    case 5:
      c = ComputeBiquad(type, gainDb, f0, q);
      break;
    case 2:
    case 3:
      c = ComputeBiquad(type, 0.0, f0, q);  // 0 dB makes the gain factor exactly 1
      break;
    case 6:
    case 7:
      c = BandPassOrNotch(type == 7, f0, q);
      break;
    default:
      return std::nullopt;
  }
  return AllFinite(c) ? c : BiquadCoefficients{};
}

PreviewCurve PreviewBandCurve(const PreviewPlot& plot, int type, double gainDb, double f0, double q) {
  const std::optional<BiquadCoefficients> c = PreviewCoefficients(type, gainDb, f0, q);
  const MagnitudePolynomial m = MakeMagnitudePolynomial(c.value_or(BiquadCoefficients{}));
  PreviewCurve points{};
  for (int u = 0; u < kPreviewPoints; ++u) {
    const double s = std::sin(std::numbers::pi * PreviewPointFrequency(plot, u) / kSampleRate);
    double db = c ? m.DbAtPhi(s * s) : 0.0;
    if (std::isnan(db)) {
      db = -kCurveHoldDb;  // a squared magnitude rounded below zero: a zero of the section on the point
    }
    points[static_cast<std::size_t>(u)] = {PreviewPointX(plot, u), plot.YOfGain(db)};
  }
  return points;
}

double RoundToTenth(double v) {
  return std::trunc(10.0 * v + 0.5) / 10.0;
}

PreviewCurve PreviewTotalCurve(const PreviewPlot& plot, std::span<const PreviewBand> bands) {
  PreviewCurve total{};
  for (std::size_t u = 0; u < total.size(); ++u) {
    double sum = 0.0;
    for (const PreviewBand& band : bands) {
      sum += RoundToTenth(plot.GainOfY(band.points[u].y));
    }
    total[u] = {PreviewPointX(plot, static_cast<int>(u)), plot.YOfGain(sum)};
  }
  return total;
}

std::vector<PreviewLevelLine> PreviewLevelLines(const PreviewPlot& plot) {
  std::vector<PreviewLevelLine> lines;
  lines.reserve(31 + 11);
  for (int db = -15; db <= 15; ++db) {
    lines.push_back({plot.YOfGain(db), PreviewLineWeight::faint});
  }
  for (int db = -15; db <= 15; db += 3) {
    const bool edge = db == -15 || db == 15;
    lines.push_back({plot.YOfGain(db), edge ? PreviewLineWeight::edge : PreviewLineWeight::major});
  }
  return lines;
}

std::vector<int> PreviewFrequencyLines(const PreviewPlot& plot) {
  std::vector<int> lines;
  lines.reserve(kFrequencyLines.size());
  for (int hz : kFrequencyLines) {
    lines.push_back(static_cast<int>(std::floor(plot.XOfFrequency(hz))));
  }
  return lines;
}

SmallEqPreview::SmallEqPreview() {
  constexpr std::array<float, kPreviewBands> kFrequencies = {31, 62, 125, 250, 500, 1000, 2000};
  for (std::size_t i = 0; i < bands_.size(); ++i) {
    bands_[i].frequency = kFrequencies[i];
  }
  SetClientSize(0, 0);
}

void SmallEqPreview::SetClientSize(int width, int height) {
  plot_ = PreviewPlotForClient(width, height);
  for (int i = 0; i < kPreviewBands; ++i) {
    ComputeBand(i);
  }
  total_ = PreviewTotalCurve(plot_, bands_);
}

const PreviewBand& SmallEqPreview::band(int index) const {
  return bands_[static_cast<std::size_t>(std::clamp(index, 0, kPreviewBands - 1))];
}

PreviewBand& SmallEqPreview::band(int index) {
  return bands_[static_cast<std::size_t>(std::clamp(index, 0, kPreviewBands - 1))];
}

bool SmallEqPreview::SetPreviewFrequency(int index, double frequency) {
  if (!IsKnownBand(index) || std::isnan(frequency) || std::fabs(frequency) < 1e-7) {
    return false;
  }
  band(index).frequency = static_cast<float>(std::clamp(frequency, kMinFrequency, kMaxFrequency));
  RecomputePreviewBand(index);
  return true;
}

bool SmallEqPreview::SetPreviewGain(int index, double gainDb) {
  if (!IsKnownBand(index) || std::isnan(gainDb)) {
    return false;
  }
  band(index).gain = static_cast<float>(std::clamp(gainDb, -kAxisDb, kAxisDb));
  RecomputePreviewBand(index);
  return true;
}

void SmallEqPreview::RecomputePreviewBand(int index) {
  if (!IsKnownBand(index)) {
    return;
  }
  ComputeBand(index);
  total_ = PreviewTotalCurve(plot_, bands_);
}

void SmallEqPreview::ComputeBand(int index) {
  PreviewBand& b = band(index);
  b.points = PreviewBandCurve(plot_, b.type, b.gain, b.frequency, b.q);
}

}  // namespace vireo::dsp
