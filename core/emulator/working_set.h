// The emulated machine's working set: parameter memory and block memory, and how a store maps onto it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "model/parameter_store.h"

namespace vireo::emulator {

// The machine's block address space: DSP records below 0xF00, the mode names above.
inline constexpr int kBlockSpaceBytes = 0x1000;
inline constexpr int kWorkingBlockBytes = 0xF00;
inline constexpr int kModeNameAddress = 0xF00;
inline constexpr int kModeNameStride = 0x40;

// Raw 32-bit values as last written, by (module, parameter).
using ParamMemory = std::map<std::pair<int, int>, std::vector<std::uint32_t>>;

struct WorkingSet {
  ParamMemory params;
  std::array<std::uint8_t, kWorkingBlockBytes> blocks{};
  bool operator==(const WorkingSet&) const = default;
};

// The working set a machine holds after it received the store's whole contents: every named field
// by its wire rule, the shift, delay-mode, compressor and gain records, the coefficients of every
// band, and the byte images at their block addresses. Values are encoded as the machine's own
// (raised delays, whole reverb times), without touching the store.
WorkingSet WorkingSetFromStore(const ParameterStore& store);

// The factory working set (FillInUseFactoryStore, encoded): what the emulated machine holds at start,
// after a reset (104) and in a slot restored to factory contents (6).
const WorkingSet& FactoryWorkingSet();

}  // namespace vireo::emulator
