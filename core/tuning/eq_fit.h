// Measurement-driven tuning over an equaliser of the store: the bands a fit must keep, the fit of the free
// ones, the predicted result and the measurement and target files, shared by the window and vireo-cli.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "dsp/frequency_grid.h"
#include "measure/band_fit.h"
#include "measure/grid_curve.h"
#include "model/parameter_store.h"
#include "tuning/curve_export.h"

namespace vireo::tuning {

// The range over which a measurement's level is aligned to its target for display: the fit's default
// range, so that a curve shown before a fit sits where the fit will put it.
inline constexpr double kAlignFromHz = 20.0;
inline constexpr double kAlignToHz = 16000.0;

// The summed response of the bands a fit may not replace: an output channel's crossover (band 9 and its
// sections) and its two split bands; zeros for every other identity. Each band is the filter itself on
// the grid, as EqCurveOf evaluates it.
dsp::ResponseArray FixedBandsResponse(const ParameterStore& store, int identity);

// Every band the signal passes through: the free bands, then the fixed ones (split bands included, which
// EqCurveOf leaves out because the EQ graph does not draw them).
dsp::ResponseArray EqTotalResponse(const ParameterStore& store, int identity);

// Fits the free bands of `identity` (options.bands is held to 0..ImportableBandCount) around the fixed
// ones. The bands come back as the machine holds them, in frequency order; ApplyFilterBands writes them
// from band 0 on.
measure::FitResult FitEqBands(const ParameterStore& store, int identity,
                              const measure::GridCurve& measurement, const measure::GridCurve& target,
                              measure::FitOptions options, const std::function<bool(double)>& progress = {});

// What plays: measurement + preamp + the equaliser's total (all bands, fixed ones included).
dsp::ResponseArray PredictedResponse(const measure::GridCurve& measurement, double preampDb,
                                     const dsp::ResponseArray& eqTotal);

// The three curves drawn over an equaliser: the measurement moved by the level that aligns what plays
// (measurement plus EqTotalResponse) to the target over kAlignFromHz..kAlignToHz, the target, and the
// aligned measurement plus EqTotalResponse, which then sits on the target on average. After a fit over
// that range, the level is the fit's preamp and the prediction's error the fit's rmsAfter.
CurveOverlay MeasurementOverlay(const ParameterStore& store, int identity,
                                const measure::GridCurve& measurement, const measure::GridCurve& target);

// Reads every file and power-averages them on the grid (several microphone positions). The first file that
// cannot be used refuses the whole set: false with one line, "cannot read PATH: why" or "PATH: line N: ...".
bool LoadMeasurements(std::span<const std::string> paths, measure::GridCurve* out, std::string* problem);

// "flat", "room" (the room curve `room`) or the path of a response file in any of the measurement formats.
bool LoadTarget(std::string_view choice, const measure::RoomCurve& room, measure::GridCurve* out,
                std::string* problem);

}  // namespace vireo::tuning
