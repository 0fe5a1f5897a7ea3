// The compressor page's layout: the controls in a column on the left, the curve taking the rest.
#include "pages/comp_layout.h"

#include <algorithm>

namespace {
constexpr int kMinWidth = 1024;
// The navigation bar takes the top of the smallest page area (520).
constexpr int kMinHeight = 476;
constexpr int kMargin = 12;
constexpr int kRowHeight = 26;
constexpr int kCaptionWidth = 120;
constexpr int kValueWidth = 80;
constexpr int kGap = 8;
constexpr int kMinSliderWidth = 240;
constexpr int kMaxSliderWidth = 420;
// The curve keeps at least this share of the width.
constexpr double kCurveShare = 0.55;
}  // namespace

CompPageLayout LayoutCompPage(QSize page) {
  const int width = std::max(page.width(), kMinWidth);
  const int height = std::max(page.height(), kMinHeight);
  const int columnRoom = static_cast<int>(width * (1.0 - kCurveShare)) - 2 * kMargin;
  const int sliderWidth =
      std::clamp(columnRoom - kCaptionWidth - kValueWidth - 2 * kGap, kMinSliderWidth, kMaxSliderWidth);
  CompPageLayout l;
  int y = kMargin + 8;
  l.channelCaption = QRect(kMargin, y, kCaptionWidth, kRowHeight);
  l.channelCombo = QRect(kMargin + kCaptionWidth + kGap, y, 120, kRowHeight);
  y += kRowHeight + 2 * kGap;
  l.onBox = QRect(kMargin, y, kCaptionWidth + kGap + 160, kRowHeight);
  y += kRowHeight + 3 * kGap;
  for (CompSliderRowLayout& row : l.rows) {
    row.caption = QRect(kMargin, y, kCaptionWidth, kRowHeight);
    row.slider = QRect(row.caption.right() + 1 + kGap, y, sliderWidth, kRowHeight);
    row.value = QRect(row.slider.right() + 1 + kGap, y, kValueWidth, kRowHeight);
    y += kRowHeight + 3 * kGap;
  }
  const int curveX = l.rows[0].value.right() + 1 + 2 * kMargin;
  l.curve = QRect(curveX, kMargin, width - curveX - kMargin, height - 2 * kMargin);
  return l;
}

std::vector<QRect> SeparateRects(const CompPageLayout& l) {
  std::vector<QRect> rects{l.channelCaption, l.channelCombo, l.onBox, l.curve};
  for (const CompSliderRowLayout& row : l.rows)
    rects.insert(rects.end(), {row.caption, row.slider, row.value});
  return rects;
}
