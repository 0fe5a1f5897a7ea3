// Where the output channels page's controls sit for a page size: pure arithmetic, so that a test can check
// at any size that nothing leaves the page and nothing overlaps.
#pragma once

#include <QRect>
#include <QSize>
#include <array>
#include <vector>

#include "pages/output_nav.h"

struct OutputChannelRowLayout {
  QRect name;
  QRect mute;
  QRect phase;
  QRect role;
};

struct OutputMixLayout {
  QRect caption;
  QRect slider;
  QRect value;
};

struct OutputSliderRowLayout {
  QRect caption;  // empty for the delay rows, whose value text says what they are
  QRect slider;
  QRect value;
};

struct OutputPageLayout {
  QRect picture;
  std::array<QRect, 3> links;
  std::array<OutputMixLayout, 4> mix;
  std::array<OutputChannelRowLayout, 8> channels;
  QRect bandArea;  // band list or band editor
  QRect crossoverCaption;
  QRect crossoverCombo;
  QRect delaySwitch;
  QRect highFreqRadio;
  QRect channelRadio;
  OutputSliderRowLayout split;
  OutputSliderRowLayout delayTime;
  QRect compSwitch;
  std::array<OutputSliderRowLayout, 4> comp;  // threshold, ratio, attack, release
  QRect headroom;  // the clipping warning under the quick controls, beside the graph
  QRect graph;
};

// Pages smaller than 1024 x 520 are laid out as that size.
OutputPageLayout LayoutOutputPage(QSize page);

// Every rectangle of the layout; no two may overlap (empty ones are left out).
std::vector<QRect> SeparateRects(const OutputPageLayout& layout);
