// The delay page's layout: eight rows of controls on the left, the graph taking the rest of the page.
#include "pages/delay_layout.h"

#include <algorithm>
#include <cmath>

#include "dsp/delay_graph_geometry.h"

namespace {
constexpr int kMinWidth = 1024;
constexpr int kMinHeight = 520;
constexpr int kMargin = 12;
constexpr int kGap = 6;
constexpr int kWideGap = 10;
constexpr int kRowHeight = 24;
constexpr int kSliderHeight = 20;
constexpr int kSplitTextHeight = 16;
constexpr int kOnWidth = 60;
constexpr int kHighFreqWidth = 96;
constexpr int kChannelWidth = 88;
constexpr int kNameWidth = 56;
constexpr int kEditWidth = 70;
constexpr int kUpDownWidth = 18;
constexpr int kMinSliderWidth = 120;
constexpr int kMaxSliderWidth = 200;

QRect Right(const QRect& of, int gap, int width, int y, int height) {
  return {of.right() + 1 + gap, y, width, height};
}
}  // namespace

DelayPageLayout LayoutDelayPage(QSize page, int top) {
  const int width = std::max(page.width(), kMinWidth);
  const int height = std::max(page.height(), kMinHeight);
  const int sliderWidth = std::clamp(width / 8, kMinSliderWidth, kMaxSliderWidth);
  const int controlsRight = kMargin + kOnWidth + kGap + kHighFreqWidth + kGap + kChannelWidth + kGap +
                            kNameWidth + kWideGap + sliderWidth + kWideGap + kEditWidth + kUpDownWidth;
  DelayPageLayout l;
  const int graphLeft = controlsRight + 2 * kMargin;
  l.graph =
      QRect(graphLeft, top + kMargin / 2, width - graphLeft - kMargin, height - top - kMargin / 2 - kMargin);
  const vireo::dsp::DelayGraphGeometry lanes{l.graph.width(), l.graph.height(), 8};
  for (std::size_t i = 0; i < l.rows.size(); ++i) {
    DelayRowLayout& row = l.rows[i];
    const int centre =
        l.graph.top() + static_cast<int>(std::lround(lanes.LabelCentreY(static_cast<int>(i) + 1)));
    const int y = centre - kRowHeight / 2;
    row.onBox = QRect(kMargin, y, kOnWidth, kRowHeight);
    row.highFreq = Right(row.onBox, kGap, kHighFreqWidth, y, kRowHeight);
    row.channel = Right(row.highFreq, kGap, kChannelWidth, y, kRowHeight);
    row.name = Right(row.channel, kGap, kNameWidth, y, kRowHeight);
    const int sliderTop = centre - (kSliderHeight + kSplitTextHeight) / 2;
    row.slider = Right(row.name, kWideGap, sliderWidth, sliderTop, kSliderHeight);
    row.splitText = QRect(row.slider.left(), row.slider.bottom() + 1, sliderWidth, kSplitTextHeight);
    row.delayEdit = Right(row.slider, kWideGap, kEditWidth, y, kRowHeight);
    row.upDown = Right(row.delayEdit, 0, kUpDownWidth, y, kRowHeight);
  }
  return l;
}

std::vector<QRect> SeparateRects(const DelayPageLayout& l) {
  std::vector<QRect> rects{l.graph};
  for (const DelayRowLayout& r : l.rows)
    rects.insert(rects.end(),
                 {r.onBox, r.highFreq, r.channel, r.name, r.slider, r.splitText, r.delayEdit, r.upDown});
  return rects;
}
