// Pure geometry of the picture slider: value to pixel and back, the thumb rectangle, clicks and drags.
#pragma once

enum class SliderOrientation { horizontal, vertical };

// The thumb travels between these insets of the control, in pixels.
struct SliderMargins {
  int startX = 0;
  int endX = 0;
  int topY = 0;
  int bottomY = 0;

  bool operator==(const SliderMargins&) const = default;
};

// The insets the pages use: the effect EQ editor's vertical sliders, the delay and compressor sliders, and
// the location page's level sliders.
inline constexpr SliderMargins kEffectEqSliderMargins{3, 2, 7, 7};
inline constexpr SliderMargins kDelaySliderMargins{7, 7, 3, 2};
inline constexpr SliderMargins kCompressorSliderMargins{7, 7, 3, 2};
inline constexpr SliderMargins kLocationSliderMargins{3, 3, 3, 2};

struct SliderRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  bool Contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
  bool operator==(const SliderRect&) const = default;
};

struct SliderGeometry {
  SliderOrientation orientation = SliderOrientation::horizontal;
  int width = 0;  // the control
  int height = 0;
  int thumbWidth = 0;
  int thumbHeight = 0;
  SliderMargins margins;
  int minimum = 0;
  int maximum = 127;
};

// The pixels the thumb's leading edge can travel; never negative.
int SliderTravel(const SliderGeometry& g);
// The thumb's leading edge (x for horizontal, y for vertical) at `position`; the maximum is at the right or
// at the top. An empty range puts the thumb at the start of its travel.
int PositionToPixel(const SliderGeometry& g, int position);
// The position whose thumb edge is at `pixel`, kept within the range.
int PixelToPosition(const SliderGeometry& g, int pixel);
SliderRect ThumbRect(const SliderGeometry& g, int position);

// A click outside the thumb moves one step towards the point: horizontal sliders go down for a point left
// of the thumb's centre or on it, vertical ones go down for a point below the centre. Kept within range.
int StepTowardPoint(const SliderGeometry& g, int position, int x, int y);
// The position while the thumb is dragged with the pointer at (x, y): the pointer holds the thumb's centre.
int DragPosition(const SliderGeometry& g, int x, int y);
// `position` moved by `delta`, kept within the range.
int SliderStep(const SliderGeometry& g, int position, int delta);

// The thumb size a slider uses when it was given none: it fills the control across the travel, inside the
// margins, and is 11 pixels long along it.
void FitThumb(SliderGeometry& g);
