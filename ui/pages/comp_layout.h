// Where the compressor page's controls sit for a page size: pure arithmetic, so that a test can check at
// any size that nothing leaves the page and nothing overlaps.
#pragma once

#include <QRect>
#include <QSize>
#include <array>
#include <vector>

struct CompSliderRowLayout {
  QRect caption;
  QRect slider;
  QRect value;
};

struct CompPageLayout {
  QRect channelCaption;
  QRect channelCombo;
  QRect onBox;
  std::array<CompSliderRowLayout, 4> rows;  // threshold, ratio, attack, release
  QRect curve;
};

// Pages smaller than 1024 x 520 are laid out as that size.
CompPageLayout LayoutCompPage(QSize page);

// Every rectangle of the layout; no two may overlap.
std::vector<QRect> SeparateRects(const CompPageLayout& layout);
