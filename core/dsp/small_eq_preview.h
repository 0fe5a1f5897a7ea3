// The small equaliser preview: seven band records, their coarse 56-point curves, the total curve and the
// grid, all in whole client pixels. The preview widget only draws what this computes.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "dsp/biquad.h"

namespace vireo::dsp {

inline constexpr int kPreviewBands = 7;
inline constexpr int kPreviewPoints = 56;
// Room left free on every side of the client area.
inline constexpr int kPreviewMargin = 2;
// The frequency axis spans 3.4 decades from 10 Hz; the level axis -15..+15 dB like the large graph.
inline constexpr double kPreviewDecades = 3.4;
inline constexpr double kPreviewMinHz = 10.0;

struct PixelPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

using PreviewCurve = std::array<PixelPoint, kPreviewPoints>;

// One band of the preview. Owners write type and Q here, then call RecomputePreviewBand.
struct PreviewBand {
  int type = 1;  // FilterType code, except that 6 is a band-pass and 7 a notch here
  float frequency = 100.0f;
  float gain = 0.0f;
  float q = 1.414f;
  PreviewCurve points{};
};

// The plot: the client area less the margins. Width and height are never negative.
struct PreviewPlot {
  int left = kPreviewMargin;
  int top = kPreviewMargin;
  int width = 0;
  int height = 0;

  // The 0 dB line sits on a whole pixel, so a flat band lies exactly on it.
  int CentreY() const { return top + height / 2; }
  // left + (log10 f - 1) W / 3.4, unrounded.
  double XOfFrequency(double f) const;
  // Nearest pixel of a level; levels beyond +-100 dB (a notch's -infinity included) are held there and a
  // level that is not a number counts as 0 dB.
  int YOfGain(double db) const;
  // The level a pixel row stands for; 0 dB on an empty plot.
  double GainOfY(int y) const;
};

PreviewPlot PreviewPlotForClient(int clientWidth, int clientHeight);

// Point u of the curves lies at x = left + trunc(u W / 56) ...
int PreviewPointX(const PreviewPlot& plot, int u);
// ... and is evaluated at the whole frequency floor(10 * 10^(3.4 (x - left) / W)).
int PreviewPointFrequency(const PreviewPlot& plot, int u);

// The preview's own sections (fs = 48000): Peaking and the shelves as everywhere, low- and high-pass with
// unity gain, 6 a band-pass with a 0 dB peak and 7 a notch. Any other code has no section. A design with a
// non-finite coefficient (a Q of 0) gives the unity section.
std::optional<BiquadCoefficients> PreviewCoefficients(int type, double gainDb, double f0, double q);

// The 56 points of one band. A band without a section lies flat on the 0 dB line.
PreviewCurve PreviewBandCurve(const PreviewPlot& plot, int type, double gainDb, double f0, double q);

// trunc(10 v + 0.5) / 10, truncation toward zero: the level the total takes from each band.
double RoundToTenth(double v);

// Point by point: each band's level is read back from its pixel row and rounded to a tenth of a dB, and the
// sum is placed on the plot again.
PreviewCurve PreviewTotalCurve(const PreviewPlot& plot, std::span<const PreviewBand> bands);

// The grid, in drawing order: 31 faint lines (every dB), then the eleven 3 dB lines, the outer two
// brighter; 29 frequency lines from 10 Hz to 20 kHz over the plot height.
enum class PreviewLineWeight { faint, major, edge };
struct PreviewLevelLine {
  int y = 0;
  PreviewLineWeight weight = PreviewLineWeight::faint;
};
std::vector<PreviewLevelLine> PreviewLevelLines(const PreviewPlot& plot);
std::vector<int> PreviewFrequencyLines(const PreviewPlot& plot);

class SmallEqPreview {
 public:
  // Peaking bands at 31, 62, 125, 250, 500, 1000 and 2000 Hz, 0 dB, Q 1.414.
  SmallEqPreview();

  const PreviewPlot& plot() const { return plot_; }
  // A new size lays every band out again.
  void SetClientSize(int width, int height);

  // A band outside 0..6 reads the nearest one.
  const PreviewBand& band(int index) const;
  PreviewBand& band(int index);

  // Ignored (false) when |f| < 1e-7, not a number or the band is outside 0..6; else kept within
  // 20..20000 Hz and the band recomputed.
  bool SetPreviewFrequency(int index, double frequency);
  // Kept within -15..+15 dB; ignored (false) when not a number or the band is outside 0..6.
  bool SetPreviewGain(int index, double gainDb);
  // The band's points and the total curve, after its record changed.
  void RecomputePreviewBand(int index);

  const PreviewCurve& total() const { return total_; }

 private:
  void ComputeBand(int index);

  std::array<PreviewBand, kPreviewBands> bands_{};
  PreviewCurve total_{};
  PreviewPlot plot_;
};

}  // namespace vireo::dsp
