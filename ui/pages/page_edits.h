// The edits of the tuning pages. Each call is one user edit: the store changes at once, the messages go out
// from the sender thread, and the edit becomes one step of the undo history (all calls between
// BeginGesture and EndGesture, a drag, make one step).
#pragma once

#include "tuning/edit_history.h"

#include <vector>

#include "dsp/band_response.h"
#include "model/location.h"
#include "model/wire_rules.h"
#include "tuning/compressor_ops.h"
#include "tuning/delay_ops.h"
#include "tuning/effect_params.h"
#include "tuning/mic_inputs.h"

class PageEdits {
 public:
  explicit PageEdits(vireo::tuning::EditSession& edits) : edits_(edits) {}

  void BeginGesture();
  void EndGesture();

  void WriteBand(int identity, int band, const vireo::dsp::BandShape& shape);
  void Paste(int source, int destination);
  // Filter text read from a file onto the identity's importable bands, the rest flat: one step.
  void ImportFilters(int identity, const std::vector<vireo::dsp::BandShape>& bands);
  void Reset(int identity);
  // Returns the new flag.
  bool ToggleBypass(int identity);
  void RouteMic(int input, vireo::tuning::MicChannel channel);
  void SetMicNoiseGate(int input, int value);
  void SetMicInputVolume(int input, int value);
  vireo::tuning::EffectParamResult SetEffectParam(vireo::tuning::EffectSet set,
                                                  vireo::tuning::EffectParam param, int value);
  // The compressor of output channel `channel`: the switch, and a slider moved (the four values it sent).
  void SetCompressorOn(int channel, bool on);
  vireo::CompressorSettings MoveCompSlider(int channel, vireo::tuning::CompSlider slider, int position);
  // The sound-field location page: geometry edits with the corrections they bring, the channel levels, and
  // "Locate" (channel -1 for none), which changes nothing in the store and is no undo step.
  void SetRoomSize(int width, int length);
  void MoveListener(vireo::Point at);
  void MoveSpeaker(int speaker, vireo::Point at);
  void DragSpeaker(int speaker, vireo::Point at);
  void CenterListener();
  void ResetLocation();
  void SetChannelTrim(int channel, int percent);
  void SendLocate(int channel);
  // Any other store field by name, through the control's own operation (the hidden music-level slider).
  void SetField(const char* name, int element, double value);

  // The delay of an output channel (the delay page and the output channels page share these). Returns
  // whether the delay changed: an unchanged delay sends nothing.
  bool SetChannelDelay(int channel, float ms);
  void SetDelayOn(int channel, bool on);
  void SetDelayMode(int channel, vireo::tuning::DelayMode mode);
  void MoveSplit(int channel, int index);

 private:
  vireo::tuning::EditSession& Edits() const { return edits_; }
  vireo::ParameterStore& Store() const { return edits_.store(); }
  vireo::tuning::EditSession& edits_;
};
