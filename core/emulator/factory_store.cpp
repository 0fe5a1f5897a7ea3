// The emulated machine's factory contents: a machine in use, so every page and level has something to show.
#include "emulator/factory_store.h"

#include <array>

namespace vireo::emulator {
namespace {

struct MixShares {
  int direct, reverb, echo, music;
};

// By loudspeaker role (chType 0..7: L, R, SBL, SBR, SUB, CEN, SL, SR): the fronts carry everything, the
// surrounds lean on the effects, the centre keeps the voice dry and the sub-woofer plays music only.
constexpr std::array<MixShares, 8> kMixByRole{{
    {100, 100, 100, 100},  // L
    {100, 100, 100, 100},  // R
    {60, 80, 80, 100},     // SBL
    {60, 80, 80, 100},     // SBR
    {0, 0, 0, 100},        // SUB
    {100, 60, 60, 100},    // CEN
    {60, 100, 100, 100},   // SL
    {60, 100, 100, 100},   // SR
}};

constexpr float kThresholdDb = -10.0f;
constexpr float kRatio = 2.0f;
constexpr float kAttackMs = 10.0f;
constexpr float kReleaseMs = 100.0f;

void Microphones(ParameterStore& s) {
  s.SetInt(slot::micVolume, 60);
  s.SetInt(slot::effectVolume, 60);
  for (int k = 0; k < 4; ++k) {
    const bool channelA = k < 2;
    s.SetInt(slot::micToChannelA[k], channelA ? 100 : 0);
    s.SetInt(slot::micToChannelB[k], channelA ? 0 : 100);
    s.SetInt(slot::micInputVolume[k], 100);
    s.SetInt(slot::micNoiseGate[k], 10);
  }
  for (int shift : {slot::shiftFreqA, slot::shiftOffA, slot::shiftFreqB, slot::shiftOffB}) s.SetInt(shift, 1);
  s.SetInt(slot::autoSubRatio, 50);
  // micBoostLevel stays 0 dB (two zero bytes) with the boost off.
}

void Effects(ParameterStore& s) {
  s.SetInt(slot::reverbVolume, 50);
  s.SetInt(slot::echoVolume, 50);
  s.SetInt(slot::echoLevelA, 70);
  s.SetInt(slot::echoLevelB, 60);
  s.SetFloat(slot::echoPredelayA, 20.0f);
  s.SetFloat(slot::echoPredelayB, 30.0f);
  s.SetInt(slot::echoDecayA, 50);
  s.SetInt(slot::echoDecayB, 45);
  s.SetInt(slot::reverbLevelA, 70);
  s.SetInt(slot::reverbLevelB, 60);
  s.SetFloat(slot::reverbPredelayA, 20.0f);
  s.SetFloat(slot::reverbPredelayB, 10.0f);
  s.SetFloat(slot::reverbTimeA, 30.0f);  // steps: about 1.5 s
  s.SetFloat(slot::reverbTimeB, 20.0f);
}

void Music(ParameterStore& s) {
  s.SetInt(slot::musicVolume, 50);
  for (int level : {slot::spdifLevel, slot::hdmi1Level, slot::hdmi2Level, slot::hdmi3Level, slot::hdmi4Level,
                    slot::bluetoothLevel, slot::spareMusicLevel, slot::auxLevel, slot::aux2Level}) {
    s.SetInt(level, 100);
  }
  s.SetInt(slot::musicNoiseGate, 10);
  s.SetFloat(slot::musicAgcLevel, -10.0f);
  s.SetInt(slot::musicLowGain, 100);
  s.SetFloat(slot::musicCompThreshold, kThresholdDb);
  s.SetFloat(slot::musicCompRatio, kRatio);
  s.SetFloat(slot::musicCompAttack, kAttackMs);
  s.SetFloat(slot::musicCompRelease, kReleaseMs);
  s.SetInt(slot::musicCompOff, 1);
}

void Outputs(ParameterStore& s) {
  for (int ch = 0; ch < kOutputChannels; ++ch) {
    const MixShares& mix = kMixByRole[static_cast<std::size_t>(ch)];
    s.SetInt(slot::chType[ch], ch);
    s.SetInt(slot::chDirectLevel[ch], mix.direct);
    s.SetInt(slot::chReverbLevel[ch], mix.reverb);
    s.SetInt(slot::chEchoLevel[ch], mix.echo);
    s.SetInt(slot::chMusicLevel[ch], mix.music);
    s.SetFloat(slot::chDelay[ch], 1.5f);
    // Channel delay keeps the default split bands (flat peaking bands at 500 and 1000 Hz) as they are.
    s.SetInt(slot::chDelayMode[ch], 1);
    s.SetFloat(slot::chCompThreshold[ch], kThresholdDb);
    s.SetFloat(slot::chCompRatio[ch], kRatio);
    s.SetFloat(slot::chCompAttack[ch], kAttackMs);
    s.SetFloat(slot::chCompRelease[ch], kReleaseMs);
    s.SetInt(slot::chCompOff[ch], 1);
    s.SetInt(slot::chTrim[ch], 100);
  }
}

}  // namespace

void FillInUseFactoryStore(ParameterStore& store) {
  ResetStoreDefaults(store);
  Microphones(store);
  Effects(store);
  Music(store);
  Outputs(store);
}

}  // namespace vireo::emulator
