// Fuzz target: filter text (REW / Equalizer APO) on arbitrary bytes. An accepted file holds at most the
// band limit, every band within the editor's ranges, and what is written back from it reads again alike.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "tuning/filter_file.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const vireo::tuning::FilterFileResult r = vireo::tuning::ParseFilterFile(text, 10);
  if (!r.ok) {
    Check(r.error.starts_with("line ") && r.bands.empty());
    return 0;
  }
  Check(r.bands.size() <= 10);
  for (const vireo::dsp::BandShape& b : r.bands) {
    Check(b.type >= 1 && b.type <= 5);
    Check(b.frequency >= 20.0 && b.frequency <= 20000.0);
    Check(b.gainDb >= -15.0 && b.gainDb <= 15.0);
    Check(b.q >= 0.1 && b.q <= 30.0);
  }
  const vireo::tuning::FilterFileResult back =
      vireo::tuning::ParseFilterFile(vireo::tuning::FormatFilterFile(r.bands), 10);
  Check(back.bands.size() == r.bands.size());
  return 0;
}
