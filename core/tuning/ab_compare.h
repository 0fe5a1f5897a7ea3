// A/B comparison: two complete tunings (what a mode file holds) and the switch between them, which
// sends the machine only what differs, so the listener hears the change at once and nothing else moves.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "model/location.h"
#include "model/parameter_store.h"
#include "tuning/edit_value.h"

namespace vireo::tuning {

// The values of `target` that differ from `store`, as edit values: every element of every store field
// the machine has an address for, every band of the fifteen equalisers (an output channel's delay split
// bands too), the location geometry and each channel's location correction.
std::vector<EditValue> DifferingValues(const ParameterStore& store, const ParameterStore& target);

class AbTunings {
 public:
  enum class Slot { a, b };

  Slot live() const { return live_; }
  // Both slots hold a tuning (after the first switch).
  bool started() const { return !other().empty(); }

  // Keeps the store's tuning in the live slot and makes the other slot live. The first switch copies
  // the live tuning into the other slot and changes nothing; after that the result is what the store
  // must take (through ApplyValues, as one edit) to become the other tuning.
  std::vector<EditValue> Switch(const ParameterStore& store);
  // After an undo or redo: when the store holds exactly the other slot's tuning (a switch was undone or
  // redone) and that tuning is not the live one's, the other slot becomes live again.
  void Follow(const ParameterStore& store);

 private:
  // What a mode file holds, byte for byte as the store has it: a mode file's reader would bring every
  // value into its control's range, and the switch would then send values nobody changed.
  struct Tuning {
    std::array<std::vector<std::uint8_t>, 4> regions;  // mainParams, dspBlock, chLocationGain, micBoostLevel
    LocationGeometry geometry{};
    bool empty() const { return regions[0].empty(); }
    bool operator==(const Tuning&) const = default;
    static Tuning Of(const ParameterStore& store);
    void Into(ParameterStore& store) const;
  };
  Tuning& slot(Slot s) { return s == Slot::a ? a_ : b_; }
  const Tuning& other() const { return live_ == Slot::a ? b_ : a_; }

  Tuning a_;
  Tuning b_;
  Slot live_ = Slot::a;
};

}  // namespace vireo::tuning
