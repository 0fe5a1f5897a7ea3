// The master levels on the ribbon (both categories): slider changes and mute clicks go through the
// tuning operations as undoable edits, twins follow each other, labels and the pitch caption show the
// values.
#pragma once

#include <QObject>

#include "ribbon/master_levels.h"

class AppServices;
class CRibbonBar;
class CRibbonCategory;

class CInputControls : public QObject {
  Q_OBJECT
 public:
  CInputControls(AppServices& app, CRibbonBar& ribbon);

  // A slider of `level` moved: the value is taken from the shown category's twin.
  void OnSliderMoved(MasterLevel level);
  // Keys and wheel: both twins move by `delta` within their range, then the change is handled.
  void StepBoth(MasterLevel level, int delta);
  // Flips the mute of `level` (mic, reverb, echo, music). The keys also announce a new mute.
  void ToggleMute(MasterLevel level, bool announce);
  // Sliders, labels and the pitch caption from the store, sending nothing.
  void RefreshVolumeControls();
  // The idle update: each mute box ticked while its store flag is set.
  void UpdateMuteBoxes();
  // The idle update: the wireless microphones' texts from the level-meter bytes.
  void UpdateWirelessTexts();
  // The language switch: labels (with the switch's reverb name), mute boxes, panel captions.
  void RecaptionForLanguage(int languageIndex);

  // The store value behind a level.
  int StoreValue(MasterLevel level) const;

 private:
  void WatchSliderGestures();
  void SetBothSliders(MasterLevel level, int value);
  void SetBothLabels(MasterLevel level, int value, bool forLanguageSwitch = false);
  void SetPitchCaption(CRibbonCategory* category, int pitch);
  int Apply(MasterLevel level, int value);

  AppServices& app_;
  CRibbonBar& ribbon_;
};

// The timed texts of the master levels.
QString OverMaximumNotice(MasterLevel level);  // microphone or music
QString MuteAnnouncement(MasterLevel level);   // "话筒已静音" / "Mic Muted", ...
