// A copy of every part of a ParameterStore, so a test can assert that a reply changed nothing.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/parameter_store.h"

namespace vireo::test {

struct StoreSnapshot {
  std::vector<std::vector<std::uint8_t>> regions;
  std::vector<std::u16string> texts;
  std::vector<std::int32_t> flags;
  LocationGeometry geometry;

  explicit StoreSnapshot(const ParameterStore& s) {
    for (Region r : {Region::mainParams, Region::micBoostLevel, Region::levelMeters, Region::chLocationGain,
                     Region::dspBlock, Region::locationSettings, Region::remoteKeyTable,
                     Region::machineSettingsEdit, Region::machineSettings}) {
      std::vector<std::uint8_t> bytes(RegionSize(r));
      s.ReadBytes(r, 0, bytes);
      regions.push_back(std::move(bytes));
    }
    texts = {s.modelName(), s.firmwareDate(), s.secondDate()};
    for (int i = 0; i < kModeSlots; ++i) texts.push_back(s.modeName(i));
    flags = {s.currentMode(), s.writeAck(), s.connected(), s.deviceKind()};
    geometry = s.geometry();
  }
  bool operator==(const StoreSnapshot&) const = default;
};

}  // namespace vireo::test
