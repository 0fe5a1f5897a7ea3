// Range clamps for slots, band records, location gains and the microphone boost.
#include "model/field_ranges.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <utility>

#include "model/report.h"
#include "model/store_layout.h"

namespace vireo {
namespace {

std::uint32_t LittleEndianWord(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
         static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

void PutLittleEndianWord(std::uint8_t* at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

float ClampFloat(float v, float lo, float hi) {
  return std::isnan(v) ? lo : std::clamp(v, lo, hi);
}

std::uint16_t BigEndian16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] << 8 | at[1]);
}

bool PutClamped16(std::uint8_t* at, int lo, int hi) {
  const int v = BigEndian16(at);
  const int c = std::clamp(v, lo, hi);
  at[0] = static_cast<std::uint8_t>(c >> 8);
  at[1] = static_cast<std::uint8_t>(c);
  return c != v;
}

// Names are built by appending: GCC 12 at -O3 reports a false -Wrestrict for "literal" + std::string.
std::string Indexed(std::string_view name, std::size_t index) {
  std::string text(name);
  text += '[';
  text += std::to_string(index);
  text += ']';
  return text;
}

using Kind = ClampedValue::Kind;

// Never above the machine's maximum volume; 0 means the machine has not reported one yet.
void LimitToMachineMaximum(ParameterStore& store, int slotIndex, int maximumByte,
                           std::vector<ClampedValue>& changed) {
  const int maximum = store.Byte(Region::machineSettings, static_cast<std::size_t>(maximumByte));
  if (maximum > 0 && store.Int(slotIndex) > maximum) {
    store.SetInt(slotIndex, maximum);
    changed.push_back({Kind::slot, slotIndex});
  }
}

}  // namespace

std::string ClampedValue::Name() const {
  switch (kind) {
    case Kind::slot: {
      int element = 0;
      const SlotField* field = FindSlotFieldBySlot(index, &element);
      if (field == nullptr) return Indexed("mainParams", static_cast<std::size_t>(index));
      return field->count > 1 ? Indexed(field->name, static_cast<std::size_t>(element))
                              : std::string(field->name);
    }
    case Kind::band: {
      std::string name = "band ";
      name += std::to_string(index);
      return name;
    }
    case Kind::locationGain:
      return Indexed("chLocationGain", static_cast<std::size_t>(index));
    case Kind::micBoost:
      return "micBoostLevel";
  }
  return {};
}

std::uint32_t ClampSlotWord(const SlotField& field, std::uint32_t bits) {
  if (field.isFloat) {
    const float v = BitsFloat(bits);
    const float c = ClampFloat(v, static_cast<float>(field.lo), static_cast<float>(field.hi));
    return c == v ? bits : FloatBits(c);  // keeps -0.0 and every in-range pattern as it was
  }
  const auto v = static_cast<std::int32_t>(bits);
  return static_cast<std::uint32_t>(
      std::clamp(v, static_cast<std::int32_t>(field.lo), static_cast<std::int32_t>(field.hi)));
}

CompressorSettings StoredCompressor(const ParameterStore& store, int channel) {
  const bool music = channel < 0;
  const auto value = [&](int musicSlot, const SlotArray<kOutputChannels>& channelSlots) {
    const int s = music ? musicSlot : channelSlots[channel];
    return BitsFloat(ClampSlotWord(*FindSlotFieldBySlot(s, nullptr), store.Bits(s)));
  };
  return {value(slot::musicCompThreshold, slot::chCompThreshold),
          value(slot::musicCompRatio, slot::chCompRatio), value(slot::musicCompAttack, slot::chCompAttack),
          value(slot::musicCompRelease, slot::chCompRelease)};
}

bool ClampBandRecordBytes(std::span<std::uint8_t, kBandRecordBytes> record) {
  if (std::all_of(record.begin(), record.end(), [](std::uint8_t b) { return b == 0; })) return false;
  bool changed = PutClamped16(&record[0], 0, kBandGainCodeMax);
  changed |= PutClamped16(&record[2], kBandFrequencyMin, kBandFrequencyMax);
  changed |= PutClamped16(&record[4], kBandQCodeMin, kBandQCodeMax);
  if (record[6] > kBandTypeMax) {
    record[6] = 0;  // not a filter: the band passes the signal unchanged
    changed = true;
  }
  return changed;
}

bool ClampBigEndianFloat(std::span<std::uint8_t, 4> bytes, float lo, float hi) {
  const std::uint32_t bits = GetBigEndian32(bytes.data());
  const float v = BitsFloat(bits);
  const float c = ClampFloat(v, lo, hi);
  if (c == v) return false;
  PutBigEndian32(bytes.data(), FloatBits(c));
  return true;
}

bool ClampMicBoostBytes(std::span<std::uint8_t, kMicBoostLevelBytes> bytes) {
  std::array<std::uint8_t, 4> full{bytes[0], bytes[1], 0, 0};
  if (!ClampBigEndianFloat(full, kMicBoostMinDb, kMicBoostMaxDb)) return false;
  bytes[0] = full[0];  // -40 and 0 are exact in the upper two bytes
  bytes[1] = full[1];
  return true;
}

std::vector<ClampedValue> ClampImage(std::span<std::uint8_t> mainParams, std::span<std::uint8_t> dspBlock,
                                     std::span<std::uint8_t> chLocationGain) {
  std::vector<ClampedValue> changed;
  for (std::size_t k = 0; k + 4 <= mainParams.size(); k += 4) {
    int element = 0;
    const SlotField* field = FindSlotFieldBySlot(static_cast<int>(k / 4), &element);
    if (field == nullptr) continue;
    const std::uint32_t bits = LittleEndianWord(&mainParams[k]);
    const std::uint32_t clamped = ClampSlotWord(*field, bits);
    if (clamped == bits) continue;
    PutLittleEndianWord(&mainParams[k], clamped);
    changed.push_back({Kind::slot, static_cast<int>(k / 4)});
  }
  for (std::size_t at = 0; at + kBandRecordBytes <= dspBlock.size(); at += kBandRecordBytes) {
    if (ClampBandRecordBytes(dspBlock.subspan(at).first<kBandRecordBytes>())) {
      changed.push_back({Kind::band, static_cast<int>(at)});
    }
  }
  for (std::size_t at = 0; at + 4 <= chLocationGain.size(); at += 4) {
    if (ClampBigEndianFloat(chLocationGain.subspan(at).first<4>(), kLocationGainMinDb, kLocationGainMaxDb)) {
      changed.push_back({Kind::locationGain, static_cast<int>(at / 4)});
    }
  }
  return changed;
}

std::vector<ClampedValue> ClampStoreToRanges(ParameterStore& store) {
  std::array<std::uint8_t, kMainParamsBytes> main{};
  std::array<std::uint8_t, kDspBlockBytes> dsp{};
  std::array<std::uint8_t, kChLocationGainBytes> gains{};
  std::array<std::uint8_t, kMicBoostLevelBytes> boost{};
  store.ReadBytes(Region::mainParams, 0, main);
  store.ReadBytes(Region::dspBlock, 0, dsp);
  store.ReadBytes(Region::chLocationGain, 0, gains);
  store.ReadBytes(Region::micBoostLevel, 0, boost);
  auto changed = ClampImage(main, dsp, gains);
  if (ClampMicBoostBytes(boost)) changed.push_back({Kind::micBoost, 0});
  if (!changed.empty()) {
    store.WriteBytes(Region::mainParams, 0, main);
    store.WriteBytes(Region::dspBlock, 0, dsp);
    store.WriteBytes(Region::chLocationGain, 0, gains);
    store.WriteBytes(Region::micBoostLevel, 0, boost);
  }
  LimitToMachineMaximum(store, slot::micVolume, 5, changed);
  LimitToMachineMaximum(store, slot::musicVolume, 6, changed);
  return changed;
}

}  // namespace vireo
