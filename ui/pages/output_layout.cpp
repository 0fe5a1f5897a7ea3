// The output channels page's layout: a band of fixed height under the navigation bar (picture and links,
// mix sliders, the eight channel rows, the band list, the crossover type), and below it the graph, which
// grows with the window, beside a column with the delay and compressor controls.
#include "pages/output_layout.h"

#include <algorithm>

namespace {
constexpr int kMinWidth = 1024;
constexpr int kMinHeight = 520;
constexpr int kMargin = 6;
constexpr int kGap = 8;
constexpr int kTopHeight = 226;
constexpr int kPictureWidth = 120;
constexpr int kPictureHeight = 100;
constexpr int kMixColumn = 44;
constexpr int kRowHeight = 22;
constexpr int kRowPitch = 26;
constexpr int kListWidth = 262;
constexpr int kCrossoverWidth = 140;
constexpr int kQuickColumn = 300;
constexpr int kQuickPitch = 25;
constexpr int kQuickCaption = 84;
constexpr int kQuickValue = 58;

OutputSliderRowLayout SliderRow(int x, int y, int width, bool captioned) {
  OutputSliderRowLayout row;
  int sliderX = x;
  if (captioned) {
    row.caption = QRect(x, y, kQuickCaption, kRowHeight);
    sliderX = x + kQuickCaption + 4;
  }
  const int valueX = x + width - kQuickValue;
  row.slider = QRect(sliderX, y, valueX - 4 - sliderX, kRowHeight);
  row.value = QRect(valueX, y, kQuickValue, kRowHeight);
  return row;
}
}  // namespace

OutputPageLayout LayoutOutputPage(QSize page) {
  const int width = std::max(page.width(), kMinWidth);
  const int height = std::max(page.height(), kMinHeight);
  const int top = kOutputNavHeight + kMargin;
  OutputPageLayout l;

  l.picture = QRect(kMargin, top, kPictureWidth, kPictureHeight);
  for (int i = 0; i < 3; ++i)
    l.links[static_cast<std::size_t>(i)] =
        QRect(kMargin, top + kPictureHeight + 8 + i * 24, kPictureWidth, 22);

  const int mixX = l.picture.right() + 1 + kGap;
  for (int i = 0; i < 4; ++i) {
    const int x = mixX + i * kMixColumn;
    OutputMixLayout& m = l.mix[static_cast<std::size_t>(i)];
    m.caption = QRect(x, top, kMixColumn - 2, 18);
    m.slider = QRect(x + (kMixColumn - 28) / 2, top + 20, 28, kTopHeight - 20 - 24);
    m.value = QRect(x, top + kTopHeight - 22, kMixColumn - 2, 20);
  }

  const int rowsX = mixX + 4 * kMixColumn + kGap;
  for (int c = 0; c < 8; ++c) {
    const int y = top + c * kRowPitch + 4;
    OutputChannelRowLayout& r = l.channels[static_cast<std::size_t>(c)];
    r.name = QRect(rowsX, y, 36, kRowHeight);
    r.mute = QRect(rowsX + 38, y, 60, kRowHeight);
    r.phase = QRect(rowsX + 100, y, 92, kRowHeight);
    r.role = QRect(rowsX + 194, y, 86, kRowHeight);
  }

  const int listX = rowsX + 280 + kGap;
  l.bandArea = QRect(listX, top, kListWidth, kTopHeight);
  const int crossoverX = l.bandArea.right() + 1 + kGap;
  const int crossoverWidth = std::min(kCrossoverWidth + 40, width - kMargin - crossoverX);
  l.crossoverCaption = QRect(crossoverX, top, crossoverWidth, 18);
  l.crossoverCombo = QRect(crossoverX, top + 20, crossoverWidth, 24);

  const int lowerTop = top + kTopHeight + kGap;
  const int quickX = width - kMargin - kQuickColumn;
  int y = lowerTop;
  l.delaySwitch = QRect(quickX, y, kQuickColumn, kRowHeight);
  y += kQuickPitch;
  l.highFreqRadio = QRect(quickX, y, kQuickColumn / 2 - 2, kRowHeight);
  l.channelRadio = QRect(quickX + kQuickColumn / 2, y, kQuickColumn / 2, kRowHeight);
  y += kQuickPitch;
  l.split = SliderRow(quickX, y, kQuickColumn, false);
  y += kQuickPitch;
  l.delayTime = SliderRow(quickX, y, kQuickColumn, false);
  y += kQuickPitch + 4;
  l.compSwitch = QRect(quickX, y, kQuickColumn, kRowHeight);
  y += kQuickPitch;
  for (OutputSliderRowLayout& row : l.comp) {
    row = SliderRow(quickX, y, kQuickColumn, true);
    y += kQuickPitch;
  }
  l.headroom = QRect(quickX, y, kQuickColumn, std::max(0, std::min(2 * kRowHeight, height - kMargin - y)));
  l.graph = QRect(kMargin, lowerTop, quickX - kGap - kMargin, height - kMargin - lowerTop);
  return l;
}

std::vector<QRect> SeparateRects(const OutputPageLayout& l) {
  std::vector<QRect> rects{l.picture,     l.bandArea,      l.crossoverCaption, l.crossoverCombo,
                           l.delaySwitch, l.highFreqRadio, l.channelRadio,     l.compSwitch,
                           l.headroom,    l.graph};
  rects.insert(rects.end(), l.links.begin(), l.links.end());
  for (const OutputMixLayout& m : l.mix) rects.insert(rects.end(), {m.caption, m.slider, m.value});
  for (const OutputChannelRowLayout& r : l.channels)
    rects.insert(rects.end(), {r.name, r.mute, r.phase, r.role});
  for (const OutputSliderRowLayout* row :
       {&l.split, &l.delayTime, &l.comp[0], &l.comp[1], &l.comp[2], &l.comp[3]})
    rects.insert(rects.end(), {row->caption, row->slider, row->value});
  rects.erase(std::remove_if(rects.begin(), rects.end(), [](const QRect& r) { return r.isEmpty(); }),
              rects.end());
  return rects;
}
