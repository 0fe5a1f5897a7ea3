// The music source dialog's edits: which input plays (musicSource, with hdmiPort for HDMI) and the level
// of each input.
#pragma once

#include <string>

#include "model/parameter_store.h"
#include "model/report.h"

namespace vireo::tuning {

// The rows of the dialog, top to bottom.
enum class MusicInput { hdmi1, hdmi2, hdmi3, hdmi4, spdif, bluetooth, aux };
inline constexpr int kMusicInputs = 7;
inline constexpr int kMusicLevelMax = 127;

// musicSource values.
namespace music_source {
inline constexpr int spdif = 0;
inline constexpr int hdmi = 2;
inline constexpr int bluetooth = 3;
inline constexpr int aux = 4;
}  // namespace music_source

struct MusicInputRow {
  const char* levelField;  // hdmi1Level ...
  int levelSlot;
  int levelParam;  // module 4
};
const MusicInputRow& MusicInputRowOf(MusicInput input);

// The input the stored musicSource (and hdmiPort) select; false for any other value, which leaves the
// selection as it was.
bool SelectedMusicInput(const ParameterStore& store, MusicInput* input);

// The level field := `level` held in 0..127; sent as the float level/100 (pct). Returns the stored level.
int SetMusicInputLevel(ParameterStore& store, ReportSender& sender, MusicInput input, int level);
// Where the row's slider stands: the level held in 0..127.
int MusicInputLevel(const ParameterStore& store, MusicInput input);
// "%d%%".
std::string MusicLevelText(int level);

// A radio clicked: musicSource 4/23 with the source's value; an HDMI input first sets hdmiPort 4/33.
void SelectMusicInput(ParameterStore& store, ReportSender& sender, MusicInput input);

// `set musicSource V` and `set hdmiPort P` as the radios do it: 2 selects HDMI at the stored port, a port
// selects its HDMI input. False for a source the dialog does not offer (1, AUX2 = 5, others).
bool SetMusicSourceField(ParameterStore& store, ReportSender& sender, int source);
void SetHdmiPortField(ParameterStore& store, ReportSender& sender, int port);

}  // namespace vireo::tuning
