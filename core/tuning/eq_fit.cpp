#include "tuning/eq_fit.h"

#include <algorithm>
#include <vector>

#include "dsp/band_response.h"
#include "measure/response_import.h"
#include "tuning/eq_identity.h"
#include "tuning/eq_operations.h"
#include "tuning/filter_file.h"

namespace vireo::tuning {

namespace {

void AddBand(const ParameterStore& store, int identity, int band, dsp::ResponseArray& total) {
  dsp::ResponseArray response{};
  if (!dsp::ComputeBandResponse(ReadEqBand(store, identity, band), 0.0, response)) return;
  for (std::size_t i = 0; i < total.size(); ++i) total[i] += response[i];
}

}  // namespace

dsp::ResponseArray FixedBandsResponse(const ParameterStore& store, int identity) {
  dsp::ResponseArray total{};
  const EqIdentity* eq = FindEqIdentity(identity);
  if (eq == nullptr) return total;
  for (int band = ImportableBandCount(identity); band < AddressableBandCount(*eq); ++band)
    AddBand(store, identity, band, total);
  return total;
}

dsp::ResponseArray EqTotalResponse(const ParameterStore& store, int identity) {
  dsp::ResponseArray total = FixedBandsResponse(store, identity);
  for (int band = 0; band < ImportableBandCount(identity); ++band) AddBand(store, identity, band, total);
  return total;
}

measure::FitResult FitEqBands(const ParameterStore& store, int identity,
                              const measure::GridCurve& measurement, const measure::GridCurve& target,
                              measure::FitOptions options, const std::function<bool(double)>& progress) {
  options.bands = std::clamp(options.bands, 0, ImportableBandCount(identity));
  return measure::FitBands(measurement, target, FixedBandsResponse(store, identity), options, progress);
}

dsp::ResponseArray PredictedResponse(const measure::GridCurve& measurement, double preampDb,
                                     const dsp::ResponseArray& eqTotal) {
  dsp::ResponseArray out{};
  for (std::size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<float>(static_cast<double>(measurement.db[i]) + preampDb + eqTotal[i]);
  return out;
}

CurveOverlay MeasurementOverlay(const ParameterStore& store, int identity,
                                const measure::GridCurve& measurement, const measure::GridCurve& target) {
  // The level is the one that puts what plays (measurement and the whole equaliser as it is) on the
  // target, found as a fit of no bands finds it: the prediction then sits on the target, and right after
  // a fit its level is the fit's own preamp. The machine plays no preamp; only the shapes are compared.
  measure::FitOptions align;
  align.bands = 0;
  align.fromHz = kAlignFromHz;
  align.toHz = kAlignToHz;
  const dsp::ResponseArray total = EqTotalResponse(store, identity);
  const double preamp = measure::FitBands(measurement, target, total, align).preampDb;
  CurveOverlay overlay;
  const dsp::ResponseArray flat{};
  overlay.measurement = PredictedResponse(measurement, preamp, flat);
  overlay.target = target.db;
  overlay.prediction = PredictedResponse(measurement, preamp, total);
  return overlay;
}

bool LoadMeasurements(std::span<const std::string> paths, measure::GridCurve* out, std::string* problem) {
  if (paths.empty()) {
    *problem = "no measurement file given";
    return false;
  }
  std::vector<measure::GridCurve> curves;
  for (const std::string& path : paths) {
    const measure::ImportResult read = measure::LoadResponse(path);
    if (!read.ok) {
      *problem = read.unreadable ? "cannot read " + path + ": " + read.error : path + ": " + read.error;
      return false;
    }
    curves.push_back(measure::OnGrid(read.response));
  }
  *out = curves.size() == 1 ? curves.front() : measure::PowerAverage(curves);
  return true;
}

bool LoadTarget(std::string_view choice, const measure::RoomCurve& room, measure::GridCurve* out,
                std::string* problem) {
  if (choice == "flat") {
    *out = measure::FlatTarget();
    return true;
  }
  if (choice == "room") {
    *out = measure::RoomTarget(room);
    return true;
  }
  const std::string path(choice);
  return LoadMeasurements(std::span<const std::string>(&path, 1), out, problem);
}

}  // namespace vireo::tuning
