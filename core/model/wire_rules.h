// Wire encodings: how each stored value becomes the machine's 4-byte value and back.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "dsp/biquad.h"
#include "model/slot_fields.h"

namespace vireo {

inline constexpr double kSampleRate = 48000.0;

// Read-back helpers (x is a reply's first value as a float).
std::int32_t Hundredths(float x);
std::int32_t TenThousandths(float x);
float SamplesToMs(std::int32_t samples);
float TimeConstantToMs(float x);
float RatioFromCoefficient(float x);

// Single-value rules. Encoders return the 32-bit wire pattern; decoders take the pattern and return the
// slot's new 32-bit content (an int, or a float's bits for float slots).
std::uint32_t EncodePct(std::int32_t v);
std::uint32_t EncodeVol(std::int32_t v);
std::uint32_t EncodeT4(std::int32_t v);
std::uint32_t EncodeByte(std::int32_t v);
std::uint32_t EncodeInv(std::int32_t flag);
std::uint32_t EncodeInvByte(std::int32_t flag);
std::uint32_t EncodePhase(std::int32_t flag);
std::uint32_t EncodeRoute(std::int32_t v);
std::uint32_t EncodePitch(std::int32_t v);
// ms: milliseconds raised to `minimumMs` (2, or 1.5 for chDelay) -> rounded sample count.
inline constexpr float kMinimumDelayMs = 2.0f;
inline constexpr float kMinimumChannelDelayMs = 1.5f;
float RaiseMs(float ms, float minimumMs);
std::uint32_t EncodeMs(float ms);  // after raising
std::uint32_t EncodeMsInt(std::int32_t ms);

// Encodes the slot word `slotBits` by `rule` (single-value rules only; shift, delaymode and comp have
// their own records). Returns false for rules that are not single values.
bool EncodeSingle(WireRule rule, std::uint32_t slotBits, std::uint32_t* wire);
// Decodes a reply's first value into the slot word by `rule`; false for multi-value rules.
bool DecodeSingle(WireRule rule, std::uint32_t wire, std::uint32_t* slotBits);

// Field-aware forms for walking the field table (write-all, read-back). A float slot under an integer
// rule (reverbTimeA/B keep a whole number in a float) travels as that number, and an ms field is raised
// to its minimum before encoding; storing the raised value back is the caller's step.
float MinimumMs(const SlotField& field);  // kMinimumChannelDelayMs for chDelay, else kMinimumDelayMs
bool EncodeField(const SlotField& field, std::uint32_t slotBits, std::uint32_t* wire);
bool DecodeField(const SlotField& field, std::uint32_t wire, std::uint32_t* slotBits);

// --- multi-value records ---

// Frequency shift: the messages that set frequency f (1 = off) on channel A (B when `channelB`).
struct ParamMessage {
  int module;
  int param;
  std::vector<std::uint32_t> values;
  bool operator==(const ParamMessage&) const = default;
};
std::vector<ParamMessage> ShiftMessages(int frequency, bool channelB);
std::int32_t ShiftSamples(int frequency);                     // parameter 32/55 value
std::int32_t ShiftFrequencyFromWire(float radiansPerSample);  // parameter 31/54 read-back

// Delay mode pair (output parameter 17): mode 0 = high-frequency delay, 1 = channel delay.
std::array<std::uint32_t, 2> DelayModePair(std::int32_t mode);
std::int32_t DelayModeFromWire(float secondValue);

// Compressor record (music 4/14, channel ch/27), count 7.
struct CompressorSettings {
  float threshold = 0;
  float ratio = 1;
  float attackMs = 0;
  float releaseMs = 0;
};
std::array<std::uint32_t, 7> CompressorRecord(const CompressorSettings& c);
CompressorSettings DecodeCompressorRecord(std::span<const std::uint32_t, 7> values);

// Filter coefficient message: -a1, -a2, b0, b1, b2 as floats.
std::array<std::uint32_t, 5> CoefficientRecord(const dsp::BiquadCoefficients& c);
// The coefficients the machine gets for a band record (frequency whole Hz, 48 kHz).
std::array<std::uint32_t, 5> BandCoefficientRecord(int type, float gainDb, int frequency, float q);

// Gain record (count 6): d, e, c1, c2, d, e.
enum class GainVariant { channelGain, micBoost };
std::array<std::uint32_t, 6> GainRecord(float gainDb, GainVariant variant);

// Delay split bands of output channels: entry i pairs 500 + 100 i Hz with 500 Hz more.
inline constexpr int kSplitEntries = 26;
int SplitLowerFrequency(int index);
int SplitIndexOfFrequency(int band13Frequency);  // 0 when not in the table

}  // namespace vireo
