// The edits of the output channels page, each one user edit through the edit session (see page_edits.h):
// the channels of an edit are the link set of the current channel.
#pragma once

#include "tuning/edit_history.h"

#include <array>
#include <vector>

#include "dsp/band_response.h"
#include "tuning/compressor_ops.h"
#include "tuning/delay_ops.h"
#include "tuning/output_ops.h"

class OutputEdits {
 public:
  explicit OutputEdits(vireo::tuning::EditSession& edits) : edits_(edits) {}

  using Channels = std::vector<int>;

  void SetMute(int channel, bool muted);
  void SetPhase(int channel, bool inverted);
  void SetRole(int channel, int role);
  void SetMixLevel(const Channels& channels, vireo::tuning::MixLevel level, int value);
  void WriteBand(const Channels& channels, int band, const vireo::dsp::BandShape& shape);
  void WriteCrossover(const Channels& channels, const std::array<vireo::dsp::BandShape, 4>& sections);
  // Returns the channel's new flag.
  bool ToggleBypass(int channel, bool partnerLinked);
  void ResetEq(const Channels& channels);
  void CopyChannel(int source, int destination);

  void SetDelay(const Channels& channels, float ms);
  void SetDelayOn(const Channels& channels, bool on);
  void SetDelayMode(const Channels& channels, vireo::tuning::DelayMode mode);
  void MoveSplit(const Channels& channels, int index);
  void SetCompressorOn(const Channels& channels, bool on);
  // Returns what the current channel (the first of `channels` that is `current`) now holds.
  vireo::CompressorSettings MoveCompSlider(const Channels& channels, int current,
                                           vireo::tuning::CompSlider slider, int position);

 private:
  vireo::tuning::EditSession& Edits() const { return edits_; }
  vireo::ParameterStore& Store() const { return edits_.store(); }
  vireo::tuning::EditSession& edits_;
};
