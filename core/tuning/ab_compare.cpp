#include "tuning/ab_compare.h"

#include <string>

#include "model/slot_fields.h"
#include "model/store_layout.h"
#include "tuning/eq_identity.h"

namespace vireo::tuning {

namespace {
void AddIfDifferent(const ParameterStore& store, const ParameterStore& target, EditValue probe,
                    std::vector<EditValue>& out) {
  EditValue wanted = ReadValue(target, probe);
  if (!SameValue(ReadValue(store, probe), wanted)) out.push_back(std::move(wanted));
}
}  // namespace

std::vector<EditValue> DifferingValues(const ParameterStore& store, const ParameterStore& target) {
  std::vector<EditValue> out;
  for (const SlotField& field : SlotFields()) {
    // Fields without a machine address are the program's own bookkeeping, not part of a tuning.
    if (field.param == 0) continue;
    for (int element = 0; element < field.count; ++element)
      AddIfDifferent(store, target, FieldValue{std::string(field.name), element, 0.0}, out);
  }
  for (const EqIdentity& eq : EqIdentities()) {
    for (int band = 0; band < AddressableBandCount(eq); ++band)
      AddIfDifferent(store, target, BandValue{eq.id, band, {}}, out);
  }
  AddIfDifferent(store, target, LocationValue{}, out);
  for (int channel = 0; channel < kOutputChannels; ++channel)
    AddIfDifferent(store, target, LocationGainValue{channel, 0.0f}, out);
  return out;
}

namespace {
constexpr std::array<Region, 4> kTuningRegions{Region::mainParams, Region::dspBlock, Region::chLocationGain,
                                               Region::micBoostLevel};
}  // namespace

AbTunings::Tuning AbTunings::Tuning::Of(const ParameterStore& store) {
  Tuning t;
  for (std::size_t i = 0; i < kTuningRegions.size(); ++i) {
    t.regions[i].resize(RegionSize(kTuningRegions[i]));
    store.ReadBytes(kTuningRegions[i], 0, t.regions[i]);
  }
  t.geometry = store.geometry();
  return t;
}

void AbTunings::Tuning::Into(ParameterStore& store) const {
  for (std::size_t i = 0; i < kTuningRegions.size(); ++i) store.WriteBytes(kTuningRegions[i], 0, regions[i]);
  store.setGeometry(geometry);
}

void AbTunings::Follow(const ParameterStore& store) {
  const Slot otherSlot = live_ == Slot::a ? Slot::b : Slot::a;
  if (!started() || slot(otherSlot) == slot(live_)) return;
  if (Tuning::Of(store) == slot(otherSlot)) live_ = otherSlot;
}

std::vector<EditValue> AbTunings::Switch(const ParameterStore& store) {
  const Tuning current = Tuning::Of(store);
  const Slot next = live_ == Slot::a ? Slot::b : Slot::a;
  slot(live_) = current;
  std::vector<EditValue> values;
  if (slot(next).empty()) {
    slot(next) = current;
  } else {
    ParameterStore target;
    slot(next).Into(target);
    values = DifferingValues(store, target);
  }
  live_ = next;
  return values;
}

}  // namespace vireo::tuning
