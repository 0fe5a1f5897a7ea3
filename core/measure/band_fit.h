// The fit of an equaliser's free bands to a target, within the machine's limits and with its own filters.
#pragma once

#include <functional>
#include <vector>

#include "dsp/band_response.h"
#include "measure/grid_curve.h"

namespace vireo::measure {

struct FitOptions {
  int bands = 10;        // free bands to use, 0..32; with `shelves` two of them are the shelves
  double fromHz = 20.0;  // the range the error is measured over
  double toHz = 16000.0;
  double maxBoostDb = 6.0;  // 0..15, whole tenths; cuts reach the machine's -15 dB
  bool shelves = false;     // also a low and a high shelf (Q 0.1..2)
};

struct FitResult {
  // Peaking (1), low shelf (4), high shelf (5) bands exactly as the machine holds them: whole hertz
  // 20..20000, gain in tenths of a dB (-15..maxBoost), Q in thousandths (0.1..30, shelves 0.1..2). Ordered by
  // frequency. Bands that do not lower the error meaningfully are left out, so a flat error gives none.
  std::vector<dsp::BandShape> bands;
  // The level: target - measurement - fixed - bands, averaged over the range. It is a free parameter of the
  // fit, so no band is spent on making up a shift of the whole curve.
  double preampDb = 0.0;
  // RMS dB of target - (measurement + fixed + preamp [+ bands]): before, with the preamp of no bands (the
  // mean of target - measurement - fixed); after, with the final preamp and the bands as held.
  double rmsBefore = 0.0, rmsAfter = 0.0;
  int firstPoint = 0, lastPoint = -1;  // the grid points the error is measured over
  bool cancelled = false;              // progress said stop: no bands, rmsAfter = rmsBefore
};

// Fits `options.bands` free bands and the preamp together so that measurement + fixed + preamp + bands
// comes closest to the target over the grid points inside [fromHz, toHz] that both curves cover (least
// squares in dB, every point alike: the grid is even on the log axis). `fixed` is the response of the bands
// the fit may not move (an output channel's crossover and split bands), added to the measurement. The error
// after the fit is that of the bands as the machine holds them, evaluated as the graph draws them. Pure: no
// threads, no randomness; the same input gives the same bits. `progress`, when given, hears 0..1 and may
// return false to stop the fit (see `cancelled`).
FitResult FitBands(const GridCurve& measurement, const GridCurve& target, const dsp::ResponseArray& fixed,
                   const FitOptions& options, const std::function<bool(double)>& progress = {});

}  // namespace vireo::measure
