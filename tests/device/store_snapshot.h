// A copy of every part of a ParameterStore, so a test can assert that a reply changed nothing.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/parameter_store.h"

namespace vireo::test {

struct StoreSnapshot {
  static constexpr std::array kRegions{
      Region::mainParams,     Region::micBoostLevel,    Region::levelMeters,    Region::chLocationGain,
      Region::dspBlock,       Region::locationSettings, Region::remoteKeyTable, Region::machineSettingsEdit,
      Region::machineSettings};
  std::vector<std::vector<std::uint8_t>> regions;
  std::vector<std::u16string> texts;
  std::vector<std::int32_t> flags;
  LocationGeometry geometry;

  explicit StoreSnapshot(const ParameterStore& s) {
    for (Region r : kRegions) {
      std::vector<std::uint8_t> bytes(RegionSize(r));
      s.ReadBytes(r, 0, bytes);
      regions.push_back(std::move(bytes));
    }
    texts = {s.modelName(), s.firmwareDate(), s.secondDate()};
    for (int i = 0; i < kModeSlots; ++i) texts.push_back(s.modeName(i));
    flags = {s.currentMode(), s.writeAck(), s.connected(), s.deviceKind()};
    geometry = s.geometry();
  }
  // Puts every part back into `s`, so a second store can start where the first one was.
  void CopyInto(ParameterStore& s) const {
    for (std::size_t i = 0; i < kRegions.size(); ++i) s.WriteBytes(kRegions[i], 0, regions[i]);
    s.setModelName(texts[0]);
    s.setFirmwareDate(texts[1]);
    s.setSecondDate(texts[2]);
    for (int i = 0; i < kModeSlots; ++i) s.setModeName(i, texts[static_cast<std::size_t>(3 + i)]);
    s.setCurrentMode(flags[0]);
    s.setWriteAck(flags[1]);
    s.setConnected(flags[2]);
    s.setDeviceKind(static_cast<std::uint8_t>(flags[3]));
    s.setGeometry(geometry);
  }
  bool operator==(const StoreSnapshot&) const = default;
};

}  // namespace vireo::test
