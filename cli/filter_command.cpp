// Designs one section with the application's biquad calculator and prints what the machine would get.
#include "filter_command.h"

#include <cstdio>

#include "cli_common.h"
#include "dsp/biquad.h"
#include "dsp/filter_type.h"
#include "dsp/frequency_grid.h"
#include "model/wire_rules.h"

namespace vireo::cli {
namespace {

struct FilterRequest {
  int type = 0;
  double gainDb = 0;
  double frequency = 0;
  double q = 0;
  bool response = false;
};

// A code 0..21, or one of the type menu's texts.
bool ParseType(const std::string& text, int* type) {
  long long code = 0;
  if (ParseInt(text, &code)) {
    if (code < 0 || code > dsp::kLastFilterType) return false;
    *type = static_cast<int>(code);
    return true;
  }
  *type = dsp::FilterTypeFromName(text);
  return *type >= 0;
}

// Returns an empty string when the arguments are usable, else the problem.
std::string ParseRequest(const std::vector<std::string>& args, FilterRequest* request) {
  std::vector<std::string> values;
  for (const std::string& arg : args) {
    if (arg == "--response") {
      request->response = true;
    } else if (arg.rfind("--", 0) == 0) {
      return "filter: unknown option '" + arg + "'";
    } else {
      values.push_back(arg);  // "-6" is a gain, not an option
    }
  }
  if (values.size() != 4) return "filter takes TYPE GAIN FREQ Q";
  if (!ParseType(values[0], &request->type)) {
    return "filter: TYPE is a code 0..21 or PEQ, LP, HP, LS, HS, not '" + values[0] + "'";
  }
  if (!ParseDouble(values[1], &request->gainDb))
    return "filter: GAIN is a number of dB, not '" + values[1] + "'";
  if (!ParseDouble(values[2], &request->frequency) || request->frequency <= 0 ||
      request->frequency >= dsp::kSampleRate / 2) {
    return "filter: FREQ is a frequency in Hz above 0 and below 24000, not '" + values[2] + "'";
  }
  if (!ParseDouble(values[3], &request->q) || request->q <= 0) {
    return "filter: Q is a number above 0, not '" + values[3] + "'";
  }
  return {};
}

}  // namespace

int RunFilterCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  FilterRequest request;
  const std::string problem = ParseRequest(args, &request);
  if (!problem.empty()) return UsageError(err, problem);

  const dsp::BiquadCoefficients c =
      dsp::ComputeBiquad(request.type, request.gainDb, request.frequency, request.q);
  out << "a1=" << DoubleText(c.a1) << " a2=" << DoubleText(c.a2) << " b0=" << DoubleText(c.b0)
      << " b1=" << DoubleText(c.b1) << " b2=" << DoubleText(c.b2) << '\n';

  // The coefficient message's five words: -a1, -a2, b0, b1, b2 as big-endian floats.
  out << "wire:";
  for (const std::uint32_t word : CoefficientRecord(c)) {
    char hex[10];
    std::snprintf(hex, sizeof hex, " %08X", word);
    out << hex;
  }
  out << '\n';

  if (request.response) {
    const dsp::GridTable& grid = dsp::GridFrequencies();
    for (const double f : grid) {
      char line[64];
      std::snprintf(line, sizeof line, "%.3f %.4f\n", f, dsp::MagnitudeDb(c, f));
      out << line;
    }
  }
  return kExitOk;
}

}  // namespace vireo::cli
