// A store unlike the defaults in every region the machine keeps, shared by the transfer tests.
#pragma once

#include "model/parameter_store.h"

namespace vireo::test {

// A store unlike the defaults in every region the machine keeps, with values that survive the wire
// (in range, and at or above the delays' minimum).
inline void FillDistinctStore(ParameterStore& s) {
  ResetStoreDefaults(s);
  s.SetInt(slot::micVolume, 85);
  s.SetInt(slot::micToChannelA[1], 0);
  s.SetInt(slot::micToChannelB[1], 100);
  s.SetInt(slot::micToChannelA[0], 100);
  s.SetInt(slot::micEqBypassB, 1);
  s.SetInt(slot::shiftFreqA, 4);
  s.SetInt(slot::shiftFreqB, 1);
  s.SetInt(slot::shiftOffB, 1);
  s.SetInt(slot::effectVolume, 66);
  for (int k = 0; k < 4; ++k) {
    s.SetInt(slot::micInputVolume[k], 50 + k);
    s.SetInt(slot::micNoiseGate[k], 12 * k);
  }
  // Delays below 2 ms are raised on their way to the machine, so the store starts at or above it.
  s.SetFloat(slot::echoPredelayA, 20.0f);
  s.SetFloat(slot::echoPredelayB, 2.0f);
  s.SetFloat(slot::reverbPredelayA, 35.0f);
  s.SetFloat(slot::echoTimeB, 150.0f);
  s.SetFloat(slot::reverbTimeA, 7.0f);
  s.SetFloat(slot::reverbPredelayB, 12.5f);
  s.SetInt(slot::reverbVolume, 45);
  s.SetInt(slot::echoMute, 1);
  s.SetInt(slot::musicVolume, 77);
  s.SetInt(slot::musicPitch, -3);
  s.SetInt(slot::musicSource, 2);
  s.SetInt(slot::musicNoiseGate, 40);
  s.SetInt(slot::hdmiPort, 3);
  s.SetFloat(slot::musicAgcLevel, -12.5f);
  for (int ch = 0; ch < 8; ++ch) {
    s.SetInt(slot::chDirectLevel[ch], 10 + ch);
    s.SetInt(slot::chType[ch], ch);
    s.SetFloat(slot::chDelay[ch], 1.5f + static_cast<float>(ch) * 2.0f);
    s.SetInt(slot::chDelayMode[ch], ch % 2);
    s.SetInt(slot::chPhase[ch], ch % 3 == 0 ? 1 : 0);
    s.SetInt(slot::chTrim[ch], 90 - ch);
    s.SetFloat(slot::chCompThreshold[ch], -0.5f);
    s.SetFloat(slot::chCompRatio[ch], 4.0f);
    s.SetFloat(slot::chCompAttack[ch], 10.0f);
    s.SetFloat(slot::chCompRelease[ch], 100.0f);
  }
  s.SetInt(slot::micBoostOn, 1);
  s.SetInt(slot::micBoostOnCopy, 1);
  s.SetInt(slot::musicLowDelay, 5);
  s.SetFloat(slot::musicCompRatio, 2.0f);
  // The machine only ever gets values inside their controls' ranges, so the store starts inside them.
  s.SetFloat(slot::musicCompAttack, 5.0f);
  s.SetFloat(slot::musicCompRelease, 200.0f);
  s.SetInt(slot::echoDecayA, 50);
  s.SetInt(slot::echoDecayB, 35);
  for (std::size_t at = 0; at < kDspBandRecordsBytes; at += 7)
    s.SetByte(Region::dspBlock, at + 1, static_cast<std::uint8_t>(at % 251));
  const std::array<std::uint8_t, 8> gain{0xC0, 0xC0, 0, 0, 0x40, 0x40, 0, 0};
  s.WriteBytes(Region::chLocationGain, 0, gain);
  s.SetByte(Region::locationSettings, 0, 6);
  s.SetByte(Region::micBoostLevel, 0, 0xC0);
}

}  // namespace vireo::test
