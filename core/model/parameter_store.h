// The in-memory mirror of the machine: byte-exact regions shared by the GUI, read and sync threads.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <string_view>

#include "model/location.h"
#include "model/store_layout.h"

namespace vireo {

// Byte-image regions. mainParams is exposed as little-endian bytes, the others as the machine's bytes.
enum class Region : std::uint8_t {
  mainParams,
  micBoostLevel,
  levelMeters,
  chLocationGain,
  dspBlock,
  locationSettings,
  remoteKeyTable,
  machineSettingsEdit,
  machineSettings,
};

std::size_t RegionSize(Region region);

// Every access is thread-safe: slots are relaxed 32-bit atomics (a slot is always written whole, so
// readers see either the old or the new value), byte images and texts are copied under a small lock.
class ParameterStore {
 public:
  ParameterStore();
  ParameterStore(const ParameterStore&) = delete;
  ParameterStore& operator=(const ParameterStore&) = delete;

  // --- mainParams slots ---
  std::int32_t Int(int slotIndex) const;
  void SetInt(int slotIndex, std::int32_t value);
  float Float(int slotIndex) const;
  void SetFloat(int slotIndex, float value);
  std::uint32_t Bits(int slotIndex) const;
  void SetBits(int slotIndex, std::uint32_t bits);

  // --- byte images ---
  // Copies min(out.size(), size - offset) bytes out; returns the count copied.
  std::size_t ReadBytes(Region region, std::size_t offset, std::span<std::uint8_t> out) const;
  // Copies bytes in, clipped at the region's end; returns the count written.
  std::size_t WriteBytes(Region region, std::size_t offset, std::span<const std::uint8_t> in);
  std::uint8_t Byte(Region region, std::size_t offset) const;
  void SetByte(Region region, std::size_t offset, std::uint8_t value);
  void Fill(Region region, std::uint8_t value);

  // --- scalars and flags ---
  std::int32_t currentMode() const { return currentMode_.load(std::memory_order_relaxed); }
  void setCurrentMode(std::int32_t v) { currentMode_.store(v, std::memory_order_relaxed); }
  std::int32_t writeAck() const { return writeAck_.load(std::memory_order_relaxed); }
  void setWriteAck(std::int32_t v) { writeAck_.store(v, std::memory_order_relaxed); }
  std::int32_t connected() const { return connected_.load(std::memory_order_relaxed); }
  void setConnected(std::int32_t v) { connected_.store(v, std::memory_order_relaxed); }
  std::uint8_t deviceKind() const { return deviceKind_.load(std::memory_order_relaxed); }
  void setDeviceKind(std::uint8_t v) { deviceKind_.store(v, std::memory_order_relaxed); }

  // --- identity texts (clipped to their capacity less the terminator) ---
  std::u16string modelName() const;
  void setModelName(std::u16string_view text);
  std::u16string firmwareDate() const;
  void setFirmwareDate(std::u16string_view text);
  std::u16string secondDate() const;
  void setSecondDate(std::u16string_view text);
  // Mode slot names, index 0..3; out-of-range indexes read empty and write nothing.
  std::u16string modeName(int index) const;
  void setModeName(int index, std::u16string_view text);

  // --- working geometry of the sound-field location page ---
  LocationGeometry geometry() const;
  void setGeometry(const LocationGeometry& g);
  // Replaces `locationSettings` and decodes the working geometry from it, under one lock.
  void SetLocationRecord(std::span<const std::uint8_t, kLocationSettingsBytes> record);
  // Encodes the working geometry into `locationSettings` and returns the record.
  std::array<std::uint8_t, kLocationSettingsBytes> EncodeGeometryIntoRecord();

 private:
  std::uint8_t* RegionData(Region region);
  const std::uint8_t* RegionData(Region region) const;
  std::size_t ReadMainParams(std::size_t offset, std::span<std::uint8_t> out) const;
  std::size_t WriteMainParams(std::size_t offset, std::span<const std::uint8_t> in);

  alignas(4) std::array<std::uint32_t, kMainSlotCount> mainParams_{};

  mutable std::mutex bytesLock_;
  std::array<std::uint8_t, kMicBoostLevelBytes> micBoostLevel_{};
  std::array<std::uint8_t, kLevelMeterBytes> levelMeters_{};
  std::array<std::uint8_t, kChLocationGainBytes> chLocationGain_{};
  std::array<std::uint8_t, kDspBlockBytes> dspBlock_{};
  std::array<std::uint8_t, kLocationSettingsBytes> locationSettings_{};
  std::array<std::uint8_t, kRemoteKeyTableBytes> remoteKeyTable_{};
  std::array<std::uint8_t, kMachineSettingsBytes> machineSettingsEdit_{};
  std::array<std::uint8_t, kMachineSettingsBytes> machineSettings_{};
  std::array<std::u16string, kModeSlots> modeName_;
  std::u16string modelName_;
  std::u16string firmwareDate_;
  std::u16string secondDate_;
  LocationGeometry geometry_{};

  std::atomic<std::int32_t> currentMode_{0};
  std::atomic<std::int32_t> writeAck_{0};
  std::atomic<std::int32_t> connected_{0};
  std::atomic<std::uint8_t> deviceKind_{0};
};

// The one store of the process (tests make their own instances).
ParameterStore& TheStore();

// Fills the store with the defaults used before the first read-all, in the machine's order.
void ResetStoreDefaults(ParameterStore& store);

}  // namespace vireo
