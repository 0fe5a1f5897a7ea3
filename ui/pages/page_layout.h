// Where the controls of the two EQ pages sit for a page size: pure arithmetic, so that a test can check at
// any size that nothing leaves the page and nothing overlaps.
#pragma once

#include <QRect>
#include <QSize>
#include <array>
#include <vector>

struct MicColumnLayout {
  QRect label;
  QRect radioA;
  QRect radioB;
  QRect gateCaption;
  QRect gateSlider;
  QRect gateValue;
  QRect volumeCaption;
  QRect volumeSlider;
  QRect volumeValue;
  QRect meter;
};

struct MusicPageLayout {
  std::array<QRect, 3> viewButtons;
  QRect inputFormat;
  std::array<MicColumnLayout, 4> mics;
  QRect musicPeak;  // the group box
  std::array<QRect, 2> musicMeters;
  QRect bandArea;  // band list or band editor
  QRect effectList;
  QRect effectColumn;  // name, slider, value box
  QRect reverbTitle;
  QRect reverbPreview;
  QRect echoTitle;
  QRect echoPreview;
  QRect graph;
};

MusicPageLayout LayoutMusicPage(QSize page);

struct EfxPageLayout {
  QRect title;
  QRect back;
  QRect bandArea;
  QRect graph;
};

EfxPageLayout LayoutEfxPage(QSize page);

// Every rectangle of a layout that must not overlap another (the meters inside the music peak group are
// checked against the group's inside, not listed here).
std::vector<QRect> SeparateRects(const MusicPageLayout& layout);
std::vector<QRect> SeparateRects(const EfxPageLayout& layout);
