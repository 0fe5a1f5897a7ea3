// Fuzz target: measurement files on arbitrary bytes. An accepted file holds at least 10 strictly rising,
// positive, finite frequencies with finite levels, and puts a finite curve on the grid; a refused one names
// its fault and keeps nothing.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "measure/grid_curve.h"
#include "measure/response_import.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const vireo::measure::ImportResult r = vireo::measure::ParseResponse(text);
  if (!r.ok) {
    Check(!r.error.empty() && r.response.hz.empty() && r.response.db.empty());
    return 0;
  }
  const vireo::measure::Response& response = r.response;
  Check(response.hz.size() == response.db.size() &&
        response.hz.size() >= vireo::measure::kMeasurementMinPoints);
  for (std::size_t i = 0; i < response.hz.size(); ++i) {
    Check(std::isfinite(response.hz[i]) && response.hz[i] > 0.0 && std::isfinite(response.db[i]));
    Check(i == 0 || response.hz[i - 1] < response.hz[i]);
  }
  const vireo::measure::GridCurve curve = vireo::measure::OnGrid(response);
  for (float v : curve.db) Check(std::isfinite(v));
  return 0;
}
