// An equaliser's response for other tools: each band's and the total curve on the graph's frequency grid,
// as CSV for spreadsheets and measurement software and as SVG for reports.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dsp/frequency_grid.h"
#include "model/parameter_store.h"

namespace vireo::tuning {

struct EqCurve {
  std::vector<int> bandNumbers;  // 1-based, the bands whose type is not 0
  std::vector<dsp::ResponseArray> bands;
  dsp::ResponseArray total{};
};

// The bands of identity `identity` as the store holds them (an output channel with its crossover), each
// evaluated on the grid as the filter itself, without the graph's snap of a peak to its marker. An
// identity that does not exist gives no bands and a flat total.
EqCurve EqCurveOf(const ParameterStore& store, int identity);

// A measurement drawn over the equaliser (tuning/eq_fit.h makes one): the measurement aligned to the
// target, the target, and the prediction (aligned measurement plus the equaliser), all in dB on the grid.
struct CurveOverlay {
  dsp::ResponseArray measurement{};
  dsp::ResponseArray target{};
  dsp::ResponseArray prediction{};
};

// "frequency_hz,band_1_db,...,total_db", then the 512 grid points: frequency with two decimals, levels
// with three. With an overlay, three more columns: measurement_db,target_db,prediction_db.
std::string CurveCsv(const EqCurve& curve, const CurveOverlay* overlay = nullptr);

// A self-contained SVG drawing: the +-15 dB grid, the frequency axis from 20 Hz to 20 kHz, each band
// thin, the total bold, and `title` at the top left (XML-escaped).
std::string CurveSvg(const EqCurve& curve, std::string_view title);

}  // namespace vireo::tuning
