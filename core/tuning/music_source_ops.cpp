// The music source dialog's radios and level sliders.
#include "tuning/music_source_ops.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "device/protocol.h"
#include "model/store_layout.h"
#include "model/wire_rules.h"

namespace vireo::tuning {
namespace {

constexpr std::array<MusicInputRow, kMusicInputs> kRows{{
    {"hdmi1Level", slot::hdmi1Level, 26},
    {"hdmi2Level", slot::hdmi2Level, 27},
    {"hdmi3Level", slot::hdmi3Level, 28},
    {"hdmi4Level", slot::hdmi4Level, 29},
    {"spdifLevel", slot::spdifLevel, 24},
    {"bluetoothLevel", slot::bluetoothLevel, 30},
    {"auxLevel", slot::auxLevel, 31},
}};

constexpr int kModule = 4;
constexpr int kSourceParam = 23;
constexpr int kHdmiPortParam = 33;
constexpr int kHdmiPorts = 4;

bool IsHdmi(MusicInput input) {
  return static_cast<int>(input) < kHdmiPorts;
}

void SendSource(ParameterStore& store, ReportSender& sender, int source) {
  store.SetInt(slot::musicSource, source);
  WriteParam(sender, kModule, kSourceParam, EncodeByte(source));
}

}  // namespace

const MusicInputRow& MusicInputRowOf(MusicInput input) {
  return kRows[static_cast<std::size_t>(input)];
}

bool SelectedMusicInput(const ParameterStore& store, MusicInput* input) {
  switch (store.Int(slot::musicSource)) {
    case music_source::spdif:
      *input = MusicInput::spdif;
      return true;
    case music_source::hdmi: {
      const int port = store.Int(slot::hdmiPort);
      if (port < 0 || port >= kHdmiPorts) return false;
      *input = static_cast<MusicInput>(port);
      return true;
    }
    case music_source::bluetooth:
      *input = MusicInput::bluetooth;
      return true;
    case music_source::aux:
      *input = MusicInput::aux;
      return true;
    default:
      return false;
  }
}

int SetMusicInputLevel(ParameterStore& store, ReportSender& sender, MusicInput input, int level) {
  const MusicInputRow& row = MusicInputRowOf(input);
  const int v = std::clamp(level, 0, kMusicLevelMax);
  store.SetInt(row.levelSlot, v);
  WriteParam(sender, kModule, row.levelParam, EncodePct(v));
  return v;
}

int MusicInputLevel(const ParameterStore& store, MusicInput input) {
  return std::clamp(static_cast<int>(store.Int(MusicInputRowOf(input).levelSlot)), 0, kMusicLevelMax);
}

std::string MusicLevelText(int level) {
  char text[16];
  std::snprintf(text, sizeof text, "%d%%", level);
  return text;
}

void SelectMusicInput(ParameterStore& store, ReportSender& sender, MusicInput input) {
  if (IsHdmi(input)) {
    // The port first: the machine switches to HDMI on the source message and plays the port it holds.
    const int port = static_cast<int>(input);
    store.SetInt(slot::hdmiPort, port);
    WriteParam(sender, kModule, kHdmiPortParam, EncodeByte(port));
    SendSource(store, sender, music_source::hdmi);
    return;
  }
  const int source = input == MusicInput::spdif       ? music_source::spdif
                     : input == MusicInput::bluetooth ? music_source::bluetooth
                                                      : music_source::aux;
  SendSource(store, sender, source);
}

bool SetMusicSourceField(ParameterStore& store, ReportSender& sender, int source) {
  switch (source) {
    case music_source::spdif:
      SelectMusicInput(store, sender, MusicInput::spdif);
      return true;
    case music_source::hdmi:
      SelectMusicInput(store, sender,
                       static_cast<MusicInput>(
                           std::clamp(static_cast<int>(store.Int(slot::hdmiPort)), 0, kHdmiPorts - 1)));
      return true;
    case music_source::bluetooth:
      SelectMusicInput(store, sender, MusicInput::bluetooth);
      return true;
    case music_source::aux:
      SelectMusicInput(store, sender, MusicInput::aux);
      return true;
    default:
      return false;
  }
}

void SetHdmiPortField(ParameterStore& store, ReportSender& sender, int port) {
  SelectMusicInput(store, sender, static_cast<MusicInput>(std::clamp(port, 0, kHdmiPorts - 1)));
}

}  // namespace vireo::tuning
