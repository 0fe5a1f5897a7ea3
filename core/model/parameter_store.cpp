// Thread-safe storage of the parameter store's regions.
#include "model/parameter_store.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

namespace vireo {
namespace {

std::atomic_ref<std::uint32_t> SlotRef(const std::array<std::uint32_t, kMainSlotCount>& slots, int index) {
  assert(index >= 0 && index < kMainSlotCount);
  // atomic_ref needs a non-const object; the const overloads only load through it.
  return std::atomic_ref<std::uint32_t>(const_cast<std::uint32_t&>(slots[static_cast<std::size_t>(index)]));
}

bool ValidSlot(int index) { return index >= 0 && index < kMainSlotCount; }

std::u16string Clip(std::u16string_view text, int capacity) {
  const auto end = text.find(u'\0');
  text = text.substr(0, end);
  return std::u16string(text.substr(0, static_cast<std::size_t>(capacity - 1)));
}

}  // namespace

std::size_t RegionSize(Region region) {
  switch (region) {
    case Region::mainParams: return kMainParamsBytes;
    case Region::micBoostLevel: return kMicBoostLevelBytes;
    case Region::levelMeters: return kLevelMeterBytes;
    case Region::chLocationGain: return kChLocationGainBytes;
    case Region::dspBlock: return kDspBlockBytes;
    case Region::locationSettings: return kLocationSettingsBytes;
    case Region::remoteKeyTable: return kRemoteKeyTableBytes;
    case Region::machineSettingsEdit:
    case Region::machineSettings: return kMachineSettingsBytes;
  }
  return 0;
}

ParameterStore::ParameterStore() = default;

std::int32_t ParameterStore::Int(int slotIndex) const { return static_cast<std::int32_t>(Bits(slotIndex)); }
void ParameterStore::SetInt(int slotIndex, std::int32_t value) {
  SetBits(slotIndex, static_cast<std::uint32_t>(value));
}
float ParameterStore::Float(int slotIndex) const { return std::bit_cast<float>(Bits(slotIndex)); }
void ParameterStore::SetFloat(int slotIndex, float value) { SetBits(slotIndex, std::bit_cast<std::uint32_t>(value)); }

std::uint32_t ParameterStore::Bits(int slotIndex) const {
  if (!ValidSlot(slotIndex)) return 0;
  return SlotRef(mainParams_, slotIndex).load(std::memory_order_relaxed);
}

void ParameterStore::SetBits(int slotIndex, std::uint32_t bits) {
  if (!ValidSlot(slotIndex)) return;
  SlotRef(mainParams_, slotIndex).store(bits, std::memory_order_relaxed);
}

std::uint8_t* ParameterStore::RegionData(Region region) {
  return const_cast<std::uint8_t*>(std::as_const(*this).RegionData(region));
}

const std::uint8_t* ParameterStore::RegionData(Region region) const {
  switch (region) {
    case Region::mainParams: return nullptr;  // slot-wise, see ReadMainParams
    case Region::micBoostLevel: return micBoostLevel_.data();
    case Region::levelMeters: return levelMeters_.data();
    case Region::chLocationGain: return chLocationGain_.data();
    case Region::dspBlock: return dspBlock_.data();
    case Region::locationSettings: return locationSettings_.data();
    case Region::remoteKeyTable: return remoteKeyTable_.data();
    case Region::machineSettingsEdit: return machineSettingsEdit_.data();
    case Region::machineSettings: return machineSettings_.data();
  }
  return nullptr;
}

// mainParams bytes are the slots' little-endian images, whatever the host order. Each slot is loaded
// once, so the four bytes of one slot always come from the same value.
std::size_t ParameterStore::ReadMainParams(std::size_t offset, std::span<std::uint8_t> out) const {
  const std::size_t n = std::min(out.size(), kMainParamsBytes - offset);
  std::size_t i = 0;
  while (i < n) {
    const std::size_t at = offset + i;
    const std::uint32_t word = Bits(static_cast<int>(at / 4));
    for (std::size_t b = at % 4; b < 4 && i < n; ++b, ++i) {
      out[i] = static_cast<std::uint8_t>(word >> (8 * b));
    }
  }
  return n;
}

std::size_t ParameterStore::WriteMainParams(std::size_t offset, std::span<const std::uint8_t> in) {
  const std::size_t n = std::min(in.size(), kMainParamsBytes - offset);
  std::size_t i = 0;
  while (i < n) {
    const std::size_t at = offset + i;
    const int index = static_cast<int>(at / 4);
    std::uint32_t mask = 0;
    std::uint32_t bits = 0;
    for (std::size_t b = at % 4; b < 4 && i < n; ++b, ++i) {
      const std::uint32_t shift = static_cast<std::uint32_t>(8 * b);
      mask |= 0xFFu << shift;
      bits |= static_cast<std::uint32_t>(in[i]) << shift;
    }
    // The word is stored whole, so a reader never sees a half-written slot; a partial word is merged
    // with compare-exchange so a concurrent write to the slot's other bytes is not lost.
    auto ref = SlotRef(mainParams_, index);
    if (mask == 0xFFFFFFFFu) {
      ref.store(bits, std::memory_order_relaxed);
    } else {
      std::uint32_t old = ref.load(std::memory_order_relaxed);
      while (!ref.compare_exchange_weak(old, (old & ~mask) | bits, std::memory_order_relaxed)) {
      }
    }
  }
  return n;
}

std::size_t ParameterStore::ReadBytes(Region region, std::size_t offset, std::span<std::uint8_t> out) const {
  const std::size_t size = RegionSize(region);
  if (offset >= size) return 0;
  if (region == Region::mainParams) return ReadMainParams(offset, out);
  const std::size_t n = std::min(out.size(), size - offset);
  if (n == 0) return 0;  // an empty span may carry a null pointer, which memcpy must not see
  std::lock_guard lock(bytesLock_);
  std::memcpy(out.data(), RegionData(region) + offset, n);
  return n;
}

std::size_t ParameterStore::WriteBytes(Region region, std::size_t offset, std::span<const std::uint8_t> in) {
  const std::size_t size = RegionSize(region);
  if (offset >= size) return 0;
  if (region == Region::mainParams) return WriteMainParams(offset, in);
  const std::size_t n = std::min(in.size(), size - offset);
  if (n == 0) return 0;
  std::lock_guard lock(bytesLock_);
  std::memcpy(RegionData(region) + offset, in.data(), n);
  return n;
}

std::uint8_t ParameterStore::Byte(Region region, std::size_t offset) const {
  std::uint8_t b = 0;
  ReadBytes(region, offset, std::span<std::uint8_t>(&b, 1));
  return b;
}

void ParameterStore::SetByte(Region region, std::size_t offset, std::uint8_t value) {
  WriteBytes(region, offset, std::span<const std::uint8_t>(&value, 1));
}

void ParameterStore::Fill(Region region, std::uint8_t value) {
  if (region == Region::mainParams) {
    const std::uint32_t word = value * 0x01010101u;
    for (int i = 0; i < kMainSlotCount; ++i) SetBits(i, word);
    return;
  }
  std::lock_guard lock(bytesLock_);
  std::memset(RegionData(region), value, RegionSize(region));
}

std::u16string ParameterStore::modelName() const {
  std::lock_guard lock(bytesLock_);
  return modelName_;
}
void ParameterStore::setModelName(std::u16string_view text) {
  auto clipped = Clip(text, kModelNameChars);
  std::lock_guard lock(bytesLock_);
  modelName_ = std::move(clipped);
}
std::u16string ParameterStore::firmwareDate() const {
  std::lock_guard lock(bytesLock_);
  return firmwareDate_;
}
void ParameterStore::setFirmwareDate(std::u16string_view text) {
  auto clipped = Clip(text, kDateChars);
  std::lock_guard lock(bytesLock_);
  firmwareDate_ = std::move(clipped);
}
std::u16string ParameterStore::secondDate() const {
  std::lock_guard lock(bytesLock_);
  return secondDate_;
}
void ParameterStore::setSecondDate(std::u16string_view text) {
  auto clipped = Clip(text, kDateChars);
  std::lock_guard lock(bytesLock_);
  secondDate_ = std::move(clipped);
}
std::u16string ParameterStore::modeName(int index) const {
  if (index < 0 || index >= kModeSlots) return {};
  std::lock_guard lock(bytesLock_);
  return modeName_[static_cast<std::size_t>(index)];
}
void ParameterStore::setModeName(int index, std::u16string_view text) {
  if (index < 0 || index >= kModeSlots) return;
  // A mode name holds 24 characters; unlike the identity texts it has no terminator of its own.
  auto clipped = Clip(text, kModeNameChars + 1);
  std::lock_guard lock(bytesLock_);
  modeName_[static_cast<std::size_t>(index)] = std::move(clipped);
}

LocationGeometry ParameterStore::geometry() const {
  std::lock_guard lock(bytesLock_);
  return geometry_;
}
void ParameterStore::setGeometry(const LocationGeometry& g) {
  std::lock_guard lock(bytesLock_);
  geometry_ = g;
}

void ParameterStore::SetLocationRecord(std::span<const std::uint8_t, kLocationSettingsBytes> record) {
  const LocationGeometry g = DecodeLocation(record);
  std::lock_guard lock(bytesLock_);
  std::memcpy(locationSettings_.data(), record.data(), record.size());
  geometry_ = g;
}

std::array<std::uint8_t, kLocationSettingsBytes> ParameterStore::EncodeGeometryIntoRecord() {
  std::lock_guard lock(bytesLock_);
  locationSettings_ = EncodeLocation(geometry_);
  return locationSettings_;
}

ParameterStore& TheStore() {
  static ParameterStore store;
  return store;
}

}  // namespace vireo
