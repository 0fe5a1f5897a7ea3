// Store words and band records that a mode file can carry unchanged: inside their fields' ranges, yet
// varied, so that a region landing at a wrong offset still shows.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>

#include "model/slot_fields.h"

namespace vireo::test {

// A word slot `slot` can hold, picked by `seed`; reserved slots take the seed itself.
inline std::uint32_t InRangeWord(int slot, std::uint32_t seed) {
  int element = 0;
  const SlotField* f = FindSlotFieldBySlot(slot, &element);
  if (f == nullptr) return seed;
  if (f->isFloat) {
    const auto v = static_cast<float>(f->lo + (f->hi - f->lo) * static_cast<double>(seed % 997) / 996.0);
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return bits;
  }
  const auto span = static_cast<std::uint32_t>(f->hi - f->lo + 1);
  return static_cast<std::uint32_t>(static_cast<std::int32_t>(f->lo) +
                                    static_cast<std::int32_t>(seed % span));
}

// Band record `r` with gain, frequency, Q and type inside the band limits (big-endian fields).
inline std::array<std::uint8_t, 7> InRangeBand(int r) {
  const int gain = (r * 7) % 301;
  const int hz = 20 + (r * 97) % 19981;
  const int q = 100 + (r * 131) % 29901;
  return {static_cast<std::uint8_t>(gain >> 8), static_cast<std::uint8_t>(gain),
          static_cast<std::uint8_t>(hz >> 8),   static_cast<std::uint8_t>(hz),
          static_cast<std::uint8_t>(q >> 8),    static_cast<std::uint8_t>(q),
          static_cast<std::uint8_t>(1 + r % 5)};
}

}  // namespace vireo::test
