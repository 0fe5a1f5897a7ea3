// The measurement commands: every argument and file is checked before a machine is reached, so a mistake
// sends nothing.
#include "eq_fit_command.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <utility>

#include "cli_common.h"
#include "device_session.h"
#include "eq_commands.h"
#include "files/file_access.h"
#include "measure/grid_curve.h"
#include "model/mode_file.h"
#include "tuning/curve_export.h"
#include "tuning/eq_fit.h"
#include "tuning/filter_file.h"

namespace vireo::cli {
namespace {

constexpr double kLowestHz = 20.0;
constexpr double kHighestHz = 20000.0;
constexpr double kMostBoostDb = 15.0;
constexpr int kDefaultBands = 10;

// Options after the ID: those with one value, switches, and a list of files (the arguments that follow
// `listOption`, or, when it is empty, every argument that is not an option).
struct OptionTable {
  std::set<std::string> valued;
  std::set<std::string> switches;
  std::string listOption;
};

struct Scanned {
  std::map<std::string, std::string> values;
  std::set<std::string> switches;
  std::vector<std::string> files;
  bool listGiven = false;
};

bool IsOption(const std::string& arg) {
  return arg.size() > 2 && arg.starts_with("--");
}

bool Refuse(std::string* problem, std::string text) {
  *problem = std::move(text);
  return false;
}

bool Scan(std::span<const std::string> args, const OptionTable& table, Scanned* out, std::string* problem) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size() && !IsOption(args[i + 1]);
    if (IsOption(arg) && (out->values.contains(arg) || out->switches.contains(arg) ||
                          (arg == table.listOption && out->listGiven)))
      return Refuse(problem, arg + " is given twice");
    if (table.valued.contains(arg)) {
      if (!hasValue) return Refuse(problem, arg + " needs a value");
      out->values[arg] = args[++i];
    } else if (table.switches.contains(arg)) {
      out->switches.insert(arg);
    } else if (!table.listOption.empty() && arg == table.listOption) {
      if (!hasValue) return Refuse(problem, arg + " needs at least one FILE");
      out->listGiven = true;
      while (i + 1 < args.size() && !IsOption(args[i + 1])) out->files.push_back(args[++i]);
    } else if (IsOption(arg)) {
      return Refuse(problem, "unknown option " + arg);
    } else if (table.listOption.empty()) {
      out->files.push_back(arg);
    } else {
      return Refuse(problem, "unexpected argument '" + arg + "'");
    }
  }
  return true;
}

bool InRange(const std::string& text, double low, double high, double* value) {
  return ParseDouble(text, value) && *value >= low && *value <= high;
}

// The level the fit needs: both curves must cover some grid point of the range.
bool Overlaps(const measure::GridCurve& measurement, const measure::GridCurve& target, double fromHz,
              double toHz) {
  const int first = std::max(measurement.first, target.first);
  const int last = std::min(measurement.last, target.last);
  for (int i = first; i <= last; ++i) {
    const double hz = dsp::GridFrequency(i);
    if (hz >= fromHz && hz <= toHz) return true;
  }
  return false;
}

struct FitRequest {
  int id = 0;
  measure::FitOptions options;
  std::vector<std::string> measurements;
  std::string target = "flat";
  std::string modeFile;
  bool apply = false;
};

// A usage problem in the arguments of `eq fit`, or none.
std::optional<std::string> ParseFit(const std::vector<std::string>& args, FitRequest* r) {
  const std::string shape = "eq fit takes an ID 0..14 and one or more MEASUREMENT files";
  if (args.size() < 2 || !ParseEqIdentity(args[1], &r->id)) return shape;
  const OptionTable table{
      {"--target", "--bands", "--from", "--to", "--max-boost", "--file"}, {"--shelves", "--apply"}, ""};
  Scanned s;
  std::string problem;
  if (!Scan(std::span(args).subspan(2), table, &s, &problem)) return problem;
  if (s.files.empty()) return shape;
  r->measurements = s.files;
  const int free = tuning::ImportableBandCount(r->id);
  r->options.bands = std::min(kDefaultBands, free);
  long long bands = 0;
  if (s.values.contains("--bands") && (!ParseInt(s.values["--bands"], &bands) || bands < 1 || bands > free))
    return "--bands of equaliser " + args[1] + " is 1.." + std::to_string(free);
  if (bands != 0) r->options.bands = static_cast<int>(bands);
  for (auto [name, value] : {std::pair{"--from", &r->options.fromHz}, std::pair{"--to", &r->options.toHz}}) {
    if (s.values.contains(name) && !InRange(s.values[name], kLowestHz, kHighestHz, value))
      return std::string(name) + " is 20..20000 Hz";
  }
  if (r->options.fromHz >= r->options.toHz) return "--from must lie below --to";
  if (s.values.contains("--max-boost") &&
      !InRange(s.values["--max-boost"], 0.0, kMostBoostDb, &r->options.maxBoostDb))
    return "--max-boost is 0..15 dB";
  r->options.shelves = s.switches.contains("--shelves");
  r->apply = s.switches.contains("--apply");
  if (s.values.contains("--target")) r->target = s.values["--target"];
  if (s.values.contains("--file")) r->modeFile = s.values["--file"];
  if (r->apply && !r->modeFile.empty()) return "--apply fits the machine's equaliser; it takes no --file";
  return std::nullopt;
}

// The store of an offline fit takes the bands, but nothing goes anywhere.
class NoMachine final : public ReportSender {
 public:
  int SendPaced(const Report&) override { return 0; }
  int SendUnpaced(const Report&) override { return 0; }
};

// Fits, writes the bands as `eq import` does, and prints them, the preamp and the error before and after.
void FitOnto(ParameterStore& store, ReportSender& sender, const FitRequest& r,
             const measure::GridCurve& measurement, const measure::GridCurve& target, std::ostream& text) {
  const measure::FitResult fit = tuning::FitEqBands(store, r.id, measurement, target, r.options);
  tuning::ApplyFilterBands(store, sender, r.id, fit.bands);
  for (std::size_t band = 0; band < fit.bands.size(); ++band)
    text << EqBandLine(store, r.id, static_cast<int>(band)) << '\n';
  // Rounded first, so that a preamp of -0.04 dB reads "0.0", not "-0.0".
  const double preamp = std::round(fit.preampDb * 10.0) / 10.0 + 0.0;
  char line[80];
  std::snprintf(line, sizeof line, "preamp %.1f\nrms %.2f %.2f\n", preamp, fit.rmsBefore, fit.rmsAfter);
  text << line;
}

bool LoadCurves(const std::vector<std::string>& measurements, const std::string& targetChoice,
                measure::GridCurve* measurement, measure::GridCurve* target, std::string* problem) {
  return tuning::LoadMeasurements(measurements, measurement, problem) &&
         tuning::LoadTarget(targetChoice, measure::RoomCurve{}, target, problem);
}

// The default store, with a mode file over it when one is named.
bool OfflineStore(const std::string& modeFile, ParameterStore& store, std::ostream& err, int* status) {
  ResetStoreDefaults(store);
  if (modeFile.empty()) return true;
  const ModeFileResult result = ReadModeFile(store, modeFile);
  if (result.ok) return true;
  *status = ModeFileFailure(err, modeFile, result);
  return false;
}

}  // namespace

int RunEqFit(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
             std::ostream& err) {
  FitRequest r;
  if (const std::optional<std::string> problem = ParseFit(args, &r)) return UsageError(err, *problem);
  measure::GridCurve measurement;
  measure::GridCurve target;
  std::string problem;
  if (!LoadCurves(r.measurements, r.target, &measurement, &target, &problem)) return Failure(err, problem);
  if (!Overlaps(measurement, target, r.options.fromHz, r.options.toHz))
    return Failure(err, "the measurement and the target share no frequency between --from and --to");
  if (r.apply) {
    return EditOnMachine(options, out, err,
                         [&](ParameterStore& store, ReportSender& sender, std::ostream& text) {
                           FitOnto(store, sender, r, measurement, target, text);
                         });
  }
  ParameterStore store;
  int status = kExitOk;
  if (!OfflineStore(r.modeFile, store, err, &status)) return status;
  NoMachine nowhere;
  FitOnto(store, nowhere, r, measurement, target, out);
  return kExitOk;
}

int RunEqCurve(const GlobalOptions& options, const std::vector<std::string>& args, std::ostream& out,
               std::ostream& err) {
  const std::string shape =
      "eq curve takes an ID 0..14, --csv FILE and / or --svg FILE, and optionally --file MODE, "
      "--measurement FILE... and --target flat|room|FILE";
  int id = 0;
  if (args.size() < 2 || !ParseEqIdentity(args[1], &id)) return UsageError(err, shape);
  const OptionTable table{{"--csv", "--svg", "--file", "--target"}, {}, "--measurement"};
  Scanned s;
  std::string problem;
  if (!Scan(std::span(args).subspan(2), table, &s, &problem)) return UsageError(err, problem);
  const std::string csv = s.values["--csv"];
  const std::string svg = s.values["--svg"];
  if (csv.empty() && svg.empty()) return UsageError(err, shape);
  if (s.values.contains("--target") && !s.listGiven) return UsageError(err, "--target needs --measurement");
  int status = kExitOk;
  for (const std::string* path : {&csv, &svg}) {
    if (!path->empty() && !CheckOutputPath(err, *path, &status)) return status;
  }
  measure::GridCurve measurement;
  measure::GridCurve target;
  const std::string targetChoice = s.values.contains("--target") ? s.values["--target"] : "flat";
  if (s.listGiven && !LoadCurves(s.files, targetChoice, &measurement, &target, &problem))
    return Failure(err, problem);
  tuning::EqCurve curve;
  std::optional<tuning::CurveOverlay> overlay;
  const auto take = [&](const ParameterStore& store) {
    curve = tuning::EqCurveOf(store, id);
    if (s.listGiven) overlay = tuning::MeasurementOverlay(store, id, measurement, target);
  };
  if (s.values.contains("--file")) {
    ParameterStore store;
    if (!OfflineStore(s.values["--file"], store, err, &status)) return status;
    take(store);
  } else {
    status = EditOnMachine(options, out, err,
                           [&](ParameterStore& store, ReportSender&, std::ostream&) { take(store); });
    if (status != kExitOk) return status;
  }
  const auto write = [](const std::string& path, const std::string& text) {
    return files::WriteFileAtomically(path, text) == 0;
  };
  if (!csv.empty() && !write(csv, tuning::CurveCsv(curve, overlay ? &*overlay : nullptr)))
    return Failure(err, "cannot write " + csv);
  if (!svg.empty() && !write(svg, tuning::CurveSvg(curve, "EQ " + args[1])))
    return Failure(err, "cannot write " + svg);
  return kExitOk;
}

}  // namespace vireo::cli
