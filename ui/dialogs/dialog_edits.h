// The edits of the machine settings, features and music source dialogs: each runs its tuning operation
// through the sender thread and, where it changes what the machine plays, becomes one undo step.
#pragma once

#include "tuning/edit_history.h"

#include "tuning/feature_ops.h"
#include "tuning/machine_settings_ops.h"
#include "tuning/music_source_ops.h"

class DialogEdits {
 public:
  explicit DialogEdits(vireo::tuning::EditSession& edits) : edits_(edits) {}

  // Machine settings. The start and maximum sliders move the live volume (an undo step of it); the
  // other edits change only the working copy, which Apply sends and Cancel drops.
  int MoveStartVolume(vireo::tuning::StartVolume which, int value);
  int MoveMaxVolume(vireo::tuning::StartVolume which, int value);
  void ApplySettings();

  // Features.
  int MoveFeatureSlider(vireo::tuning::FeatureSlider slider, int position);
  void SetMicBoostOn(bool on);
  void SetAutoSubOn(bool on);
  void SetMusicCompressorOn(bool on);

  // Music source.
  int SetMusicInputLevel(vireo::tuning::MusicInput input, int level);
  void SelectMusicInput(vireo::tuning::MusicInput input);

 private:
  vireo::tuning::EditSession& Edits() const { return edits_; }
  vireo::ParameterStore& Store() const { return edits_.store(); }
  vireo::tuning::EditSession& edits_;
};
