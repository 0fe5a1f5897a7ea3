// Sizes and slot indices of the parameter store: the layout that mode files and the machine share.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>

namespace vireo {

inline constexpr int kMainSlotCount = 216;
inline constexpr std::size_t kMainParamsBytes = 864;
inline constexpr std::size_t kMicBoostLevelBytes = 2;
inline constexpr std::size_t kLevelMeterBytes = 16;
inline constexpr std::size_t kChLocationGainBytes = 32;
inline constexpr std::size_t kDspBlockBytes = 1253;
inline constexpr std::size_t kDspBandRecordsBytes = 1246;  // all bands but the group-13 one
inline constexpr std::size_t kLocationSettingsBytes = 20;
inline constexpr std::size_t kRemoteKeyTableBytes = 18;
inline constexpr std::size_t kMachineSettingsBytes = 13;
inline constexpr int kBandRecordBytes = 7;
inline constexpr int kBandCount = 179;
inline constexpr int kOutputChannels = 8;
constexpr bool IsOutputChannel(int channel) {
  return channel >= 0 && channel < kOutputChannels;
}
inline constexpr int kModeSlots = 4;

// Text capacities in wide characters, terminator included.
inline constexpr int kModeNameChars = 24;
inline constexpr int kModelNameChars = 30;
inline constexpr int kDateChars = 11;

// Block addresses of the machine's byte images.
inline constexpr int kChLocationGainAddress = 1253;
inline constexpr int kLocationSettingsAddress = 1285;
inline constexpr int kMicBoostLevelAddress = 1305;

// A run of consecutive slots that belong to one indexed field (e.g. one slot per output channel).
template <int N>
struct SlotArray {
  int first;
  static constexpr int size = N;
  constexpr int operator[](int i) const {
    assert(i >= 0 && i < N);
    return first + i;
  }
};

// Slot index of every named field of mainParams.
namespace slot {
inline constexpr int micVolume = 0;
inline constexpr SlotArray<4> micToChannelA{1};
inline constexpr int micEqBypassA = 5;
inline constexpr int shiftFreqA = 7;
inline constexpr int shiftOffA = 8;
inline constexpr SlotArray<4> micToChannelB{9};
inline constexpr int micEqBypassB = 13;
inline constexpr int shiftFreqB = 15;
inline constexpr int shiftOffB = 16;
inline constexpr int micMute = 17;
inline constexpr int effectVolume = 18;
inline constexpr SlotArray<4> micInputVolume{19};
inline constexpr SlotArray<4> micNoiseGate{23};
inline constexpr int autoSubOn = 27;
inline constexpr int autoSubRatio = 28;
inline constexpr int echoEqBypassA = 29;
inline constexpr int echoLevelA = 30;
inline constexpr int echoPredelayA = 31;
inline constexpr int echoTimeA = 32;
inline constexpr int echoStartVolA = 33;
inline constexpr int echoDecayA = 34;
inline constexpr int echoEqBypassB = 35;
inline constexpr int echoLevelB = 36;
inline constexpr int echoPredelayB = 37;
inline constexpr int echoTimeB = 38;
inline constexpr int echoStartVolB = 39;
inline constexpr int echoDecayB = 40;
inline constexpr int echoVolume = 41;
inline constexpr int echoMute = 42;
inline constexpr int reverbEqBypassA = 43;
inline constexpr int reverbLevelA = 44;
inline constexpr int reverbPredelayA = 45;
inline constexpr int reverbTimeA = 46;
inline constexpr int reverbEqBypassB = 47;
inline constexpr int reverbLevelB = 48;
inline constexpr int reverbPredelayB = 49;
inline constexpr int reverbTimeB = 50;
inline constexpr int reverbVolume = 51;
inline constexpr int reverbMute = 52;
inline constexpr int musicVolume = 53;
inline constexpr int spdifLevel = 54;
inline constexpr int hdmi1Level = 55;
inline constexpr int bluetoothLevel = 56;
inline constexpr int spareMusicLevel = 57;
inline constexpr int auxLevel = 58;
inline constexpr int aux2Level = 59;
inline constexpr int musicMute = 60;
inline constexpr int musicEqBypass = 61;
inline constexpr int musicPitch = 62;
inline constexpr int musicSource = 63;
inline constexpr int musicNoiseGate = 64;
inline constexpr SlotArray<8> chDirectLevel{65};
inline constexpr SlotArray<8> chReverbLevel{73};
inline constexpr SlotArray<8> chEchoLevel{81};
inline constexpr SlotArray<8> chMusicLevel{89};
inline constexpr SlotArray<8> chType{97};
inline constexpr SlotArray<8> chEqBypass{105};
inline constexpr SlotArray<8> chCompOff{113};
inline constexpr SlotArray<8> chCompThreshold{121};
inline constexpr SlotArray<8> chCompRatio{129};
inline constexpr SlotArray<8> chCompAttack{137};
inline constexpr SlotArray<8> chCompRelease{145};
inline constexpr SlotArray<8> chDelay{153};
inline constexpr SlotArray<8> chDelayOff{161};
inline constexpr SlotArray<8> chDelayMode{169};
inline constexpr SlotArray<8> chMute{177};
inline constexpr SlotArray<8> chPhase{185};
inline constexpr int musicAgcOn = 193;
inline constexpr int musicAgcLevel = 194;
inline constexpr int hdmiPort = 195;
inline constexpr int hdmi2Level = 196;
inline constexpr int hdmi3Level = 197;
inline constexpr int hdmi4Level = 198;
inline constexpr SlotArray<8> chTrim{199};
inline constexpr int micBoostOn = 207;
inline constexpr int micBoostOnCopy = 208;
inline constexpr int musicLowDelay = 209;
inline constexpr int musicLowGain = 210;
inline constexpr int musicCompThreshold = 211;
inline constexpr int musicCompRatio = 212;
inline constexpr int musicCompAttack = 213;
inline constexpr int musicCompRelease = 214;
inline constexpr int musicCompOff = 215;
}  // namespace slot

// Byte offset of a slot inside mainParams (and, plus 4, inside a mode file).
constexpr std::size_t SlotOffset(int slotIndex) {
  return static_cast<std::size_t>(slotIndex) * 4;
}

}  // namespace vireo
