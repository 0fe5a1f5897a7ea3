// Keeps what goes to the machine inside the ranges its controls allow, whatever a file or a reply held.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/parameter_store.h"
#include "model/slot_fields.h"
#include "model/wire_rules.h"

namespace vireo {

// Band record limits: gain -15..+15 dB, 20..20000 Hz, Q 0.1..30, filter codes 0..21.
inline constexpr int kBandGainCodeMax = 300;
inline constexpr int kBandFrequencyMin = 20;
inline constexpr int kBandFrequencyMax = 20000;
inline constexpr int kBandQCodeMin = 100;
inline constexpr int kBandQCodeMax = 30000;
inline constexpr int kBandTypeMax = 21;
// Location corrections run from +3 dB at the listener to about -39.6 dB across a 10 m x 10 m room.
inline constexpr float kLocationGainMinDb = -40.0f;
inline constexpr float kLocationGainMaxDb = 3.0f;
// The microphone boost slider runs 0..40 and the boost is its negation.
inline constexpr float kMicBoostMinDb = -40.0f;
inline constexpr float kMicBoostMaxDb = 0.0f;

// One value a clamp changed. Named only when someone shows it: a garbled file changes hundreds.
struct ClampedValue {
  enum class Kind : std::uint8_t { slot, band, locationGain, micBoost };
  Kind kind;
  int index;  // slot index, band record address, output channel; 0 for the boost
  // "echoTimeA", "chDelay[3]", "band 412", "chLocationGain[2]", "micBoostLevel"
  std::string Name() const;
  bool operator==(const ClampedValue&) const = default;
};

// The slot word of `field` held inside the field's range. Integers saturate; a float that is not a
// number takes the low end, which is the quiet or neutral end of every range.
std::uint32_t ClampSlotWord(const SlotField& field, std::uint32_t bits);

// The compressor of output channel `channel` (0..7), or the music compressor for -1, as the machine gets
// it: each of the four values within its slider's range (a ratio of 0 would send 1 - 1/0).
CompressorSettings StoredCompressor(const ParameterStore& store, int channel);

// Each returns true when it changed the bytes. A blank (all-zero) band record stays blank.
bool ClampBandRecordBytes(std::span<std::uint8_t, kBandRecordBytes> record);
bool ClampBigEndianFloat(std::span<std::uint8_t, 4> bytes, float lo, float hi);
bool ClampMicBoostBytes(std::span<std::uint8_t, kMicBoostLevelBytes> bytes);

// Clamps the words of a mainParams image that hold `slotCount` slots (little-endian, as in a mode
// file), every band record in `dspBlock` and every gain in `chLocationGain` (either may be empty).
// Returns what changed.
std::vector<ClampedValue> ClampImage(std::span<std::uint8_t> mainParams, std::span<std::uint8_t> dspBlock,
                                     std::span<std::uint8_t> chLocationGain);

// The whole store, as the machine may hold it: every slot, band, gain and the boost in range, and the
// master volumes no higher than the machine's maximum volumes (once the machine has reported them).
// Returns what changed.
std::vector<ClampedValue> ClampStoreToRanges(ParameterStore& store);

}  // namespace vireo
