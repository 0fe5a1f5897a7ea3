// Single-value wire rules and the read-back helpers.
#include "model/wire_rules.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/field_ranges.h"
#include "model/report.h"

namespace vireo {
namespace {

// Conversion toward zero that saturates instead of invoking undefined behaviour on huge or NaN input
// (a garbled reply must never crash the read thread).
std::int32_t TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(v);
}

std::uint32_t IntBits(std::int32_t v) { return static_cast<std::uint32_t>(v); }

}  // namespace

std::int32_t Hundredths(float x) {
  const float biased = x >= 0 ? (x + 0.005f) * 100.0f : (x - 0.005f) * 100.0f;
  return TruncToInt(biased);
}

std::int32_t TenThousandths(float x) {
  const float biased = x >= 0 ? (x + 0.00005f) * 10000.0f : (x - 0.00005f) * 10000.0f;
  return TruncToInt(biased);
}

float SamplesToMs(std::int32_t samples) { return static_cast<float>(samples * 1000.0 / kSampleRate); }

float TimeConstantToMs(float x) { return static_cast<float>(-1.0 / std::log(1.0 - x) / 48.0); }

float RatioFromCoefficient(float x) { return static_cast<float>(1.0 / (1.0 - x)); }

std::uint32_t EncodePct(std::int32_t v) { return FloatBits(static_cast<float>(v / 100.0)); }

std::uint32_t EncodeVol(std::int32_t v) {
  const float fraction = static_cast<float>(v) / 100.0f;
  return FloatBits(static_cast<float>(fraction + 0.0005));
}

std::uint32_t EncodeT4(std::int32_t v) { return FloatBits(static_cast<float>(v / 10000.0)); }
std::uint32_t EncodeByte(std::int32_t v) { return IntBits(v); }
std::uint32_t EncodeInv(std::int32_t flag) { return FloatBits(flag == 0 ? 1.0f : 0.0f); }
std::uint32_t EncodeInvByte(std::int32_t flag) { return IntBits(flag == 0 ? 1 : 0); }
std::uint32_t EncodePhase(std::int32_t flag) { return FloatBits(flag == 1 ? -1.0f : 1.0f); }
std::uint32_t EncodeRoute(std::int32_t v) { return FloatBits(static_cast<float>(v / 100.0)); }
std::uint32_t EncodePitch(std::int32_t v) { return IntBits(std::clamp(v, -5, 5) + 5); }

float RaiseMs(float ms, float minimumMs) { return ms < minimumMs || std::isnan(ms) ? minimumMs : ms; }

std::uint32_t EncodeMs(float ms) { return IntBits(TruncToInt(ms * kSampleRate / 1000.0 + 0.5)); }
std::uint32_t EncodeMsInt(std::int32_t ms) { return IntBits(TruncToInt(ms * kSampleRate / 1000.0 + 0.5)); }

bool EncodeSingle(WireRule rule, std::uint32_t slotBits, std::uint32_t* wire) {
  const auto v = static_cast<std::int32_t>(slotBits);
  switch (rule) {
    case WireRule::pct: *wire = EncodePct(v); return true;
    case WireRule::vol: *wire = EncodeVol(v); return true;
    case WireRule::t4: *wire = EncodeT4(v); return true;
    case WireRule::byte: *wire = EncodeByte(v); return true;
    case WireRule::inv: *wire = EncodeInv(v); return true;
    case WireRule::invbyte: *wire = EncodeInvByte(v); return true;
    case WireRule::phase: *wire = EncodePhase(v); return true;
    case WireRule::route: *wire = EncodeRoute(v); return true;
    case WireRule::pitch: *wire = EncodePitch(v); return true;
    case WireRule::ms: *wire = EncodeMs(BitsFloat(slotBits)); return true;
    case WireRule::msint: *wire = EncodeMsInt(v); return true;
    case WireRule::raw: *wire = slotBits; return true;
    case WireRule::none:
    case WireRule::shift:
    case WireRule::delaymode:
    case WireRule::comp: return false;
  }
  return false;
}

bool DecodeSingle(WireRule rule, std::uint32_t wire, std::uint32_t* slotBits) {
  const float x = BitsFloat(wire);
  const auto lowByte = static_cast<std::int32_t>(wire & 0xFF);
  const auto asInt = static_cast<std::int32_t>(wire);
  switch (rule) {
    case WireRule::pct:
    case WireRule::vol:
    case WireRule::route: *slotBits = IntBits(Hundredths(x)); return true;
    case WireRule::t4: *slotBits = IntBits(TenThousandths(x)); return true;
    case WireRule::byte: *slotBits = IntBits(lowByte); return true;
    case WireRule::inv: *slotBits = IntBits(Hundredths(x) == 0 ? 1 : 0); return true;
    case WireRule::invbyte: *slotBits = IntBits(lowByte == 0 ? 1 : 0); return true;
    case WireRule::phase: *slotBits = IntBits(Hundredths(x) <= 0 ? 1 : 0); return true;
    case WireRule::pitch: *slotBits = IntBits(lowByte - 5); return true;
    case WireRule::ms: *slotBits = FloatBits(SamplesToMs(asInt)); return true;
    case WireRule::msint: *slotBits = IntBits(TruncToInt(SamplesToMs(asInt))); return true;
    case WireRule::raw: *slotBits = wire; return true;
    case WireRule::none:
    case WireRule::shift:
    case WireRule::delaymode:
    case WireRule::comp: return false;
  }
  return false;
}

namespace {
// Rules whose slot word is an IEEE single by nature; every other rule works on an integer.
bool FloatNativeRule(WireRule rule) { return rule == WireRule::ms || rule == WireRule::raw; }
}  // namespace

float MinimumMs(const SlotField& field) {
  return field.name == "chDelay" ? kMinimumChannelDelayMs : kMinimumDelayMs;
}

bool EncodeField(const SlotField& field, std::uint32_t slotBits, std::uint32_t* wire) {
  // Whatever the store holds, the machine gets a value its control could have set.
  slotBits = ClampSlotWord(field, slotBits);
  if (field.rule == WireRule::ms) {
    return EncodeSingle(field.rule, FloatBits(RaiseMs(BitsFloat(slotBits), MinimumMs(field))), wire);
  }
  if (field.isFloat && !FloatNativeRule(field.rule)) {
    slotBits = IntBits(TruncToInt(BitsFloat(slotBits)));
  }
  return EncodeSingle(field.rule, slotBits, wire);
}

bool DecodeField(const SlotField& field, std::uint32_t wire, std::uint32_t* slotBits) {
  std::uint32_t decoded = 0;
  if (!DecodeSingle(field.rule, wire, &decoded)) return false;
  if (field.isFloat && !FloatNativeRule(field.rule)) {
    decoded = FloatBits(static_cast<float>(static_cast<std::int32_t>(decoded)));
  }
  *slotBits = decoded;
  return true;
}

}  // namespace vireo
