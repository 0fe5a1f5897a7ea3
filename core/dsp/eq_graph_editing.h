// What the EQ graph's mouse, wheel and keys do to its bands: hit tests, drags, wheel steps and key edits.
// Pointer positions are offsets from the plot's top-left corner, like the markers.
#pragma once

#include "dsp/eq_band_set.h"

namespace vireo::dsp {

// The first shown band with a non-zero type whose marker lies within 10 px on both axes (left press).
int LeftPressHit(const EqBandSet& bands, double x, double y);
// The first shown band of any type within 16 px on both axes (right press).
int RightPressHit(const EqBandSet& bands, double x, double y);
// The last shown band with a non-zero type within 16 px on both axes (hover).
int HoverHit(const EqBandSet& bands, double x, double y);

// Left drag: the frequency follows the pointer's x; Peaking and shelf gains follow y less the grab offset,
// to 0.1 dB, every other type keeps 0 dB; both within the band's limits.
void DragBand(EqBandSet& bands, int slot, double x, double y, double grabOffsetY);
// Right drag by dx pixels: Q changes by dx / 80 for types 2..5, by dx / 12 otherwise.
void DragBandQ(EqBandSet& bands, int slot, double dx);
// One wheel notch: +-0.1 dB on a Peaking or shelf band. False when the band takes no wheel (the event goes
// on to the owner).
bool WheelBand(EqBandSet& bands, int slot, int delta);

// The keys of the focused graph.
enum class EqKey {
  previousBand,
  nextBand,
  firstBand,
  lastBand,
  frequencyDown,
  frequencyUp,
  gainUp,
  gainDown,
  qUp,
  qDown,
  typeDown,
  typeUp,
  // Digits 1..9 pick slots 0..8, digit 0 picks slot 9: the enumerators follow that order.
  digit1,
  digit2,
  digit3,
  digit4,
  digit5,
  digit6,
  digit7,
  digit8,
  digit9,
  digit0,
  other,
};

struct EqKeyResult {
  enum class Notice { none, bandChanged, bandPicked };
  int selected = -1;
  Notice notice = Notice::none;
};

// Applies `key` with band `selected` selected; `fine` is the left Ctrl key held. Without a selection every
// key is swallowed. After a selection or edit key the selected band is kept within its limits and
// recomputed, and the owner hears BandChanged; a digit of a shown band selects it (BandPicked).
EqKeyResult ApplyEqKey(EqBandSet& bands, int selected, EqKey key, bool fine);

}  // namespace vireo::dsp
