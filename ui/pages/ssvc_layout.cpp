// The sound-field location page's layout.
#include "pages/ssvc_layout.h"

#include <algorithm>

namespace {
constexpr int kMinWidth = 1024;
constexpr int kMinHeight = 520;
constexpr int kMargin = 12;
constexpr int kRow = 24;
constexpr int kGroupTitle = 24;  // from a group frame's top to its first row
constexpr int kRowPitch = 28;
constexpr int kColumnWidth = 350;
constexpr int kEditWidth = 66;
constexpr int kUpDownWidth = 16;
constexpr int kNameWidth = 50;
constexpr int kChannelPitch = 30;
constexpr int kChannelColumnGap = 16;
constexpr int kMaxSliderWidth = 300;

// name, x edit with its up-down, y edit with its up-down, from `left` on row `y`.
SsvcPositionRow PositionRow(int left, int y, bool named) {
  SsvcPositionRow row;
  if (named) row.name = QRect(left, y, kNameWidth, kRow);
  const int x = left + kNameWidth + 4;
  row.xEdit = QRect(x, y, kEditWidth, kRow);
  row.xUpDown = QRect(row.xEdit.right() + 1, y, kUpDownWidth, kRow);
  row.yEdit = QRect(row.xUpDown.right() + 13, y, kEditWidth, kRow);
  row.yUpDown = QRect(row.yEdit.right() + 1, y, kUpDownWidth, kRow);
  return row;
}
}  // namespace

SsvcPageLayout LayoutSsvcPage(QSize page) {
  const int width = std::max(page.width(), kMinWidth);
  const int height = std::max(page.height(), kMinHeight);
  SsvcPageLayout l;
  const int top = kSsvcNavBarHeight + 10;
  const int inner = kMargin + 8;
  l.reset = QRect(kMargin, top, 90, 26);
  l.unit = QRect(l.reset.right() + 11, top, kColumnWidth - 101, 26);

  int y = top + 34;
  l.roomGroup = QRect(kMargin, y, kColumnWidth, kGroupTitle + kRow + 10);
  const int roomRow = y + kGroupTitle;
  l.widthLabel = QRect(inner, roomRow, 64, kRow);
  l.widthEdit = QRect(l.widthLabel.right() + 3, roomRow, 44, kRow);
  l.widthUpDown = QRect(l.widthEdit.right() + 1, roomRow, kUpDownWidth, kRow);
  l.lengthLabel = QRect(l.widthUpDown.right() + 9, roomRow, 64, kRow);
  l.lengthEdit = QRect(l.lengthLabel.right() + 3, roomRow, 44, kRow);
  l.lengthUpDown = QRect(l.lengthEdit.right() + 1, roomRow, kUpDownWidth, kRow);
  l.modify = QRect(l.lengthUpDown.right() + 9, roomRow,
                   kMargin + kColumnWidth - 8 - (l.lengthUpDown.right() + 9), kRow);

  y = l.roomGroup.bottom() + 9;
  l.listenerGroup = QRect(kMargin, y, kColumnWidth, kGroupTitle + kRow + 10);
  l.listener = PositionRow(inner, y + kGroupTitle, false);
  l.center = QRect(l.listener.yUpDown.right() + 13, y + kGroupTitle, 80, kRow);

  y = l.listenerGroup.bottom() + 9;
  l.speakerGroup = QRect(kMargin, y, kColumnWidth, kGroupTitle + 7 * kRowPitch + kRow + 8);
  for (std::size_t k = 0; k < l.speakers.size(); ++k)
    l.speakers[k] = PositionRow(inner, y + kGroupTitle + static_cast<int>(k) * kRowPitch, true);

  // The channel rows in two columns of four under the picture, which takes the rest of the right side.
  const int rightLeft = kMargin + kColumnWidth + 14;
  const int rightWidth = width - kMargin - rightLeft;
  const int columnWidth = (rightWidth - kChannelColumnGap) / 2;
  const int channelTop = height - kMargin - 3 * kChannelPitch - 26;
  for (std::size_t c = 0; c < l.channels.size(); ++c) {
    const int left = rightLeft + static_cast<int>(c / 4) * (columnWidth + kChannelColumnGap);
    const int rowY = channelTop + static_cast<int>(c % 4) * kChannelPitch;
    SsvcChannelRow& row = l.channels[c];
    row.locate = QRect(left, rowY, 72, 26);
    row.role = QRect(row.locate.right() + 3, rowY, 116, 26);
    const int sliderWidth = std::min(columnWidth - 72 - 116 - 40 - 9, kMaxSliderWidth);
    row.slider = QRect(row.role.right() + 3, rowY, sliderWidth, 26);
    row.percent = QRect(row.slider.right() + 3, rowY, 40, 26);
  }
  l.picture = QRect(rightLeft, top, rightWidth, channelTop - 10 - top);
  return l;
}

std::vector<QRect> SsvcControlRects(const SsvcPageLayout& l) {
  std::vector<QRect> rects{l.reset,       l.unit,        l.widthLabel, l.widthEdit,
                           l.widthUpDown, l.lengthLabel, l.lengthEdit, l.lengthUpDown,
                           l.modify,      l.center,      l.picture};
  auto addRow = [&rects](const SsvcPositionRow& row) {
    if (!row.name.isNull()) rects.push_back(row.name);
    rects.insert(rects.end(), {row.xEdit, row.xUpDown, row.yEdit, row.yUpDown});
  };
  addRow(l.listener);
  for (const SsvcPositionRow& row : l.speakers) addRow(row);
  for (const SsvcChannelRow& row : l.channels)
    rects.insert(rects.end(), {row.locate, row.role, row.slider, row.percent});
  return rects;
}

std::vector<std::pair<QRect, std::vector<QRect>>> SsvcGroups(const SsvcPageLayout& l) {
  std::vector<QRect> speakers;
  for (const SsvcPositionRow& row : l.speakers)
    speakers.insert(speakers.end(), {row.name, row.xEdit, row.xUpDown, row.yEdit, row.yUpDown});
  return {{l.roomGroup,
           {l.widthLabel, l.widthEdit, l.widthUpDown, l.lengthLabel, l.lengthEdit, l.lengthUpDown, l.modify}},
          {l.listenerGroup,
           {l.listener.xEdit, l.listener.xUpDown, l.listener.yEdit, l.listener.yUpDown, l.center}},
          {l.speakerGroup, speakers}};
}
