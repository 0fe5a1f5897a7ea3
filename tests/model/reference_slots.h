// The named mainParams fields written out by hand from the machine's slot table, independent of the
// code under test: name, slot constant in code, slot, byte offset, count, float, module (0 = per channel),
// parameter, second parameter, values per message, wire rule.
#pragma once

#include <array>
#include <string_view>

#include "model/slot_fields.h"
#include "model/store_layout.h"

namespace vireo::test {

struct ReferenceSlot {
  std::string_view name;
  int codeSlot;
  int slot;
  int offset;
  int count;
  bool isFloat;
  int module;
  int param;
  int param2;
  int wireCount;
  WireRule rule;
};

using R = WireRule;

inline constexpr std::array<ReferenceSlot, 83> kReferenceSlots{{
    {"micVolume", slot::micVolume, 0, 0, 1, false, 1, 14, 0, 1, R::vol},
    {"micToChannelA", slot::micToChannelA.first, 1, 4, 4, false, 1, 27, 0, 1, R::route},
    {"micEqBypassA", slot::micEqBypassA, 5, 20, 1, false, 1, 26, 0, 1, R::byte},
    {"shiftFreqA", slot::shiftFreqA, 7, 28, 1, false, 1, 31, 0, 1, R::shift},
    {"shiftOffA", slot::shiftOffA, 8, 32, 1, false, 1, 33, 0, 1, R::byte},
    {"micToChannelB", slot::micToChannelB.first, 9, 36, 4, false, 1, 50, 0, 1, R::route},
    {"micEqBypassB", slot::micEqBypassB, 13, 52, 1, false, 1, 49, 0, 1, R::byte},
    {"shiftFreqB", slot::shiftFreqB, 15, 60, 1, false, 1, 54, 0, 1, R::shift},
    {"shiftOffB", slot::shiftOffB, 16, 64, 1, false, 1, 56, 0, 1, R::byte},
    {"micMute", slot::micMute, 17, 68, 1, false, 1, 15, 0, 1, R::inv},
    {"effectVolume", slot::effectVolume, 18, 72, 1, false, 1, 34, 57, 1, R::vol},
    {"micInputVolume", slot::micInputVolume.first, 19, 76, 4, false, 1, 4, 0, 1, R::pct},
    {"micNoiseGate", slot::micNoiseGate.first, 23, 92, 4, false, 1, 8, 0, 1, R::t4},
    {"autoSubOn", slot::autoSubOn, 27, 108, 1, false, 1, 12, 0, 1, R::byte},
    {"autoSubRatio", slot::autoSubRatio, 28, 112, 1, false, 1, 13, 0, 1, R::pct},
    {"echoEqBypassA", slot::echoEqBypassA, 29, 116, 1, false, 2, 7, 0, 1, R::byte},
    {"echoLevelA", slot::echoLevelA, 30, 120, 1, false, 2, 8, 0, 1, R::pct},
    {"echoPredelayA", slot::echoPredelayA, 31, 124, 1, true, 2, 9, 0, 1, R::ms},
    {"echoTimeA", slot::echoTimeA, 32, 128, 1, true, 2, 10, 0, 1, R::ms},
    {"echoStartVolA", slot::echoStartVolA, 33, 132, 1, false, 2, 11, 0, 1, R::pct},
    {"echoDecayA", slot::echoDecayA, 34, 136, 1, false, 2, 12, 0, 1, R::pct},
    {"echoEqBypassB", slot::echoEqBypassB, 35, 140, 1, false, 2, 20, 0, 1, R::byte},
    {"echoLevelB", slot::echoLevelB, 36, 144, 1, false, 2, 21, 0, 1, R::pct},
    {"echoPredelayB", slot::echoPredelayB, 37, 148, 1, true, 2, 22, 0, 1, R::ms},
    {"echoTimeB", slot::echoTimeB, 38, 152, 1, true, 2, 23, 0, 1, R::ms},
    {"echoStartVolB", slot::echoStartVolB, 39, 156, 1, false, 2, 24, 0, 1, R::pct},
    {"echoDecayB", slot::echoDecayB, 40, 160, 1, false, 2, 25, 0, 1, R::pct},
    {"echoVolume", slot::echoVolume, 41, 164, 1, false, 2, 26, 0, 1, R::pct},
    {"echoMute", slot::echoMute, 42, 168, 1, false, 2, 27, 0, 1, R::inv},
    {"reverbEqBypassA", slot::reverbEqBypassA, 43, 172, 1, false, 3, 7, 0, 1, R::byte},
    {"reverbLevelA", slot::reverbLevelA, 44, 176, 1, false, 3, 8, 0, 1, R::pct},
    {"reverbPredelayA", slot::reverbPredelayA, 45, 180, 1, true, 3, 9, 0, 1, R::ms},
    {"reverbTimeA", slot::reverbTimeA, 46, 184, 1, true, 3, 10, 11, 1, R::pct},
    {"reverbEqBypassB", slot::reverbEqBypassB, 47, 188, 1, false, 3, 19, 0, 1, R::byte},
    {"reverbLevelB", slot::reverbLevelB, 48, 192, 1, false, 3, 20, 0, 1, R::pct},
    {"reverbPredelayB", slot::reverbPredelayB, 49, 196, 1, true, 3, 21, 0, 1, R::ms},
    {"reverbTimeB", slot::reverbTimeB, 50, 200, 1, true, 3, 22, 23, 1, R::pct},
    {"reverbVolume", slot::reverbVolume, 51, 204, 1, false, 3, 24, 0, 2, R::pct},
    {"reverbMute", slot::reverbMute, 52, 208, 1, false, 3, 25, 0, 2, R::inv},
    {"musicVolume", slot::musicVolume, 53, 212, 1, false, 4, 12, 0, 1, R::vol},
    {"spdifLevel", slot::spdifLevel, 54, 216, 1, false, 4, 24, 0, 1, R::pct},
    {"hdmi1Level", slot::hdmi1Level, 55, 220, 1, false, 4, 26, 0, 1, R::pct},
    {"bluetoothLevel", slot::bluetoothLevel, 56, 224, 1, false, 4, 30, 0, 1, R::pct},
    {"spareMusicLevel", slot::spareMusicLevel, 57, 228, 1, false, 4, 25, 0, 1, R::pct},
    {"auxLevel", slot::auxLevel, 58, 232, 1, false, 4, 31, 0, 1, R::pct},
    {"aux2Level", slot::aux2Level, 59, 236, 1, false, 4, 32, 0, 1, R::pct},
    {"musicMute", slot::musicMute, 60, 240, 1, false, 4, 13, 0, 1, R::inv},
    {"musicEqBypass", slot::musicEqBypass, 61, 244, 1, false, 4, 11, 0, 1, R::byte},
    {"musicPitch", slot::musicPitch, 62, 248, 1, false, 4, 21, 0, 1, R::pitch},
    {"musicSource", slot::musicSource, 63, 252, 1, false, 4, 23, 0, 1, R::byte},
    {"musicNoiseGate", slot::musicNoiseGate, 64, 256, 1, false, 4, 22, 0, 1, R::t4},
    {"chDirectLevel", slot::chDirectLevel.first, 65, 260, 8, false, 0, 20, 0, 1, R::pct},
    {"chReverbLevel", slot::chReverbLevel.first, 73, 292, 8, false, 0, 21, 0, 1, R::pct},
    {"chEchoLevel", slot::chEchoLevel.first, 81, 324, 8, false, 0, 22, 0, 1, R::pct},
    {"chMusicLevel", slot::chMusicLevel.first, 89, 356, 8, false, 0, 23, 0, 1, R::pct},
    {"chType", slot::chType.first, 97, 388, 8, false, 0, 16, 0, 1, R::byte},
    {"chEqBypass", slot::chEqBypass.first, 105, 420, 8, false, 0, 15, 0, 1, R::byte},
    {"chCompOff", slot::chCompOff.first, 113, 452, 8, false, 0, 28, 0, 1, R::byte},
    {"chCompThreshold", slot::chCompThreshold.first, 121, 484, 8, true, 0, 27, 0, 7, R::comp},
    {"chCompRatio", slot::chCompRatio.first, 129, 516, 8, true, 0, 27, 0, 7, R::comp},
    {"chCompAttack", slot::chCompAttack.first, 137, 548, 8, true, 0, 27, 0, 7, R::comp},
    {"chCompRelease", slot::chCompRelease.first, 145, 580, 8, true, 0, 27, 0, 7, R::comp},
    {"chDelay", slot::chDelay.first, 153, 612, 8, true, 0, 18, 0, 1, R::ms},
    {"chDelayOff", slot::chDelayOff.first, 161, 644, 8, false, 0, 19, 0, 1, R::byte},
    {"chDelayMode", slot::chDelayMode.first, 169, 676, 8, false, 0, 17, 0, 2, R::delaymode},
    {"chMute", slot::chMute.first, 177, 708, 8, false, 0, 26, 0, 1, R::inv},
    {"chPhase", slot::chPhase.first, 185, 740, 8, false, 0, 25, 0, 1, R::phase},
    {"musicAgcOn", slot::musicAgcOn, 193, 772, 1, false, 4, 16, 0, 1, R::byte},
    {"musicAgcLevel", slot::musicAgcLevel, 194, 776, 1, true, 4, 17, 0, 1, R::raw},
    {"hdmiPort", slot::hdmiPort, 195, 780, 1, false, 4, 33, 0, 1, R::byte},
    {"hdmi2Level", slot::hdmi2Level, 196, 784, 1, false, 4, 27, 0, 1, R::pct},
    {"hdmi3Level", slot::hdmi3Level, 197, 788, 1, false, 4, 28, 0, 1, R::pct},
    {"hdmi4Level", slot::hdmi4Level, 198, 792, 1, false, 4, 29, 0, 1, R::pct},
    {"chTrim", slot::chTrim.first, 199, 796, 8, false, 0, 24, 0, 1, R::pct},
    {"micBoostOn", slot::micBoostOn, 207, 828, 1, false, 1, 37, 60, 1, R::invbyte},
    {"micBoostOnCopy", slot::micBoostOnCopy, 208, 832, 1, false, 0, 0, 0, 0, R::none},
    {"musicLowDelay", slot::musicLowDelay, 209, 836, 1, false, 4, 36, 0, 1, R::msint},
    {"musicLowGain", slot::musicLowGain, 210, 840, 1, false, 4, 37, 0, 1, R::pct},
    {"musicCompThreshold", slot::musicCompThreshold, 211, 844, 1, true, 4, 14, 0, 7, R::comp},
    {"musicCompRatio", slot::musicCompRatio, 212, 848, 1, true, 4, 14, 0, 7, R::comp},
    {"musicCompAttack", slot::musicCompAttack, 213, 852, 1, true, 4, 14, 0, 7, R::comp},
    {"musicCompRelease", slot::musicCompRelease, 214, 856, 1, true, 4, 14, 0, 7, R::comp},
    {"musicCompOff", slot::musicCompOff, 215, 860, 1, false, 4, 15, 0, 1, R::byte},
}};

}  // namespace vireo::test
