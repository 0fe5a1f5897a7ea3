// Where the sound-field location page's controls sit for a page size: the edits in a column on the left,
// the room picture on the right with the channel rows in two columns under it. Pure arithmetic, so a test can
// check that nothing leaves the page and nothing overlaps.
#pragma once

#include <QRect>
#include <QSize>
#include <array>
#include <vector>

// The output navigation bar's band across the top of the page (kOutputNavHeight).
inline constexpr int kSsvcNavBarHeight = 44;

struct SsvcPositionRow {
  QRect name;  // empty for the listener
  QRect xEdit, xUpDown, yEdit, yUpDown;
};

struct SsvcChannelRow {
  QRect locate, role, slider, percent;
};

struct SsvcPageLayout {
  QRect reset, unit;
  QRect roomGroup, widthLabel, widthEdit, widthUpDown, lengthLabel, lengthEdit, lengthUpDown, modify;
  QRect listenerGroup, center;
  SsvcPositionRow listener;
  QRect speakerGroup;
  std::array<SsvcPositionRow, 8> speakers;
  std::array<SsvcChannelRow, 8> channels;
  QRect picture;
};

// Pages smaller than 1024 x 520 are laid out as that size.
SsvcPageLayout LayoutSsvcPage(QSize page);

// The rectangles that must not overlap one another: every control, not the group frames around them.
std::vector<QRect> SsvcControlRects(const SsvcPageLayout& layout);
// The group frames with the controls each one holds.
std::vector<std::pair<QRect, std::vector<QRect>>> SsvcGroups(const SsvcPageLayout& layout);
