// Draws the EQ graph from its bands and the geometry of vireo::dsp; no state of its own.
#pragma once

#include <QColor>
#include <QSize>
#include <QString>

#include "controls/eq_panel.h"
#include "dsp/eq_band_set.h"

class QPainter;

struct EqPanelPaintState {
  const vireo::dsp::EqBandSet* bands = nullptr;  // laid out for the size being painted
  int selected = -1;
  int hovered = -1;
  bool bypass = false;
  int language = 1;  // 0 Chinese, 1 English
  const CEqPanel::Overlay* overlay = nullptr;  // a measurement and a target, when loaded
};

// The whole graph over a client area of `size` logical pixels: background, grid and title, the selected
// band's area, a measurement, its target and the prediction, the total curve, the markers with their
// readout and status line, BYPASS.
void PaintEqPanel(QPainter& painter, QSize size, const EqPanelPaintState& state);

// The title of EQ identity 0..14 ("Mic A EQ" .. "CH8 EQ"); empty for any other identity.
QString EqIdentityTitle(int identity, int language);

// Colour of band slot 0..12; further slots repeat the table.
QColor EqBandColour(int slot);
