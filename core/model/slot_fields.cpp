// The named mainParams fields with their machine addresses.
#include "model/slot_fields.h"

#include <algorithm>
#include <array>

#include "model/store_layout.h"

namespace vireo {
namespace {

using R = WireRule;

// name, first slot, count, float, module, param, param2, wire count, rule, and the range of the
// control that edits it (a field no control shows keeps the range of its kind)
constexpr std::array kFields{
    SlotField{"micVolume", slot::micVolume, 1, false, 1, 14, 0, 1, R::vol, 0, 99},
    SlotField{"micToChannelA", slot::micToChannelA.first, 4, false, 1, 27, 0, 1, R::route, 0, 100},
    SlotField{"micEqBypassA", slot::micEqBypassA, 1, false, 1, 26, 0, 1, R::byte, 0, 1},
    SlotField{"shiftFreqA", slot::shiftFreqA, 1, false, 1, 31, 0, 1, R::shift, 1, 8},
    SlotField{"shiftOffA", slot::shiftOffA, 1, false, 1, 33, 0, 1, R::byte, 0, 1},
    SlotField{"micToChannelB", slot::micToChannelB.first, 4, false, 1, 50, 0, 1, R::route, 0, 100},
    SlotField{"micEqBypassB", slot::micEqBypassB, 1, false, 1, 49, 0, 1, R::byte, 0, 1},
    SlotField{"shiftFreqB", slot::shiftFreqB, 1, false, 1, 54, 0, 1, R::shift, 1, 8},
    SlotField{"shiftOffB", slot::shiftOffB, 1, false, 1, 56, 0, 1, R::byte, 0, 1},
    SlotField{"micMute", slot::micMute, 1, false, 1, 15, 0, 1, R::inv, 0, 1},
    SlotField{"effectVolume", slot::effectVolume, 1, false, 1, 34, 57, 1, R::vol, 0, 99},
    SlotField{"micInputVolume", slot::micInputVolume.first, 4, false, 1, 4, 0, 1, R::pct, 0, 100},
    SlotField{"micNoiseGate", slot::micNoiseGate.first, 4, false, 1, 8, 0, 1, R::t4, 0, 100},
    SlotField{"autoSubOn", slot::autoSubOn, 1, false, 1, 12, 0, 1, R::byte, 0, 1},
    SlotField{"autoSubRatio", slot::autoSubRatio, 1, false, 1, 13, 0, 1, R::pct, 0, 100},
    SlotField{"echoEqBypassA", slot::echoEqBypassA, 1, false, 2, 7, 0, 1, R::byte, 0, 1},
    SlotField{"echoLevelA", slot::echoLevelA, 1, false, 2, 8, 0, 1, R::pct, 0, 100},
    SlotField{"echoPredelayA", slot::echoPredelayA, 1, true, 2, 9, 0, 1, R::ms, 2, 200},
    SlotField{"echoTimeA", slot::echoTimeA, 1, true, 2, 10, 0, 1, R::ms, 2, 260},
    SlotField{"echoStartVolA", slot::echoStartVolA, 1, false, 2, 11, 0, 1, R::pct, 40, 100},
    SlotField{"echoDecayA", slot::echoDecayA, 1, false, 2, 12, 0, 1, R::pct, 20, 90},
    SlotField{"echoEqBypassB", slot::echoEqBypassB, 1, false, 2, 20, 0, 1, R::byte, 0, 1},
    SlotField{"echoLevelB", slot::echoLevelB, 1, false, 2, 21, 0, 1, R::pct, 0, 100},
    SlotField{"echoPredelayB", slot::echoPredelayB, 1, true, 2, 22, 0, 1, R::ms, 2, 200},
    SlotField{"echoTimeB", slot::echoTimeB, 1, true, 2, 23, 0, 1, R::ms, 2, 260},
    SlotField{"echoStartVolB", slot::echoStartVolB, 1, false, 2, 24, 0, 1, R::pct, 40, 100},
    SlotField{"echoDecayB", slot::echoDecayB, 1, false, 2, 25, 0, 1, R::pct, 20, 90},
    SlotField{"echoVolume", slot::echoVolume, 1, false, 2, 26, 0, 1, R::pct, 0, 99},
    SlotField{"echoMute", slot::echoMute, 1, false, 2, 27, 0, 1, R::inv, 0, 1},
    SlotField{"reverbEqBypassA", slot::reverbEqBypassA, 1, false, 3, 7, 0, 1, R::byte, 0, 1},
    SlotField{"reverbLevelA", slot::reverbLevelA, 1, false, 3, 8, 0, 1, R::pct, 0, 100},
    SlotField{"reverbPredelayA", slot::reverbPredelayA, 1, true, 3, 9, 0, 1, R::ms, 2, 200},
    SlotField{"reverbTimeA", slot::reverbTimeA, 1, true, 3, 10, 11, 1, R::pct, 0, 100},
    SlotField{"reverbEqBypassB", slot::reverbEqBypassB, 1, false, 3, 19, 0, 1, R::byte, 0, 1},
    SlotField{"reverbLevelB", slot::reverbLevelB, 1, false, 3, 20, 0, 1, R::pct, 0, 100},
    SlotField{"reverbPredelayB", slot::reverbPredelayB, 1, true, 3, 21, 0, 1, R::ms, 2, 200},
    SlotField{"reverbTimeB", slot::reverbTimeB, 1, true, 3, 22, 23, 1, R::pct, 0, 100},
    SlotField{"reverbVolume", slot::reverbVolume, 1, false, 3, 24, 0, 2, R::pct, 0, 99},
    SlotField{"reverbMute", slot::reverbMute, 1, false, 3, 25, 0, 2, R::inv, 0, 1},
    SlotField{"musicVolume", slot::musicVolume, 1, false, 4, 12, 0, 1, R::vol, 0, 99},
    SlotField{"spdifLevel", slot::spdifLevel, 1, false, 4, 24, 0, 1, R::pct, 0, 127},
    SlotField{"hdmi1Level", slot::hdmi1Level, 1, false, 4, 26, 0, 1, R::pct, 0, 127},
    SlotField{"bluetoothLevel", slot::bluetoothLevel, 1, false, 4, 30, 0, 1, R::pct, 0, 127},
    SlotField{"spareMusicLevel", slot::spareMusicLevel, 1, false, 4, 25, 0, 1, R::pct, 0, 127},
    SlotField{"auxLevel", slot::auxLevel, 1, false, 4, 31, 0, 1, R::pct, 0, 127},
    SlotField{"aux2Level", slot::aux2Level, 1, false, 4, 32, 0, 1, R::pct, 0, 127},
    SlotField{"musicMute", slot::musicMute, 1, false, 4, 13, 0, 1, R::inv, 0, 1},
    SlotField{"musicEqBypass", slot::musicEqBypass, 1, false, 4, 11, 0, 1, R::byte, 0, 1},
    SlotField{"musicPitch", slot::musicPitch, 1, false, 4, 21, 0, 1, R::pitch, -5, 5},
    SlotField{"musicSource", slot::musicSource, 1, false, 4, 23, 0, 1, R::byte, 0, 5},
    SlotField{"musicNoiseGate", slot::musicNoiseGate, 1, false, 4, 22, 0, 1, R::t4, 0, 100},
    SlotField{"chDirectLevel", slot::chDirectLevel.first, 8, false, 0, 20, 0, 1, R::pct, 0, 100},
    SlotField{"chReverbLevel", slot::chReverbLevel.first, 8, false, 0, 21, 0, 1, R::pct, 0, 100},
    SlotField{"chEchoLevel", slot::chEchoLevel.first, 8, false, 0, 22, 0, 1, R::pct, 0, 100},
    SlotField{"chMusicLevel", slot::chMusicLevel.first, 8, false, 0, 23, 0, 1, R::pct, 0, 100},
    SlotField{"chType", slot::chType.first, 8, false, 0, 16, 0, 1, R::byte, 0, 7},
    SlotField{"chEqBypass", slot::chEqBypass.first, 8, false, 0, 15, 0, 1, R::byte, 0, 1},
    SlotField{"chCompOff", slot::chCompOff.first, 8, false, 0, 28, 0, 1, R::byte, 0, 1},
    SlotField{"chCompThreshold", slot::chCompThreshold.first, 8, true, 0, 27, 0, 7, R::comp, -60, 0},
    SlotField{"chCompRatio", slot::chCompRatio.first, 8, true, 0, 27, 0, 7, R::comp, 1, 30},
    SlotField{"chCompAttack", slot::chCompAttack.first, 8, true, 0, 27, 0, 7, R::comp, 1, 100},
    SlotField{"chCompRelease", slot::chCompRelease.first, 8, true, 0, 27, 0, 7, R::comp, 1, 1000},
    SlotField{"chDelay", slot::chDelay.first, 8, true, 0, 18, 0, 1, R::ms, 1.5, 100},
    SlotField{"chDelayOff", slot::chDelayOff.first, 8, false, 0, 19, 0, 1, R::byte, 0, 1},
    SlotField{"chDelayMode", slot::chDelayMode.first, 8, false, 0, 17, 0, 2, R::delaymode, 0, 1},
    SlotField{"chMute", slot::chMute.first, 8, false, 0, 26, 0, 1, R::inv, 0, 1},
    SlotField{"chPhase", slot::chPhase.first, 8, false, 0, 25, 0, 1, R::phase, 0, 1},
    SlotField{"musicAgcOn", slot::musicAgcOn, 1, false, 4, 16, 0, 1, R::byte, 0, 1},
    SlotField{"musicAgcLevel", slot::musicAgcLevel, 1, true, 4, 17, 0, 1, R::raw, -50, 0},
    SlotField{"hdmiPort", slot::hdmiPort, 1, false, 4, 33, 0, 1, R::byte, 0, 3},
    SlotField{"hdmi2Level", slot::hdmi2Level, 1, false, 4, 27, 0, 1, R::pct, 0, 127},
    SlotField{"hdmi3Level", slot::hdmi3Level, 1, false, 4, 28, 0, 1, R::pct, 0, 127},
    SlotField{"hdmi4Level", slot::hdmi4Level, 1, false, 4, 29, 0, 1, R::pct, 0, 127},
    SlotField{"chTrim", slot::chTrim.first, 8, false, 0, 24, 0, 1, R::pct, 0, 100},
    SlotField{"micBoostOn", slot::micBoostOn, 1, false, 1, 37, 60, 1, R::invbyte, 0, 1},
    SlotField{"micBoostOnCopy", slot::micBoostOnCopy, 1, false, 1, 0, 0, 0, R::none, 0, 1},
    SlotField{"musicLowDelay", slot::musicLowDelay, 1, false, 4, 36, 0, 1, R::msint, 0, 20},
    SlotField{"musicLowGain", slot::musicLowGain, 1, false, 4, 37, 0, 1, R::pct, 0, 300},
    SlotField{"musicCompThreshold", slot::musicCompThreshold, 1, true, 4, 14, 0, 7, R::comp, -60, 0},
    SlotField{"musicCompRatio", slot::musicCompRatio, 1, true, 4, 14, 0, 7, R::comp, 1, 30},
    SlotField{"musicCompAttack", slot::musicCompAttack, 1, true, 4, 14, 0, 7, R::comp, 1, 100},
    SlotField{"musicCompRelease", slot::musicCompRelease, 1, true, 4, 14, 0, 7, R::comp, 1, 1000},
    SlotField{"musicCompOff", slot::musicCompOff, 1, false, 4, 15, 0, 1, R::byte, 0, 1},
};

}  // namespace

std::span<const SlotField> SlotFields() {
  return kFields;
}

const SlotField* FindSlotField(std::string_view name) {
  // The write-all and the page operations look fields up by name many times a transfer: sorted once.
  static const auto byName = [] {
    std::array<const SlotField*, kFields.size()> sorted{};
    for (std::size_t i = 0; i < kFields.size(); ++i) sorted[i] = &kFields[i];
    std::sort(sorted.begin(), sorted.end(),
              [](const SlotField* a, const SlotField* b) { return a->name < b->name; });
    return sorted;
  }();
  const auto it = std::lower_bound(byName.begin(), byName.end(), name,
                                   [](const SlotField* f, std::string_view n) { return f->name < n; });
  return it != byName.end() && (*it)->name == name ? *it : nullptr;
}

const SlotField* FindSlotFieldByAddress(int module, int param, int* element) {
  if (param <= 0) return nullptr;
  for (const auto& f : kFields) {
    if (f.param == 0) continue;
    for (int i = 0; i < f.count; ++i) {
      if (f.ModuleOf(i) == module && f.ParamOf(i) == param) {
        if (element != nullptr) *element = i;
        return &f;
      }
    }
  }
  return nullptr;
}

const SlotField* FindSlotFieldBySlot(int slotIndex, int* element) {
  // Asked for every slot of every load and write-all: one table instead of a walk per slot.
  struct Owner {
    const SlotField* field = nullptr;
    int element = 0;
  };
  static const auto owners = [] {
    std::array<Owner, kMainSlotCount> table{};
    for (const auto& f : kFields) {
      for (int i = 0; i < f.count; ++i) table[static_cast<std::size_t>(f.firstSlot + i)] = {&f, i};
    }
    return table;
  }();
  if (slotIndex < 0 || slotIndex >= kMainSlotCount) return nullptr;
  const Owner& owner = owners[static_cast<std::size_t>(slotIndex)];
  if (owner.field != nullptr && element != nullptr) *element = owner.element;
  return owner.field;
}

}  // namespace vireo
