// Where the delay page's controls sit for a page size: pure arithmetic, so that a test can check at any
// size that nothing leaves the page and nothing overlaps. Each channel's row sits level with its lane of
// the graph.
#pragma once

#include <QRect>
#include <QSize>
#include <array>
#include <vector>

struct DelayRowLayout {
  QRect onBox;
  QRect highFreq;
  QRect channel;
  QRect name;
  QRect slider;
  QRect splitText;  // below the slider
  QRect delayEdit;
  QRect upDown;  // against the edit's right side
};

struct DelayPageLayout {
  std::array<DelayRowLayout, 8> rows;
  QRect graph;
};

// `top`: the room kept at the top of the page (the navigation bar). Pages smaller than 1024 x 520 are laid
// out as that size.
DelayPageLayout LayoutDelayPage(QSize page, int top);

// Every rectangle of the layout; no two may overlap.
std::vector<QRect> SeparateRects(const DelayPageLayout& layout);
