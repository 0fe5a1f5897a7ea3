// Encoding a parameter store into the emulated machine's parameter and block memory.
#include "emulator/working_set.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "device/sync.h"
#include "device/sync_coefficients.h"
#include "emulator/factory_store.h"
#include "model/band.h"
#include "model/field_ranges.h"
#include "model/report.h"
#include "model/slot_fields.h"
#include "model/wire_rules.h"

namespace vireo::emulator {
namespace {

void Put(ParamMemory& params, int module, int param, std::vector<std::uint32_t> values) {
  params[{module, param}] = std::move(values);
}

// The machine holds what the write-all sends: the field's own wire rule, with delays raised to their
// minimum and whole-number floats truncated.
std::uint32_t SingleWire(const ParameterStore& store, const SlotField& field, int element) {
  std::uint32_t wire = 0;
  EncodeField(field, store.Bits(field.SlotOf(element)), &wire);
  return wire;
}

void PutSingleFields(const ParameterStore& store, ParamMemory& params) {
  for (const SlotField& field : SlotFields()) {
    if (field.param == 0) continue;
    for (int e = 0; e < field.count; ++e) {
      if (field.rule == WireRule::shift) {
        for (const ParamMessage& m : ShiftMessages(store.Int(field.SlotOf(e)), field.param == 54)) {
          Put(params, m.module, m.param, m.values);
        }
        continue;
      }
      if (field.rule == WireRule::delaymode) {
        const auto pair = DelayModePair(store.Int(field.SlotOf(e)));
        Put(params, field.ModuleOf(e), field.ParamOf(e), {pair.begin(), pair.end()});
        continue;
      }
      if (field.rule == WireRule::comp || field.rule == WireRule::none) continue;
      const std::uint32_t wire = SingleWire(store, field, e);
      const std::vector<std::uint32_t> values(static_cast<std::size_t>(std::max(1, field.wireCount)), wire);
      Put(params, field.ModuleOf(e), field.ParamOf(e), values);
      if (field.param2 != 0) Put(params, field.ModuleOf(e), field.param2, values);
    }
  }
  // The off flag wins over the frequency triple when the shift is off.
  if (store.Int(slot::shiftOffA) == 1) Put(params, 1, 33, {1});
  if (store.Int(slot::shiftOffB) == 1) Put(params, 1, 56, {1});
}

std::vector<std::uint32_t> Compressor(const ParameterStore& store, int channel) {
  const auto record = CompressorRecord(StoredCompressor(store, channel));
  return {record.begin(), record.end()};
}

void PutRecords(const ParameterStore& store, ParamMemory& params) {
  Put(params, 4, 14, Compressor(store, -1));
  for (int ch = 0; ch < kOutputChannels; ++ch) {
    Put(params, ch + 5, 27, Compressor(store, ch));
    const ParamMessage gain = ChannelGainMessage(store, ch);
    Put(params, gain.module, gain.param, gain.values);
  }
  for (const ParamMessage& m : MicBoostMessages(MicBoostLevelDb(store)))
    Put(params, m.module, m.param, m.values);
}

void PutCoefficients(const ParameterStore& store, ParamMemory& params) {
  for (int group = 1; group <= 13; ++group) {
    for (int b = 0; b < CoefficientBandCount(group); ++b) {
      const ParamMessage m = BandCoefficientMessage(store, group, b);
      Put(params, m.module, m.param, m.values);
    }
  }
}

void PutBlocks(const ParameterStore& store, std::array<std::uint8_t, kWorkingBlockBytes>& blocks) {
  store.ReadBytes(Region::dspBlock, 0, std::span(blocks.data(), kDspBlockBytes));
  store.ReadBytes(Region::chLocationGain, 0,
                  std::span(blocks.data() + kChLocationGainAddress, kChLocationGainBytes));
  store.ReadBytes(Region::locationSettings, 0,
                  std::span(blocks.data() + kLocationSettingsAddress, kLocationSettingsBytes));
  store.ReadBytes(Region::micBoostLevel, 0,
                  std::span(blocks.data() + kMicBoostLevelAddress, kMicBoostLevelBytes));
}

}  // namespace

WorkingSet WorkingSetFromStore(const ParameterStore& store) {
  WorkingSet set;
  PutSingleFields(store, set.params);
  PutRecords(store, set.params);
  PutCoefficients(store, set.params);
  PutBlocks(store, set.blocks);
  return set;
}

const WorkingSet& FactoryWorkingSet() {
  static const WorkingSet factory = [] {
    ParameterStore inUse;
    FillInUseFactoryStore(inUse);
    return WorkingSetFromStore(inUse);
  }();
  return factory;
}

}  // namespace vireo::emulator
