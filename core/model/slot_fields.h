// The table of named mainParams fields: store name, slots, machine address and wire rule of each.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace vireo {

// How a stored value travels to the machine and back (see wire_rules.h).
enum class WireRule : std::uint8_t {
  none,       // never sent (reserved slots, micBoostOnCopy)
  pct,        // float v / 100, read back as hundredths
  vol,        // float v / 100 + 0.0005
  t4,         // float v / 10000
  byte,       // integer
  inv,        // float 1.0 while the flag is 0
  invbyte,    // integer 1 while the flag is 0
  phase,      // float -1.0 when inverted
  route,      // float 1.0 / 0.0 for 100 / 0
  pitch,      // integer v + 5
  ms,         // float ms -> integer samples at 48 kHz
  msint,      // integer ms -> integer samples
  raw,        // the 32-bit pattern itself
  shift,      // frequency shift triple
  delaymode,  // two floats
  comp,       // seven-value compressor record
};

struct SlotField {
  std::string_view name;
  int firstSlot;
  int count;      // 1, or the length of an indexed field
  bool isFloat;   // slot holds an IEEE single
  int module;     // 1..4; 0 for per-channel fields, where element i goes to module i + 5
  int param;      // element i of a module field goes to param + i; 0 = no machine address
  int param2;     // a second parameter that receives the same value; 0 = none
  int wireCount;  // values per message (2 for the reverb volume and mute)
  WireRule rule;
  double lo;  // the range a value may take on the machine: the range of the control that edits it
  double hi;

  bool perChannel() const { return module == 0; }
  int ModuleOf(int element) const { return perChannel() ? element + 5 : module; }
  int ParamOf(int element) const { return perChannel() ? param : param + element; }
  int SlotOf(int element) const { return firstSlot + element; }
};

// Every named field of mainParams, in slot order.
std::span<const SlotField> SlotFields();

// The field named `name` (store name, e.g. "chDelay"), or nullptr.
const SlotField* FindSlotField(std::string_view name);

// The field whose read-back address is (module, param), with the element index; nullptr when
// the pair is not a field's primary address.
const SlotField* FindSlotFieldByAddress(int module, int param, int* element);

// The field that holds `slotIndex`, with the element index, or nullptr for reserved slots.
const SlotField* FindSlotFieldBySlot(int slotIndex, int* element);

}  // namespace vireo
