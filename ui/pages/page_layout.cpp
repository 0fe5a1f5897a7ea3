// Page layouts. The top of the music page keeps one height; the graph takes what is left to the right and
// below, as a tuning view should grow with the window.
#include "pages/page_layout.h"

#include <algorithm>

namespace {
constexpr int kMargin = 6;
constexpr int kTopHeight = 280;
constexpr int kMicColumnWidth = 84;
constexpr int kListWidth = 262;
constexpr int kEffectColumnWidth = 60;
constexpr int kPreviewWidth = 200;
constexpr int kTitleHeight = 18;
constexpr int kWidePreviewMin = 240;
constexpr int kWidePreviewMax = 480;

MicColumnLayout MicColumn(int x, int y) {
  MicColumnLayout c;
  c.label = QRect(x, y, kMicColumnWidth - 4, 18);
  c.radioA = QRect(x, y + 20, kMicColumnWidth - 4, 20);
  c.radioB = QRect(x, y + 40, kMicColumnWidth - 4, 20);
  const int half = 32;
  c.gateCaption = QRect(x, y + 64, half, 16);
  c.volumeCaption = QRect(x + half, y + 64, half, 16);
  const int sliderTop = y + 82;
  const int sliderHeight = kTopHeight - 82 - 30;
  c.gateSlider = QRect(x + 3, sliderTop, 26, sliderHeight);
  c.volumeSlider = QRect(x + half + 3, sliderTop, 26, sliderHeight);
  c.meter = QRect(x + 2 * half + 2, sliderTop + 6, 12, sliderHeight - 12);
  c.gateValue = QRect(x, sliderTop + sliderHeight + 2, half, 18);
  c.volumeValue = QRect(x + half, sliderTop + sliderHeight + 2, half, 18);
  return c;
}
}  // namespace

MusicPageLayout LayoutMusicPage(QSize page) {
  const int width = std::max(page.width(), 1024);
  const int height = std::max(page.height(), 520);
  MusicPageLayout l;
  for (int k = 0; k < 4; ++k)
    l.mics[static_cast<std::size_t>(k)] = MicColumn(kMargin + k * kMicColumnWidth, kMargin);
  const int peakX = kMargin + 4 * kMicColumnWidth;
  l.musicPeak = QRect(peakX, kMargin, 70, kTopHeight - 2);
  const int meterTop = kMargin + 26;
  const int meterHeight = kTopHeight - 40;
  l.musicMeters = {QRect(peakX + 18, meterTop, 12, meterHeight),
                   QRect(peakX + 40, meterTop, 12, meterHeight)};

  const int middleX = l.musicPeak.right() + 1 + kMargin;
  for (int i = 0; i < 3; ++i)
    l.viewButtons[static_cast<std::size_t>(i)] = QRect(middleX + i * 90, kMargin, 86, 26);
  const int listTop = kMargin + 32;
  const int listHeight = kTopHeight - listTop + 2;
  l.bandArea = QRect(middleX, listTop, kListWidth, listHeight);
  const int effectX = l.bandArea.right() + 1 + kMargin;
  l.inputFormat = QRect(effectX, kMargin, kListWidth, 26);
  l.effectList = QRect(effectX, listTop, kListWidth, listHeight);
  l.effectColumn = QRect(l.effectList.right() + 1 + kMargin, kMargin, kEffectColumnWidth, kTopHeight - 2);

  const int bottomTop = kMargin + kTopHeight + 4;
  const int bottomHeight = height - bottomTop - kMargin;
  const int topRightX = l.effectColumn.right() + 1 + 2 * kMargin;
  const int topRightWidth = width - topRightX - kMargin;
  if (topRightWidth >= 2 * kWidePreviewMin + kMargin) {
    // A wide window has room beside the lists: the previews sit there and the graph takes the whole width.
    const int previewWidth = std::min((topRightWidth - kMargin) / 2, kWidePreviewMax);
    const int previewHeight = kTopHeight - kTitleHeight - 4;
    l.reverbTitle = QRect(topRightX, kMargin, previewWidth, kTitleHeight);
    l.reverbPreview = QRect(topRightX, kMargin + kTitleHeight + 2, previewWidth, previewHeight);
    const int echoX = topRightX + previewWidth + kMargin;
    l.echoTitle = QRect(echoX, kMargin, previewWidth, kTitleHeight);
    l.echoPreview = QRect(echoX, kMargin + kTitleHeight + 2, previewWidth, previewHeight);
    l.graph = QRect(kMargin, bottomTop, width - 2 * kMargin, bottomHeight);
    return l;
  }
  const int previewHeight = (bottomHeight - 2 * kTitleHeight - 8) / 2;
  l.reverbTitle = QRect(kMargin, bottomTop, kPreviewWidth, kTitleHeight);
  l.reverbPreview = QRect(kMargin, bottomTop + kTitleHeight + 2, kPreviewWidth, previewHeight);
  l.echoTitle = QRect(kMargin, l.reverbPreview.bottom() + 5, kPreviewWidth, kTitleHeight);
  l.echoPreview = QRect(kMargin, l.echoTitle.bottom() + 3, kPreviewWidth, previewHeight);
  const int graphX = kMargin + kPreviewWidth + kMargin;
  l.graph = QRect(graphX, bottomTop, width - graphX - kMargin, bottomHeight);
  return l;
}

EfxPageLayout LayoutEfxPage(QSize page) {
  const int width = std::max(page.width(), 1024);
  const int height = std::max(page.height(), 520);
  EfxPageLayout l;
  l.title = QRect(kMargin + 2, kMargin, 300, 32);
  l.back = QRect(width - kMargin - 84, kMargin, 84, 30);
  const int top = kMargin + 40;
  l.bandArea = QRect(kMargin, top, kListWidth, std::max(280, (height - top) / 2));
  const int graphX = l.bandArea.right() + 1 + kMargin;
  l.graph = QRect(graphX, top, width - graphX - kMargin, height - top - kMargin);
  return l;
}

std::vector<QRect> SeparateRects(const MusicPageLayout& l) {
  std::vector<QRect> rects(l.viewButtons.begin(), l.viewButtons.end());
  for (const MicColumnLayout& c : l.mics) {
    rects.insert(rects.end(), {c.label, c.radioA, c.radioB, c.gateCaption, c.gateSlider, c.gateValue,
                               c.volumeCaption, c.volumeSlider, c.volumeValue, c.meter});
  }
  rects.insert(rects.end(), {l.inputFormat, l.musicPeak, l.bandArea, l.effectList, l.effectColumn,
                             l.reverbTitle, l.reverbPreview, l.echoTitle, l.echoPreview, l.graph});
  return rects;
}

std::vector<QRect> SeparateRects(const EfxPageLayout& l) {
  return {l.title, l.back, l.bandArea, l.graph};
}
