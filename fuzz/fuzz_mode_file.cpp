// libFuzzer target: arbitrary bytes as a mode file. A rejected file must leave the store exactly as it was;
// an accepted one must carry a valid musicSource and survive a version-8 round trip unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "model/field_ranges.h"
#include "model/mode_file.h"
#include "model/parameter_store.h"

namespace {

using vireo::ParameterStore;
using vireo::Region;

std::vector<std::uint8_t> Persisted(const ParameterStore& store) {
  std::vector<std::uint8_t> bytes = vireo::SerializeModeFile(store);
  // The geometry decoded from the location record is part of what a load changes.
  const vireo::LocationGeometry g = store.geometry();
  const auto* raw = reinterpret_cast<const std::uint8_t*>(&g);
  bytes.insert(bytes.end(), raw, raw + sizeof g);
  return bytes;
}

// A store whose persisted bytes differ from anything a short or zero file would produce.
void Prepare(ParameterStore& store) {
  vireo::ResetStoreDefaults(store);
  for (int s = 0; s < vireo::kMainSlotCount; ++s)
    store.SetBits(s, 0xA5000000u + static_cast<std::uint32_t>(s));
  store.SetInt(vireo::slot::musicSource, 3);
  store.Fill(Region::chLocationGain, 0x5A);
  store.Fill(Region::micBoostLevel, 0xC3);
  // In range, as every store that went through a load is: a version-8 image of it loads back unchanged.
  vireo::ClampStoreToRanges(store);
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ParameterStore store;
  Prepare(store);
  const std::vector<std::uint8_t> before = Persisted(store);

  const vireo::ModeFileResult result = vireo::ParseModeFile(std::span(data, size), store);
  if (!result.ok) {
    Check(!result.reason.empty());
    Check(Persisted(store) == before);
    return 0;
  }

  const vireo::ModeFileLayout* layout = vireo::ModeFileLayoutOf(result.version);
  Check(layout != nullptr && size >= layout->FileBytes());
  const std::int32_t source = store.Int(vireo::slot::musicSource);
  Check(source == 0 || source == 2 || source == 3 || source == 4);

  // What was loaded writes out as version 8 and loads back to the same store.
  const std::vector<std::uint8_t> image = vireo::SerializeModeFile(store);
  Check(image.size() == vireo::kModeFileBytes);
  ParameterStore again;
  Prepare(again);
  Check(vireo::ParseModeFile(image, again).ok);
  Check(Persisted(again) == Persisted(store));
  return 0;
}
