// The write-all: pushes the whole store to the machine in the order the machine expects.
#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "device/protocol.h"
#include "device/sync.h"
#include "device/sync_coefficients.h"
#include "model/band.h"
#include "model/field_ranges.h"
#include "model/slot_fields.h"
#include "model/wire_rules.h"

namespace vireo {
namespace {

constexpr int kMicRampStart = 80;
constexpr int kMusicRampStart = 70;
constexpr int kFadeSteps = 9;
constexpr int kFadePauseMs = 30;

class WriteAll {
 public:
  WriteAll(ParameterStore& store, ReportSender& sender, const SyncPause& pause)
      : store_(store), sender_(sender), pause_(pause) {}

  bool Run() {
    // A file or a garbled reply may hold anything; the machine gets only what its controls could set,
    // and the volume ramps below stay short.
    ClampStoreToRanges(store_);
    const bool volumesByMode = store_.Byte(Region::machineSettings, 0) == 1;
    if (volumesByMode) {
      WriteParam(sender_, 1, 14, FloatBits(0.0f));
      WriteParam(sender_, 4, 12, FloatBits(0.0f));
    }
    for (int s : {slot::micEqBypassA, slot::reverbEqBypassA, slot::echoEqBypassA, slot::micEqBypassB,
                  slot::reverbEqBypassB, slot::echoEqBypassB, slot::musicEqBypass}) {
      Send(s);
    }
    for (int ch = 0; ch < kOutputChannels; ++ch) OutputChannel(ch);
    Send(slot::musicCompThreshold);
    Send(slot::musicCompOff);
    Send(slot::effectVolume);
    Send(slot::micMute);
    if (!MusicMute()) return false;
    Send(slot::reverbMute);
    Send(slot::echoMute);
    Routing();
    for (int k = 0; k < 4; ++k) Send(slot::micInputVolume[k]);
    for (int k = 0; k < 4; ++k) Send(slot::micNoiseGate[k]);
    for (int s : {slot::reverbVolume, slot::echoVolume, slot::hdmiPort, slot::musicSource, slot::spdifLevel,
                  slot::spareMusicLevel, slot::bluetoothLevel, slot::hdmi1Level, slot::hdmi2Level,
                  slot::hdmi3Level, slot::hdmi4Level, slot::auxLevel, slot::aux2Level}) {
      Send(s);
    }
    Effects('A');
    Effects('B');
    for (int s : {slot::musicPitch, slot::musicAgcOn, slot::musicAgcLevel, slot::musicNoiseGate,
                  slot::autoSubOn, slot::autoSubRatio}) {
      Send(s);
    }
    store_.SetInt(slot::micBoostOnCopy, store_.Int(slot::micBoostOn));
    Send(slot::micBoostOn);
    SendMicBoost(store_, sender_, MicBoostLevelDb(store_));
    Send(slot::musicLowDelay);
    Send(slot::musicLowGain);
    Blocks();
    Coefficients();
    if (volumesByMode && !RampVolumes()) return false;
    ReadParam(sender_, 1, 14);
    ReadParam(sender_, 4, 12);
    if (!pause_(kWriteAllEndDelayMs)) return false;
    store_.setWriteAck(0);
    return true;
  }

 private:
  // By slot, not by name: the table lookup is direct, and a write-all sends some two hundred fields.
  void Send(int slotIndex) {
    int element = 0;
    if (const SlotField* field = FindSlotFieldBySlot(slotIndex, &element)) {
      SendField(sender_, store_, *field, element);
    }
  }

  // Delays leave at their minimum or above; the store keeps what the machine got.
  void RaiseStored(int slotIndex, float minimum) {
    store_.SetFloat(slotIndex, RaiseMs(store_.Float(slotIndex), minimum));
  }
  void TruncateStored(int slotIndex) { store_.SetFloat(slotIndex, std::trunc(store_.Float(slotIndex))); }

  void OutputChannel(int ch) {
    Send(slot::chEqBypass[ch]);
    Send(slot::chDelayOff[ch]);
    Send(slot::chDelayMode[ch]);
    const int band13Frequency = ReadBand(store_, ch + 5, 13).frequency;
    SendSplitBands(store_, sender_, ch, SplitIndexOfFrequency(band13Frequency));
    RaiseStored(slot::chDelay[ch], kMinimumChannelDelayMs);
    for (const auto& field :
         {slot::chDelay, slot::chDirectLevel, slot::chReverbLevel, slot::chEchoLevel, slot::chMusicLevel,
          slot::chMute, slot::chPhase, slot::chType, slot::chCompOff, slot::chCompThreshold}) {
      Send(field[ch]);
    }
    SendChannelGain(store_, sender_, ch);
    Send(slot::chTrim[ch]);
  }

  bool MusicMute() {
    if (store_.Int(slot::musicMute) != 0) {
      WriteParam(sender_, 4, 13, FloatBits(0.0f));
      return true;
    }
    for (int i = 0; i < kFadeSteps; ++i) {
      WriteParam(sender_, 4, 13, FloatBits(static_cast<float>(i / 10.0)));
      if (!pause_(kFadePauseMs)) return false;
    }
    WriteParam(sender_, 4, 13, FloatBits(1.0f));
    return true;
  }

  // Each input goes to exactly one microphone channel: any non-zero A share means A, otherwise B.
  void Routing() {
    for (int k = 0; k < 4; ++k) {
      const bool toA = store_.Int(slot::micToChannelA[k]) != 0;
      store_.SetInt(slot::micToChannelA[k], toA ? 100 : 0);
      store_.SetInt(slot::micToChannelB[k], toA ? 0 : 100);
      WriteParam(sender_, 1, 27 + k, FloatBits(toA ? 1.0f : 0.0f));
      WriteParam(sender_, 1, 50 + k, FloatBits(toA ? 0.0f : 1.0f));
    }
  }

  void Effects(char channel) {
    const bool a = channel == 'A';
    // The shift rule keeps the off flag in step with the frequency, as the machine will have them.
    SendFrequencyShift(store_, sender_, !a, store_.Int(a ? slot::shiftFreqA : slot::shiftFreqB));
    Send(a ? slot::echoLevelA : slot::echoLevelB);
    Send(a ? slot::reverbLevelA : slot::reverbLevelB);
    RaiseStored(a ? slot::reverbPredelayA : slot::reverbPredelayB, kMinimumDelayMs);
    Send(a ? slot::reverbPredelayA : slot::reverbPredelayB);
    TruncateStored(a ? slot::reverbTimeA : slot::reverbTimeB);
    Send(a ? slot::reverbTimeA : slot::reverbTimeB);
    RaiseStored(a ? slot::echoPredelayA : slot::echoPredelayB, kMinimumDelayMs);
    Send(a ? slot::echoPredelayA : slot::echoPredelayB);
    TruncateStored(a ? slot::echoTimeA : slot::echoTimeB);
    RaiseStored(a ? slot::echoTimeA : slot::echoTimeB, kMinimumDelayMs);
    Send(a ? slot::echoTimeA : slot::echoTimeB);
    Send(a ? slot::echoStartVolA : slot::echoStartVolB);
    Send(a ? slot::echoDecayA : slot::echoDecayB);
  }

  void Blocks() {
    std::array<std::uint8_t, kDspBlockBytes> dsp{};
    store_.ReadBytes(Region::dspBlock, 0, dsp);
    for (int i = 0; i < kDspReadChunks; ++i) {
      const auto at = static_cast<std::size_t>(kMaxBlockChunk * i);
      const std::size_t n = std::min<std::size_t>(kMaxBlockChunk, dsp.size() - at);
      WriteBlock(sender_, static_cast<int>(at), std::span(dsp).subspan(at, n));
    }
    const auto location = store_.EncodeGeometryIntoRecord();
    WriteBlock(sender_, kLocationSettingsAddress, location);
    std::array<std::uint8_t, kChLocationGainBytes> gains{};
    store_.ReadBytes(Region::chLocationGain, 0, gains);
    WriteBlock(sender_, kChLocationGainAddress, gains);
  }

  // Output bands 13 and 14 went out with the delay mode.
  void Coefficients() {
    for (int group = 1; group <= 13; ++group) {
      const int bands = group >= 5 && group <= 12 ? 13 : CoefficientBandCount(group);
      for (int b = 0; b < bands; ++b) SendBandCoefficients(store_, sender_, group, b);
    }
  }

  bool RampVolumes() {
    const int mic = store_.Int(slot::micVolume);
    if (mic < kMicRampStart) {
      WriteParam(sender_, 1, 14, EncodeVol(mic));
    } else {
      for (int v = kMicRampStart; v <= mic; ++v) WriteParam(sender_, 1, 14, EncodeVol(v));
    }
    const int music = store_.Int(slot::musicVolume);
    if (music < kMusicRampStart) {
      WriteParam(sender_, 4, 12, EncodeVol(music));
      return true;
    }
    for (int v = kMusicRampStart; v <= music; ++v) {
      WriteParam(sender_, 4, 12, EncodeVol(v));
      if (!pause_(kMusicRampPauseMs)) return false;
    }
    return true;
  }

  ParameterStore& store_;
  ReportSender& sender_;
  const SyncPause& pause_;
};

}  // namespace

bool RunWriteAllSequence(ParameterStore& store, ReportSender& sender, const SyncPause& pause) {
  return WriteAll(store, sender, pause).Run();
}

}  // namespace vireo
