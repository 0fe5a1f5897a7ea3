// Readable views of a store's persisted regions: one line per field for `mode show`/`mode diff`, and JSON.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "model/parameter_store.h"

namespace vireo::cli {

struct FieldLine {
  std::string name;   // "micVolume", "chDelay[3]", "band[5][13]", "locationSettings", ...
  std::string value;  // readable text
  std::string raw;    // the field's stored bytes; two fields differ exactly when these do
};

// Every mainParams slot (reserved ones as "reserved[k]"), the 179 band records in address order,
// chLocationGain[0..7], locationSettings and micBoostLevel, always in the same order.
std::vector<FieldLine> DescribeStore(const ParameterStore& store);

// The `mode show --json` object: version, slots, bands, chLocationGain, locationSettings, micBoostLevel.
void WriteStoreJson(std::ostream& out, const ParameterStore& store, int version);

}  // namespace vireo::cli
