// Microphone input routing and volumes.
#include "tuning/mic_inputs.h"

#include <algorithm>

#include "device/protocol.h"
#include "model/wire_rules.h"

namespace vireo::tuning {
namespace {
bool ValidInput(int input) {
  return input >= 0 && input < kMicInputs;
}
}  // namespace

MicChannel MicInputChannel(const ParameterStore& store, int input) {
  if (!ValidInput(input)) return MicChannel::a;
  return store.Int(slot::micToChannelA[input]) != 0 ? MicChannel::a : MicChannel::b;
}

int RouteMicInput(ParameterStore& store, ReportSender& sender, int input, MicChannel channel) {
  if (!ValidInput(input)) return 0;
  const bool toA = channel == MicChannel::a;
  store.SetInt(slot::micToChannelA[input], toA ? 100 : 0);
  store.SetInt(slot::micToChannelB[input], toA ? 0 : 100);
  return WriteParam(sender, 1, 27 + input, EncodeRoute(toA ? 100 : 0)) +
         WriteParam(sender, 1, 50 + input, EncodeRoute(toA ? 0 : 100));
}

int SetMicInputVolume(ParameterStore& store, ReportSender& sender, int input, int value) {
  if (!ValidInput(input)) return -1;
  const int v = std::clamp(value, 0, 100);
  store.SetInt(slot::micInputVolume[input], v);
  WriteParam(sender, 1, 4 + input, EncodePct(v));
  return v;
}

}  // namespace vireo::tuning
